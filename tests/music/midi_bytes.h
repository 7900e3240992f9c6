// Builds standard MIDI files byte by byte for the tests.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

namespace midi_bytes {

inline std::string Bytes(std::initializer_list<int> values) {
    std::string bytes;
    for (int value : values) bytes += static_cast<char>(value);
    return bytes;
}

inline std::string BigEndian(uint32_t value, int count) {
    std::string bytes;
    for (int i = count - 1; i >= 0; --i) bytes += static_cast<char>((value >> (8 * i)) & 0xFF);
    return bytes;
}

inline std::string VariableLength(uint32_t value) {
    std::string bytes(1, static_cast<char>(value & 0x7F));
    while ((value >>= 7) != 0)
        bytes.insert(bytes.begin(), static_cast<char>(0x80 | (value & 0x7F)));
    return bytes;
}

// A delta time followed by an event's bytes.
inline std::string At(uint32_t delta, std::initializer_list<int> event) {
    return VariableLength(delta) + Bytes(event);
}

inline std::string Tempo(uint32_t delta, uint32_t microsecondsPerQuarter) {
    return VariableLength(delta) + Bytes({0xFF, 0x51, 0x03}) + BigEndian(microsecondsPerQuarter, 3);
}

inline std::string EndOfTrack(uint32_t delta = 0) {
    return VariableLength(delta) + Bytes({0xFF, 0x2F, 0x00});
}

inline std::string Chunk(const std::string& id, const std::string& body) {
    return id + BigEndian(static_cast<uint32_t>(body.size()), 4) + body;
}

inline std::string Track(const std::string& events) {
    return Chunk("MTrk", events);
}

inline std::string Header(int format, int tracks, int division) {
    return Chunk("MThd", BigEndian(format, 2) + BigEndian(tracks, 2) + BigEndian(division, 2));
}

inline std::string File(int format, int division, const std::vector<std::string>& tracks) {
    std::string file = Header(format, static_cast<int>(tracks.size()), division);
    for (const std::string& track : tracks) file += Track(track);
    return file;
}

inline const uint8_t* Data(const std::string& bytes) {
    return reinterpret_cast<const uint8_t*>(bytes.data());
}

}  // namespace midi_bytes
