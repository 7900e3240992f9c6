// The synthesiser the game hears: FluidSynth with a General MIDI sound font, rendering only
// when asked (no driver, no threads of its own), so the same calls give the same samples.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "platform/music/synthesiser.h"

typedef struct _fluid_hashtable_t fluid_settings_t;
typedef struct _fluid_synth_t fluid_synth_t;

namespace platform::music {

class FluidSynthesiser : public Synthesiser {
public:
    // The chorus sweeps on at its own pace, so no two passes of a loop sound exactly alike
    // with it; tests that compare passes turn it off.
    explicit FluidSynthesiser(bool chorus = true);
    ~FluidSynthesiser() override;
    FluidSynthesiser(const FluidSynthesiser&) = delete;
    FluidSynthesiser& operator=(const FluidSynthesiser&) = delete;

    // Loads the first of the files that loads; false, and silent from then on, when none does.
    bool LoadSoundFont(const std::vector<std::string>& candidates);
    bool HasSoundFont() const { return soundFont_ >= 0; }

    void Send(uint8_t status, uint8_t data1, uint8_t data2) override;
    void Silence() override;
    void Render(float* out, int frames, int rate) override;
    // The sound font's samples are read when an instrument is first selected; a loaded
    // instrument is held on a channel of its own, beyond the 16 that play, until unloaded.
    void LoadInstruments(const std::vector<Instrument>& instruments) override;
    void UnloadInstruments(const std::vector<Instrument>& instruments) override;

private:
    void SetRate(int rate);

    fluid_settings_t* settings_ = nullptr;
    fluid_synth_t* synth_ = nullptr;
    int soundFont_ = -1;
    int rate_ = 44100;
    int blockPhase_ = 0;  // frames of FluidSynth's current block already handed out
    std::vector<float> scratch_;
    struct Hold {
        int channel;
        int loads;
    };
    std::map<Instrument, Hold> held_;
    std::vector<int> freeChannels_;
};

}  // namespace platform::music
