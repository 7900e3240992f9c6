// DirectSoundCreate and the device: cooperative level, capabilities, speaker configuration,
// and the factory of the primary and secondary buffers.
#include <cstring>
#include <new>
#include <string>

#include "platform/core/host.h"
#include "platform/dsound/mixer.h"
#include "platform/dsound/sound_objects.h"
#include "platform/faults/fault_points.h"

namespace platform {

namespace {

// DSBUFFERDESC as it was before the 3D algorithm field was added; both sizes are accepted.
constexpr DWORD kShortBufferDescSize = sizeof(DSBUFFERDESC) - sizeof(GUID);

}  // namespace

DirectSoundState& DirectSoundGlobals() {
    static DirectSoundState state;
    return state;
}

namespace {

constexpr WORD kFormatFloat = 3;
constexpr WORD kFormatExtensible = 0xFFFE;
constexpr WORD kExtensibleExtra = 22;
// The subformats' GUIDs after their first four bytes, which hold the plain format's tag.
constexpr uint8_t kSubformatTail[12] = {0x00, 0x00, 0x10, 0x00, 0x80, 0x00,
                                        0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};

}  // namespace

bool DescribeFormat(const WAVEFORMATEX& format, SampleLayout& layout) {
    layout = SampleLayout{};
    WORD tag = format.wFormatTag;
    int bits = format.wBitsPerSample;
    int validBits = bits;
    if (tag == kFormatExtensible) {
        if (format.cbSize < kExtensibleExtra) return false;
        // The caller hands over the extra bytes the size field counts.
        const auto* extra = reinterpret_cast<const uint8_t*>(&format) + sizeof(WAVEFORMATEX);
        validBits = extra[0] | (extra[1] << 8);
        uint32_t subformat =
            extra[6] | (extra[7] << 8) | (extra[8] << 16) | (static_cast<uint32_t>(extra[9]) << 24);
        if (std::memcmp(extra + 10, kSubformatTail, sizeof kSubformatTail) != 0 ||
            (subformat != WAVE_FORMAT_PCM && subformat != kFormatFloat)) {
            return false;
        }
        tag = static_cast<WORD>(subformat);
        // The extensible format's containers go beyond the plain format's 16 bits.
        if (tag == WAVE_FORMAT_PCM && bits != 8 && bits != 16 && bits != 24 && bits != 32) {
            return false;
        }
        if (validBits < 1 || validBits > bits) return false;
    } else if (tag == WAVE_FORMAT_PCM && bits != 8 && bits != 16) {
        return false;
    }
    if (tag == WAVE_FORMAT_PCM) {
        layout.kind = SampleLayout::Kind::Integer;
        layout.unsigned8 = bits == 8;
        layout.validMask = ~uint32_t{0} << (32 - validBits);
    } else if (tag == kFormatFloat && (bits == 32 || bits == 64)) {
        layout.kind = bits == 32 ? SampleLayout::Kind::Float32 : SampleLayout::Kind::Float64;
    } else {
        return false;
    }
    if (format.nChannels != 1 && format.nChannels != 2) return false;
    if (format.nBlockAlign != format.nChannels * bits / 8) return false;
    if (format.nSamplesPerSec < DSBFREQUENCY_MIN || format.nSamplesPerSec > DSBFREQUENCY_MAX) {
        return false;
    }
    layout.channels = format.nChannels;
    layout.bytes = bits / 8;
    return true;
}

bool PlayableFormat(const WAVEFORMATEX& format) {
    SampleLayout layout;
    return DescribeFormat(format, layout);
}

std::vector<uint8_t> FormatBlock(const WAVEFORMATEX& format) {
    WAVEFORMATEX head = format;
    head.cbSize = format.wFormatTag == kFormatExtensible ? kExtensibleExtra : 0;
    const auto* bytes = reinterpret_cast<const uint8_t*>(&format);
    std::vector<uint8_t> block(bytes, bytes + sizeof(WAVEFORMATEX) + head.cbSize);
    std::memcpy(block.data(), &head, sizeof head);
    return block;
}

void ResetDirectSoundState() {
    auto& state = DirectSoundGlobals();
    for (auto& buffer : state.buffers) {
        if (!buffer->Freed()) buffer->Free();
    }
    for (auto& device : state.devices) {
        if (!device->Freed()) device->Free();
    }
    StopAudioOutput();
    state = DirectSoundState{};
}

void LoseAllSoundBuffers() {
    for (auto& buffer : DirectSoundGlobals().buffers) {
        if (!buffer->Freed() && !buffer->Primary()) buffer->MarkLost();
    }
}

int LiveSoundBuffers() {
    int live = 0;
    for (auto& buffer : DirectSoundGlobals().buffers) live += buffer->Freed() ? 0 : 1;
    return live;
}

int LiveSoundDevices() {
    int live = 0;
    for (auto& device : DirectSoundGlobals().devices) live += device->Freed() ? 0 : 1;
    return live;
}

HRESULT DirectSoundDevice::SetCooperativeLevel(HWND window, DWORD level) {
    if (freed_) return Misuse(), DSERR_INVALIDCALL;
    if (level < DSSCL_NORMAL || level > DSSCL_WRITEPRIMARY || !IsWindow(window)) {
        return DSERR_INVALIDPARAM;
    }
    level_ = level;
    return DS_OK;
}

HRESULT DirectSoundDevice::GetCaps(LPDSCAPS caps) {
    if (freed_) return Misuse(), DSERR_INVALIDCALL;
    if (caps == nullptr || caps->dwSize != sizeof(DSCAPS)) return DSERR_INVALIDPARAM;
    if (FaultFires("GetCaps")) return DSERR_GENERIC;
    *caps = DSCAPS{};
    caps->dwSize = sizeof(DSCAPS);
    caps->dwFlags = DSCAPS_PRIMARYMONO | DSCAPS_PRIMARYSTEREO | DSCAPS_PRIMARY8BIT |
                    DSCAPS_PRIMARY16BIT | DSCAPS_CONTINUOUSRATE | DSCAPS_EMULDRIVER |
                    DSCAPS_SECONDARYMONO | DSCAPS_SECONDARYSTEREO | DSCAPS_SECONDARY8BIT |
                    DSCAPS_SECONDARY16BIT;
    caps->dwMinSecondarySampleRate = DSBFREQUENCY_MIN;
    caps->dwMaxSecondarySampleRate = DSBFREQUENCY_MAX;
    caps->dwPrimaryBuffers = 1;
    return DS_OK;
}

HRESULT DirectSoundDevice::GetSpeakerConfig(LPDWORD config) {
    if (freed_) return Misuse(), DSERR_INVALIDCALL;
    if (config == nullptr) return DSERR_INVALIDPARAM;
    *config = speakerConfig_;
    return DS_OK;
}

HRESULT DirectSoundDevice::SetSpeakerConfig(DWORD config) {
    if (freed_) return Misuse(), DSERR_INVALIDCALL;
    if (DSSPEAKER_CONFIG(config) < DSSPEAKER_HEADPHONE || DSSPEAKER_CONFIG(config) > 9) {
        return DSERR_INVALIDPARAM;
    }
    // Our output is always stereo; the setting is only remembered.
    speakerConfig_ = config;
    return DS_OK;
}

HRESULT DirectSoundDevice::Compact() {
    if (freed_) return Misuse(), DSERR_INVALIDCALL;
    return level_ >= DSSCL_PRIORITY ? DS_OK : DSERR_PRIOLEVELNEEDED;
}

HRESULT DirectSoundDevice::DuplicateSoundBuffer(LPDIRECTSOUNDBUFFER, LPLPDIRECTSOUNDBUFFER) {
    if (freed_) return Misuse(), DSERR_INVALIDCALL;
    return DSERR_UNSUPPORTED;
}

HRESULT DirectSoundDevice::Initialize(LPCGUID) {
    if (freed_) return Misuse(), DSERR_INVALIDCALL;
    return DSERR_ALREADYINITIALIZED;
}

HRESULT DirectSoundDevice::CreateSoundBuffer(LPCDSBUFFERDESC desc, LPLPDIRECTSOUNDBUFFER buffer,
                                             IUnknown* outer) {
    if (freed_) return Misuse(), DSERR_INVALIDCALL;
    if (buffer == nullptr) return DSERR_INVALIDPARAM;
    *buffer = nullptr;
    if (outer != nullptr) return DSERR_NOAGGREGATION;
    if (desc == nullptr ||
        (desc->dwSize != sizeof(DSBUFFERDESC) && desc->dwSize != kShortBufferDescSize)) {
        return DSERR_INVALIDPARAM;
    }
    if (level_ == 0) return DSERR_UNINITIALIZED;
    auto& state = DirectSoundGlobals();
    if (desc->dwFlags & DSBCAPS_PRIMARYBUFFER) {
        if (desc->dwBufferBytes != 0 || desc->lpwfxFormat != nullptr) return DSERR_INVALIDPARAM;
        if (FaultFires("CreateSoundBuffer")) return DSERR_GENERIC;
        // There is one primary buffer; asking again hands out the same one.
        if (primary_ != nullptr && !primary_->Freed()) {
            primary_->AddRef();
        } else {
            WAVEFORMATEX mixFormat = {WAVE_FORMAT_PCM, 2, 22050, 88200, 4, 16, 0};
            state.buffers.push_back(std::make_unique<SoundBuffer>(
                this, -1, desc->dwFlags, mixFormat, std::vector<uint8_t>()));
            primary_ = state.buffers.back().get();
        }
        *buffer = primary_;
        return DS_OK;
    }
    if (desc->dwBufferBytes < DSBSIZE_MIN || desc->dwBufferBytes > DSBSIZE_MAX ||
        desc->lpwfxFormat == nullptr) {
        return DSERR_INVALIDPARAM;
    }
    if (!PlayableFormat(*desc->lpwfxFormat)) return DSERR_BADFORMAT;
    if (FaultFires("CreateSoundBuffer")) return DSERR_GENERIC;
    std::vector<uint8_t> memory;
    try {
        // Silence: 8-bit samples are unsigned around 128.
        SampleLayout layout;
        DescribeFormat(*desc->lpwfxFormat, layout);
        memory.assign(desc->dwBufferBytes, layout.unsigned8 ? 0x80 : 0);
    } catch (const std::bad_alloc&) {
        return DSERR_OUTOFMEMORY;
    }
    int id = secondaryCount_++;
    state.buffers.push_back(std::make_unique<SoundBuffer>(this, id, desc->dwFlags,
                                                          *desc->lpwfxFormat, std::move(memory)));
    ++state.counts.buffersCreated;
    CurrentHost().Report("sound-buffer",
                         std::to_string(id) + " " + std::to_string(desc->dwBufferBytes));
    *buffer = state.buffers.back().get();
    return DS_OK;
}

void DirectSoundDevice::Free() {
    freed_ = true;
    // The device takes every buffer made from it along.
    for (auto& buffer : DirectSoundGlobals().buffers) {
        if (buffer->Owner() == this && !buffer->Freed()) buffer->Free();
    }
    primary_ = nullptr;
    ++DirectSoundGlobals().counts.devicesFreed;
    CurrentHost().Report("sound-device", "closed");
}

}  // namespace platform

HRESULT WINAPI DirectSoundCreate(LPCGUID device, LPDIRECTSOUND* directSound, LPUNKNOWN outer) {
    using namespace platform;
    if (directSound == nullptr) return DSERR_INVALIDPARAM;
    *directSound = nullptr;
    if (outer != nullptr) return DSERR_NOAGGREGATION;
    // Only the default device exists.
    if (device != nullptr) return DSERR_NODRIVER;
    if (FaultFires("DirectSoundCreate")) return DSERR_NODRIVER;
    auto& state = DirectSoundGlobals();
    state.devices.push_back(std::make_unique<DirectSoundDevice>());
    ++state.counts.devicesCreated;
    StartAudioOutput();
    CurrentHost().Report("sound-device", "open");
    *directSound = state.devices.back().get();
    return DS_OK;
}
