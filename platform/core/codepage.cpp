#include "platform/core/codepage.h"

#include <iconv.h>

#include <cerrno>

namespace platform {

namespace {

constexpr char kReplacement[] = "\xEF\xBF\xBD";

bool IsLeadByte(unsigned char byte) {
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

bool IsTrailByte(unsigned char byte) {
    return (byte >= 0x40 && byte <= 0x7E) || (byte >= 0x80 && byte <= 0xFC);
}

// Converts one character (one or two bytes) through iconv; false when iconv refuses it.
bool ConvertOne(iconv_t converter, const char* bytes, size_t count, std::string& out) {
    char buffer[16];
    char* in = const_cast<char*>(bytes);
    size_t inLeft = count;
    char* outPtr = buffer;
    size_t outLeft = sizeof buffer;
    if (iconv(converter, &in, &inLeft, &outPtr, &outLeft) == static_cast<size_t>(-1) ||
        inLeft != 0) {
        iconv(converter, nullptr, nullptr, nullptr, nullptr);
        return false;
    }
    out.append(buffer, static_cast<size_t>(outPtr - buffer));
    return true;
}

}  // namespace

std::string Cp932ToUtf8(const char* text, size_t length) {
    // A C library without Windows' own code page (musl, in the browser's build) still knows
    // Shift-JIS, which CP932 extends: the text the game shows lies in their common part.
    static iconv_t converter = [] {
        iconv_t opened = iconv_open("UTF-8", "CP932");
        return opened != reinterpret_cast<iconv_t>(-1) ? opened : iconv_open("UTF-8", "SHIFT_JIS");
    }();
    std::string out;
    out.reserve(length * 2);
    size_t i = 0;
    while (i < length) {
        auto byte = static_cast<unsigned char>(text[i]);
        if (byte < 0x80) {
            out.push_back(static_cast<char>(byte));
            ++i;
            continue;
        }
        // A lead byte takes its trail byte with it, even when the pair is unassigned.
        bool pair = IsLeadByte(byte) && i + 1 < length &&
                    IsTrailByte(static_cast<unsigned char>(text[i + 1]));
        size_t count = pair ? 2 : 1;
        if (converter == reinterpret_cast<iconv_t>(-1) ||
            !ConvertOne(converter, text + i, count, out)) {
            out += kReplacement;
        }
        i += count;
    }
    return out;
}

}  // namespace platform
