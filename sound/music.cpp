// The background music: a DirectMusic performance that plays one of two standard MIDI files,
// each looping between its loop points for as long as it plays.
#include "sound/music.h"

#include <dmusici.h>
#include <objbase.h>
#include <windows.h>

#include <cwchar>

#include "sound/sound_effects.h"

namespace {

struct MusicTrack {
    const WCHAR* path;
    MUSIC_TIME loopStart;
    MUSIC_TIME loopEnd;
};

// Loop points in music time: the title loops from quarter note 12 to 276, the game music from
// quarter note 52 to 420.
constexpr MusicTrack kTracks[2] = {
    {L"bgm/title.mid", 12 * DMUS_PPQ, 276 * DMUS_PPQ},
    {L"bgm/game.mid", 52 * DMUS_PPQ, 420 * DMUS_PPQ},
};

struct MusicState {
    IDirectMusicPerformance* performance = nullptr;
    IDirectMusicLoader* loader = nullptr;
    IDirectMusicSegment* segments[2] = {nullptr, nullptr};
    IDirectMusicSegmentState* segmentState = nullptr;
    bool comInitialised = false;
};

MusicState music;

// Reads one MIDI file into a segment slot, set to repeat for ever, played as a standard MIDI
// file, with its instruments downloaded. A file that can't be read leaves the slot empty.
void LoadMusicSegment(const WCHAR* path, IDirectMusicSegment*& slot) {
    if (slot != nullptr) {
        slot->Release();
        slot = nullptr;
    }
    DMUS_OBJECTDESC desc{};
    desc.dwSize = sizeof(desc);
    desc.dwValidData = DMUS_OBJ_CLASS | DMUS_OBJ_FILENAME;
    desc.guidClass = CLSID_DirectMusicSegment;
    wcsncpy(desc.wszFileName, path, DMUS_MAX_FILENAME - 1);
    music.loader->GetObject(&desc, IID_IDirectMusicSegment, reinterpret_cast<void**>(&slot));
    if (slot == nullptr) return;
    slot->SetRepeats(DMUS_SEG_REPEAT_INFINITE);
    slot->SetParam(GUID_StandardMIDIFile, 0xFFFFFFFF, 0, 0, music.performance);
    slot->SetParam(GUID_Download, 0xFFFFFFFF, 0, 0, music.performance);
}

void ReleasePerformance() {
    music.performance->CloseDown();
    music.performance->Release();
    music.performance = nullptr;
}

void ReleaseSegmentState() {
    if (music.segmentState != nullptr) {
        music.segmentState->Release();
        music.segmentState = nullptr;
    }
}

}  // namespace

int CreateMusic() {
    music.comInitialised = SUCCEEDED(CoInitialize(nullptr));
    CoCreateInstance(CLSID_DirectMusicPerformance, nullptr, CLSCTX_INPROC,
                     IID_IDirectMusicPerformance, reinterpret_cast<void**>(&music.performance));
    if (music.performance == nullptr) return 0;
    // A performance that can't open a sound device or its output port plays nothing: it goes
    // at once, and the game plays on without music.
    if (FAILED(music.performance->Init(nullptr, nullptr, nullptr)) ||
        FAILED(music.performance->AddPort(nullptr))) {
        ReleasePerformance();
        SayPlayingWithoutSound();
        return 1;
    }
    CoCreateInstance(CLSID_DirectMusicLoader, nullptr, CLSCTX_INPROC, IID_IDirectMusicLoader,
                     reinterpret_cast<void**>(&music.loader));
    return music.loader != nullptr ? 1 : 0;
}

void LoadMusic() {
    if (music.loader == nullptr) return;  // without music
    for (int id = 0; id < 2; ++id) {
        LoadMusicSegment(kTracks[id].path, music.segments[id]);
        if (music.segments[id] != nullptr) {
            music.segments[id]->SetLoopPoints(kTracks[id].loopStart, kTracks[id].loopEnd);
        }
    }
}

int PlayMusic(int id) {
    if (music.performance == nullptr) return E_POINTER;
    HRESULT result = music.performance->Stop(nullptr, nullptr, 0, 0);
    if (id != 0 && id != 1) return result;
    // Only the last segment state is kept; the one before it is given back.
    ReleaseSegmentState();
    return music.performance->PlaySegment(music.segments[id], 0, 0, &music.segmentState);
}

void ReleaseMusic() {
    if (music.performance != nullptr) music.performance->Stop(nullptr, nullptr, 0, 0);
    ReleaseSegmentState();
    for (IDirectMusicSegment*& segment : music.segments) {
        if (segment == nullptr) continue;
        if (music.performance != nullptr) {
            segment->SetParam(GUID_Unload, 0xFFFFFFFF, 0, 0, music.performance);
        }
        segment->Release();
        segment = nullptr;
    }
    if (music.performance != nullptr) ReleasePerformance();
    if (music.loader != nullptr) {
        music.loader->Release();
        music.loader = nullptr;
    }
    // Balances CreateMusic's CoInitialize when it succeeded, with S_FALSE too (COM was already
    // initialised on this thread, by the display). The display's own CoInitialize is not
    // balanced: COM stays initialised once until the thread ends.
    if (music.comInitialised) CoUninitialize();
    music.comInitialised = false;
}
