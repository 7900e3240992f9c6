#include "platform/replay/recording_host.h"

#include "platform/dsound/mixer.h"

namespace platform {

RecordingHost::RecordingHost(Host& inner, std::FILE* out) : inner_(inner) {
    if (out != nullptr) writer_ = std::make_unique<RecordingWriter>(out);
    SetHostEventTap(this);
}

RecordingHost::~RecordingHost() {
    SetHostEventTap(nullptr);
    // The inner host stops its own sound output.
    AudioHostGone(this);
}

void RecordingHost::Write(RecordKind kind, int64_t value, int64_t second) {
    readSinceEntry_.reset();
    if (writer_ == nullptr) return;
    RecordEntry entry;
    entry.kind = kind;
    entry.value = value;
    entry.second = second;
    writer_->Write(entry);
}

uint32_t RecordingHost::Now() {
    uint32_t reading = inner_.Now();
    readSinceEntry_.reset();
    if (writer_ != nullptr) writer_->Clock(reading);
    return reading;
}

void RecordingHost::PumpEvents() {
    Write(RecordKind::Pump);
    // Each look at the messages reaches the file, so a recording cut short by a crash keeps
    // everything up to it.
    if (writer_ != nullptr) writer_->Flush();
    inner_.PumpEvents();
}

void RecordingHost::WaitForEvents() {
    Write(RecordKind::Wait);
    if (writer_ != nullptr) writer_->Flush();
    inner_.WaitForEvents();
}

bool RecordingHost::IsKeyDown(int virtualKey) {
    if (virtualKey < 0 || virtualKey >= 256) return false;
    if (readSinceEntry_[virtualKey]) return keyDown_[virtualKey];
    bool down = inner_.IsKeyDown(virtualKey);
    if (down != keyDown_[virtualKey]) {
        keyDown_[virtualKey] = down;
        Write(RecordKind::Key, virtualKey, down ? 1 : 0);
    }
    readSinceEntry_[virtualKey] = true;
    return down;
}

int RecordingHost::Measure(RecordKind kind, int (Host::*read)(), size_t slot, int& last) {
    if (readSinceEntry_[slot]) return last;
    int value = (inner_.*read)();
    if (value != last) Write(kind, value);
    last = value;
    readSinceEntry_[slot] = true;
    return value;
}

int RecordingHost::DesktopWidth() {
    return Measure(RecordKind::DesktopWidth, &Host::DesktopWidth, 256, desktopWidth_);
}

int RecordingHost::DesktopHeight() {
    return Measure(RecordKind::DesktopHeight, &Host::DesktopHeight, 257, desktopHeight_);
}

int RecordingHost::DesktopBits() {
    return Measure(RecordKind::DesktopBits, &Host::DesktopBits, 258, desktopBits_);
}

MessageBoxAnswer RecordingHost::ShowMessageBox(const std::string& textUtf8,
                                               const std::string& captionUtf8, bool yesNo,
                                               int defaultButton) {
    MessageBoxAnswer answer = inner_.ShowMessageBox(textUtf8, captionUtf8, yesNo, defaultButton);
    // The player took a while to answer: the replay's log puts the answer at that time.
    Write(RecordKind::Answer, static_cast<int64_t>(answer), inner_.Now());
    return answer;
}

void RecordingHost::Report(const std::string& kind, const std::string& details) {
    inner_.Report(kind, details);
    readSinceEntry_.reset();
    if (writer_ == nullptr) return;
    RecordEntry entry;
    entry.kind = RecordKind::Report;
    entry.text = details.empty() ? kind : kind + " " + details;
    // One entry a line, whatever the details hold.
    for (char& c : entry.text) {
        if (c == '\n' || c == '\r') c = ' ';
    }
    writer_->Write(entry);
}

void RecordingHost::ShowWindowPicture(const uint32_t* pixels, int width, int height) {
    picture_.assign(pixels, pixels + static_cast<size_t>(width) * height);
    pictureWidth_ = width;
    pictureHeight_ = height;
    inner_.ShowWindowPicture(pixels, width, height);
}

void RecordingHost::ShowFullScreenPicture(const uint8_t* indices, int width, int height,
                                          const uint32_t* palette) {
    picture_.resize(static_cast<size_t>(width) * height);
    for (size_t i = 0; i < picture_.size(); ++i) picture_[i] = palette[indices[i]];
    pictureWidth_ = width;
    pictureHeight_ = height;
    inner_.ShowFullScreenPicture(indices, width, height, palette);
}

void RecordingHost::Finish(int exitCode) {
    Write(RecordKind::Exit, exitCode);
    if (writer_ == nullptr) return;
    if (!picture_.empty()) {
        RecordEntry entry;
        entry.kind = RecordKind::Picture;
        entry.value = pictureWidth_;
        entry.second = pictureHeight_;
        entry.hash = PictureHash(picture_.data(), picture_.size());
        writer_->Write(entry);
    }
    writer_->Flush();
}

void RecordingHost::KeyEvent(int virtualKey, bool down) {
    Write(down ? RecordKind::Press : RecordKind::Release, virtualKey);
}

void RecordingHost::CloseClicked() {
    Write(RecordKind::Close);
}

void RecordingHost::Activated(bool active) {
    Write(active ? RecordKind::Activate : RecordKind::Deactivate);
}

void RecordingHost::Minimized(bool minimized) {
    Write(minimized ? RecordKind::Minimize : RecordKind::Restore);
}

void RecordingHost::Moved(int clientX, int clientY) {
    Write(RecordKind::Move, clientX, clientY);
}

}  // namespace platform
