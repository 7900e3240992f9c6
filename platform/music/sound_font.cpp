#include "platform/music/sound_font.h"

#include <cstdlib>

namespace platform::music {

std::vector<std::string> SoundFontCandidates() {
    const char* chosen = std::getenv("PARRUN_SOUNDFONT");
    if (chosen != nullptr && *chosen != '\0') return {chosen};
    return {
        "/usr/share/sounds/sf2/FluidR3_GM.sf2",  // fluid-soundfont-gm
        "/usr/share/sounds/sf2/TimGM6mb.sf2",    // timgm6mb-soundfont
        "/usr/share/sounds/sf2/default-GM.sf2",  // whichever the system chose
        "/usr/share/soundfonts/default.sf2",
    };
}

}  // namespace platform::music
