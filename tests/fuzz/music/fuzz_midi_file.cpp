// Standard MIDI files of any content: read, then, when they read, played through the
// sequencer with a loop for a while, so the tempo map and the loop jumps see them too.
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <vector>

#include "platform/music/sequencer.h"
#include "platform/music/smf_reader.h"

namespace {

void Require(bool condition) {
    if (!condition) std::abort();
}

// Checks that every message is a channel message and that time only moves forward.
class CheckingSynth : public platform::music::Synthesiser {
public:
    void Send(uint8_t status, uint8_t data1, uint8_t data2) override {
        Require(status >= 0x80 && status < 0xF0 && data1 < 0x80 && data2 < 0x80);
    }
    void Silence() override {}
    void Render(float* out, int frames, int rate) override { Require(frames >= 0); }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace platform::music;
    MidiSong song;
    if (ReadStandardMidiFile(data, size, song) != SmfError::None) return 0;
    Require(!song.tempos.empty() && song.tempos.front().tick == 0);
    for (size_t i = 1; i < song.tempos.size(); ++i) {
        Require(song.tempos[i - 1].tick < song.tempos[i].tick);
    }
    for (size_t i = 0; i < song.events.size(); ++i) {
        Require(song.events[i].tick <= song.lengthTicks);
        Require(i == 0 || song.events[i - 1].tick <= song.events[i].tick);
    }
    auto loaded = std::make_shared<const LoadedSong>(std::move(song));
    uint32_t length = loaded->song.lengthTicks;
    // Loop points and a rate picked from the file's own bytes.
    LoopPlan loop{length / 3, length - length / 4, size % 2 == 0 ? 3u : kRepeatForever};
    int rate = size % 3 == 0 ? 8000 : 44100;
    Sequencer sequencer;
    CheckingSynth synth;
    sequencer.Start(loaded, loop);
    std::vector<float> block(2 * 4096);
    int64_t last = 0;
    for (int i = 0; i < 64 && sequencer.Playing(); ++i) {
        sequencer.Render(synth, block.data(), 4096, rate);
        Require(sequencer.Position() >= last);
        last = sequencer.Position();
    }
    return 0;
}
