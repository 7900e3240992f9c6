// The mixer, heard through the scripted host: sample formats, rates, volume and pan, voices
// that end or loop, Stop and Play, several voices and the extra sources together.
#include <dsound.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <functional>

#include "platform/audio/audio_sources.h"
#include "platform/dsound/mixer.h"
#include "tests/fuzz/seed_writer.h"
#include "tests/sound/sound_fixture.h"
#include "tests/sound/wave_builder.h"

namespace {

using sound_test::Bytes;
using sound_test::Chunk;
using sound_test::ExtensibleBody;
using sound_test::FormatBody;
using sound_test::Frame;
using sound_test::Peak;
using sound_test::Riff;
using sound_test::Rms;

class MixerTest : public sound_test::SoundHostTest {
protected:
    void SetUp() override {
        SoundHostTest::SetUp();
        ASSERT_EQ(DirectSoundCreate(nullptr, &device, nullptr), DS_OK);
        ASSERT_EQ(device->SetCooperativeLevel(window, DSSCL_NORMAL), DS_OK);
    }
    // A buffer holding `bytes`, with every control; the format as a "fmt " chunk's body.
    LPDIRECTSOUNDBUFFER Buffer(Bytes format, const Bytes& bytes) {
        format.resize(std::max(format.size(), sizeof(WAVEFORMATEX)));
        DSBUFFERDESC desc = {};
        desc.dwSize = sizeof desc;
        desc.dwFlags = DSBCAPS_CTRLVOLUME | DSBCAPS_CTRLPAN | DSBCAPS_CTRLFREQUENCY;
        desc.dwBufferBytes = static_cast<DWORD>(bytes.size());
        desc.lpwfxFormat = reinterpret_cast<LPWAVEFORMATEX>(format.data());
        LPDIRECTSOUNDBUFFER buffer = nullptr;
        EXPECT_EQ(device->CreateSoundBuffer(&desc, &buffer, nullptr), DS_OK);
        LPVOID region = nullptr;
        DWORD size = 0;
        EXPECT_EQ(buffer->Lock(0, desc.dwBufferBytes, &region, &size, nullptr, nullptr, 0), DS_OK);
        std::copy(bytes.begin(), bytes.end(), static_cast<uint8_t*>(region));
        buffer->Unlock(region, size, nullptr, 0);
        return buffer;
    }
    // One second at `rate` of a 16-bit sine of `hertz` at half scale, mono.
    LPDIRECTSOUNDBUFFER Sine(DWORD rate, double hertz, int ms = 1000) {
        std::vector<uint8_t> bytes;
        for (DWORD i = 0; i < rate * ms / 1000; ++i) {
            auto value = static_cast<int16_t>(16384 * std::sin(2 * M_PI * hertz * i / rate));
            bytes.push_back(static_cast<uint8_t>(value));
            bytes.push_back(static_cast<uint8_t>(value >> 8));
        }
        return Buffer(FormatBody(WAVE_FORMAT_PCM, 1, rate, 16), bytes);
    }
    // What a buffer plays alone on a fresh host, in its first `ms` milliseconds.
    std::vector<int16_t> Played(const Bytes& format, const Bytes& bytes, uint32_t ms) {
        NewHost();
        EXPECT_EQ(DirectSoundCreate(nullptr, &device, nullptr), DS_OK);
        EXPECT_EQ(device->SetCooperativeLevel(window, DSSCL_NORMAL), DS_OK);
        EXPECT_EQ(Buffer(format, bytes)->Play(0, 0, 0), DS_OK);
        host->Sleep(ms);
        return host->AudioSamples();
    }
    // Zero crossings upward of the left channel between two times, per second.
    double Hertz(uint64_t fromMs, uint64_t toMs) {
        const auto& samples = host->AudioSamples();
        int crossings = 0;
        for (size_t frame = Frame(fromMs) + 1; frame < Frame(toMs); ++frame) {
            crossings += samples[(frame - 1) * 2] < 0 && samples[frame * 2] >= 0;
        }
        return crossings * 1000.0 / static_cast<double>(toMs - fromMs);
    }

    LPDIRECTSOUND device = nullptr;
};

TEST_F(MixerTest, PlaysEachSampleFormatOnBothSides) {
    auto floats = [](float left, float right) {
        Bytes out(8);
        std::memcpy(out.data(), &left, 4);
        std::memcpy(out.data() + 4, &right, 4);
        return out;
    };
    struct Case {
        const char* what;
        Bytes format;
        Bytes frame;
        int left, right;  // as the output's 16-bit samples
    };
    const Case cases[] = {
        {"8-bit mono", FormatBody(1, 1, 44100, 8), {0xC0}, 16383, 16383},
        {"8-bit stereo", FormatBody(1, 2, 44100, 8), {0x40, 0xC0}, -16384, 16383},
        {"16-bit mono", FormatBody(1, 1, 44100, 16), {0x00, 0xE0}, -8192, -8192},
        {"16-bit stereo", FormatBody(1, 2, 44100, 16), {0x00, 0x20, 0x00, 0xC0}, 8192, -16384},
        {"float: no number is silent, beyond full scale is full scale, as the limiter leaves it",
         FormatBody(3, 2, 44100, 32), floats(std::nanf(""), -2.5f), 0,
         static_cast<int>(std::lround(-32767 * platform::LimitPeak(1.0f)))},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.what);
        Bytes bytes;
        for (int i = 0; i < 4410; ++i)
            bytes.insert(bytes.end(), test.frame.begin(), test.frame.end());
        const auto samples = Played(test.format, bytes, 200);
        size_t middle = Frame(50) * 2;
        EXPECT_NEAR(samples[middle], test.left, 1);
        EXPECT_NEAR(samples[middle + 1], test.right, 1);
        // 4410 frames are 100 ms; then silence.
        EXPECT_EQ(Peak(samples, 101, 200), 0.0);
    }
}

TEST_F(MixerTest, WideAndFloatFormatsSoundAsTheir16BitTwin) {
    // 50 ms of a different sine on each side; every format holds the same 16-bit values, with
    // noise below them where the format says those bits are not valid.
    auto value = [](int frame, int channel) {
        return static_cast<int16_t>(24000 * std::sin(frame * (channel == 0 ? 0.031 : 0.05)));
    };
    auto integer = [](int bytes, uint32_t noiseMask) {
        return [=](Bytes& out, int16_t v, int i) {
            uint32_t word = (static_cast<uint32_t>(static_cast<uint16_t>(v)) << (8 * bytes - 16)) |
                            ((i * 2654435761u) & noiseMask);
            for (int b = 0; b < bytes; ++b) out.push_back(static_cast<uint8_t>(word >> (8 * b)));
        };
    };
    auto real = [](auto zero) {
        return [](Bytes& out, int16_t v, int) {
            decltype(zero) x = v / 32768.0;
            out.insert(out.end(), reinterpret_cast<uint8_t*>(&x),
                       reinterpret_cast<uint8_t*>(&x) + sizeof x);
        };
    };
    struct Case {
        const char* what;  // and the name of its fuzzing seed
        Bytes format;
        std::function<void(Bytes&, int16_t, int)> put;
        int tolerance;
    };
    const Case cases[] = {
        {"extensible16", ExtensibleBody(2, 44100, 16, 16), integer(2, 0), 0},
        {"extensible24", ExtensibleBody(2, 44100, 24, 24), integer(3, 0), 0},
        {"extensible24_valid16", ExtensibleBody(2, 44100, 24, 16), integer(3, 0xFF), 0},
        {"extensible32", ExtensibleBody(2, 44100, 32, 32), integer(4, 0), 0},
        {"extensible32_valid20", ExtensibleBody(2, 44100, 32, 20), integer(4, 0xFFF), 0},
        {"extensible8", ExtensibleBody(2, 44100, 8, 8),
         [](Bytes& out, int16_t v, int) { out.push_back(static_cast<uint8_t>((v >> 8) + 128)); },
         256},
        {"float32", FormatBody(3, 2, 44100, 32, {}, true), real(0.0f), 0},
        {"float32_extensible", ExtensibleBody(2, 44100, 32, 32, 3), real(0.0f), 0},
        {"float64", FormatBody(3, 2, 44100, 64, {}, true), real(0.0), 0},
    };
    constexpr int kFrames = 2205;
    Bytes plain;
    for (int i = 0; i < kFrames * 2; ++i) integer(2, 0)(plain, value(i / 2, i % 2), i);
    const auto twin = Played(FormatBody(1, 2, 44100, 16), plain, 60);
    ASSERT_GT(Peak(twin, 0, 50), 0.7);
    for (const auto& test : cases) {
        SCOPED_TRACE(test.what);
        Bytes bytes;
        for (int i = 0; i < kFrames * 2; ++i) test.put(bytes, value(i / 2, i % 2), i);
        fuzz_seeds::SaveSeed(std::string("sound/seeds/fuzz_wave_file/") + test.what,
                             Riff({Chunk("fmt ", test.format),
                                   Chunk("data", Bytes(bytes.begin(), bytes.begin() + 240))}));
        const auto samples = Played(test.format, bytes, 60);
        for (size_t i = 0; i < static_cast<size_t>(kFrames) * 2 + 20; ++i) {
            ASSERT_NEAR(samples[i], twin[i], test.tolerance) << "sample " << i;
        }
    }
}

TEST_F(MixerTest, ConvertsEveryRateToTheOutputs) {
    for (DWORD rate : {8000u, 11025u, 22050u, 44100u, 48000u, 96000u}) {
        SCOPED_TRACE(rate);
        NewHost();
        ASSERT_EQ(DirectSoundCreate(nullptr, &device, nullptr), DS_OK);
        ASSERT_EQ(device->SetCooperativeLevel(window, DSSCL_NORMAL), DS_OK);
        LPDIRECTSOUNDBUFFER sine = Sine(rate, 440, 500);
        ASSERT_EQ(sine->Play(0, 0, 0), DS_OK);
        host->Sleep(700);
        // Half a second long whatever the rate, at its pitch and level.
        EXPECT_NEAR(Hertz(0, 490), 440, 5);
        EXPECT_NEAR(Rms(host->AudioSamples(), 10, 490, 0), 0.5 / std::sqrt(2.0), 0.01);
        EXPECT_GT(Peak(host->AudioSamples(), 495, 499), 0.0);
        EXPECT_EQ(Peak(host->AudioSamples(), 502, 700), 0.0);
    }
}

TEST_F(MixerTest, TurnsDownByVolumeAndPan) {
    struct Case {
        LONG volume, pan;
        double left, right;  // amplitude factors
    };
    const Case cases[] = {
        {0, 0, 1.0, 1.0},
        {-600, 0, 0.501, 0.501},
        {-500, 0, 0.562, 0.562},
        {DSBVOLUME_MIN, 0, 0.0, 0.0},
        {0, 600, 0.501, 1.0},
        {0, -2000, 1.0, 0.1},
        {-600, DSBPAN_LEFT, 0.501, 0.0},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(testing::Message() << test.volume << " " << test.pan);
        NewHost();
        ASSERT_EQ(DirectSoundCreate(nullptr, &device, nullptr), DS_OK);
        ASSERT_EQ(device->SetCooperativeLevel(window, DSSCL_NORMAL), DS_OK);
        LPDIRECTSOUNDBUFFER sine = Sine(44100, 1000, 200);
        ASSERT_EQ(sine->SetVolume(test.volume), DS_OK);
        ASSERT_EQ(sine->SetPan(test.pan), DS_OK);
        ASSERT_EQ(sine->Play(0, 0, 0), DS_OK);
        host->Sleep(200);
        double full = 0.5 / std::sqrt(2.0);
        EXPECT_NEAR(Rms(host->AudioSamples(), 0, 200, 0), full * test.left, 0.003);
        EXPECT_NEAR(Rms(host->AudioSamples(), 0, 200, 1), full * test.right, 0.003);
    }
}

TEST_F(MixerTest, AOneShotEndsAndStartsAgainFromItsBeginning) {
    LPDIRECTSOUNDBUFFER sine = Sine(44100, 1000, 100);
    ASSERT_EQ(sine->Play(0, 0, 0), DS_OK);
    host->Sleep(150);
    DWORD status = 1;
    DWORD position = 1;
    ASSERT_EQ(sine->GetStatus(&status), DS_OK);
    ASSERT_EQ(sine->GetCurrentPosition(&position, nullptr), DS_OK);
    EXPECT_EQ(status, 0u);
    EXPECT_EQ(position, 0u);
    ASSERT_EQ(sine->Play(0, 0, 0), DS_OK);
    host->Sleep(150);
    const auto& samples = host->AudioSamples();
    for (size_t i = 0; i < Frame(100) * 2; ++i) {
        ASSERT_EQ(samples[i], samples[Frame(150) * 2 + i]) << i;
    }
}

TEST_F(MixerTest, StopKeepsThePositionAndLoopingGoesOn) {
    LPDIRECTSOUNDBUFFER sine = Sine(44100, 1000, 100);
    ASSERT_EQ(sine->Play(0, 0, 0), DS_OK);
    host->Sleep(30);
    ASSERT_EQ(sine->Stop(), DS_OK);
    DWORD position = 0;
    ASSERT_EQ(sine->GetCurrentPosition(&position, nullptr), DS_OK);
    EXPECT_EQ(position, Frame(30) * 2);
    host->Sleep(20);
    EXPECT_EQ(Peak(host->AudioSamples(), 30, 50), 0.0);
    // Played again, it goes on from where it stopped and ends 70 ms later.
    ASSERT_EQ(sine->Play(0, 0, 0), DS_OK);
    host->Sleep(100);
    EXPECT_GT(Peak(host->AudioSamples(), 110, 119), 0.4);
    EXPECT_EQ(Peak(host->AudioSamples(), 121, 150), 0.0);
    // Looping, it sounds on past its end until stopped.
    ASSERT_EQ(sine->Play(0, 0, DSBPLAY_LOOPING), DS_OK);
    host->Sleep(300);
    EXPECT_NEAR(Rms(host->AudioSamples(), 150, 450, 0), 0.5 / std::sqrt(2.0), 0.01);
    DWORD status = 0;
    ASSERT_EQ(sine->GetStatus(&status), DS_OK);
    EXPECT_EQ(status, static_cast<DWORD>(DSBSTATUS_PLAYING | DSBSTATUS_LOOPING));
}

TEST_F(MixerTest, AddsVoicesAndSourcesTogether) {
    struct Constant : platform::AudioSource {
        void MixInto(float* out, int frames, int) override {
            for (int i = 0; i < frames * 2; ++i) out[i] += 0.25f;
        }
        void Skip(int, int) override {}
    } source;
    LPDIRECTSOUNDBUFFER first = Sine(44100, 1000, 100);
    LPDIRECTSOUNDBUFFER second = Sine(44100, 1000, 100);
    ASSERT_EQ(first->Play(0, 0, 0), DS_OK);
    ASSERT_EQ(second->Play(0, 0, 0), DS_OK);
    host->Sleep(100);
    // Two sines in step at half scale make one at full scale, which the limiter holds below it.
    EXPECT_NEAR(Peak(host->AudioSamples(), 0, 100), platform::LimitPeak(1.0f), 0.01);
    platform::AttachAudioSource(&source);
    host->Sleep(100);
    platform::DetachAudioSource(&source);
    host->Sleep(100);
    const auto& samples = host->AudioSamples();
    EXPECT_NEAR(samples[Frame(150) * 2], 8192, 1);
    EXPECT_EQ(samples[Frame(250) * 2], 0);
}

TEST(MixerLimit, PassesTheSumUpToTheKneeAndKeepsEverythingElseBelowFullScale) {
    for (float sample : {0.0f, 0.25f, -0.5f, 0.9f, -0.9f})
        EXPECT_EQ(platform::LimitPeak(sample), sample);
    float previous = 0.9f;
    for (float sample : {0.901f, 0.95f, 1.0f, 1.5f, 4.0f, 1e30f}) {
        float limited = platform::LimitPeak(sample);
        EXPECT_GE(limited, previous) << sample;  // louder never comes out quieter
        EXPECT_LT(limited * 32767.0f, 32766.5f) << sample;
        EXPECT_EQ(platform::LimitPeak(-sample), -limited) << sample;
        previous = limited;
    }
    EXPECT_NEAR(platform::LimitPeak(0.901f), 0.901f, 1e-4f) << "no corner at the knee";
    EXPECT_GT(platform::LimitPeak(1.0f), platform::LimitPeak(0.95f) + 0.01f);
}

}  // namespace
