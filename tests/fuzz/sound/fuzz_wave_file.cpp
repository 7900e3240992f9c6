// WAVE files of any content through the game's reader and our mmio functions: opened, then
// read out in uneven pieces. An opened file has a format and never more sample bytes than the
// file holds. What was read then goes to our DirectSound as the game hands it over, and a
// buffer it makes is mixed, looping, at a rate taken from the input: every sample comes out
// a number within full scale.
#include <dsound.h>
#include <unistd.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "platform/dsound/mixer.h"
#include "platform/dsound/sound_objects.h"
#include "platform/scripted/scripted_host.h"
#include "sound/wave_file_reader.h"

namespace {

// A host that keeps no log, so that a long run does not grow.
class QuietHost : public platform::ScriptedHost {
public:
    QuietHost() : ScriptedHost(platform::Script{}, nullptr) {}
    void Report(const std::string&, const std::string&) override {}
};

HWND window = nullptr;

void Require(bool condition) {
    if (!condition) std::abort();
}

char scratch[] = "/tmp/parrun-fuzz-wave-XXXXXX";

void Leave() {
    std::remove("fuzz.wav");
    Require(chdir("/") == 0);
    rmdir(scratch);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    Require(mkdtemp(scratch) != nullptr);
    Require(chdir(scratch) == 0);
    std::atexit(Leave);
    platform::SetHost(new QuietHost);
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.lpszClassName = "fuzz";
    RegisterClassA(&windowClass);
    window = CreateWindowExA(0, "fuzz", "", WS_POPUP, 0, 0, 100, 100, nullptr, nullptr, nullptr,
                             nullptr);
    Require(window != nullptr);
    return 0;
}

namespace {

void Mix(const WAVEFORMATEX* format, const std::vector<BYTE>& samples, DWORD total,
         DWORD frequency) {
    LPDIRECTSOUND device = nullptr;
    Require(DirectSoundCreate(nullptr, &device, nullptr) == DS_OK);
    Require(device->SetCooperativeLevel(window, DSSCL_NORMAL) == DS_OK);
    DSBUFFERDESC desc = {};
    desc.dwSize = sizeof desc;
    desc.dwFlags = DSBCAPS_CTRLFREQUENCY | DSBCAPS_CTRLVOLUME | DSBCAPS_CTRLPAN;
    desc.dwBufferBytes = total;
    desc.lpwfxFormat = const_cast<LPWAVEFORMATEX>(format);
    LPDIRECTSOUNDBUFFER buffer = nullptr;
    if (device->CreateSoundBuffer(&desc, &buffer, nullptr) == DS_OK) {
        LPVOID region = nullptr;
        DWORD bytes = 0;
        Require(buffer->Lock(0, total, &region, &bytes, nullptr, nullptr, 0) == DS_OK);
        Require(bytes == total);
        std::memcpy(region, samples.data(), total);
        Require(buffer->Unlock(region, bytes, nullptr, 0) == DS_OK);
        buffer->SetFrequency(frequency);
        Require(buffer->Play(0, 0, DSBPLAY_LOOPING) == DS_OK);
        static float out[2 * 1024];
        platform::RenderMix(out, 1024, 44100);
        for (float value : out) Require(std::isfinite(value) && std::fabs(value) <= 1.0f);
    }
    platform::ResetDirectSoundState();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::FILE* file = std::fopen("fuzz.wav", "wb");
    Require(file != nullptr);
    Require(std::fwrite(data, 1, size, file) == size);
    Require(std::fclose(file) == 0);

    static WaveFileReader reader;
    if (reader.Open("fuzz.wav") != S_OK) {
        Require(reader.Format() == nullptr);
        return 0;
    }
    const WAVEFORMATEX* format = reader.Format();
    Require(format != nullptr);
    Require(format->wFormatTag != WAVE_FORMAT_PCM || format->cbSize == 0);
    DWORD total = reader.DataSize();
    Require(total <= size);
    std::vector<BYTE> samples(total + 1);
    DWORD done = 0;
    DWORD piece = 1 + (size > 20 ? data[20] : 7) * 37u;
    while (true) {
        DWORD copied = 0;
        HRESULT result = reader.Read(piece, samples.data() + done, &copied);
        Require(copied <= piece && done + copied <= total);
        done += copied;
        if (result != S_OK || copied == 0) break;
    }
    Require(done == total);
    DWORD frequency = DSBFREQUENCY_MIN + (size > 24 ? data[24] * 397u : 0);
    Mix(format, samples, total, frequency);
    return 0;
}
