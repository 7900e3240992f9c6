#include "platform/scripted/replay_host.h"

#include "platform/core/host_events.h"
#include "platform/dsound/mixer.h"

namespace platform {

namespace {

Script ScriptFor(const Recording& recording) {
    Script script;
    for (const RecordEntry& entry : recording.entries) {
        if (entry.kind == RecordKind::Clock) {
            script.clockStart = static_cast<uint32_t>(entry.value);
            break;
        }
    }
    return script;
}

const char* Describe(RecordKind kind) {
    switch (kind) {
        case RecordKind::Clock:
            return "a clock reading";
        case RecordKind::Pump:
            return "a look at what was waiting (pump)";
        case RecordKind::Wait:
            return "a wait for something to happen (wait)";
        case RecordKind::Answer:
            return "a message box answer";
        case RecordKind::DesktopWidth:
        case RecordKind::DesktopHeight:
        case RecordKind::DesktopBits:
            return "a desktop measure";
        default:
            return "something else";
    }
}

}  // namespace

ReplayHost::ReplayHost(Recording recording, std::FILE* logFile)
    : recording_(std::move(recording)), scripted_(ScriptFor(recording_), logFile) {}

ReplayHost::~ReplayHost() {
    StopAudio();
    AudioHostGone(this);
}

const RecordEntry* ReplayHost::Head() {
    while (next_ < recording_.entries.size()) {
        const RecordEntry& entry = recording_.entries[next_];
        if (entry.kind != RecordKind::Clock) return &entry;
        while (countIndex_ < entry.counts.size() && readingsTaken_ >= entry.counts[countIndex_]) {
            ++countIndex_;
            readingsTaken_ = 0;
        }
        if (countIndex_ < entry.counts.size()) return &entry;
        ++next_;
        countIndex_ = 0;
        readingsTaken_ = 0;
    }
    return nullptr;
}

void ReplayHost::Strayed(const std::string& wanted) {
    const RecordEntry* head = Head();
    if (head == nullptr) RecordingEnded();
    std::string held = head == nullptr ? "nothing more" : "'" + FormatEntry(*head) + "'";
    int line = head == nullptr ? 0 : head->line;
    std::fprintf(stderr,
                 "parrun-script: the replay strayed from the recording: the program asked for "
                 "%s where line %d holds %s\n",
                 wanted.c_str(), line, held.c_str());
    scripted_.Log("strayed", std::to_string(line));
    throw RunEnded{kReplayStrayed};
}

void ReplayHost::RecordingEnded() {
    // A recording cut short (the program was killed, or crashed) ends the run here.
    scripted_.Log("replay-end", "");
    throw RunEnded{3};
}

uint32_t ReplayHost::Now() {
    const RecordEntry* head = Head();
    if (head == nullptr) RecordingEnded();
    if (head->kind != RecordKind::Clock) Strayed(Describe(RecordKind::Clock));
    uint32_t reading = static_cast<uint32_t>(head->value) + static_cast<uint32_t>(countIndex_);
    ++readingsTaken_;
    int32_t ahead = static_cast<int32_t>(reading - scripted_.Now());
    if (ahead > 0) scripted_.Sleep(static_cast<uint32_t>(ahead));
    return reading;
}

bool ReplayHost::IsKeyDown(int virtualKey) {
    if (virtualKey < 0 || virtualKey >= 256) return false;
    const RecordEntry* head = Head();
    if (head != nullptr && head->kind == RecordKind::Key && head->value == virtualKey) {
        keyDown_[virtualKey] = head->second != 0;
        ++next_;
    }
    return keyDown_[virtualKey];
}

int ReplayHost::Measure(RecordKind kind, int& value) {
    const RecordEntry* head = Head();
    if (head != nullptr && head->kind == kind) {
        value = static_cast<int>(head->value);
        ++next_;
    }
    return value;
}

void ReplayHost::Deliver(RecordKind kind) {
    const RecordEntry* head = Head();
    if (head == nullptr || head->kind != kind) Strayed(Describe(kind));
    ++next_;
    while ((head = Head()) != nullptr && DeliverHappening(*head)) {
    }
}

bool ReplayHost::DeliverHappening(const RecordEntry& entry) {
    // Taken before it is delivered: delivering may read the clock.
    switch (entry.kind) {
        case RecordKind::Press:
        case RecordKind::Release:
            ++next_;
            HostKeyEvent(static_cast<int>(entry.value), entry.kind == RecordKind::Press);
            return true;
        case RecordKind::Close:
            ++next_;
            HostCloseClicked();
            return true;
        case RecordKind::Activate:
        case RecordKind::Deactivate:
            ++next_;
            HostActivated(entry.kind == RecordKind::Activate);
            return true;
        case RecordKind::Minimize:
        case RecordKind::Restore:
            ++next_;
            HostMinimized(entry.kind == RecordKind::Minimize);
            return true;
        case RecordKind::Move:
            ++next_;
            HostMoved(static_cast<int>(entry.value), static_cast<int>(entry.second));
            return true;
        default:
            return false;
    }
}

MessageBoxAnswer ReplayHost::ShowMessageBox(const std::string& textUtf8,
                                            const std::string& captionUtf8, bool yesNo, int) {
    scripted_.Log("messagebox", textUtf8 + "|" + captionUtf8);
    const RecordEntry* head = Head();
    if (head == nullptr || head->kind != RecordKind::Answer) Strayed(Describe(RecordKind::Answer));
    ++next_;
    auto answer = static_cast<MessageBoxAnswer>(head->value);
    int32_t waited = static_cast<int32_t>(static_cast<uint32_t>(head->second) - scripted_.Now());
    if (waited > 0) scripted_.Sleep(static_cast<uint32_t>(waited));
    if (yesNo) scripted_.Log("answer", answer == MessageBoxAnswer::Yes ? "yes" : "no");
    return answer;
}

void ReplayHost::Report(const std::string& kind, const std::string& details) {
    scripted_.Report(kind, details);
    std::string text = details.empty() ? kind : kind + " " + details;
    const RecordEntry* head = Head();
    if (head == nullptr || head->kind != RecordKind::Report || head->text != text) {
        Strayed("'report " + text + "'");
    }
    ++next_;
}

bool ReplayHost::CheckEnd(int exitCode, std::string& difference) {
    const RecordEntry* head = Head();
    if (head == nullptr || head->kind != RecordKind::Exit) {
        difference = "the program ended (exit code " + std::to_string(exitCode) +
                     ") where the recording goes on";
        return false;
    }
    if (head->value != exitCode) {
        difference = "the program ended with exit code " + std::to_string(exitCode) +
                     ", the recorded one with " + std::to_string(head->value);
        return false;
    }
    ++next_;
    head = Head();
    if (head == nullptr || head->kind != RecordKind::Picture) return true;
    const auto& picture = scripted_.Picture();
    if (head->value != scripted_.PictureWidth() || head->second != scripted_.PictureHeight() ||
        head->hash != PictureHash(picture.data(), picture.size())) {
        difference = "the last picture differs from the recorded one (line " +
                     std::to_string(head->line) + ")";
        return false;
    }
    return true;
}

}  // namespace platform
