// Sound buffers: memory written through Lock and Unlock, played once or looping by the mixer
// at the buffer's own rate, volume and pan. A one-shot voice that plays to its end stops and
// goes back to its start; Stop keeps the position, so Play goes on from where it stopped.
#include <algorithm>
#include <cstring>
#include <string>

#include "platform/core/host.h"
#include "platform/dsound/mixer.h"
#include "platform/dsound/sound_objects.h"
#include "platform/faults/fault_points.h"

namespace platform {

namespace {

// Float samples beyond full scale are held at it, and those that are no number are silent, so
// that one bad sample can't spoil the whole mix.
float Clamped(float value) {
    if (!(value >= -1.0f)) return value < -1.0f ? -1.0f : 0.0f;
    return value > 1.0f ? 1.0f : value;
}

}  // namespace

SoundBuffer::SoundBuffer(DirectSoundDevice* owner, int id, DWORD flags, const WAVEFORMATEX& format,
                         std::vector<uint8_t> memory)
    : owner_(owner), id_(id), flags_(flags), memory_(std::move(memory)) {
    SetFormatFields(format);
}

void SoundBuffer::SetFormatFields(const WAVEFORMATEX& format) {
    formatBlock_ = FormatBlock(format);
    std::memcpy(&format_, formatBlock_.data(), sizeof format_);
    DescribeFormat(format, layout_);
}

HRESULT SoundBuffer::Usable() const {
    if (freed_) return Misuse(), DSERR_INVALIDCALL;
    return DS_OK;
}

HRESULT SoundBuffer::GetCaps(LPDSBCAPS caps) {
    if (HRESULT result = Usable(); result != DS_OK) return result;
    if (caps == nullptr || caps->dwSize != sizeof(DSBCAPS)) return DSERR_INVALIDPARAM;
    caps->dwFlags = flags_ | DSBCAPS_LOCSOFTWARE;
    caps->dwBufferBytes = static_cast<DWORD>(memory_.size());
    caps->dwUnlockTransferRate = 0;
    caps->dwPlayCpuOverhead = 0;
    return DS_OK;
}

HRESULT SoundBuffer::GetCurrentPosition(LPDWORD play, LPDWORD write) {
    if (HRESULT result = Usable(); result != DS_OK) return result;
    std::lock_guard<std::mutex> guard(MixerLock());
    DWORD bytes = static_cast<DWORD>((position_ >> 32) * format_.nBlockAlign);
    if (play != nullptr) *play = bytes;
    if (write != nullptr) *write = bytes;
    return DS_OK;
}

HRESULT SoundBuffer::GetFormat(LPWAVEFORMATEX format, DWORD sizeAllocated, LPDWORD sizeWritten) {
    if (HRESULT result = Usable(); result != DS_OK) return result;
    auto size = static_cast<DWORD>(formatBlock_.size());
    if (format == nullptr) {
        if (sizeWritten == nullptr) return DSERR_INVALIDPARAM;
        *sizeWritten = size;
        return DS_OK;
    }
    if (sizeAllocated < sizeof(WAVEFORMATEX)) return DSERR_INVALIDPARAM;
    // A record too small for the whole format gets as much of it as fits.
    size = std::min(size, sizeAllocated);
    std::memcpy(format, formatBlock_.data(), size);
    if (sizeWritten != nullptr) *sizeWritten = size;
    return DS_OK;
}

HRESULT SoundBuffer::GetVolume(LPLONG volume) {
    if (HRESULT result = Usable(); result != DS_OK) return result;
    if (volume == nullptr) return DSERR_INVALIDPARAM;
    if (!(flags_ & DSBCAPS_CTRLVOLUME)) return DSERR_CONTROLUNAVAIL;
    *volume = volume_;
    return DS_OK;
}

HRESULT SoundBuffer::GetPan(LPLONG pan) {
    if (HRESULT result = Usable(); result != DS_OK) return result;
    if (pan == nullptr) return DSERR_INVALIDPARAM;
    if (!(flags_ & DSBCAPS_CTRLPAN)) return DSERR_CONTROLUNAVAIL;
    *pan = pan_;
    return DS_OK;
}

HRESULT SoundBuffer::GetFrequency(LPDWORD frequency) {
    if (HRESULT result = Usable(); result != DS_OK) return result;
    if (frequency == nullptr) return DSERR_INVALIDPARAM;
    if (!(flags_ & DSBCAPS_CTRLFREQUENCY)) return DSERR_CONTROLUNAVAIL;
    *frequency = frequency_ != 0 ? frequency_ : format_.nSamplesPerSec;
    return DS_OK;
}

HRESULT SoundBuffer::GetStatus(LPDWORD status) {
    if (HRESULT result = Usable(); result != DS_OK) return result;
    if (status == nullptr) return DSERR_INVALIDPARAM;
    std::lock_guard<std::mutex> guard(MixerLock());
    *status = (playing_ ? DSBSTATUS_PLAYING : 0) | (playing_ && looping_ ? DSBSTATUS_LOOPING : 0) |
              (lost_ ? DSBSTATUS_BUFFERLOST : 0);
    return DS_OK;
}

HRESULT SoundBuffer::Initialize(LPDIRECTSOUND, LPCDSBUFFERDESC) {
    if (HRESULT result = Usable(); result != DS_OK) return result;
    return DSERR_ALREADYINITIALIZED;
}

HRESULT SoundBuffer::Lock(DWORD offset, DWORD bytes, LPVOID* first, LPDWORD firstBytes,
                          LPVOID* second, LPDWORD secondBytes, DWORD flags) {
    if (HRESULT result = Usable(); result != DS_OK) return result;
    if (first == nullptr || firstBytes == nullptr) return DSERR_INVALIDPARAM;
    *first = nullptr;
    *firstBytes = 0;
    if (second != nullptr) *second = nullptr;
    if (secondBytes != nullptr) *secondBytes = 0;
    // Only a program that writes the primary buffer itself may lock it.
    if (Primary()) return DSERR_PRIOLEVELNEEDED;
    if (lost_) return DSERR_BUFFERLOST;
    if (FaultFires("LockSoundBuffer")) return DSERR_BUFFERLOST;
    DWORD size = static_cast<DWORD>(memory_.size());
    if (flags & DSBLOCK_FROMWRITECURSOR) GetCurrentPosition(nullptr, &offset);
    if (flags & DSBLOCK_ENTIREBUFFER) bytes = size;
    if (offset >= size || bytes == 0 || bytes > size) return DSERR_INVALIDPARAM;
    // A lock that runs past the end goes on at the start, as a second region.
    DWORD firstPart = std::min(bytes, size - offset);
    if (firstPart < bytes && (second == nullptr || secondBytes == nullptr)) {
        return DSERR_INVALIDPARAM;
    }
    *first = memory_.data() + offset;
    *firstBytes = firstPart;
    if (firstPart < bytes) {
        *second = memory_.data();
        *secondBytes = bytes - firstPart;
    }
    return DS_OK;
}

HRESULT SoundBuffer::Unlock(LPVOID first, DWORD firstBytes, LPVOID second, DWORD secondBytes) {
    if (HRESULT result = Usable(); result != DS_OK) return result;
    auto inside = [this](LPVOID region, DWORD bytes) {
        if (region == nullptr) return bytes == 0;
        auto* start = static_cast<uint8_t*>(region);
        return start >= memory_.data() && start + bytes <= memory_.data() + memory_.size();
    };
    if (Primary() || !inside(first, firstBytes) || !inside(second, secondBytes)) {
        return DSERR_INVALIDPARAM;
    }
    return DS_OK;
}

HRESULT SoundBuffer::Play(DWORD reserved1, DWORD priority, DWORD flags) {
    if (HRESULT result = Usable(); result != DS_OK) return result;
    if (reserved1 != 0 || priority != 0) return DSERR_INVALIDPARAM;
    // The primary buffer always plays while anything does: nothing to start.
    if (Primary()) return DS_OK;
    if (lost_) return DSERR_BUFFERLOST;
    CurrentHost().AudioChanging();
    {
        std::lock_guard<std::mutex> guard(MixerLock());
        playing_ = true;
        looping_ = (flags & DSBPLAY_LOOPING) != 0;
        AddVoice(this);
    }
    CurrentHost().Report("sound", std::to_string(id_));
    return DS_OK;
}

HRESULT SoundBuffer::Stop() {
    if (HRESULT result = Usable(); result != DS_OK) return result;
    if (Primary()) return DS_OK;
    CurrentHost().AudioChanging();
    {
        std::lock_guard<std::mutex> guard(MixerLock());
        playing_ = false;
        RemoveVoice(this);
    }
    CurrentHost().Report("sound-stop", std::to_string(id_));
    return DS_OK;
}

HRESULT SoundBuffer::SetCurrentPosition(DWORD position) {
    if (HRESULT result = Usable(); result != DS_OK) return result;
    if (Primary() || position >= memory_.size()) return DSERR_INVALIDPARAM;
    CurrentHost().AudioChanging();
    std::lock_guard<std::mutex> guard(MixerLock());
    position_ = static_cast<uint64_t>(position / format_.nBlockAlign) << 32;
    return DS_OK;
}

HRESULT SoundBuffer::SetFormat(LPCWAVEFORMATEX format) {
    if (HRESULT result = Usable(); result != DS_OK) return result;
    // A secondary buffer's format is fixed when it is made.
    if (!Primary()) return DSERR_INVALIDCALL;
    if (format == nullptr) return DSERR_INVALIDPARAM;
    // Only a program with at least the priority level may set the primary buffer's format.
    if (owner_->CooperativeLevel() < DSSCL_PRIORITY) return DSERR_PRIOLEVELNEEDED;
    if (!PlayableFormat(*format)) return DSERR_BADFORMAT;
    // The mix itself runs at the host's rate; the format is only remembered.
    SetFormatFields(*format);
    return DS_OK;
}

HRESULT SoundBuffer::SetVolume(LONG volume) {
    if (HRESULT result = Usable(); result != DS_OK) return result;
    if (!(flags_ & DSBCAPS_CTRLVOLUME)) return DSERR_CONTROLUNAVAIL;
    if (volume < DSBVOLUME_MIN || volume > DSBVOLUME_MAX) return DSERR_INVALIDPARAM;
    if (Primary()) {
        SetMasterVolume(volume);
    } else {
        CurrentHost().AudioChanging();
    }
    std::lock_guard<std::mutex> guard(MixerLock());
    volume_ = volume;
    return DS_OK;
}

HRESULT SoundBuffer::SetPan(LONG pan) {
    if (HRESULT result = Usable(); result != DS_OK) return result;
    if (!(flags_ & DSBCAPS_CTRLPAN) || Primary()) return DSERR_CONTROLUNAVAIL;
    if (pan < DSBPAN_LEFT || pan > DSBPAN_RIGHT) return DSERR_INVALIDPARAM;
    CurrentHost().AudioChanging();
    std::lock_guard<std::mutex> guard(MixerLock());
    pan_ = pan;
    return DS_OK;
}

HRESULT SoundBuffer::SetFrequency(DWORD frequency) {
    if (HRESULT result = Usable(); result != DS_OK) return result;
    if (!(flags_ & DSBCAPS_CTRLFREQUENCY) || Primary()) return DSERR_CONTROLUNAVAIL;
    if (frequency != DSBFREQUENCY_ORIGINAL &&
        (frequency < DSBFREQUENCY_MIN || frequency > DSBFREQUENCY_MAX)) {
        return DSERR_INVALIDPARAM;
    }
    CurrentHost().AudioChanging();
    std::lock_guard<std::mutex> guard(MixerLock());
    frequency_ = frequency;
    return DS_OK;
}

HRESULT SoundBuffer::Restore() {
    if (HRESULT result = Usable(); result != DS_OK) return result;
    if (Primary()) return DS_OK;
    // The memory comes back; what it held must be written again.
    lost_ = false;
    return DS_OK;
}

void SoundBuffer::MarkLost() {
    CurrentHost().AudioChanging();
    std::lock_guard<std::mutex> guard(MixerLock());
    lost_ = true;
    playing_ = false;
    RemoveVoice(this);
}

void SoundBuffer::Free() {
    CurrentHost().AudioChanging();
    {
        std::lock_guard<std::mutex> guard(MixerLock());
        playing_ = false;
        RemoveVoice(this);
    }
    freed_ = true;
    memory_.clear();
    memory_.shrink_to_fit();
    if (!Primary()) ++DirectSoundGlobals().counts.buffersFreed;
}

float SoundBuffer::Sample(size_t frame, int channel) const {
    int channelIndex = layout_.channels == 2 ? channel : 0;
    const uint8_t* at = memory_.data() + frame * format_.nBlockAlign +
                        static_cast<size_t>(channelIndex) * layout_.bytes;
    switch (layout_.kind) {
        case SampleLayout::Kind::Integer: {
            // Little-endian, of any width, moved to the top of 32 bits.
            uint32_t value = 0;
            for (int i = 0; i < layout_.bytes; ++i)
                value |= static_cast<uint32_t>(at[i]) << (8 * i);
            value <<= 32 - 8 * layout_.bytes;
            if (layout_.unsigned8) value ^= 0x80000000u;
            return static_cast<float>(static_cast<int32_t>(value & layout_.validMask) /
                                      2147483648.0);
        }
        case SampleLayout::Kind::Float32: {
            float value;
            std::memcpy(&value, at, sizeof value);
            return Clamped(value);
        }
        case SampleLayout::Kind::Float64: {
            double value;
            std::memcpy(&value, at, sizeof value);
            return Clamped(static_cast<float>(value));
        }
    }
    return 0.0f;
}

void SoundBuffer::MixInto(float* out, int frames, int rate, float masterGain) {
    size_t count = Frames();
    if (!playing_ || count == 0 || rate <= 0) return;
    float gain = VolumeToGain(volume_) * masterGain;
    // Pan turns one side down by as many hundredths of a decibel.
    float left = gain * (pan_ > 0 ? VolumeToGain(-pan_) : 1.0f);
    float right = gain * (pan_ < 0 ? VolumeToGain(pan_) : 1.0f);
    uint64_t rateHere = frequency_ != 0 ? frequency_ : format_.nSamplesPerSec;
    uint64_t step = (rateHere << 32) / static_cast<uint64_t>(rate);
    uint64_t end = static_cast<uint64_t>(count) << 32;
    for (int i = 0; i < frames; ++i) {
        if (position_ >= end) {
            if (!looping_) {
                playing_ = false;
                position_ = 0;
                RemoveVoice(this);
                return;
            }
            position_ %= end;
        }
        size_t frame = static_cast<size_t>(position_ >> 32);
        float fraction = static_cast<float>(position_ & 0xFFFFFFFFu) / 4294967296.0f;
        size_t next = frame + 1 < count ? frame + 1 : (looping_ ? 0 : frame);
        for (int channel = 0; channel < 2; ++channel) {
            float a = Sample(frame, channel);
            float b = Sample(next, channel);
            out[i * 2 + channel] += (a + (b - a) * fraction) * (channel == 0 ? left : right);
        }
        position_ += step;
    }
}

}  // namespace platform
