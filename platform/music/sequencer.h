// Plays a song into a synthesiser, sample by sample: every event goes out at the frame its
// tick falls on, and the stretch between the loop points repeats as often as asked. At the
// jump from the loop end back to the loop start, notes still held are released and every
// channel gets back the program, controllers and pitch bend it had at the loop start (the
// tempo follows from the tempo map).
#pragma once

#include <array>
#include <bitset>
#include <cstdint>
#include <memory>

#include "platform/music/instruments.h"
#include "platform/music/midi_song.h"
#include "platform/music/synthesiser.h"
#include "platform/music/tempo_map.h"

namespace platform::music {

// A song read once and shared by everything that plays it.
struct LoadedSong {
    explicit LoadedSong(MidiSong read)
        : song(std::move(read)), tempo(song), instruments(InstrumentsOf(song)) {}
    MidiSong song;
    TempoMap tempo;
    std::vector<Instrument> instruments;
};

struct LoopPlan {
    uint32_t startTick = 0;
    uint32_t endTick = 0;  // 0: the end of the song
    uint32_t repeats = 0;  // how many times the loop plays again; 0xFFFFFFFF for ever
};

constexpr uint32_t kRepeatForever = 0xFFFFFFFF;

// What each channel holds at a moment of the song: the values of its controllers, its program
// and its pitch bend, and which of them the song ever sets.
struct ChannelSettings {
    std::array<uint8_t, 120> controllers{};
    uint8_t program = 0;
    uint16_t pitchBend = 8192;
    uint8_t pressure = 0;
    std::bitset<120> controllerUsed;
    bool programUsed = false, pitchBendUsed = false, pressureUsed = false;
};

class Sequencer {
public:
    // Starts the song from its beginning at the next frame rendered.
    void Start(std::shared_ptr<const LoadedSong> song, LoopPlan loop);
    // Stops at once; the synthesiser's sound is cut.
    void Stop(Synthesiser& synth);
    bool Playing() const { return song_ != nullptr; }
    const LoadedSong* Song() const { return song_.get(); }

    // Renders the next `frames` frames, sending the events that fall within them.
    void Render(Synthesiser& synth, float* out, int frames, int rate);

    // Frames rendered since the start.
    int64_t Position() const { return position_; }

private:
    int64_t FrameOf(uint32_t tick) const;
    uint32_t PassEnd() const;
    void Send(Synthesiser& synth, const MidiEvent& event);
    void JumpToLoopStart(Synthesiser& synth);
    void Finish(Synthesiser& synth);
    void ReleaseHeldNotes(Synthesiser& synth);

    std::shared_ptr<const LoadedSong> song_;
    LoopPlan loop_;
    std::array<ChannelSettings, 16> atLoopStart_;
    uint32_t repeatsLeft_ = 0;
    size_t next_ = 0;
    int rate_ = 0;
    int64_t position_ = 0;
    // How far the current pass lies behind the first: the loop's length times the passes made.
    SongTime passOffset_ = 0;
    std::array<std::bitset<128>, 16> held_;
};

// The settings in force on each channel when the song reaches `tick` (events before it).
std::array<ChannelSettings, 16> SettingsAt(const MidiSong& song, uint32_t tick);

}  // namespace platform::music
