#include "platform/music/sound_font.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace platform::music {

std::vector<std::string> SoundFontCandidates() {
    const char* chosen = std::getenv("PARRUN_SOUNDFONT");
    if (chosen != nullptr && *chosen != '\0') return {chosen};
    std::vector<std::string> candidates;
    // Only when it is there: the synthesiser complains aloud about every file it cannot open.
    std::error_code error;
    if (std::filesystem::is_regular_file(kGameFolderSoundFont, error)) {
        candidates.emplace_back(kGameFolderSoundFont);
    }
    for (const char* path : {
             "/usr/share/sounds/sf2/FluidR3_GM.sf2",  // fluid-soundfont-gm
             "/usr/share/sounds/sf2/TimGM6mb.sf2",    // timgm6mb-soundfont
             "/usr/share/sounds/sf2/default-GM.sf2",  // whichever the system chose
             "/usr/share/soundfonts/default.sf2",
         }) {
        candidates.emplace_back(path);
    }
    return candidates;
}

}  // namespace platform::music
