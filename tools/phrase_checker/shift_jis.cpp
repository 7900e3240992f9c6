#include "tools/phrase_checker/shift_jis.h"

#include <iconv.h>

#include <cstdio>

namespace {

void AppendEscaped(std::string& out, unsigned char byte) {
    char escape[5];
    std::snprintf(escape, sizeof escape, "\\x%02X", byte);
    out += escape;
}

// Control bytes would break the tab-separated line; a backslash would look like an escape.
std::string EscapeControls(std::string_view text) {
    std::string out;
    for (char c : text) {
        unsigned char byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F) {
            AppendEscaped(out, byte);
        } else if (c == '\\') {
            out += "\\\\";
        } else {
            out += c;
        }
    }
    return out;
}

}  // namespace

std::string EscapeAscii(std::string_view bytes) {
    std::string out;
    for (char c : bytes) {
        unsigned char byte = static_cast<unsigned char>(c);
        if (byte >= 0x80) {
            AppendEscaped(out, byte);
        } else {
            out += EscapeControls(std::string_view(&c, 1));
        }
    }
    return out;
}

std::string ShiftJisToUtf8(std::string_view bytes) {
    iconv_t converter = iconv_open("UTF-8", "CP932");
    if (converter == reinterpret_cast<iconv_t>(-1)) {
        return EscapeAscii(bytes);
    }
    std::string out;
    char* in = const_cast<char*>(bytes.data());
    size_t inLeft = bytes.size();
    while (inLeft > 0) {
        char buffer[256];
        char* next = buffer;
        size_t outLeft = sizeof buffer;
        size_t result = iconv(converter, &in, &inLeft, &next, &outLeft);
        out += EscapeControls(std::string_view(buffer, static_cast<size_t>(next - buffer)));
        if (result == static_cast<size_t>(-1) && next == buffer && inLeft > 0) {
            // Neither decoded nor waiting for room: an invalid or cut-off character.
            AppendEscaped(out, static_cast<unsigned char>(*in));
            ++in;
            --inLeft;
            iconv(converter, nullptr, nullptr, nullptr, nullptr);
        }
    }
    iconv_close(converter);
    return out;
}
