// A scenario script for the scripted host: the clock's starting reading, the desktop's depth,
// changes to the program's resources and platform calls made to fail, outside happenings at
// virtual times (keys, the close box and its answer, moves, focus, screenshots, the display
// taken away, a look at both pages of the flip chain, or the sound memory taken away), a file
// for the sound of the run, and an end.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace platform {

enum class ScriptEventKind {
    Press,
    Release,
    Close,
    Move,
    Deactivate,
    Activate,
    Minimize,
    Restore,
    Shot,
    LoseSurfaces,
    Delete,
    Pages,
    ShotBack,
    LoseSoundBuffers,
    Memory,
};

struct ScriptEvent {
    uint64_t time = 0;  // ms after the start of the run
    ScriptEventKind kind = ScriptEventKind::Press;
    int key = 0;               // Press, Release: virtual-key code
    bool answerYes = false;    // Close: how the confirmation box is answered
    uint64_t answerDelay = 0;  // Close: how long the player takes to answer
    int x = 0, y = 0;          // Move: new client-area position
    std::string file;          // Shot, ShotBack: PNG file to write; Delete: file
    bool wholeFrame = false;   // Pages: compare the whole screen, not only the play area
    int line = 0;              // where it was written, for messages
};

// "resource TYPE NAME ...": the program's resource replaced, taken away, or made unloadable.
struct ResourceChange {
    enum class Kind { Replace, Remove, Unloadable };
    Kind kind = Kind::Replace;
    std::string type;  // BITMAP, ICON, GROUP_ICON or a number
    std::string name;
    std::vector<uint8_t> bytes;
};

// "fail POINT [after N]": a platform call that fails after N successes.
struct FaultChange {
    std::string point;
    int succeedFirst = 0;
};

struct Script {
    uint32_t clockStart = 0;
    std::optional<uint64_t> end;
    int desktopBits = 32;
    uint32_t busyAfterFlip = 0;  // ms the blitter stays busy after every flip
    std::string audioFile;       // "audio FILE": where the run's sound is written, or empty
    std::vector<ResourceChange> resources;
    std::vector<FaultChange> faults;
    std::vector<ScriptEvent> events;  // in time order; equal times keep their written order
};

// Parses a script. On a fault returns false with `error` set to "line N: what is wrong".
bool ParseScript(const std::string& text, Script& script, std::string& error);

}  // namespace platform
