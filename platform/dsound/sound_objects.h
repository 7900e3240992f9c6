// Our DirectSound objects: the device, its primary buffer (the mix's format and master volume)
// and secondary buffers in memory, each a voice of the mixer while it plays. Released objects
// are kept as husks until the state is reset, so that a call on one, or one release too many,
// is counted instead of crashing.
#pragma once

#include <dsound.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/com/com_object.h"

namespace platform {

class DirectSoundDevice;
class SoundBuffer;

// Counts that tests read to check that every object is made and released exactly once.
struct DirectSoundCounts {
    int devicesCreated = 0;
    int devicesFreed = 0;
    int buffersCreated = 0;  // secondary buffers
    int buffersFreed = 0;
    int releasesTooMany = 0;  // Release on an object already gone
    int callsOnFreed = 0;     // any other call on an object already gone
};

struct DirectSoundState {
    std::vector<std::unique_ptr<DirectSoundDevice>> devices;
    std::vector<std::unique_ptr<SoundBuffer>> buffers;
    DirectSoundCounts counts;
};

DirectSoundState& DirectSoundGlobals();
// Frees every object, stops the host's output and disarms nothing else, for tests.
void ResetDirectSoundState();
// Sound memory was taken away: every live secondary buffer stops and reports DSERR_BUFFERLOST
// until it is restored.
void LoseAllSoundBuffers();
// Live (not yet freed) objects.
int LiveSoundBuffers();
int LiveSoundDevices();

// How the samples of a format lie in a buffer's bytes.
struct SampleLayout {
    enum class Kind { Integer, Float32, Float64 };
    Kind kind = Kind::Integer;
    int channels = 0;
    int bytes = 0;           // of one sample's container
    uint32_t validMask = 0;  // integers: the bits kept once a sample sits at the top of 32 bits
    bool unsigned8 = false;  // 8-bit integers are unsigned around 128
};

// The layout of a format the mixer plays, mono or stereo at a rate DirectSound accepts with a
// block alignment that agrees: PCM at 8 or 16 bits; IEEE float at 32 or 64 bits; the extensible
// format (at least 22 extra bytes, which are read) with the PCM subformat at 8, 16, 24 or 32
// bits, of which the valid bits (1 up to all) are heard and the lower ones ignored, or with the
// float subformat. False for anything else, which DirectSound refuses too.
bool DescribeFormat(const WAVEFORMATEX& format, SampleLayout& layout);
bool PlayableFormat(const WAVEFORMATEX& format);
// The bytes of a format as GetFormat gives them back: the 18-byte head, and for the extensible
// format its 22 extra bytes.
std::vector<uint8_t> FormatBlock(const WAVEFORMATEX& format);

struct DirectSoundFamily {
    static DirectSoundCounts& Counts() { return DirectSoundGlobals().counts; }
    static constexpr HRESULT kFreed = DSERR_INVALIDCALL;
};

class SoundBuffer final
    : public ComObject<IDirectSoundBuffer, &IID_IDirectSoundBuffer, DirectSoundFamily> {
public:
    // A primary buffer (id -1) or the device's secondary buffer number `id`, counted from 0 in
    // order of creation.
    SoundBuffer(DirectSoundDevice* owner, int id, DWORD flags, const WAVEFORMATEX& format,
                std::vector<uint8_t> memory);

    HRESULT STDMETHODCALLTYPE GetCaps(LPDSBCAPS caps) override;
    HRESULT STDMETHODCALLTYPE GetCurrentPosition(LPDWORD play, LPDWORD write) override;
    HRESULT STDMETHODCALLTYPE GetFormat(LPWAVEFORMATEX format, DWORD sizeAllocated,
                                        LPDWORD sizeWritten) override;
    HRESULT STDMETHODCALLTYPE GetVolume(LPLONG volume) override;
    HRESULT STDMETHODCALLTYPE GetPan(LPLONG pan) override;
    HRESULT STDMETHODCALLTYPE GetFrequency(LPDWORD frequency) override;
    HRESULT STDMETHODCALLTYPE GetStatus(LPDWORD status) override;
    HRESULT STDMETHODCALLTYPE Initialize(LPDIRECTSOUND device, LPCDSBUFFERDESC desc) override;
    HRESULT STDMETHODCALLTYPE Lock(DWORD offset, DWORD bytes, LPVOID* first, LPDWORD firstBytes,
                                   LPVOID* second, LPDWORD secondBytes, DWORD flags) override;
    HRESULT STDMETHODCALLTYPE Play(DWORD reserved1, DWORD priority, DWORD flags) override;
    HRESULT STDMETHODCALLTYPE SetCurrentPosition(DWORD position) override;
    HRESULT STDMETHODCALLTYPE SetFormat(LPCWAVEFORMATEX format) override;
    HRESULT STDMETHODCALLTYPE SetVolume(LONG volume) override;
    HRESULT STDMETHODCALLTYPE SetPan(LONG pan) override;
    HRESULT STDMETHODCALLTYPE SetFrequency(DWORD frequency) override;
    HRESULT STDMETHODCALLTYPE Stop() override;
    HRESULT STDMETHODCALLTYPE Unlock(LPVOID first, DWORD firstBytes, LPVOID second,
                                     DWORD secondBytes) override;
    HRESULT STDMETHODCALLTYPE Restore() override;

    void Free() override;
    bool Primary() const { return id_ < 0; }
    int Id() const { return id_; }
    const DirectSoundDevice* Owner() const { return owner_; }
    void MarkLost();
    // Adds this voice to `out` (called by the mixer with MixerLock held); a voice that reaches
    // its end stops and goes back to its start.
    void MixInto(float* out, int frames, int rate, float masterGain);

private:
    HRESULT Usable() const;
    void SetFormatFields(const WAVEFORMATEX& format);
    float Sample(size_t frame, int channel) const;
    size_t Frames() const { return memory_.size() / format_.nBlockAlign; }

    DirectSoundDevice* owner_;
    int id_;
    DWORD flags_;
    WAVEFORMATEX format_;  // the head of formatBlock_
    std::vector<uint8_t> formatBlock_;
    SampleLayout layout_;
    std::vector<uint8_t> memory_;
    // Guarded by MixerLock: what the mixer reads.
    bool playing_ = false;
    bool looping_ = false;
    uint64_t position_ = 0;  // in frames, 32.32 fixed point
    LONG volume_ = 0;
    LONG pan_ = 0;
    DWORD frequency_ = 0;  // 0: the format's own rate
    bool lost_ = false;
};

class DirectSoundDevice final
    : public ComObject<IDirectSound, &IID_IDirectSound, DirectSoundFamily> {
public:
    HRESULT STDMETHODCALLTYPE CreateSoundBuffer(LPCDSBUFFERDESC desc, LPLPDIRECTSOUNDBUFFER buffer,
                                                IUnknown* outer) override;
    HRESULT STDMETHODCALLTYPE GetCaps(LPDSCAPS caps) override;
    HRESULT STDMETHODCALLTYPE DuplicateSoundBuffer(LPDIRECTSOUNDBUFFER original,
                                                   LPLPDIRECTSOUNDBUFFER duplicate) override;
    HRESULT STDMETHODCALLTYPE SetCooperativeLevel(HWND window, DWORD level) override;
    HRESULT STDMETHODCALLTYPE Compact() override;
    HRESULT STDMETHODCALLTYPE GetSpeakerConfig(LPDWORD config) override;
    HRESULT STDMETHODCALLTYPE SetSpeakerConfig(DWORD config) override;
    HRESULT STDMETHODCALLTYPE Initialize(LPCGUID device) override;

    void Free() override;
    DWORD CooperativeLevel() const { return level_; }

private:
    DWORD level_ = 0;
    DWORD speakerConfig_ = DSSPEAKER_COMBINED(DSSPEAKER_STEREO, DSSPEAKER_GEOMETRY_WIDE);
    SoundBuffer* primary_ = nullptr;
    int secondaryCount_ = 0;
};

}  // namespace platform
