// A segment made from a standard MIDI file: its loop points and repeats, and the parameters
// that tie it to a performance.
#include <algorithm>

#include "platform/dmusic/dmusic_objects.h"

namespace platform {

Segment::Segment(std::shared_ptr<const music::LoadedSong> song, std::string fileName)
    : song_(std::move(song)), fileName_(std::move(fileName)) {}

HRESULT Segment::SetRepeats(DWORD repeats) {
    repeats_ = repeats;
    return S_OK;
}

HRESULT Segment::SetLoopPoints(MUSIC_TIME start, MUSIC_TIME end) {
    int64_t length = song_->tempo.MusicTimeAtTick(song_->song.lengthTicks);
    // An end of 0 stands for the segment's end.
    if (start < 0 || end < 0 || end > length || (end != 0 && start >= end) ||
        (end == 0 && start != 0 && start >= length)) {
        return DMUS_E_OUT_OF_RANGE;
    }
    loopStart_ = start;
    loopEnd_ = end;
    return S_OK;
}

HRESULT Segment::SetParam(REFGUID type, DWORD groupBits, DWORD index, MUSIC_TIME time,
                          void* param) {
    if (type == GUID_StandardMIDIFile) {
        standardMidiFile_ = true;
        return S_OK;
    }
    if (type == GUID_Download || type == GUID_Unload) {
        // The parameter is the performance (an IUnknown of one).
        auto* performance = dynamic_cast<Performance*>(static_cast<IUnknown*>(param));
        if (performance == nullptr) return E_POINTER;
        return type == GUID_Download ? performance->Download(*this) : performance->Unload(*this);
    }
    return DMUS_E_SET_UNSUPPORTED;
}

music::LoopPlan Segment::Loop() const {
    music::LoopPlan plan;
    plan.startTick = song_->tempo.TickAtMusicTime(loopStart_);
    plan.endTick = loopEnd_ == 0 ? 0 : song_->tempo.TickAtMusicTime(loopEnd_);
    plan.repeats = repeats_;
    return plan;
}

std::string Segment::ReportName() const {
    std::string name = fileName_;
    std::replace(name.begin(), name.end(), '\\', '/');
    if (name == "bgm/title.mid") return "0";
    if (name == "bgm/game.mid") return "1";
    return fileName_;
}

}  // namespace platform
