// The nine sound effects: the default DirectSound device with its primary buffer, and one
// secondary buffer per effect holding the whole of its WAVE file's samples. A machine without
// a usable sound device plays on silently.
#include "sound/sound_effects.h"

#include <dsound.h>

#include "sound/wave_file_reader.h"

namespace {

struct SoundState {
    LPDIRECTSOUND device = nullptr;
    LPDIRECTSOUNDBUFFER primary = nullptr;
    LPDIRECTSOUNDBUFFER effects[kSoundEffectCount] = {};
    bool saidSilent = false;
};

SoundState sound;
WaveFileReader waveReader;

constexpr const char* kEffectFiles[kSoundEffectCount] = {
    "se/select.wav",  "se/decide1.wav", "se/type1.wav",  "se/miss1.wav", "se/cool.wav",
    "se/lifeup1.wav", "se/start1.wav",  "se/start2.wav", "se/end1.wav",
};

// "WAVEファイルをロードできませんでした" and "エラー" in Shift-JIS.
constexpr char kLoadFailed[] =
    "WAVE\x83\x74\x83\x40\x83\x43\x83\x8b\x82\xf0\x83\x8d\x81\x5b\x83\x68\x82\xc5\x82\xab\x82"
    "\xdc\x82\xb9\x82\xf1\x82\xc5\x82\xb5\x82\xbd";
constexpr char kErrorCaption[] = "\x83\x47\x83\x89\x81\x5b";
constexpr char kNoDevice[] = "parrun: no sound device, so the game plays without sound\n";

// 16-bit stereo at 44100 Hz.
constexpr WAVEFORMATEX kPrimaryFormat = {WAVE_FORMAT_PCM, 2, 44100, 176400, 4, 16, 0};
constexpr DWORD kEffectFlags = DSBCAPS_CTRLFREQUENCY | DSBCAPS_CTRLPAN | DSBCAPS_CTRLVOLUME |
                               DSBCAPS_GLOBALFOCUS | DSBCAPS_GETCURRENTPOSITION2 | DSBCAPS_LOCDEFER;
// Every effect is turned down by 5 dB.
constexpr LONG kEffectVolume = -500;

// Reads one WAVE file into a new buffer of its own size. A lock that fails leaves the buffer
// silent but in place.
int LoadEffect(const char* fileName, LPDIRECTSOUNDBUFFER& slot) {
    if (waveReader.Open(fileName) != S_OK) return 0;
    DSBUFFERDESC desc = {};
    desc.dwSize = sizeof(desc);
    desc.dwFlags = kEffectFlags;
    desc.dwBufferBytes = waveReader.DataSize();
    desc.lpwfxFormat = const_cast<LPWAVEFORMATEX>(waveReader.Format());
    LPDIRECTSOUNDBUFFER buffer = nullptr;
    if (FAILED(sound.device->CreateSoundBuffer(&desc, &buffer, nullptr))) return 0;
    LPVOID first = nullptr;
    LPVOID second = nullptr;
    DWORD firstBytes = 0;
    DWORD secondBytes = 0;
    HRESULT locked =
        buffer->Lock(0, desc.dwBufferBytes, &first, &firstBytes, &second, &secondBytes, 0);
    if (locked == DSERR_BUFFERLOST) {
        buffer->Restore();
        locked = buffer->Lock(0, desc.dwBufferBytes, &first, &firstBytes, &second, &secondBytes, 0);
    }
    if (SUCCEEDED(locked)) {
        DWORD copied = 0;
        waveReader.Read(firstBytes, static_cast<BYTE*>(first), &copied);
        if (secondBytes != 0) waveReader.Read(secondBytes, static_cast<BYTE*>(second), &copied);
        buffer->Unlock(first, firstBytes, second, secondBytes);
    }
    slot = buffer;
    return 1;
}

// No device, or one that can't tell its capabilities or give its primary buffer: what was made
// of it goes, every effect stays empty (so PlaySoundEffect plays nothing), and the start goes on.
int StartWithoutSound() {
    ReleaseSoundEffects();
    SayPlayingWithoutSound();
    return 1;
}

}  // namespace

int StartSoundEffects(HWND window) {
    if (DirectSoundCreate(nullptr, &sound.device, nullptr) != DS_OK) return StartWithoutSound();
    sound.device->SetCooperativeLevel(window, DSSCL_NORMAL);
    DSCAPS caps = {};
    caps.dwSize = sizeof(caps);
    if (sound.device->GetCaps(&caps) != DS_OK) return StartWithoutSound();
    sound.device->SetSpeakerConfig(DSSPEAKER_COMBINED(DSSPEAKER_STEREO, DSSPEAKER_GEOMETRY_WIDE));
    DSBUFFERDESC primaryDesc = {};
    primaryDesc.dwSize = sizeof(primaryDesc);
    primaryDesc.dwFlags = DSBCAPS_PRIMARYBUFFER | DSBCAPS_CTRLVOLUME;
    if (sound.device->CreateSoundBuffer(&primaryDesc, &sound.primary, nullptr) != DS_OK) {
        return StartWithoutSound();
    }
    sound.primary->SetFormat(&kPrimaryFormat);
    for (int id = 0; id < kSoundEffectCount; ++id) {
        if (!LoadEffect(kEffectFiles[id], sound.effects[id])) {
            MessageBoxA(window, kLoadFailed, kErrorCaption, MB_OK);
            return 0;
        }
    }
    for (LPDIRECTSOUNDBUFFER effect : sound.effects) effect->SetVolume(kEffectVolume);
    return 1;
}

void SayPlayingWithoutSound() {
    if (sound.saidSilent) return;
    sound.saidSilent = true;
    OutputDebugStringA(kNoDevice);
}

// An effect asked for again, while it sounds or after, starts again from its beginning: the
// position is set back between Stop and Play, since Play alone would go on from where Stop
// left it. So an effect is never layered on itself and always sounds whole.
void PlaySoundEffect(int id) {
    if (id < 0 || id >= kSoundEffectCount || sound.effects[id] == nullptr) return;
    LPDIRECTSOUNDBUFFER effect = sound.effects[id];
    effect->Stop();
    effect->SetCurrentPosition(0);
    effect->Play(0, 0, 0);
}

// Releasing the device releases the primary and every effect buffer made from it.
void ReleaseSoundEffects() {
    if (sound.effects[static_cast<int>(SoundId::Select)] != nullptr) {
        sound.effects[static_cast<int>(SoundId::Select)]->Stop();
    }
    if (sound.effects[static_cast<int>(SoundId::Decide)] != nullptr) {
        sound.effects[static_cast<int>(SoundId::Decide)]->Stop();
    }
    if (sound.device != nullptr) sound.device->Release();
    sound = SoundState{};
}
