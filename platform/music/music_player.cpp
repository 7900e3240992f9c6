#include "platform/music/music_player.h"

namespace platform::music {
namespace {

// Takes the notes of a song nobody hears.
class UnheardSynthesiser final : public Synthesiser {
public:
    void Send(uint8_t, uint8_t, uint8_t) override {}
    void Silence() override {}
    void Render(float*, int, int) override {}
};

}  // namespace

MusicPlayer::MusicPlayer(std::unique_ptr<Synthesiser> synth) : synth_(std::move(synth)) {}

void MusicPlayer::Play(std::shared_ptr<const LoadedSong> song, LoopPlan loop) {
    std::lock_guard<std::mutex> guard(lock_);
    sequencer_.Stop(*synth_);
    sequencer_.Start(std::move(song), loop);
}

void MusicPlayer::Stop() {
    std::lock_guard<std::mutex> guard(lock_);
    sequencer_.Stop(*synth_);
}

void MusicPlayer::StopSong(const LoadedSong* song) {
    std::lock_guard<std::mutex> guard(lock_);
    if (sequencer_.Playing() && sequencer_.Song() == song) sequencer_.Stop(*synth_);
}

bool MusicPlayer::IsPlaying(const LoadedSong* song) const {
    std::lock_guard<std::mutex> guard(lock_);
    return sequencer_.Playing() && sequencer_.Song() == song;
}

void MusicPlayer::LoadInstruments(const LoadedSong& song) {
    std::lock_guard<std::mutex> guard(lock_);
    synth_->LoadInstruments(song.instruments);
}

void MusicPlayer::UnloadInstruments(const LoadedSong& song) {
    std::lock_guard<std::mutex> guard(lock_);
    synth_->UnloadInstruments(song.instruments);
}

void MusicPlayer::MixInto(float* out, int frames, int rate) {
    std::lock_guard<std::mutex> guard(lock_);
    if (frames > 0 && rate > 0) sequencer_.Render(*synth_, out, frames, rate);
}

void MusicPlayer::Skip(int frames, int rate) {
    std::lock_guard<std::mutex> guard(lock_);
    if (frames <= 0 || rate <= 0) return;
    UnheardSynthesiser unheard;
    unheard_.resize(static_cast<size_t>(frames) * 2);
    sequencer_.Render(unheard, unheard_.data(), frames, rate);
}

}  // namespace platform::music
