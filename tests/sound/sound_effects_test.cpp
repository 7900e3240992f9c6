// The game's effects on the scripted host: loading at start, what each effect sounds like and
// how loud, an effect asked for again, effects together, ids outside the nine, and release.
#include "sound/sound_effects.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "tests/sound/sound_fixture.h"
#include "sound/wave_file_reader.h"
#include "tests/sound/wave_builder.h"

namespace {

using sound_test::Frame;
using sound_test::Peak;
using sound_test::Rms;

class SoundEffectsTest : public sound_test::SoundHostTest {
protected:
    void SetUp() override {
        folder_ = std::filesystem::temp_directory_path() /
                  ("parrun-effects-test-" + std::to_string(::getpid()));
        std::filesystem::create_directories(folder_);
        std::filesystem::copy(std::filesystem::path(PARRUN_DATA_DIR) / "se", folder_ / "se");
        previous_ = std::filesystem::current_path();
        std::filesystem::current_path(folder_);
        SoundHostTest::SetUp();
    }
    void TearDown() override {
        ReleaseSoundEffects();
        SoundHostTest::TearDown();
        std::filesystem::current_path(previous_);
        std::filesystem::remove_all(folder_);
    }
    // Starts afresh from time 0 with the effects loaded.
    void Start() {
        ReleaseSoundEffects();
        NewHost();
        ASSERT_EQ(StartSoundEffects(window), 1);
    }
    // The effect's file as the output plays it: stereo, full scale 1.0, 5 dB down.
    static std::vector<float> Expected(const char* name) {
        auto file = sound_test::ReadFile(std::string(PARRUN_DATA_DIR) + "/se/" + name);
        std::vector<float> out;
        for (size_t at = 44; at + 1 < file.size(); at += 2) {
            auto value = static_cast<int16_t>(file[at] | (file[at + 1] << 8));
            out.push_back(value / 32768.0f * std::pow(10.0f, -5.0f / 20.0f));
        }
        return out;
    }

    std::filesystem::path folder_;
    std::filesystem::path previous_;
};

TEST_F(SoundEffectsTest, EachEffectSoundsAsItsFileFiveDecibelsDown) {
    const char* files[] = {"select.wav",  "decide1.wav", "type1.wav",  "miss1.wav", "cool.wav",
                           "lifeup1.wav", "start1.wav",  "start2.wav", "end1.wav"};
    for (int id = 0; id < kSoundEffectCount; ++id) {
        SCOPED_TRACE(files[id]);
        Start();
        PlaySoundEffect(id);
        std::vector<float> expected = Expected(files[id]);
        host->Sleep(static_cast<uint32_t>(expected.size() / 2 * 1000 / 44100 + 50));
        const auto& samples = host->AudioSamples();
        ASSERT_GE(samples.size(), expected.size());
        for (size_t i = 0; i < expected.size(); ++i) {
            ASSERT_NEAR(samples[i] / 32767.0, expected[i], 2.0 / 32768) << "sample " << i;
        }
        EXPECT_EQ(Peak(samples, expected.size() / 2 * 1000 / 44100 + 1,
                       expected.size() / 2 * 1000 / 44100 + 50),
                  0.0);
        EXPECT_EQ(Logged("sound"), std::vector<std::string>{std::to_string(id)});
    }
}

TEST_F(SoundEffectsTest, AnEffectAskedForAgainStartsOverInsteadOfLayering) {
    // Heard once, alone.
    Start();
    PlaySoundEffect(SoundId::Cool);
    host->Sleep(400);
    std::vector<int16_t> once = host->AudioSamples();
    // Asked for again 100 ms in: from then on the output is the effect from its start, never
    // the two on top of each other.
    Start();
    PlaySoundEffect(SoundId::Cool);
    host->Sleep(100);
    PlaySoundEffect(SoundId::Cool);
    host->Sleep(300);
    const auto& twice = host->AudioSamples();
    for (size_t i = 0; i < Frame(100) * 2; ++i) ASSERT_EQ(twice[i], once[i]) << i;
    for (size_t i = 0; i < Frame(300) * 2; ++i) {
        ASSERT_EQ(twice[Frame(100) * 2 + i], once[i]) << i;
    }
    EXPECT_EQ(Logged("sound"), (std::vector<std::string>{"4", "4"}));
    EXPECT_EQ(Logged("sound-stop"), (std::vector<std::string>{"4", "4"}));
}

TEST_F(SoundEffectsTest, DifferentEffectsSoundTogether) {
    auto alone = [this](SoundId id) {
        Start();
        PlaySoundEffect(id);
        host->Sleep(120);
        return host->AudioSamples();
    };
    std::vector<int16_t> type = alone(SoundId::Type);
    std::vector<int16_t> select = alone(SoundId::Select);
    Start();
    PlaySoundEffect(SoundId::Type);
    PlaySoundEffect(SoundId::Select);
    host->Sleep(120);
    const auto& both = host->AudioSamples();
    for (size_t i = 0; i < both.size(); ++i) {
        ASSERT_NEAR(both[i], type[i] + select[i], 1) << i;
    }
    EXPECT_GT(Rms(both, 0, 40, 0), Rms(type, 0, 40, 0));
}

TEST_F(SoundEffectsTest, NumbersOutsideTheNineAndReleasedEffectsPlayNothing) {
    Start();
    for (int id : {-1, 9, 100, -100}) PlaySoundEffect(id);
    ReleaseSoundEffects();
    PlaySoundEffect(SoundId::Decide);
    host->Sleep(100);
    EXPECT_EQ(Peak(host->AudioSamples(), 0, 100), 0.0);
    EXPECT_TRUE(Logged("sound").empty());
    // The release stops the first two effects and lets the device take every buffer along.
    EXPECT_EQ(Logged("sound-stop"), (std::vector<std::string>{"0", "1"}));
    EXPECT_EQ(Logged("sound-device"), (std::vector<std::string>{"open", "closed"}));
    EXPECT_EQ(platform::LiveSoundBuffers(), 0);
    EXPECT_EQ(platform::DirectSoundGlobals().counts.releasesTooMany, 0);
}

TEST_F(SoundEffectsTest, EffectsWhoseMemoryCannotBeLockedStaySilent) {
    ReleaseSoundEffects();
    NewHost();
    platform::ArmFault("LockSoundBuffer", 0);
    ASSERT_EQ(StartSoundEffects(window), 1);
    PlaySoundEffect(SoundId::Start2);
    host->Sleep(200);
    EXPECT_EQ(Peak(host->AudioSamples(), 0, 200), 0.0);
    EXPECT_EQ(Logged("sound"), std::vector<std::string>{"7"});
}

TEST_F(SoundEffectsTest, TheScriptedHostWritesWhatItPlayed) {
    ReleaseSoundEffects();
    platform::ResetDirectSoundState();
    platform::SetHost(nullptr);
    platform::Script script;
    script.audioFile = (folder_ / "run.wav").string();
    host = std::make_unique<platform::ScriptedHost>(script, nullptr);
    platform::SetHost(host.get());
    window = CreateWindowExA(0, "soundtest", "", WS_POPUP, 0, 0, 100, 100, nullptr, nullptr,
                             nullptr, nullptr);
    ASSERT_EQ(StartSoundEffects(window), 1);
    host->Sleep(50);
    PlaySoundEffect(SoundId::Miss);
    host->Sleep(300);
    ASSERT_TRUE(host->FinishAudio());
    // The game's own reader takes the file back: 350 ms of 16-bit stereo at 44100 Hz, silent
    // until the effect starts.
    WaveFileReader reader;
    ASSERT_EQ(reader.Open(script.audioFile.c_str()), S_OK);
    EXPECT_EQ(reader.Format()->nSamplesPerSec, 44100u);
    EXPECT_EQ(reader.Format()->nChannels, 2);
    EXPECT_EQ(reader.DataSize(), Frame(350) * 4);
    std::vector<int16_t> samples(Frame(350) * 2);
    DWORD copied = 0;
    ASSERT_EQ(reader.Read(reader.DataSize(), reinterpret_cast<BYTE*>(samples.data()), &copied),
              S_OK);
    EXPECT_EQ(samples, host->AudioSamples());
    EXPECT_EQ(Peak(samples, 0, 50), 0.0);
    EXPECT_GT(Rms(samples, 50, 250, 0), 0.05);
}

}  // namespace
