// A synthesiser for tests: it remembers every message with the frame it arrived at, and
// renders each note-on as a click (its velocity / 127 on the left) at that frame, so that
// rendered audio shows exactly where notes start.
#pragma once

#include <cstdint>
#include <ostream>
#include <utility>
#include <vector>

#include "platform/music/synthesiser.h"

struct SentMessage {
    int64_t frame;
    int status, data1, data2;
    bool operator==(const SentMessage&) const = default;
};

inline std::ostream& operator<<(std::ostream& out, const SentMessage& m) {
    return out << "{" << m.frame << " " << std::hex << m.status << " " << std::dec << m.data1 << " "
               << m.data2 << "}";
}

class RecordingSynth : public platform::music::Synthesiser {
public:
    void Send(uint8_t status, uint8_t data1, uint8_t data2) override {
        messages.push_back({frame, status, data1, data2});
        if ((status & 0xF0) == 0x90 && data2 > 0) click_ += data2 / 127.0f;
    }
    void Silence() override { ++silences; }
    void LoadInstruments(const std::vector<platform::music::Instrument>& instruments) override {
        instrumentChanges.emplace_back(true, instruments);
    }
    void UnloadInstruments(const std::vector<platform::music::Instrument>& instruments) override {
        instrumentChanges.emplace_back(false, instruments);
    }
    void Render(float* out, int frames, int rate) override {
        if (frames > 0 && click_ > 0) {
            out[0] += click_;
            click_ = 0;
        }
        frame += frames;
    }

    std::vector<SentMessage> messages;
    int64_t frame = 0;
    int silences = 0;
    // Each load (true) and unload (false) with its instruments.
    std::vector<std::pair<bool, std::vector<platform::music::Instrument>>> instrumentChanges;

private:
    float click_ = 0;
};
