// parrun: the game in an SDL window, run in the game folder (images/, se/, bgm/, drel.txt).
// "--scale N" shows each of the game's pixels as N x N screen pixels; without it the largest
// scale that fits the desktop is taken. F9 and F10 change it while the game runs.
#include <windows.h>

#include <SDL.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/core/host.h"
#include "platform/gdi/font_renderer.h"
#include "platform/sdl/sdl_host.h"
#include "platform/sdl/window_scale.h"

namespace {

bool IsSet(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr && *value != '\0';
}

// Starts SDL's video on the player's graphical display, or says in one line why there is none.
// Left to itself, SDL would fall back to an off-screen window that nobody sees.
bool StartVideo() {
    bool x11 = IsSet("DISPLAY");
    bool wayland = IsSet("WAYLAND_DISPLAY");
    bool driverChosen = IsSet("SDL_VIDEODRIVER");
    if (!driverChosen && !x11 && !wayland) {
        std::fputs("parrun: cannot open a window: no graphical display (DISPLAY is not set)\n",
                   stderr);
        return false;
    }
    // Only the kind of display the session has is tried (no library complaints about others).
    if (!driverChosen && x11 != wayland) SDL_SetHint(SDL_HINT_VIDEODRIVER, x11 ? "x11" : "wayland");
    std::string which = x11 ? std::string("DISPLAY=") + std::getenv("DISPLAY")
                        : wayland
                            ? std::string("WAYLAND_DISPLAY=") + std::getenv("WAYLAND_DISPLAY")
                            : std::string("SDL_VIDEODRIVER=") + std::getenv("SDL_VIDEODRIVER");
    if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_EVENTS | SDL_INIT_TIMER) != 0) {
        std::fprintf(stderr,
                     "parrun: cannot open a window: the graphical display %s cannot be "
                     "reached (%s)\n",
                     which.c_str(), SDL_GetError());
        return false;
    }
    const char* current = SDL_GetCurrentVideoDriver();
    std::string driver = current != nullptr ? current : "";
    if (!driverChosen && (driver == "offscreen" || driver == "dummy")) {
        std::fprintf(stderr,
                     "parrun: cannot open a window: the graphical display %s cannot be "
                     "reached\n",
                     which.c_str());
        SDL_Quit();
        return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    platform::ProgramOptions options;
    std::string error;
    if (!platform::ParseProgramOptions(argc, argv, options, error)) {
        std::fprintf(stderr, "parrun: %s\nusage: parrun [--scale N]\n", error.c_str());
        return 2;
    }
    // Without its Japanese font the game can't show the romaji to type: it isn't worth a
    // window. The look says what to install.
    if (!platform::TextFontAvailable()) return 1;
    // Ctrl-C in a terminal ends the program instead of asking through the close box.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    if (!StartVideo()) return 1;
    int code;
    {
        platform::SdlHost host(options.scale);
        platform::SetHost(&host);
        code = WinMain(GetModuleHandleA(nullptr), nullptr, const_cast<LPSTR>(""), SW_SHOWDEFAULT);
    }
    SDL_Quit();
    return code;
}
