// Our DirectMusic objects: the performance with its one synthesiser port, the loader that
// reads standard MIDI files, segments and segment states. Each lives until its last Release.
#pragma once

#include <dmusici.h>

#include <memory>
#include <string>

#include "platform/music/fluid_synthesiser.h"
#include "platform/music/music_player.h"
#include "platform/music/sequencer.h"

namespace platform {

// Objects made and not yet released, for tests that check every reference is given back.
int LiveDirectMusicObjects();
int& DirectMusicObjectCount();

template <typename Interface>
class DirectMusicObject : public Interface {
public:
    DirectMusicObject() { ++DirectMusicObjectCount(); }
    virtual ~DirectMusicObject() { --DirectMusicObjectCount(); }
    DirectMusicObject(const DirectMusicObject&) = delete;
    DirectMusicObject& operator=(const DirectMusicObject&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
        if (object == nullptr) return E_POINTER;
        *object = nullptr;
        if (iid != OwnIid() && iid != IID_IUnknown) return E_NOINTERFACE;
        AddRef();
        *object = static_cast<Interface*>(this);
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
    ULONG STDMETHODCALLTYPE Release() override {
        ULONG left = --references_;
        if (left == 0) delete this;
        return left;
    }

protected:
    virtual const IID& OwnIid() const = 0;

private:
    ULONG references_ = 1;
};

class Segment;

class SegmentState : public DirectMusicObject<IDirectMusicSegmentState> {
protected:
    const IID& OwnIid() const override { return IID_IDirectMusicSegmentState; }
};

class Performance : public DirectMusicObject<IDirectMusicPerformance> {
public:
    ~Performance() override;
    HRESULT STDMETHODCALLTYPE Init(IDirectMusic** directMusic, LPDIRECTSOUND directSound,
                                   HWND window) override;
    HRESULT STDMETHODCALLTYPE PlaySegment(IDirectMusicSegment* segment, DWORD flags,
                                          REFERENCE_TIME startTime,
                                          IDirectMusicSegmentState** segmentState) override;
    HRESULT STDMETHODCALLTYPE Stop(IDirectMusicSegment* segment,
                                   IDirectMusicSegmentState* segmentState, MUSIC_TIME time,
                                   DWORD flags) override;
    HRESULT STDMETHODCALLTYPE AddPort(IDirectMusicPort* port) override;
    HRESULT STDMETHODCALLTYPE CloseDown() override;

    // A segment's instruments go to the port, or leave it.
    HRESULT Download(Segment& segment);
    HRESULT Unload(Segment& segment);

protected:
    const IID& OwnIid() const override { return IID_IDirectMusicPerformance; }

private:
    bool initialised_ = false;
    std::unique_ptr<music::MusicPlayer> player_;  // made with the port
    bool hasInstruments_ = false;
    const IDirectMusicSegmentState* lastState_ =
        nullptr;  // the state of the segment playing, for Stop
    const music::LoadedSong* lastSong_ = nullptr;
};

class Segment : public DirectMusicObject<IDirectMusicSegment> {
public:
    Segment(std::shared_ptr<const music::LoadedSong> song, std::string fileName);
    HRESULT STDMETHODCALLTYPE SetRepeats(DWORD repeats) override;
    HRESULT STDMETHODCALLTYPE SetParam(REFGUID type, DWORD groupBits, DWORD index, MUSIC_TIME time,
                                       void* param) override;
    HRESULT STDMETHODCALLTYPE SetLoopPoints(MUSIC_TIME start, MUSIC_TIME end) override;

    const std::shared_ptr<const music::LoadedSong>& Song() const { return song_; }
    music::LoopPlan Loop() const;
    // What the host's log calls the piece: the game's number for its two files, else the name.
    std::string ReportName() const;
    bool IsStandardMidiFile() const { return standardMidiFile_; }

protected:
    const IID& OwnIid() const override { return IID_IDirectMusicSegment; }

private:
    std::shared_ptr<const music::LoadedSong> song_;
    std::string fileName_;
    DWORD repeats_ = 0;
    MUSIC_TIME loopStart_ = 0;
    MUSIC_TIME loopEnd_ = 0;
    bool standardMidiFile_ = false;
};

class Loader : public DirectMusicObject<IDirectMusicLoader> {
public:
    HRESULT STDMETHODCALLTYPE GetObject(LPDMUS_OBJECTDESC desc, REFIID iid,
                                        LPVOID* object) override;

protected:
    const IID& OwnIid() const override { return IID_IDirectMusicLoader; }
};

HRESULT CreateDirectMusicPerformance(REFIID iid, void** object);
HRESULT CreateDirectMusicLoader(REFIID iid, void** object);

}  // namespace platform
