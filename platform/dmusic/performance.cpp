// The performance: it plays one segment at a time through its one port, a FluidSynth
// synthesiser that the host's mixer hears.
#include <atomic>
#include <cstdio>

#include "platform/core/host.h"
#include "platform/dmusic/dmusic_objects.h"
#include "platform/faults/fault_points.h"
#include "platform/music/sound_font.h"

namespace platform {
namespace {

// Said once a run, however many performances look for a sound font.
void SayNoSoundFont() {
    static std::atomic_flag said = ATOMIC_FLAG_INIT;
    if (said.test_and_set()) return;
    std::fputs(
        "parrun: no General MIDI sound font found, so the music is silent; install the Debian "
        "package fluid-soundfont-gm (or name a sound font in PARRUN_SOUNDFONT)\n",
        stderr);
}

// Whether a sound font is likely to load, before it is read.
bool AnyFileReadable(const std::vector<std::string>& paths) {
    for (const std::string& path : paths) {
        if (std::FILE* file = std::fopen(path.c_str(), "rb")) {
            std::fclose(file);
            return true;
        }
    }
    return false;
}

}  // namespace

int& DirectMusicObjectCount() {
    static int count = 0;
    return count;
}

int LiveDirectMusicObjects() {
    return DirectMusicObjectCount();
}

HRESULT CreateDirectMusicPerformance(REFIID iid, void** object) {
    if (iid != IID_IDirectMusicPerformance && iid != IID_IUnknown) return E_NOINTERFACE;
    *object = static_cast<IDirectMusicPerformance*>(new Performance());
    return S_OK;
}

Performance::~Performance() {
    CloseDown();
}

HRESULT Performance::Init(IDirectMusic** directMusic, LPDIRECTSOUND directSound, HWND window) {
    if (initialised_) return DMUS_E_ALREADY_INITED;
    // The layer has no DirectMusic object to hand out or to share.
    if (directMusic != nullptr) return E_NOTIMPL;
    if (FaultFires("PerformanceInit")) return E_FAIL;  // as without a sound device
    initialised_ = true;
    return S_OK;
}

HRESULT Performance::AddPort(IDirectMusicPort* port) {
    if (!initialised_) return DMUS_E_NOT_INIT;
    if (port != nullptr) return E_NOTIMPL;  // only the default port exists
    if (player_ != nullptr) return S_OK;
    if (CurrentHost().PreparesMusicInBackground()) {
        hasInstruments_ = AnyFileReadable(music::SoundFontCandidates());
        player_ = std::make_unique<music::MusicPlayer>([]() -> std::unique_ptr<music::Synthesiser> {
            auto synth = std::make_unique<music::FluidSynthesiser>();
            if (!synth->LoadSoundFont(music::SoundFontCandidates())) SayNoSoundFont();
            return synth;
        });
    } else {
        auto synth = std::make_unique<music::FluidSynthesiser>();
        hasInstruments_ = synth->LoadSoundFont(music::SoundFontCandidates());
        if (!hasInstruments_) SayNoSoundFont();
        player_ = std::make_unique<music::MusicPlayer>(std::move(synth));
    }
    AttachAudioSource(player_.get());
    return S_OK;
}

HRESULT Performance::PlaySegment(IDirectMusicSegment* segment, DWORD flags,
                                 REFERENCE_TIME startTime,
                                 IDirectMusicSegmentState** segmentState) {
    if (segmentState != nullptr) *segmentState = nullptr;
    if (!initialised_) return DMUS_E_NOT_INIT;
    auto* ours = dynamic_cast<Segment*>(segment);
    if (ours == nullptr) return E_POINTER;
    if (player_ == nullptr) return DMUS_E_NOT_INIT;  // no port to play on
    player_->Play(ours->Song(), ours->Loop());
    lastSong_ = ours->Song().get();
    lastState_ = nullptr;
    CurrentHost().Report("music", ours->ReportName());
    if (segmentState != nullptr) {
        auto* state = new SegmentState();
        lastState_ = state;
        *segmentState = state;
    }
    return S_OK;
}

HRESULT Performance::Stop(IDirectMusicSegment* segment, IDirectMusicSegmentState* segmentState,
                          MUSIC_TIME time, DWORD flags) {
    if (!initialised_) return DMUS_E_NOT_INIT;
    if (player_ == nullptr) return S_OK;
    if (segment == nullptr && segmentState == nullptr) {
        player_->Stop();
        return S_OK;
    }
    if (auto* ours = dynamic_cast<Segment*>(segment)) player_->StopSong(ours->Song().get());
    if (segmentState != nullptr && segmentState == lastState_) player_->StopSong(lastSong_);
    return S_OK;
}

HRESULT Performance::CloseDown() {
    if (player_ != nullptr) {
        DetachAudioSource(player_.get());
        player_.reset();
    }
    initialised_ = false;
    lastState_ = nullptr;
    lastSong_ = nullptr;
    return S_OK;
}

HRESULT Performance::Download(Segment& segment) {
    if (player_ == nullptr) return DMUS_E_NOT_INIT;
    player_->LoadInstruments(*segment.Song());
    // Without a sound font there is nothing to download and nothing sounds.
    return hasInstruments_ ? S_OK : DMUS_S_PARTIALDOWNLOAD;
}

HRESULT Performance::Unload(Segment& segment) {
    if (player_ == nullptr) return DMUS_E_NOT_INIT;
    player_->UnloadInstruments(*segment.Song());
    return S_OK;
}

}  // namespace platform
