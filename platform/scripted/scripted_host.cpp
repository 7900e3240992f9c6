#include "platform/scripted/scripted_host.h"

#include <algorithm>

#include "platform/core/host_events.h"

namespace platform {

ScriptedHost::ScriptedHost(Script script, std::FILE* logFile)
    : script_(std::move(script)), logFile_(logFile) {}

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
        Log("timeout", "");
        throw RunEnded{3};
    }
    elapsed_ = std::max(elapsed_, time);
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
            std::fprintf(stderr,
                         "script line %d: 'shot' needs the display, which this build "
                         "does not have yet\n",
                         event.line);
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

void ScriptedHost::CreateMainWindow(const std::string& titleUtf8, int, int, int, int) {
    windowTitle_ = titleUtf8;
}

MessageBoxAnswer ScriptedHost::ShowMessageBox(const std::string& textUtf8,
                                              const std::string& captionUtf8, bool yesNo) {
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
    log_.push_back(line);
    if (logFile_ != nullptr) {
        std::fprintf(logFile_, "%s\n", line.c_str());
        std::fflush(logFile_);
    }
}

}  // namespace platform
