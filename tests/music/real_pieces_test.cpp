// The game's two pieces, played with the loop points the game gives them: each loop jump
// lands on the frame worked out from the piece's tempo, pass after pass, in rendered audio.
#include <gtest/gtest.h>

#include <ostream>
#include <algorithm>
#include <cmath>
#include <fstream>
#include <iterator>
#include <string>

#include "platform/music/fluid_synthesiser.h"
#include "platform/music/music_player.h"
#include "platform/music/smf_reader.h"
#include "platform/music/sound_font.h"
#include "tests/music/music_fixture.h"
#include "tests/music/recording_synth.h"

using platform::music::LoadedSong;
using platform::music::LoopPlan;
using platform::music::MidiSong;
using platform::music::MusicPlayer;

namespace {

std::shared_ptr<const LoadedSong> ReadPiece(const std::string& name) {
    std::ifstream file(std::string(PARRUN_DATA_DIR) + "/bgm/" + name, std::ios::binary);
    std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(file)),
                               std::istreambuf_iterator<char>());
    MidiSong song;
    EXPECT_EQ(platform::music::ReadStandardMidiFile(bytes.data(), bytes.size(), song),
              platform::music::SmfError::None);
    return std::make_shared<const LoadedSong>(std::move(song));
}

// The frames of the clicks the test synthesiser renders for note-ons, in [from, to).
std::vector<int64_t> ClicksBetween(const std::vector<int64_t>& clicks, int64_t from, int64_t to) {
    std::vector<int64_t> found;
    for (int64_t frame : clicks)
        if (frame >= from && frame < to) found.push_back(frame);
    return found;
}

struct Piece {
    const char* file;
    uint64_t quarterNotesAMinute;
    uint64_t loopStartQuarter, loopEndQuarter;
    int rate;
};

// By file: gtest would otherwise print the bytes, the padding's unset ones among them.
void PrintTo(const Piece& p, std::ostream* out) {
    *out << p.file;
}

class RealPiece : public testing::TestWithParam<Piece> {};

TEST_P(RealPiece, LoopsFromItsLoopEndBackToItsLoopStartOnTheRightFrame) {
    const Piece& piece = GetParam();
    auto song = ReadPiece(piece.file);
    ASSERT_EQ(song->song.ticksPerQuarter, 768);
    ASSERT_EQ(song->song.tempos.size(), 1u) << "the piece keeps one tempo";
    const uint64_t tempo = song->song.tempos[0].microsecondsPerQuarter;
    EXPECT_EQ(tempo, (60000000u + piece.quarterNotesAMinute / 2) / piece.quarterNotesAMinute);
    const uint64_t loopStartTick = piece.loopStartQuarter * 768ull;
    const uint64_t loopEndTick = piece.loopEndQuarter * 768ull;
    // The frame at which a tick of pass `pass` arrives, worked out here on its own: a tick
    // lasts tempo / 768 microseconds, and each pass starts one loop later than the one before.
    auto frameOf = [&](uint64_t tick, uint64_t pass) {
        uint64_t units = (tick + pass * (loopEndTick - loopStartTick)) * tempo;  // us * 768
        return static_cast<int64_t>((units * piece.rate + 768000000 - 1) / 768000000);
    };
    std::vector<uint64_t> noteTicks;
    for (const auto& event : song->song.events) {
        if ((event.status & 0xF0) == 0x90 && event.data2 > 0 && event.tick >= loopStartTick &&
            event.tick < loopEndTick && (noteTicks.empty() || noteTicks.back() != event.tick)) {
            noteTicks.push_back(event.tick);
        }
    }
    ASSERT_FALSE(noteTicks.empty());
    EXPECT_EQ(noteTicks.front(), loopStartTick) << "a note starts right at the loop start";

    auto synth = std::make_unique<RecordingSynth>();
    RecordingSynth* recorder = synth.get();
    MusicPlayer player(std::move(synth));
    LoopPlan loop;
    loop.startTick = song->tempo.TickAtMusicTime(piece.loopStartQuarter * 768);
    loop.endTick = song->tempo.TickAtMusicTime(piece.loopEndQuarter * 768);
    loop.repeats = platform::music::kRepeatForever;
    player.Play(song, loop);

    // Three passes of the loop, mixed in blocks as a mixer would, the note-ons heard as clicks.
    const int64_t total = frameOf(loopEndTick, 2) + 1000;
    std::vector<int64_t> clicks;
    std::vector<float> block(2 * 441);
    for (int64_t frame = 0; frame < total; frame += 441) {
        std::fill(block.begin(), block.end(), 0.0f);
        player.MixInto(block.data(), 441, piece.rate);
        for (int i = 0; i < 441; ++i)
            if (block[2 * i] != 0) clicks.push_back(frame + i);
    }

    for (uint64_t pass = 0; pass <= 2; ++pass) {
        std::vector<int64_t> expected;
        for (uint64_t tick : noteTicks) expected.push_back(frameOf(tick, pass));
        EXPECT_EQ(ClicksBetween(clicks, frameOf(loopStartTick, pass), frameOf(loopEndTick, pass)),
                  expected)
            << "pass " << pass;
    }
    // Each jump releases what is held and lifts every channel's pedal, at the loop end's frame.
    for (uint64_t pass = 0; pass < 2; ++pass) {
        int releases = 0;
        for (const SentMessage& m : recorder->messages) {
            releases += m.frame == frameOf(loopEndTick, pass) && (m.status & 0xF0) == 0xB0 &&
                        m.data1 == 64 && m.data2 == 0;
        }
        EXPECT_GE(releases, 16) << "pass " << pass;
    }
}

INSTANTIATE_TEST_SUITE_P(Game, RealPiece,
                         testing::Values(Piece{"title.mid", 90, 12, 276, 44100},
                                         Piece{"title.mid", 90, 12, 276, 48000},
                                         Piece{"game.mid", 150, 52, 420, 44100},
                                         Piece{"game.mid", 150, 52, 420, 22050}),
                         [](const testing::TestParamInfo<Piece>& info) {
                             return std::string(info.param.file[0] == 't' ? "Title" : "Game") +
                                    std::to_string(info.param.rate);
                         });

}  // namespace

namespace {

// The same jump heard through FluidSynth: the loudness, 25 ms at a time, for three seconds
// after the jump follows what it was at the first arrival at the loop start; a jump 75 ms
// early or late would put the notes' attacks out of step with it.
TEST(RealPieceHeard, TheJumpSoundsLikeTheFirstArrivalAtTheLoopStart) {
    constexpr int kRate = 22050;
    constexpr int kHop = kRate / 40;
    constexpr int kWindow = 3 * kRate;
    for (const Piece& piece :
         {Piece{"title.mid", 90, 12, 276, kRate}, Piece{"game.mid", 150, 52, 420, kRate}}) {
        auto song = ReadPiece(piece.file);
        auto synth = std::make_unique<platform::music::FluidSynthesiser>(/*chorus=*/false);
        if (!synth->LoadSoundFont(platform::music::SoundFontCandidates())) {
            GTEST_SKIP() << "no sound font";
        }
        MusicPlayer player(std::move(synth));
        player.LoadInstruments(*song);
        LoopPlan loop{static_cast<uint32_t>(piece.loopStartQuarter * 768),
                      static_cast<uint32_t>(piece.loopEndQuarter * 768),
                      platform::music::kRepeatForever};
        player.Play(song, loop);
        const int64_t loopStart = song->tempo.FrameAt(loop.startTick, kRate);
        const int64_t loopEnd = song->tempo.FrameAt(loop.endTick, kRate);
        const int64_t total = loopEnd + kWindow + kRate;
        std::vector<float> all(2 * static_cast<size_t>(total));
        for (int64_t frame = 0; frame + 512 <= total; frame += 512) {
            player.MixInto(all.data() + 2 * frame, 512, kRate);
        }
        auto loudness = [&](int64_t from) {
            std::vector<float> envelope;
            for (int64_t hop = from; hop < from + kWindow; hop += kHop) {
                double sum = 0;
                for (int64_t i = 2 * hop; i < 2 * (hop + kHop); ++i) sum += double{all[i]} * all[i];
                envelope.push_back(static_cast<float>(std::sqrt(sum / (2 * kHop))));
            }
            return envelope;
        };
        auto first = loudness(loopStart);
        double atJump = RelativeDifference(first, loudness(loopEnd));
        double early = RelativeDifference(first, loudness(loopEnd - kRate * 3 / 40));
        double late = RelativeDifference(first, loudness(loopEnd + kRate * 3 / 40));
        // Measured: 0.013 and 0.006 at the jump, 0.24 and 0.34 75 ms either side of it.
        EXPECT_LT(atJump, 0.05) << piece.file;
        EXPECT_GT(std::min(early, late), 0.15) << piece.file;
    }
}

}  // namespace
