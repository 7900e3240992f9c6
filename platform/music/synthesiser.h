// What plays the notes the sequencer sends: FluidSynth for the game, simpler ones in tests.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/music/instruments.h"

namespace platform::music {

class Synthesiser {
public:
    virtual ~Synthesiser() = default;
    // One channel message (0x80 to 0xEF), taking effect from the next frame rendered.
    virtual void Send(uint8_t status, uint8_t data1, uint8_t data2) = 0;
    // Cuts every sound at once and puts every channel back to its starting state.
    virtual void Silence() = 0;
    // Adds `frames` stereo frames at `rate` Hz to `out`, interleaved left and right.
    virtual void Render(float* out, int frames, int rate) = 0;
    // Makes instruments ready before they play, so that selecting one while rendering costs
    // nothing; each load is matched by an unload.
    virtual void LoadInstruments(const std::vector<Instrument>& instruments) {}
    virtual void UnloadInstruments(const std::vector<Instrument>& instruments) {}
};

}  // namespace platform::music
