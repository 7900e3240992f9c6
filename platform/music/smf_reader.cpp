#include "platform/music/smf_reader.h"

#include <algorithm>
#include <cstring>

namespace platform::music {
namespace {

// The player counts ticks in 32 bits and converts them to music time; this leaves room.
constexpr uint64_t kMaxTick = 0x0FFFFFFF;
constexpr uint32_t kDefaultTempo = 500000;  // 120 quarter notes a minute

// A cursor over bytes that refuses to step outside them.
class ByteCursor {
public:
    ByteCursor(const uint8_t* data, size_t size) : data_(data), size_(size) {}
    bool AtEnd() const { return position_ >= size_; }
    size_t Left() const { return size_ - position_; }
    size_t Position() const { return position_; }
    bool Byte(uint8_t& value) {
        if (AtEnd()) return false;
        value = data_[position_++];
        return true;
    }
    bool Peek(uint8_t& value) const {
        if (AtEnd()) return false;
        value = data_[position_];
        return true;
    }
    bool BigEndian(int bytes, uint32_t& value) {
        if (Left() < static_cast<size_t>(bytes)) return false;
        value = 0;
        for (int i = 0; i < bytes; ++i) value = (value << 8) | data_[position_++];
        return true;
    }
    // A variable-length quantity: at most four bytes of seven bits.
    bool VariableLength(uint32_t& value) {
        value = 0;
        for (int i = 0; i < 4; ++i) {
            uint8_t byte;
            if (!Byte(byte)) return false;
            value = (value << 7) | (byte & 0x7F);
            if ((byte & 0x80) == 0) return true;
        }
        return false;
    }
    bool Skip(size_t bytes) {
        if (Left() < bytes) return false;
        position_ += bytes;
        return true;
    }
    const uint8_t* Here() const { return data_ + position_; }

private:
    const uint8_t* data_;
    size_t size_;
    size_t position_ = 0;
};

struct OrderedTempo {
    TempoChange change;
    size_t order;
};

struct TrackResult {
    SmfError error = SmfError::None;
    uint32_t endTick = 0;
};

int DataBytes(uint8_t status) {
    uint8_t kind = status & 0xF0;
    return kind == 0xC0 || kind == 0xD0 ? 1 : 2;
}

TrackResult ReadTrack(ByteCursor track, std::vector<MidiEvent>& events,
                      std::vector<OrderedTempo>& tempos) {
    TrackResult result;
    uint64_t tick = 0;
    uint8_t runningStatus = 0;
    while (!track.AtEnd()) {
        uint32_t delta;
        uint8_t lead;
        if (!track.VariableLength(delta) || !track.Peek(lead)) return {SmfError::Damaged};
        tick += delta;
        if (tick > kMaxTick) return {SmfError::TooLong};
        if (lead == 0xFF) {
            uint8_t type;
            uint32_t length;
            track.Skip(1);
            if (!track.Byte(type) || !track.VariableLength(length) || track.Left() < length) {
                return {SmfError::Damaged};
            }
            const uint8_t* body = track.Here();
            track.Skip(length);
            runningStatus = 0;
            if (type == 0x2F) break;  // end of track
            if (type == 0x51 && length >= 3) {
                uint32_t tempo = (uint32_t{body[0]} << 16) | (uint32_t{body[1]} << 8) | body[2];
                if (tempo != 0) {
                    tempos.push_back({{static_cast<uint32_t>(tick), tempo}, tempos.size()});
                }
            }
            continue;
        }
        if (lead == 0xF0 || lead == 0xF7) {
            uint32_t length;
            track.Skip(1);
            if (!track.VariableLength(length) || !track.Skip(length)) return {SmfError::Damaged};
            runningStatus = 0;
            continue;
        }
        uint8_t status = runningStatus;
        if (lead & 0x80) {
            if (lead >= 0xF0) return {SmfError::Damaged};
            status = lead;
            track.Skip(1);
        } else if (status == 0) {
            return {SmfError::Damaged};  // a data byte with no status to run on
        }
        runningStatus = status;
        uint8_t data[2] = {0, 0};
        for (int i = 0; i < DataBytes(status); ++i) {
            if (!track.Byte(data[i]) || (data[i] & 0x80)) return {SmfError::Damaged};
        }
        events.push_back({static_cast<uint32_t>(tick), status, data[0], data[1]});
    }
    result.endTick = static_cast<uint32_t>(tick);
    return result;
}

SmfError ReadDivision(uint32_t division, MidiSong& song) {
    if (division & 0x8000) {
        int frames = 256 - static_cast<int>(division >> 8);
        int ticks = static_cast<int>(division & 0xFF);
        if ((frames != 24 && frames != 25 && frames != 29 && frames != 30) || ticks == 0) {
            return SmfError::Unsupported;
        }
        song.framesPerSecond = frames;
        song.ticksPerFrame = ticks;
    } else {
        if (division == 0) return SmfError::Unsupported;
        song.ticksPerQuarter = static_cast<int>(division);
    }
    return SmfError::None;
}

}  // namespace

SmfError ReadStandardMidiFile(const uint8_t* data, size_t size, MidiSong& song) {
    song = MidiSong{};
    ByteCursor file(data, size);
    uint32_t headerLength, format, trackCount, division;
    if (file.Left() < 8 || std::memcmp(file.Here(), "MThd", 4) != 0) return SmfError::NotMidi;
    file.Skip(4);
    file.BigEndian(4, headerLength);
    if (headerLength < 6 || file.Left() < headerLength) return SmfError::Damaged;
    file.BigEndian(2, format);
    file.BigEndian(2, trackCount);
    file.BigEndian(2, division);
    file.Skip(headerLength - 6);
    if (format > 1 || trackCount == 0) return SmfError::Unsupported;
    if (SmfError error = ReadDivision(division, song); error != SmfError::None) return error;
    if (format == 0) trackCount = 1;

    std::vector<OrderedTempo> tempos;
    uint32_t tracksRead = 0;
    while (tracksRead < trackCount && !file.AtEnd()) {
        uint32_t length = 0;
        if (file.Left() < 8) return SmfError::Damaged;
        bool isTrack = std::memcmp(file.Here(), "MTrk", 4) == 0;
        file.Skip(4);
        file.BigEndian(4, length);
        if (file.Left() < length) return SmfError::Damaged;
        ByteCursor chunk(file.Here(), length);
        file.Skip(length);
        if (!isTrack) continue;  // chunks of other kinds are for other readers
        TrackResult track = ReadTrack(chunk, song.events, tempos);
        if (track.error != SmfError::None) return track.error;
        song.lengthTicks = std::max(song.lengthTicks, track.endTick);
        ++tracksRead;
    }
    if (tracksRead < trackCount) return SmfError::Damaged;

    // Tracks were read one after another; the stable sort keeps track order within a tick.
    std::stable_sort(song.events.begin(), song.events.end(),
                     [](const MidiEvent& a, const MidiEvent& b) { return a.tick < b.tick; });
    std::stable_sort(
        tempos.begin(), tempos.end(),
        [](const OrderedTempo& a, const OrderedTempo& b) { return a.change.tick < b.change.tick; });
    song.tempos.push_back({0, kDefaultTempo});
    for (const OrderedTempo& tempo : tempos) {
        // At one tick, the last change wins.
        if (song.tempos.back().tick == tempo.change.tick) {
            song.tempos.back() = tempo.change;
        } else {
            song.tempos.push_back(tempo.change);
        }
    }
    return SmfError::None;
}

const char* DescribeSmfError(SmfError error) {
    switch (error) {
        case SmfError::None:
            return "no error";
        case SmfError::NotMidi:
            return "not a standard MIDI file";
        case SmfError::Unsupported:
            return "a kind of MIDI file the player can't play";
        case SmfError::Damaged:
            return "a damaged MIDI file";
        case SmfError::TooLong:
            return "a MIDI file too long to play";
    }
    return "unknown error";
}

}  // namespace platform::music
