#include "platform/scripted/scripted_host.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <sstream>

#include "platform/core/host_events.h"
#include "platform/ddraw/ddraw_objects.h"
#include "platform/dsound/mixer.h"
#include "platform/dsound/sound_objects.h"
#include "platform/faults/fault_points.h"
#include "platform/resources/resources.h"
#include "platform/scripted/png_file.h"
#include "platform/scripted/wave_writer.h"

namespace platform {

namespace {

// The type argument of the resource functions for a script's type word.
LPCSTR ResourceType(const std::string& type) {
    if (type == "BITMAP") return RT_BITMAP;
    if (type == "ICON") return RT_ICON;
    if (type == "GROUP_ICON") return RT_GROUP_ICON;
    return MAKEINTRESOURCEA(std::stoi(type));
}

}  // namespace

ScriptedHost::ScriptedHost(Script script, std::FILE* logFile)
    : script_(std::move(script)), logFile_(logFile) {
    for (const auto& change : script_.resources) {
        LPCSTR type = ResourceType(change.type);
        switch (change.kind) {
            case ResourceChange::Kind::Replace:
                ReplaceResource(type, change.name.c_str(), change.bytes);
                break;
            case ResourceChange::Kind::Remove:
                RemoveResource(type, change.name.c_str());
                break;
            case ResourceChange::Kind::Unloadable:
                MakeResourceUnloadable(type, change.name.c_str());
                break;
        }
    }
    for (const auto& fault : script_.faults) ArmFault(fault.point, fault.succeedFirst);
    SetBlitterBusyAfterFlip(script_.busyAfterFlip);
    for (const auto& event : script_.events) {
        if (event.kind == ScriptEventKind::Shot) shots_.push_back(&event);
    }
    if (!script_.audioFile.empty()) recordAudio_ = true;
}

ScriptedHost::~ScriptedHost() {
    AudioHostGone(this);
}

uint32_t ScriptedHost::Now() {
    return script_.clockStart + static_cast<uint32_t>(elapsed_);
}

void ScriptedHost::Sleep(uint32_t milliseconds) {
    // Even a zero-length sleep lets a little time pass, so waiting loops move on.
    AdvanceTo(elapsed_ + std::max<uint32_t>(milliseconds, 1));
}

void ScriptedHost::AdvanceTo(uint64_t time) {
    if (script_.end && time > *script_.end) {
        elapsed_ = std::max(elapsed_, *script_.end);
        RenderAudioTo(*script_.end);
        elapsed_ = std::max(elapsed_, *script_.end);
        Log("timeout", "");
        throw RunEnded{3};
    }
    RenderAudioTo(time);
    elapsed_ = std::max(elapsed_, time);
}

bool ScriptedHost::StartAudio(AudioRenderer* renderer, std::string&) {
    audioRenderer_ = renderer;
    audioFrames_ = elapsed_ * kAudioRate / 1000;
    return true;
}

void ScriptedHost::StopAudio() {
    RenderAudioTo(elapsed_);
    audioRenderer_ = nullptr;
}

void ScriptedHost::RenderAudioTo(uint64_t time) {
    if (audioRenderer_ == nullptr) return;
    uint64_t target = time * kAudioRate / 1000;
    constexpr uint64_t kChunk = 1024;
    while (audioFrames_ < target) {
        int frames = static_cast<int>(std::min(kChunk, target - audioFrames_));
        if (!recordAudio_) {
            // Nobody keeps this run's sound: the music moves on without being made, which
            // is most of the cost of a scripted run.
            audioRenderer_->Advance(frames, kAudioRate);
            audioFrames_ += static_cast<uint64_t>(frames);
            continue;
        }
        mixBuffer_.resize(static_cast<size_t>(frames) * 2);
        audioRenderer_->Render(mixBuffer_.data(), frames, kAudioRate);
        // What the output played before it was recorded or started is silence.
        audio_.resize(audioFrames_ * 2, 0);
        for (float value : mixBuffer_) {
            float clipped = std::clamp(value, -1.0f, 1.0f);
            audio_.push_back(static_cast<int16_t>(std::lround(clipped * 32767.0f)));
        }
        audioFrames_ += static_cast<uint64_t>(frames);
    }
}

const std::vector<int16_t>& ScriptedHost::AudioSamples() {
    RenderAudioTo(elapsed_);
    audio_.resize(std::max<size_t>(audio_.size(), elapsed_ * kAudioRate / 1000 * 2), 0);
    return audio_;
}

bool ScriptedHost::FinishAudio() {
    if (script_.audioFile.empty()) return true;
    return WriteWaveFile(script_.audioFile, AudioSamples(), kAudioRate);
}

void ScriptedHost::ApplyKeysUpTo(uint64_t time) {
    const auto& events = script_.events;
    while (nextKeyEvent_ < events.size() && events[nextKeyEvent_].time <= time) {
        const ScriptEvent& event = events[nextKeyEvent_++];
        if (event.kind == ScriptEventKind::Press) keyDown_[event.key & 0xFF] = true;
        if (event.kind == ScriptEventKind::Release) keyDown_[event.key & 0xFF] = false;
    }
}

bool ScriptedHost::IsKeyDown(int virtualKey) {
    ApplyKeysUpTo(elapsed_);
    return virtualKey >= 0 && virtualKey < 256 && keyDown_[virtualKey];
}

void ScriptedHost::PumpEvents() {
    ApplyKeysUpTo(elapsed_);
    const auto& events = script_.events;
    while (nextEvent_ < events.size() && events[nextEvent_].time <= elapsed_) {
        Deliver(events[nextEvent_++]);
    }
}

void ScriptedHost::Deliver(const ScriptEvent& event) {
    // Happenings to the window before it exists (or after it is gone) go nowhere.
    switch (event.kind) {
        case ScriptEventKind::Press:
        case ScriptEventKind::Release:
            HostKeyEvent(event.key, event.kind == ScriptEventKind::Press);
            break;
        case ScriptEventKind::Close:
            if (HostHasMainWindow()) {
                answers_.push_back({event.answerYes, event.answerDelay});
                HostCloseClicked();
            }
            break;
        case ScriptEventKind::Move:
            HostMoved(event.x, event.y);
            break;
        case ScriptEventKind::Deactivate:
            HostActivated(false);
            break;
        case ScriptEventKind::Activate:
            HostActivated(true);
            break;
        case ScriptEventKind::Minimize:
            HostMinimized(true);
            break;
        case ScriptEventKind::Restore:
            HostMinimized(false);
            break;
        case ScriptEventKind::Shot:
            // Written by the first picture shown at or after its time.
            break;
        case ScriptEventKind::LoseSurfaces:
            LoseAllSurfaces();
            break;
        case ScriptEventKind::Delete:
            // The player removes a file from the game folder while the game runs.
            std::remove(event.file.c_str());
            break;
        case ScriptEventKind::Pages:
            ComparePages(event);
            break;
        case ScriptEventKind::ShotBack:
            ShootBackPage(event);
            break;
        case ScriptEventKind::LoseSoundBuffers:
            LoseAllSoundBuffers();
            break;
        case ScriptEventKind::Memory:
            LogMemory();
            break;
    }
}

// The process's resident memory as the system counts it, for long runs that watch it stay flat.
void ScriptedHost::LogMemory() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmRSS:", 0) == 0) {
            std::istringstream fields(line.substr(6));
            long kilobytes = 0;
            fields >> kilobytes;
            return Log("memory", std::to_string(kilobytes));
        }
    }
    Log("memory", "unknown");
}

void ScriptedHost::ComparePages(const ScriptEvent& event) {
    FlipChainPages pages = ReadFlipChainPages();
    if (pages.state == FlipChainPages::State::None) return Log("pages", "none");
    if (pages.state == FlipChainPages::State::Lost) return Log("pages", "lost");
    // The play area is the 480 x 320 middle of the screen.
    int left = 0, top = 0, right = pages.width, bottom = pages.height;
    if (!event.wholeFrame) {
        left = std::max(0, (pages.width - 480) / 2);
        top = std::max(0, (pages.height - 320) / 2);
        right = std::min(pages.width, left + 480);
        bottom = std::min(pages.height, top + 320);
    }
    int differing = 0;
    for (int y = top; y < bottom; ++y) {
        for (int x = left; x < right; ++x) {
            size_t at = static_cast<size_t>(y) * pages.width + x;
            if (pages.front[at] != pages.back[at]) ++differing;
        }
    }
    std::string verdict = differing == 0 ? "same" : "differ " + std::to_string(differing);
    Log("pages", event.wholeFrame ? "frame " + verdict : verdict);
}

void ScriptedHost::ShootBackPage(const ScriptEvent& event) {
    FlipChainPages pages = ReadFlipChainPages();
    if (pages.state == FlipChainPages::State::None) return Log("shot-back", "none");
    if (pages.state == FlipChainPages::State::Lost) return Log("shot-back", "lost");
    WritePicture(event, pages.back, pages.width, pages.height);
}

void ScriptedHost::WritePicture(const ScriptEvent& event, const std::vector<uint32_t>& pixels,
                                int width, int height) {
    if (!WritePng(event.file, pixels.data(), width, height)) {
        std::fprintf(stderr, "script line %d: cannot write %s\n", event.line, event.file.c_str());
        throw RunEnded{2};
    }
}

void ScriptedHost::WaitForEvents() {
    const auto& events = script_.events;
    if (nextEvent_ < events.size()) {
        AdvanceTo(events[nextEvent_].time);
        PumpEvents();
        return;
    }
    // Nothing more will ever happen: the run would wait for ever.
    AdvanceTo(script_.end.value_or(elapsed_));
    Log("timeout", "");
    throw RunEnded{3};
}

void ScriptedHost::EnterFullScreen(int width, int height, int bits) {
    fullScreen_ = true;
    Log("display", "fullscreen " + std::to_string(width) + "x" + std::to_string(height) + "x" +
                       std::to_string(bits));
}

void ScriptedHost::LeaveFullScreen() {
    fullScreen_ = false;
    Log("display", "windowed");
}

void ScriptedHost::ShowWindowPicture(const uint32_t* pixels, int width, int height) {
    picture_.assign(pixels, pixels + static_cast<size_t>(width) * height);
    pictureWidth_ = width;
    pictureHeight_ = height;
    PictureShown("window");
}

void ScriptedHost::ShowFullScreenPicture(const uint8_t* indices, int width, int height,
                                         const uint32_t* palette) {
    picture_.resize(static_cast<size_t>(width) * height);
    for (size_t i = 0; i < picture_.size(); ++i) picture_[i] = palette[indices[i]];
    pictureWidth_ = width;
    pictureHeight_ = height;
    PictureShown("fullscreen");
}

void ScriptedHost::PictureShown(const char* where) {
    ++picturesShown_;
    Log("present", where);
    while (!shots_.empty() && shots_.front()->time <= elapsed_) {
        const ScriptEvent& shot = *shots_.front();
        shots_.erase(shots_.begin());
        WritePicture(shot, picture_, pictureWidth_, pictureHeight_);
    }
}

void ScriptedHost::CreateMainWindow(const std::string& titleUtf8, int, int, int, int) {
    windowTitle_ = titleUtf8;
}

MessageBoxAnswer ScriptedHost::ShowMessageBox(const std::string& textUtf8,
                                              const std::string& captionUtf8, bool yesNo, int) {
    Log("messagebox", textUtf8 + "|" + captionUtf8);
    if (!yesNo) return MessageBoxAnswer::Ok;
    // A question nobody scripted an answer for is declined.
    Answer answer = {false, 0};
    if (!answers_.empty()) {
        answer = answers_.front();
        answers_.pop_front();
    }
    if (answer.delay > 0) AdvanceTo(elapsed_ + answer.delay);
    Log("answer", answer.yes ? "yes" : "no");
    return answer.yes ? MessageBoxAnswer::Yes : MessageBoxAnswer::No;
}

void ScriptedHost::DebugText(const std::string& text) {
    std::string line = text;
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.pop_back();
    Log("debug", line);
}

void ScriptedHost::Log(const std::string& kind, const std::string& details) {
    std::string line = std::to_string(elapsed_) + " " + kind;
    if (!details.empty()) line += " " + details;
    // A run that writes its log keeps none of it: a long run would grow by every line.
    if (logFile_ == nullptr) {
        log_.push_back(line);
        return;
    }
    std::fprintf(logFile_, "%s\n", line.c_str());
    std::fflush(logFile_);
}

}  // namespace platform
