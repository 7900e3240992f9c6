// The game's music calls (sound/music.cpp) on our DirectMusic layer: what starts, what the
// log shows, what the mixer hears, and that everything made is given back.
#include "sound/music.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/audio/audio_sources.h"
#include "platform/com/com_classes.h"
#include "platform/dmusic/dmusic_objects.h"
#include "platform/faults/fault_points.h"
#include "tests/music/midi_bytes.h"
#include "tests/music/music_fixture.h"

namespace {

class Music : public MusicFolderTest {
protected:
    void StartMusic() {
        ASSERT_EQ(CreateMusic(), 1);
        LoadMusic();
    }
    void TearDown() override {
        ReleaseMusic();
        EXPECT_EQ(platform::LiveDirectMusicObjects(), 0);
        EXPECT_EQ(platform::ComInitializeCount(), 0);
        EXPECT_TRUE(Quiet(Mix(512))) << "the music left the mix";
        MusicFolderTest::TearDown();
    }
};

TEST_F(Music, EachStartIsLoggedWithItsNumberAndTwoOnlyStops) {
    StartMusic();
    EXPECT_EQ(PlayMusic(MusicId::Title), S_OK);
    EXPECT_EQ(PlayMusic(MusicId::Game), S_OK);
    EXPECT_EQ(PlayMusic(2), S_OK);
    EXPECT_EQ(PlayMusic(-1), S_OK);
    EXPECT_EQ(PlayMusic(0), S_OK);
    EXPECT_EQ(PlayMusic(0), S_OK);
    EXPECT_EQ(MusicLog(),
              (std::vector<std::string>{"0 music 0", "0 music 1", "0 music 0", "0 music 0"}));
}

TEST_F(Music, TwoSilencesTheMixAtOnceAndTheSamePieceAgainStartsFromItsBeginning) {
    StartMusic();
    PlayMusic(MusicId::Title);
    std::vector<float> opening = Mix(44100);
    if (Quiet(opening)) GTEST_SKIP() << "no sound font: the music is silent";
    Mix(3 * 44100);
    PlayMusic(MusicId::Title);
    // FluidSynth keeps a little history of its own (about 6 % of the signal here), so a second
    // start sounds the same without being the same to the last bit; two different stretches of
    // music differ by more than 100 %.
    EXPECT_LT(RelativeDifference(opening, Mix(44100)), 0.25) << "the title did not start again";
    PlayMusic(2);
    EXPECT_TRUE(Quiet(Mix(4410)));
    PlayMusic(MusicId::Game);
    EXPECT_FALSE(Quiet(Mix(44100)));
    PlayMusic(MusicId::Title);
    EXPECT_LT(RelativeDifference(opening, Mix(44100)), 0.25) << "the game music was heard";
}

TEST_F(Music, AMissingOrDamagedFileLeavesOnlyItsOwnTrackSilent) {
    std::filesystem::remove("bgm/title.mid");
    WriteFileForTest("bgm/game.mid", midi_bytes::Header(1, 2, 480));  // its tracks are missing
    StartMusic();
    EXPECT_LT(PlayMusic(MusicId::Title), 0);
    EXPECT_LT(PlayMusic(MusicId::Game), 0);
    EXPECT_TRUE(MusicLog().empty());
    std::filesystem::copy_file(std::filesystem::path(PARRUN_DATA_DIR) / "bgm/title.mid",
                               "bgm/title.mid");
    LoadMusic();  // loading again replaces the empty slot
    EXPECT_EQ(PlayMusic(MusicId::Title), S_OK);
    EXPECT_EQ(MusicLog(), (std::vector<std::string>{"0 music 0"}));
}

TEST_F(Music, AFailedCreationReleasesWhatWasMade) {
    // The first CoCreateInstance (the performance) fails, or the second (the loader).
    for (int succeedFirst : {0, 1}) {
        platform::ResetFaults();
        platform::ArmFault("CoCreateInstance", succeedFirst);
        EXPECT_EQ(CreateMusic(), 0) << succeedFirst;
        ReleaseMusic();
        EXPECT_EQ(platform::LiveDirectMusicObjects(), 0);
        EXPECT_EQ(platform::ComInitializeCount(), 0);
    }
    platform::ResetFaults();
}

TEST_F(Music, WithoutASoundDeviceTheGameGoesOnAndNothingPlays) {
    platform::ArmFault("PerformanceInit", 0);
    StartMusic();
    platform::ResetFaults();
    EXPECT_EQ(platform::LiveDirectMusicObjects(), 0);
    EXPECT_LT(PlayMusic(MusicId::Title), 0);
    EXPECT_TRUE(MusicLog().empty());
}

}  // namespace
