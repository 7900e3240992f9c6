// Where the General MIDI sound font is: the file PARRUN_SOUNDFONT names, else the game folder's
// own font (the build's cut-down copy holding only what the pieces play), else the first of the
// places Debian's packages install one.
#pragma once

#include <string>
#include <vector>

namespace platform::music {

// The game folder's own sound font, relative to the working folder the game runs in.
inline constexpr const char* kGameFolderSoundFont = "bgm/music.sf2";

// The files to try, in order: PARRUN_SOUNDFONT alone when it is set and not empty; otherwise
// the game folder's font when it exists, then the system's.
std::vector<std::string> SoundFontCandidates();

}  // namespace platform::music
