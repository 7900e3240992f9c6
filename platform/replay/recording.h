// A recording of everything a host gave the game, in the order the game asked for it: clock
// readings, key states, the desktop's size and depth, the happenings delivered while the
// layer looked at its messages (keys, the close box, focus, moves), message box answers, and
// what the layer reported (sounds, music). Played back, it makes the game do again exactly
// what it did. The text form is described in docs/recording.md.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace platform {

constexpr int kRecordingVersion = 1;

enum class RecordKind {
    Clock,          // `value`: first reading; `counts`: readings of value, value + 1, ...
    Key,            // `value`: virtual key; `second`: 1 down, 0 up
    DesktopWidth,   // `value`
    DesktopHeight,  // `value`
    DesktopBits,    // `value`
    Pump,           // the host delivered what was waiting
    Wait,           // the host blocked until something came, then delivered it
    Press,          // `value`: virtual key
    Release,        // `value`: virtual key
    Close,
    Activate,
    Deactivate,
    Minimize,
    Restore,
    Move,     // `value`, `second`: the client area's new top-left corner
    Answer,   // `value`: a MessageBoxAnswer; `second`: the clock when it was given
    Report,   // `text`: kind and details, as the layer reported them
    Exit,     // `value`: the program's exit code
    Picture,  // `value` x `second` pixels, `hash`: PictureHash of the last picture shown
};

struct RecordEntry {
    RecordKind kind = RecordKind::Pump;
    int64_t value = 0;
    int64_t second = 0;
    std::vector<uint32_t> counts;
    std::string text;
    uint64_t hash = 0;
    int line = 0;  // where it was read, for messages
};

struct Recording {
    std::vector<RecordEntry> entries;
};

// Parses a recording. On a fault returns false with `error` set to "line N: what is wrong".
bool ParseRecording(const std::string& text, Recording& recording, std::string& error);

// The text of one entry, without its line feed.
std::string FormatEntry(const RecordEntry& entry);

// A name for a virtual key (A to Z, MINUS, RETURN, ...), or its number.
std::string RecordKeyName(int virtualKey);
// The virtual key of a name or a number from 0 to 255, or -1.
int RecordKeyCode(const std::string& name);

// FNV-1a over the pixels' 0xRRGGBB values: what the last picture looked like.
uint64_t PictureHash(const uint32_t* pixels, size_t count);

// Writes a recording as the game runs. Clock readings are gathered into runs (a reading of
// the same value or one a few milliseconds later continues the run), so that a frame's waiting
// loop takes one line.
class RecordingWriter {
public:
    // Writes the header line at once; `out` stays the caller's.
    explicit RecordingWriter(std::FILE* out);
    ~RecordingWriter();

    void Clock(uint32_t reading);
    void Write(const RecordEntry& entry);
    // Writes the run being gathered and hands everything to the file.
    void Flush();

private:
    void EndRun();

    std::FILE* out_;
    bool inRun_ = false;
    RecordEntry run_;
};

}  // namespace platform
