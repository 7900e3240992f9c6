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

MusicPlayer::MusicPlayer(std::function<std::unique_ptr<Synthesiser>()> make) : ready_(false) {
    preparing_ = std::thread([this, make = std::move(make)] { Prepare(make); });
}

MusicPlayer::~MusicPlayer() {
    if (preparing_.joinable()) preparing_.join();
}

bool MusicPlayer::Ready() const {
    std::lock_guard<std::mutex> guard(lock_);
    return ready_;
}

void MusicPlayer::Prepare(const std::function<std::unique_ptr<Synthesiser>()>& make) {
    std::unique_ptr<Synthesiser> synth = make();
    for (;;) {
        std::vector<InstrumentChange> changes;
        {
            std::lock_guard<std::mutex> guard(lock_);
            if (waitingChanges_.empty()) {
                synth_ = std::move(synth);
                ready_ = true;
                if (waitingSong_ != nullptr) {
                    sequencer_.Stop(*synth_);
                    sequencer_.Start(std::move(waitingSong_), waitingLoop_);
                }
                return;
            }
            changes.swap(waitingChanges_);
        }
        // The instruments' samples are read without the lock, so that the game can go on
        // asking for pieces meanwhile.
        for (const InstrumentChange& change : changes) {
            if (change.load) {
                synth->LoadInstruments(change.instruments);
            } else {
                synth->UnloadInstruments(change.instruments);
            }
        }
    }
}

void MusicPlayer::Play(std::shared_ptr<const LoadedSong> song, LoopPlan loop) {
    std::lock_guard<std::mutex> guard(lock_);
    if (!ready_) {
        waitingSong_ = std::move(song);
        waitingLoop_ = loop;
        return;
    }
    sequencer_.Stop(*synth_);
    sequencer_.Start(std::move(song), loop);
}

void MusicPlayer::Stop() {
    std::lock_guard<std::mutex> guard(lock_);
    waitingSong_.reset();
    if (ready_) sequencer_.Stop(*synth_);
}

void MusicPlayer::StopSong(const LoadedSong* song) {
    std::lock_guard<std::mutex> guard(lock_);
    if (waitingSong_.get() == song) waitingSong_.reset();
    if (ready_ && sequencer_.Playing() && sequencer_.Song() == song) sequencer_.Stop(*synth_);
}

bool MusicPlayer::IsPlaying(const LoadedSong* song) const {
    std::lock_guard<std::mutex> guard(lock_);
    if (!ready_) return song != nullptr && waitingSong_.get() == song;
    return sequencer_.Playing() && sequencer_.Song() == song;
}

void MusicPlayer::LoadInstruments(const LoadedSong& song) {
    std::lock_guard<std::mutex> guard(lock_);
    if (!ready_) {
        waitingChanges_.push_back({song.instruments, true});
        return;
    }
    synth_->LoadInstruments(song.instruments);
}

void MusicPlayer::UnloadInstruments(const LoadedSong& song) {
    std::lock_guard<std::mutex> guard(lock_);
    if (!ready_) {
        waitingChanges_.push_back({song.instruments, false});
        return;
    }
    synth_->UnloadInstruments(song.instruments);
}

void MusicPlayer::MixInto(float* out, int frames, int rate) {
    std::lock_guard<std::mutex> guard(lock_);
    if (ready_ && frames > 0 && rate > 0) sequencer_.Render(*synth_, out, frames, rate);
}

void MusicPlayer::Skip(int frames, int rate) {
    std::lock_guard<std::mutex> guard(lock_);
    if (!ready_ || frames <= 0 || rate <= 0) return;
    UnheardSynthesiser unheard;
    unheard_.resize(static_cast<size_t>(frames) * 2);
    sequencer_.Render(unheard, unheard_.data(), frames, rate);
}

}  // namespace platform::music
