#include "platform/music/sequencer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <future>
#include <thread>

#include "platform/music/music_player.h"
#include "tests/music/recording_synth.h"

using platform::music::LoadedSong;
using platform::music::LoopPlan;
using platform::music::MidiSong;
using platform::music::Sequencer;

namespace {

constexpr int kRate = 44100;

// 480 ticks to the quarter at 120 a minute: a quarter note is 22050 frames.
std::shared_ptr<const LoadedSong> Song(std::vector<platform::music::MidiEvent> events,
                                       uint32_t length,
                                       std::vector<platform::music::TempoChange> tempos = {
                                           {0, 500000}}) {
    MidiSong song;
    song.ticksPerQuarter = 480;
    song.events = std::move(events);
    song.tempos = std::move(tempos);
    song.lengthTicks = length;
    return std::make_shared<const LoadedSong>(std::move(song));
}

// Renders `frames` frames in blocks of `block`, as a mixer would.
void Render(Sequencer& sequencer, RecordingSynth& synth, int64_t frames, int block,
            int rate = kRate) {
    std::vector<float> buffer(2 * static_cast<size_t>(block));
    while (frames > 0) {
        int now = static_cast<int>(std::min<int64_t>(frames, block));
        sequencer.Render(synth, buffer.data(), now, rate);
        frames -= now;
    }
}

TEST(Sequencer, EventsLandOnTheirFramesWhateverTheMixersBlockSize) {
    auto song = Song({{0, 0x90, 60, 100},
                      {480, 0x80, 60, 0},
                      {960, 0x90, 62, 100},
                      {1440, 0xB0, 7, 90},
                      {1441, 0x80, 62, 0}},
                     1500, {{0, 500000}, {960, 250000}});
    const std::vector<SentMessage> expected = {{0, 0x90, 60, 100},
                                               {22050, 0x80, 60, 0},
                                               {44100, 0x90, 62, 100},
                                               {55125, 0xB0, 7, 90},
                                               // 1/480 of a quarter at 250000 us: 22.97 frames
                                               {55148, 0x80, 62, 0}};
    for (int block : {1, 63, 64, 1000, 44100, 100000}) {
        Sequencer sequencer;
        RecordingSynth synth;
        sequencer.Start(song, LoopPlan{});
        Render(sequencer, synth, 60000, block);
        // At the song's end every channel's sustain pedal is lifted.
        std::vector<SentMessage> sent(synth.messages.begin(), synth.messages.begin() + 5);
        EXPECT_EQ(sent, expected) << "block " << block;
        EXPECT_FALSE(sequencer.Playing());
        EXPECT_EQ(synth.frame, 60000);
    }
}

TEST(Sequencer, TheLoopJumpsBackReleasingNotesAndRestoringEachChannel) {
    auto song = Song({{0, 0xC0, 5, 0},
                      {0, 0xB0, 7, 80},
                      {480, 0x90, 60, 100},  // loop start
                      {600, 0xC0, 9, 0},
                      {600, 0xB0, 7, 50},
                      {600, 0xB0, 10, 20},
                      {600, 0xE0, 0, 80},
                      {900, 0x91, 64, 90},  // still held at the loop end
                      {1100, 0x90, 70, 90}},
                     1200);
    Sequencer sequencer;
    RecordingSynth synth;
    sequencer.Start(song, LoopPlan{480, 960, 1});
    Render(sequencer, synth, 60000, 512);

    auto at = [&](int64_t frame) {
        std::vector<SentMessage> found;
        for (const SentMessage& m : synth.messages)
            if (m.frame == frame) found.push_back(m);
        return found;
    };
    // Notes still held are released and every channel's pedal lifted; then channel 0 gets
    // what it had at the loop start (the starting pan where the song set none before it),
    // and the loop's first note sounds again.
    std::vector<SentMessage> expected = {
        {44100, 0x80, 60, 0}, {44100, 0xB0, 64, 0}, {44100, 0x81, 64, 0}};
    for (int channel = 1; channel < 16; ++channel)
        expected.push_back({44100, 0xB0 | channel, 64, 0});
    for (SentMessage m : std::vector<SentMessage>{{44100, 0xB0, 7, 80},
                                                  {44100, 0xB0, 10, 64},
                                                  {44100, 0xC0, 5, 0},
                                                  {44100, 0xE0, 0, 64},
                                                  {44100, 0x90, 60, 100}}) {
        expected.push_back(m);
    }
    EXPECT_EQ(at(44100), expected);
    // The second pass is the last: it plays past the loop end, to tick 1100 at
    // 44100 + (50532 - 22050) frames, which the first pass never reached.
    Render(sequencer, synth, 80000 - synth.frame, 512);
    int lateNotes = 0;
    for (const SentMessage& m : synth.messages) {
        if (m.status == 0x90 && m.data1 == 70) {
            ++lateNotes;
            EXPECT_EQ(m.frame, 72582);
        }
    }
    EXPECT_EQ(lateNotes, 1);
}

TEST(Sequencer, NotesPastTheLoopEndPlayOnlyAfterTheLastRepeat) {
    auto song = Song({{0, 0x90, 60, 100}, {480, 0x90, 61, 100}, {700, 0x90, 62, 100}}, 720);
    struct Case {
        uint32_t repeats;
        int firstNotes, lastNotes;
    };
    for (const Case& c : {Case{0, 1, 1}, Case{1, 2, 1}, Case{3, 4, 1}}) {
        Sequencer sequencer;
        RecordingSynth synth;
        sequencer.Start(song, LoopPlan{0, 480, c.repeats});
        Render(sequencer, synth, 30 * kRate, 4096);
        int first = 0, last = 0;
        for (const SentMessage& m : synth.messages) {
            first += m.status == 0x90 && m.data1 == 60;
            last += m.status == 0x90 && m.data1 == 62;
        }
        EXPECT_EQ(first, c.firstNotes) << c.repeats;
        EXPECT_EQ(last, c.lastNotes) << c.repeats;
        EXPECT_FALSE(sequencer.Playing());
    }
}

TEST(Sequencer, ALoopForEverKeepsItsLengthInFramesWithoutDrift) {
    // A loop of 7 ticks at 480 to the quarter is 321.5625 frames: the passes must not drift.
    auto song = Song({{0, 0x90, 60, 100}}, 7);
    Sequencer sequencer;
    RecordingSynth synth;
    sequencer.Start(song, LoopPlan{0, 0, platform::music::kRepeatForever});
    Render(sequencer, synth, 321563LL * 10, 777);
    std::vector<int64_t> starts;
    for (const SentMessage& m : synth.messages)
        if (m.status == 0x90) starts.push_back(m.frame);
    ASSERT_EQ(starts.size(), 10001u);
    EXPECT_EQ(starts[1], 322);
    EXPECT_EQ(starts[10000], 3215625);  // 10000 loops of 321.5625 frames, exactly
}

TEST(Sequencer, ALoopShorterThanAFrameOrEmptyPlaysOnce) {
    for (LoopPlan loop : {LoopPlan{0, 1, platform::music::kRepeatForever},
                          LoopPlan{5, 5, platform::music::kRepeatForever}}) {
        MidiSong tiny;
        tiny.ticksPerQuarter = 30000;  // one tick is under a frame
        tiny.events = {{0, 0x90, 60, 1}};
        tiny.tempos = {{0, 500000}};
        tiny.lengthTicks = 10;
        Sequencer sequencer;
        RecordingSynth synth;
        sequencer.Start(std::make_shared<const LoadedSong>(tiny), loop);
        Render(sequencer, synth, 1000, 100);
        EXPECT_FALSE(sequencer.Playing());
    }
}

TEST(Sequencer, StopCutsTheSoundAndSendsNothingMore) {
    Sequencer sequencer;
    RecordingSynth synth;
    sequencer.Start(Song({{0, 0x90, 60, 1}, {480, 0x90, 61, 1}}, 960), LoopPlan{});
    Render(sequencer, synth, 1000, 100);
    sequencer.Stop(synth);
    Render(sequencer, synth, 50000, 100);
    EXPECT_EQ(synth.silences, 1);
    EXPECT_EQ(synth.messages.size(), 1u);
    EXPECT_EQ(synth.frame, 51000);  // the synthesiser still renders its tails
}

TEST(Sequencer, AChangeOfRateCarriesOnFromTheSameMoment) {
    Sequencer sequencer;
    RecordingSynth synth;
    sequencer.Start(Song({{0, 0x90, 60, 1}, {960, 0x90, 61, 1}}, 960), LoopPlan{});
    Render(sequencer, synth, 22050, 1000, 44100);  // half a second
    Render(sequencer, synth, 30000, 1000, 48000);
    // The second note comes one second in: half a second at 48000 after the change.
    EXPECT_EQ(synth.messages[1].frame, 22050 + 24000);
}

}  // namespace

namespace {

TEST(MusicPlayer, PlayingTheSamePieceAgainStartsItFromItsBeginning) {
    auto synth = std::make_unique<RecordingSynth>();
    RecordingSynth* recorder = synth.get();
    platform::music::MusicPlayer player(std::move(synth));
    auto song = Song({{0, 0xC0, 3, 0}, {0, 0x90, 60, 100}, {480, 0x90, 62, 100}}, 960);
    std::vector<float> block(2 * 1000);
    auto messagesFrom = [&](int64_t start) {
        std::vector<SentMessage> found;
        for (SentMessage m : recorder->messages) {
            if (m.frame < start) continue;
            m.frame -= start;
            found.push_back(m);
        }
        return found;
    };
    player.Play(song, LoopPlan{0, 0, platform::music::kRepeatForever});
    for (int i = 0; i < 30; ++i) player.MixInto(block.data(), 1000, kRate);
    std::vector<SentMessage> first = messagesFrom(0);
    first.erase(std::remove_if(first.begin(), first.end(),
                               [](const SentMessage& m) { return m.frame >= 30000; }),
                first.end());
    for (int i = 0; i < 7; ++i) player.MixInto(block.data(), 1000, kRate);  // into the 2nd pass
    player.Play(song, LoopPlan{0, 0, platform::music::kRepeatForever});
    for (int i = 0; i < 30; ++i) player.MixInto(block.data(), 1000, kRate);
    EXPECT_EQ(messagesFrom(37000), first);
    EXPECT_EQ(recorder->silences, 2);  // each start cuts what played before
}

TEST(MusicPlayer, ASkippedSongEndsOnTheFrameAMixedOneDoesAndSendsTheSynthNothing) {
    // 960 ticks at 120 a minute, repeated once: 88200 frames.
    auto song = Song({{0, 0x90, 60, 100}, {480, 0x80, 60, 0}}, 960);
    for (bool skip : {false, true}) {
        auto synth = std::make_unique<RecordingSynth>();
        RecordingSynth* recorder = synth.get();
        platform::music::MusicPlayer player(std::move(synth));
        player.Play(song, LoopPlan{0, 0, 1});
        std::vector<float> block(2 * 1000);
        int64_t frames = 0;
        while (player.IsPlaying(song.get()) && frames < 200000) {
            if (skip) {
                player.Skip(1000, kRate);
            } else {
                player.MixInto(block.data(), 1000, kRate);
            }
            frames += 1000;
        }
        EXPECT_EQ(frames, 89000) << (skip ? "skipped" : "mixed");
        EXPECT_EQ(recorder->messages.empty(), skip);
    }
}

TEST(MusicPlayer, MadeInTheBackgroundItIsSilentUntilReadyThenPlaysAsIfMadeAtOnce) {
    auto title = Song({{0, 0x90, 60, 100}, {480, 0x80, 60, 0}}, 960);
    auto game = Song({{0, 0xC0, 5, 0}, {0, 0x90, 64, 100}, {480, 0xB0, 7, 90}}, 960);
    // What the game asks for while the sound font is read, in order.
    auto ask = [&](platform::music::MusicPlayer& player) {
        player.LoadInstruments(*title);
        player.LoadInstruments(*game);
        player.Play(title, LoopPlan{});
        player.UnloadInstruments(*title);
        player.Play(game, LoopPlan{});
    };
    std::vector<float> block(2 * 30000);
    auto atOnce = std::make_unique<RecordingSynth>();
    RecordingSynth& expected = *atOnce;
    platform::music::MusicPlayer madeAtOnce(std::move(atOnce));
    ask(madeAtOnce);
    madeAtOnce.MixInto(block.data(), 30000, kRate);

    std::promise<void> fontRead;
    std::shared_future<void> read = fontRead.get_future().share();
    RecordingSynth* made = nullptr;
    platform::music::MusicPlayer player([&]() -> std::unique_ptr<platform::music::Synthesiser> {
        read.wait();
        auto synth = std::make_unique<RecordingSynth>();
        made = synth.get();
        return synth;
    });
    ask(player);
    std::fill(block.begin(), block.end(), 0.0f);
    player.MixInto(block.data(), 30000, kRate);
    EXPECT_TRUE(player.IsPlaying(game.get()));
    EXPECT_EQ(std::count(block.begin(), block.end(), 0.0f), 60000) << "silent while waiting";
    fontRead.set_value();
    while (!player.Ready()) std::this_thread::yield();
    player.MixInto(block.data(), 30000, kRate);
    ASSERT_NE(made, nullptr);
    EXPECT_EQ(made->instrumentChanges, expected.instrumentChanges);
    EXPECT_EQ(made->messages, expected.messages);
    EXPECT_TRUE(player.IsPlaying(game.get()));
}

}  // namespace
