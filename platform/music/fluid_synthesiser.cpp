#include "platform/music/fluid_synthesiser.h"

#include <fluidsynth.h>

#include <algorithm>
#include <utility>

namespace platform::music {
namespace {

constexpr int kStartingRate = 44100;
constexpr int kChunkFrames = 1024;
constexpr int kBlockFrames = 64;
constexpr int kPlayingChannels = 16;
constexpr int kHoldingChannels = 48;
// FluidSynth's own 0.2 leaves the pieces near -30 dBFS RMS; this brings them to about -20
// (docs/audio.md), leaving the effects room above them.
constexpr double kGain = 0.55;
// What a channel starts with, beyond what "reset all controllers" puts back: bank 0, volume,
// pan, and FluidSynth's reverb and chorus sends.
constexpr std::pair<int, int> kStartingControllers[] = {{0, 0},   {32, 0},  {7, 100},
                                                        {10, 64}, {91, 40}, {93, 0}};

}  // namespace

FluidSynthesiser::FluidSynthesiser(bool chorus) {
    // FluidSynth's own messages would go to standard error; the layer says what matters.
    fluid_set_log_function(FLUID_ERR, nullptr, nullptr);
    fluid_set_log_function(FLUID_WARN, nullptr, nullptr);
    fluid_set_log_function(FLUID_INFO, nullptr, nullptr);
    fluid_set_log_function(FLUID_DBG, nullptr, nullptr);
    settings_ = new_fluid_settings();
    fluid_settings_setnum(settings_, "synth.sample-rate", kStartingRate);
    fluid_settings_setint(settings_, "synth.cpu-cores", 1);
    fluid_settings_setint(settings_, "synth.threadsafe-api", 0);
    fluid_settings_setint(settings_, "synth.lock-memory", 0);
    fluid_settings_setint(settings_, "synth.dynamic-sample-loading", 1);
    fluid_settings_setint(settings_, "synth.chorus.active", chorus ? 1 : 0);
    fluid_settings_setnum(settings_, "synth.gain", kGain);
    fluid_settings_setint(settings_, "synth.midi-channels", kPlayingChannels + kHoldingChannels);
    synth_ = new_fluid_synth(settings_);
    for (int channel = kPlayingChannels + kHoldingChannels - 1; channel >= kPlayingChannels;
         --channel) {
        freeChannels_.push_back(channel);
    }
}

FluidSynthesiser::~FluidSynthesiser() {
    if (synth_ != nullptr) delete_fluid_synth(synth_);
    if (settings_ != nullptr) delete_fluid_settings(settings_);
}

bool FluidSynthesiser::LoadSoundFont(const std::vector<std::string>& candidates) {
    if (synth_ == nullptr) return false;
    for (const std::string& path : candidates) {
        int id = fluid_synth_sfload(synth_, path.c_str(), 1);
        if (id != FLUID_FAILED) {
            soundFont_ = id;
            return true;
        }
    }
    return false;
}

void FluidSynthesiser::LoadInstruments(const std::vector<Instrument>& instruments) {
    if (!HasSoundFont()) return;
    for (const Instrument& instrument : instruments) {
        auto held = held_.find(instrument);
        if (held != held_.end()) {
            ++held->second.loads;
            continue;
        }
        if (freeChannels_.empty()) return;  // the rest load when they are first selected
        int channel = freeChannels_.back();
        // An instrument the font lacks is played by the one in bank 0 (or the first kit).
        int bank = instrument.bank;
        if (fluid_synth_program_select(synth_, channel, soundFont_, bank, instrument.program) ==
            FLUID_FAILED) {
            bank = bank == kDrumBank ? kDrumBank : 0;
            int program = bank == kDrumBank ? 0 : instrument.program;
            if (fluid_synth_program_select(synth_, channel, soundFont_, bank, program) ==
                FLUID_FAILED) {
                continue;
            }
        }
        freeChannels_.pop_back();
        held_[instrument] = {channel, 1};
    }
}

void FluidSynthesiser::UnloadInstruments(const std::vector<Instrument>& instruments) {
    for (const Instrument& instrument : instruments) {
        auto held = held_.find(instrument);
        if (held == held_.end() || --held->second.loads > 0) continue;
        fluid_synth_unset_program(synth_, held->second.channel);
        freeChannels_.push_back(held->second.channel);
        held_.erase(held);
    }
}

void FluidSynthesiser::Send(uint8_t status, uint8_t data1, uint8_t data2) {
    if (!HasSoundFont()) return;
    int channel = status & 0x0F;
    switch (status & 0xF0) {
        case 0x80:
            fluid_synth_noteoff(synth_, channel, data1);
            break;
        case 0x90:
            fluid_synth_noteon(synth_, channel, data1, data2);
            break;
        case 0xA0:
            fluid_synth_key_pressure(synth_, channel, data1, data2);
            break;
        case 0xB0:
            fluid_synth_cc(synth_, channel, data1, data2);
            break;
        case 0xC0:
            fluid_synth_program_change(synth_, channel, data1);
            break;
        case 0xD0:
            fluid_synth_channel_pressure(synth_, channel, data1);
            break;
        case 0xE0:
            fluid_synth_pitch_bend(synth_, channel, data1 | data2 << 7);
            break;
        default:
            break;
    }
}

void FluidSynthesiser::Silence() {
    if (!HasSoundFont()) return;
    fluid_synth_all_sounds_off(synth_, -1);
    // FluidSynth works in blocks of 64 frames and has already made the rest of the current
    // one; what follows the cut starts on a fresh block, so that a piece played again lines
    // up with the blocks as it did the first time.
    int rest = (kBlockFrames - blockPhase_) % kBlockFrames;
    if (rest > 0) {
        scratch_.resize(2 * kChunkFrames);
        fluid_synth_write_float(synth_, rest, scratch_.data(), 0, 2, scratch_.data(), 1, 2);
        blockPhase_ = 0;
    }
    SetRate(rate_);  // empties the reverb and chorus, which would ring on
    for (int channel = 0; channel < kPlayingChannels; ++channel) {
        fluid_synth_cc(synth_, channel, 121, 0);  // reset all controllers
        for (auto [controller, value] : kStartingControllers) {
            fluid_synth_cc(synth_, channel, controller, value);
        }
        fluid_synth_program_change(synth_, channel, 0);
    }
}

void FluidSynthesiser::SetRate(int rate) {
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    // Still the one way to follow a mixer at another rate without loading the font again.
    fluid_synth_set_sample_rate(synth_, static_cast<float>(rate));
#pragma GCC diagnostic pop
    rate_ = rate;
}

void FluidSynthesiser::Render(float* out, int frames, int rate) {
    if (!HasSoundFont() || frames <= 0) return;
    if (rate != rate_) SetRate(rate);
    scratch_.resize(2 * kChunkFrames);
    while (frames > 0) {
        int chunk = std::min(frames, kChunkFrames);
        fluid_synth_write_float(synth_, chunk, scratch_.data(), 0, 2, scratch_.data(), 1, 2);
        blockPhase_ = (blockPhase_ + chunk) % kBlockFrames;
        for (int i = 0; i < 2 * chunk; ++i) out[i] += scratch_[i];
        out += 2 * chunk;
        frames -= chunk;
    }
}

}  // namespace platform::music
