// Builds RIFF files chunk by chunk for tests, damaged ones included, and writes them to disk.
#pragma once

#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

namespace sound_test {

using Bytes = std::vector<uint8_t>;

inline void Put16(Bytes& out, uint32_t value) {
    out.push_back(static_cast<uint8_t>(value));
    out.push_back(static_cast<uint8_t>(value >> 8));
}

inline void Put32(Bytes& out, uint32_t value) {
    Put16(out, value & 0xFFFF);
    Put16(out, value >> 16);
}

inline void PutTag(Bytes& out, const std::string& tag) {
    out.insert(out.end(), tag.begin(), tag.begin() + 4);
}

// One chunk: identifier, the size its header claims (by default its true size), its bytes, and
// the pad byte that an odd size takes.
inline Bytes Chunk(const std::string& id, const Bytes& body, int64_t claimedSize = -1) {
    Bytes out;
    PutTag(out, id);
    Put32(out, static_cast<uint32_t>(claimedSize >= 0 ? claimedSize : body.size()));
    out.insert(out.end(), body.begin(), body.end());
    if (body.size() % 2 != 0) out.push_back(0);
    return out;
}

// The "fmt " body: the 16-byte PCM head, then for other formats the extra-size field and
// `extra` bytes.
inline Bytes FormatBody(uint16_t tag, uint16_t channels, uint32_t rate, uint16_t bits,
                        const Bytes& extra = {}, bool withExtraSize = false) {
    Bytes out;
    uint16_t align = static_cast<uint16_t>(channels * bits / 8);
    Put16(out, tag);
    Put16(out, channels);
    Put32(out, rate);
    Put32(out, rate * align);
    Put16(out, align);
    Put16(out, bits);
    if (withExtraSize || !extra.empty()) {
        Put16(out, static_cast<uint32_t>(extra.size()));
        out.insert(out.end(), extra.begin(), extra.end());
    }
    return out;
}

// The "fmt " body of the extensible format: its head, then the 22 extra bytes of valid bits,
// speaker mask and the subformat's GUID, whose first word is the plain format's tag
// (1 PCM, 3 float).
inline Bytes ExtensibleBody(uint16_t channels, uint32_t rate, uint16_t bits, uint16_t validBits,
                            uint32_t subformat = 1) {
    Bytes extra;
    Put16(extra, validBits);
    Put32(extra, channels == 2 ? 3 : 4);
    Put32(extra, subformat);
    for (uint8_t byte : {0x00, 0x00, 0x10, 0x00, 0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71}) {
        extra.push_back(byte);
    }
    return FormatBody(0xFFFE, channels, rate, bits, extra);
}

// A RIFF file of form `form` holding the chunks in order.
inline Bytes Riff(const std::vector<Bytes>& chunks, const std::string& form = "WAVE",
                  int64_t claimedSize = -1) {
    Bytes body;
    PutTag(body, form);
    for (const auto& chunk : chunks) body.insert(body.end(), chunk.begin(), chunk.end());
    return Chunk("RIFF", body, claimedSize);
}

// `frames` stereo 16-bit frames of a ramp, so that every byte says where it is.
inline Bytes Ramp16(size_t frames) {
    Bytes out;
    for (size_t i = 0; i < frames; ++i) {
        Put16(out, static_cast<uint32_t>(i * 7));
        Put16(out, static_cast<uint32_t>(0x8000 - i * 3));
    }
    return out;
}

inline void WriteFile(const std::string& path, const Bytes& bytes) {
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
}

inline Bytes ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace sound_test
