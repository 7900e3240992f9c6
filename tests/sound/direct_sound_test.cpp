// Our DirectSound: what buffer creation refuses, locked regions, loss and restoration, the
// device taking its buffers along, and the bookkeeping that catches a call on a freed object.
#include <dsound.h>
#include <gtest/gtest.h>

#include "tests/sound/sound_fixture.h"
#include "tests/sound/wave_builder.h"

namespace {

using sound_test::Bytes;
using sound_test::ExtensibleBody;
using sound_test::SoundHostTest;

constexpr WAVEFORMATEX kStereo16 = {WAVE_FORMAT_PCM, 2, 44100, 176400, 4, 16, 0};

class DirectSoundTest : public SoundHostTest {
protected:
    void SetUp() override {
        SoundHostTest::SetUp();
        ASSERT_EQ(DirectSoundCreate(nullptr, &device, nullptr), DS_OK);
        ASSERT_EQ(device->SetCooperativeLevel(window, DSSCL_NORMAL), DS_OK);
    }
    // A buffer of a format given as its whole block, extra bytes and all.
    HRESULT Create(DWORD bytes, Bytes format, LPDIRECTSOUNDBUFFER* buffer,
                   DWORD flags = DSBCAPS_CTRLVOLUME) {
        DSBUFFERDESC desc = {};
        desc.dwSize = sizeof desc;
        desc.dwFlags = flags;
        desc.dwBufferBytes = bytes;
        desc.lpwfxFormat = reinterpret_cast<LPWAVEFORMATEX>(format.data());
        return device->CreateSoundBuffer(&desc, buffer, nullptr);
    }
    HRESULT Create(DWORD bytes, const WAVEFORMATEX& format, LPDIRECTSOUNDBUFFER* buffer,
                   DWORD flags = DSBCAPS_CTRLVOLUME) {
        const auto* block = reinterpret_cast<const uint8_t*>(&format);
        return Create(bytes, Bytes(block, block + sizeof format), buffer, flags);
    }

    LPDIRECTSOUND device = nullptr;
};

TEST_F(DirectSoundTest, RefusesBuffersItCannotMakeOrPlay) {
    auto format = [](WORD tag, WORD channels, DWORD rate, WORD bits, WORD align) {
        WAVEFORMATEX head{tag, channels, rate, rate * align, align, bits, 0};
        const auto* block = reinterpret_cast<const uint8_t*>(&head);
        return Bytes(block, block + sizeof head);
    };
    auto patched = [](Bytes block, size_t at, uint8_t value) {
        block[at] = value;
        return block;
    };
    const Bytes extensible24 = ExtensibleBody(2, 44100, 24, 20);
    struct Case {
        const char* what;
        DWORD bytes;
        Bytes format;
        HRESULT result;
    };
    const Case cases[] = {
        {"smallest", DSBSIZE_MIN, format(1, 1, 8000, 8, 1), DS_OK},
        {"below the smallest", DSBSIZE_MIN - 1, format(1, 1, 8000, 8, 1), DSERR_INVALIDPARAM},
        {"above the largest", DSBSIZE_MAX + 1, format(1, 2, 44100, 16, 4), DSERR_INVALIDPARAM},
        {"a lying 4 GB header", 0xFFFFFFFC, format(1, 2, 44100, 16, 4), DSERR_INVALIDPARAM},
        {"not PCM", 64, format(17, 1, 22050, 4, 256), DSERR_BADFORMAT},
        {"24 bits", 64, format(1, 2, 44100, 24, 6), DSERR_BADFORMAT},
        {"three channels", 64, format(1, 3, 44100, 16, 6), DSERR_BADFORMAT},
        {"no channel", 64, format(1, 0, 44100, 16, 0), DSERR_BADFORMAT},
        {"block alignment wrong", 64, format(1, 2, 44100, 16, 2), DSERR_BADFORMAT},
        {"rate too low", 64, format(1, 1, DSBFREQUENCY_MIN - 1, 8, 1), DSERR_BADFORMAT},
        {"rate too high", 64, format(1, 1, DSBFREQUENCY_MAX + 1, 8, 1), DSERR_BADFORMAT},
        {"20 valid bits in 24, extensible", 60, extensible24, DS_OK},
        {"64-bit float", 64, format(3, 2, 44100, 64, 16), DS_OK},
        {"16-bit float", 64, format(3, 2, 44100, 16, 4), DSERR_BADFORMAT},
        {"extensible, 21 extra bytes", 60, patched(extensible24, 16, 21), DSERR_BADFORMAT},
        {"extensible, 25 valid bits in 24", 60, patched(extensible24, 18, 25), DSERR_BADFORMAT},
        {"extensible, no valid bit", 60, patched(extensible24, 18, 0), DSERR_BADFORMAT},
        {"extensible, 20-bit container", 60, patched(patched(extensible24, 14, 20), 12, 5),
         DSERR_BADFORMAT},
        {"extensible, another subformat", 60, patched(extensible24, 24, 2), DSERR_BADFORMAT},
        {"extensible, a foreign GUID", 60, patched(extensible24, 39, 0), DSERR_BADFORMAT},
        {"extensible, three channels", 60, patched(patched(extensible24, 2, 3), 12, 9),
         DSERR_BADFORMAT},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.what);
        LPDIRECTSOUNDBUFFER buffer = reinterpret_cast<LPDIRECTSOUNDBUFFER>(1);
        EXPECT_EQ(Create(test.bytes, test.format, &buffer), test.result);
        EXPECT_EQ(buffer == nullptr, test.result != DS_OK);
    }
    EXPECT_EQ(platform::DirectSoundGlobals().counts.buffersCreated, 3);
    // The extensible format is given back whole.
    LPDIRECTSOUNDBUFFER wide = nullptr;
    ASSERT_EQ(Create(60, extensible24, &wide), DS_OK);
    DWORD size = 0;
    ASSERT_EQ(wide->GetFormat(nullptr, 0, &size), DS_OK);
    Bytes back(size);
    ASSERT_EQ(wide->GetFormat(reinterpret_cast<LPWAVEFORMATEX>(back.data()), size, &size), DS_OK);
    EXPECT_EQ(back, extensible24);

    DSBUFFERDESC desc = {};
    desc.dwSize = sizeof desc - 1;
    LPDIRECTSOUNDBUFFER buffer = nullptr;
    EXPECT_EQ(device->CreateSoundBuffer(&desc, &buffer, nullptr), DSERR_INVALIDPARAM);
    // The primary buffer has no size and no format of its own.
    desc.dwSize = sizeof desc;
    desc.dwFlags = DSBCAPS_PRIMARYBUFFER;
    desc.dwBufferBytes = 64;
    EXPECT_EQ(device->CreateSoundBuffer(&desc, &buffer, nullptr), DSERR_INVALIDPARAM);
    // A device without a cooperative level makes no buffer.
    LPDIRECTSOUND other = nullptr;
    ASSERT_EQ(DirectSoundCreate(nullptr, &other, nullptr), DS_OK);
    desc.dwBufferBytes = 0;
    EXPECT_EQ(other->CreateSoundBuffer(&desc, &buffer, nullptr), DSERR_UNINITIALIZED);
}

TEST_F(DirectSoundTest, HasOnePrimaryBufferWhoseFormatMustBePlayable) {
    DSBUFFERDESC desc = {};
    desc.dwSize = sizeof desc;
    desc.dwFlags = DSBCAPS_PRIMARYBUFFER | DSBCAPS_CTRLVOLUME;
    LPDIRECTSOUNDBUFFER first = nullptr;
    LPDIRECTSOUNDBUFFER second = nullptr;
    ASSERT_EQ(device->CreateSoundBuffer(&desc, &first, nullptr), DS_OK);
    ASSERT_EQ(device->CreateSoundBuffer(&desc, &second, nullptr), DS_OK);
    EXPECT_EQ(first, second);
    // Setting the primary format takes the priority level, as on Windows.
    EXPECT_EQ(first->SetFormat(&kStereo16), DSERR_PRIOLEVELNEEDED);
    ASSERT_EQ(device->SetCooperativeLevel(window, DSSCL_PRIORITY), DS_OK);
    EXPECT_EQ(first->SetFormat(&kStereo16), DS_OK);
    WAVEFORMATEX wide = kStereo16;
    wide.wBitsPerSample = 32;
    wide.nBlockAlign = 8;
    EXPECT_EQ(first->SetFormat(&wide), DSERR_BADFORMAT);
    WAVEFORMATEX got = {};
    ASSERT_EQ(first->GetFormat(&got, sizeof got, nullptr), DS_OK);
    EXPECT_EQ(got.nSamplesPerSec, 44100u);
    LPVOID region = nullptr;
    DWORD bytes = 0;
    EXPECT_EQ(first->Lock(0, 4, &region, &bytes, nullptr, nullptr, 0), DSERR_PRIOLEVELNEEDED);
    // Secondary buffers keep the format they were made with.
    LPDIRECTSOUNDBUFFER buffer = nullptr;
    ASSERT_EQ(Create(64, kStereo16, &buffer), DS_OK);
    EXPECT_EQ(buffer->SetFormat(&kStereo16), DSERR_INVALIDCALL);
}

TEST_F(DirectSoundTest, LocksInOneOrTwoRegions) {
    LPDIRECTSOUNDBUFFER buffer = nullptr;
    ASSERT_EQ(Create(40, kStereo16, &buffer), DS_OK);
    struct Case {
        DWORD offset, bytes, flags;
        HRESULT result;
        DWORD firstAt, firstBytes, secondBytes;
    };
    const Case cases[] = {
        {0, 40, 0, DS_OK, 0, 40, 0},
        {8, 16, 0, DS_OK, 8, 16, 0},
        {32, 16, 0, DS_OK, 32, 8, 8},  // runs on at the start
        {12, 0, DSBLOCK_ENTIREBUFFER, DS_OK, 12, 28, 12},
        {0, 41, 0, DSERR_INVALIDPARAM, 0, 0, 0},
        {40, 4, 0, DSERR_INVALIDPARAM, 0, 0, 0},
        {0, 0, 0, DSERR_INVALIDPARAM, 0, 0, 0},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(testing::Message() << test.offset << "+" << test.bytes);
        LPVOID first = nullptr;
        LPVOID second = nullptr;
        DWORD firstBytes = 99;
        DWORD secondBytes = 99;
        ASSERT_EQ(buffer->Lock(test.offset, test.bytes, &first, &firstBytes, &second, &secondBytes,
                               test.flags),
                  test.result);
        if (test.result != DS_OK) continue;
        EXPECT_EQ(firstBytes, test.firstBytes);
        EXPECT_EQ(secondBytes, test.secondBytes);
        EXPECT_EQ(second != nullptr, test.secondBytes != 0);
        if (second != nullptr) {
            EXPECT_EQ(static_cast<uint8_t*>(first) - static_cast<uint8_t*>(second),
                      static_cast<ptrdiff_t>(test.firstAt));
        }
        EXPECT_EQ(buffer->Unlock(first, firstBytes, second, secondBytes), DS_OK);
    }
    // A lock that would need a second region without a place to put it is refused.
    LPVOID first = nullptr;
    DWORD firstBytes = 0;
    EXPECT_EQ(buffer->Lock(32, 16, &first, &firstBytes, nullptr, nullptr, 0), DSERR_INVALIDPARAM);
    // Unlocking memory that isn't the buffer's is refused.
    uint8_t elsewhere[4];
    EXPECT_EQ(buffer->Unlock(elsewhere, 4, nullptr, 0), DSERR_INVALIDPARAM);
}

TEST_F(DirectSoundTest, ALostBufferWorksAgainOnceRestored) {
    LPDIRECTSOUNDBUFFER buffer = nullptr;
    ASSERT_EQ(Create(64, kStereo16, &buffer), DS_OK);
    ASSERT_EQ(buffer->Play(0, 0, DSBPLAY_LOOPING), DS_OK);
    platform::LoseAllSoundBuffers();
    DWORD status = 0;
    ASSERT_EQ(buffer->GetStatus(&status), DS_OK);
    EXPECT_EQ(status, static_cast<DWORD>(DSBSTATUS_BUFFERLOST));
    LPVOID first = nullptr;
    LPVOID second = nullptr;
    DWORD firstBytes = 0;
    DWORD secondBytes = 0;
    EXPECT_EQ(buffer->Lock(0, 64, &first, &firstBytes, &second, &secondBytes, 0), DSERR_BUFFERLOST);
    EXPECT_EQ(buffer->Play(0, 0, 0), DSERR_BUFFERLOST);
    ASSERT_EQ(buffer->Restore(), DS_OK);
    EXPECT_EQ(buffer->Lock(0, 64, &first, &firstBytes, &second, &secondBytes, 0), DS_OK);
    EXPECT_EQ(buffer->Play(0, 0, 0), DS_OK);
}

TEST_F(DirectSoundTest, ReleasingTheDeviceFreesItsBuffersAndCountsLateCalls) {
    LPDIRECTSOUNDBUFFER first = nullptr;
    LPDIRECTSOUNDBUFFER second = nullptr;
    ASSERT_EQ(Create(64, kStereo16, &first), DS_OK);
    ASSERT_EQ(Create(64, kStereo16, &second), DS_OK);
    ASSERT_EQ(second->Play(0, 0, DSBPLAY_LOOPING), DS_OK);
    EXPECT_EQ(device->Release(), 0u);
    EXPECT_EQ(platform::LiveSoundBuffers(), 0);
    EXPECT_EQ(platform::LiveSoundDevices(), 0);
    EXPECT_EQ(second->Play(0, 0, 0), DSERR_INVALIDCALL);
    EXPECT_EQ(first->Release(), 0u);
    const auto& counts = platform::DirectSoundGlobals().counts;
    EXPECT_EQ(counts.buffersFreed, 2);
    EXPECT_EQ(counts.devicesFreed, 1);
    EXPECT_EQ(counts.callsOnFreed, 1);
    EXPECT_EQ(counts.releasesTooMany, 1);
    EXPECT_EQ(Logged("sound-device"), (std::vector<std::string>{"open", "closed"}));
    EXPECT_EQ(Logged("sound-buffer"), (std::vector<std::string>{"0 64", "1 64"}));
    EXPECT_EQ(Logged("sound"), (std::vector<std::string>{"1"}));
}

// A host without sound output: the device is made all the same, plays to nowhere, and
// standard error says so once however many devices are made.
class SilentHost : public platform::ScriptedHost {
public:
    SilentHost() : ScriptedHost(platform::Script{}, nullptr) {}
    bool StartAudio(platform::AudioRenderer*, std::string& whyNot) override {
        whyNot = "no card";
        return false;
    }
};

TEST_F(DirectSoundTest, WithoutSoundOutputTheGamePlaysSilentlyAndSaysSoOnce) {
    platform::ResetDirectSoundState();
    SilentHost silent;
    platform::SetHost(&silent);
    testing::internal::CaptureStderr();
    for (int i = 0; i < 2; ++i) {
        LPDIRECTSOUND quiet = nullptr;
        ASSERT_EQ(DirectSoundCreate(nullptr, &quiet, nullptr), DS_OK);
        ASSERT_EQ(quiet->SetCooperativeLevel(window, DSSCL_NORMAL), DS_OK);
        device = quiet;
        LPDIRECTSOUNDBUFFER buffer = nullptr;
        ASSERT_EQ(Create(64, kStereo16, &buffer), DS_OK);
        EXPECT_EQ(buffer->Play(0, 0, 0), DS_OK);
        silent.Sleep(10);
        platform::ResetDirectSoundState();
    }
    std::string said = testing::internal::GetCapturedStderr();
    platform::SetHost(host.get());
    std::string line = "parrun: no sound output (no card); playing without sound\n";
    EXPECT_EQ(said, line);
}

}  // namespace
