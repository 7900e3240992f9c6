// Where the General MIDI sound font is: the file PARRUN_SOUNDFONT names, or the first of the
// places Debian's packages install one.
#pragma once

#include <string>
#include <vector>

namespace platform::music {

// The files to try, in order: PARRUN_SOUNDFONT alone when it is set and not empty.
std::vector<std::string> SoundFontCandidates();

}  // namespace platform::music
