// The music the mixer hears: one sequencer playing into one synthesiser, behind a lock,
// because the mixer renders on its own thread (or against the scripted host's clock) while
// the game starts and stops pieces.
#pragma once

#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "platform/audio/audio_sources.h"
#include "platform/music/sequencer.h"
#include "platform/music/synthesiser.h"

namespace platform::music {

class MusicPlayer : public AudioSource {
public:
    explicit MusicPlayer(std::unique_ptr<Synthesiser> synth);
    // Makes the synthesiser on a thread of its own, since reading a sound font takes a while.
    // Until it is ready the player is silent, a piece asked for waits to start (from its
    // beginning, once ready), and instruments wait to load, in the order they were asked for.
    explicit MusicPlayer(std::function<std::unique_ptr<Synthesiser>()> make);
    ~MusicPlayer() override;
    MusicPlayer(const MusicPlayer&) = delete;
    MusicPlayer& operator=(const MusicPlayer&) = delete;
    bool Ready() const;

    // Stops what plays, puts the synthesiser back to its starting state and starts the song.
    void Play(std::shared_ptr<const LoadedSong> song, LoopPlan loop);
    // Stops at once, cutting every sound.
    void Stop();
    // Stops only when this song is the one playing.
    void StopSong(const LoadedSong* song);
    bool IsPlaying(const LoadedSong* song) const;
    // Readies a song's instruments in the synthesiser before it plays, or lets them go.
    void LoadInstruments(const LoadedSong& song);
    void UnloadInstruments(const LoadedSong& song);

    void MixInto(float* out, int frames, int rate) override;
    // The song moves on with its events going nowhere: a player either mixes or skips for the
    // whole of its life, as its host's output is heard or not.
    void Skip(int frames, int rate) override;

private:
    void Prepare(const std::function<std::unique_ptr<Synthesiser>()>& make);

    mutable std::mutex lock_;
    std::unique_ptr<Synthesiser> synth_;
    Sequencer sequencer_;
    std::vector<float> unheard_;
    // While the synthesiser is being made: what waits for it.
    bool ready_ = true;
    struct InstrumentChange {
        std::vector<Instrument> instruments;
        bool load;
    };
    std::vector<InstrumentChange> waitingChanges_;
    std::shared_ptr<const LoadedSong> waitingSong_;
    LoopPlan waitingLoop_;
    std::thread preparing_;
};

}  // namespace platform::music
