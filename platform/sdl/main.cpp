// parrun: the game in an SDL window, run in the game folder (images/, se/, bgm/, drel.txt).
// "--scale N" shows each of the game's pixels as N x N screen pixels; without it the largest
// scale that fits the desktop is taken. F9 and F10 change it while the game runs.
#include <windows.h>

#include <SDL.h>

#include <cstdio>
#include <string>

#include "platform/core/host.h"
#include "platform/sdl/sdl_host.h"
#include "platform/sdl/window_scale.h"

int main(int argc, char** argv) {
    platform::ProgramOptions options;
    std::string error;
    if (!platform::ParseProgramOptions(argc, argv, options, error)) {
        std::fprintf(stderr, "parrun: %s\nusage: parrun [--scale N]\n", error.c_str());
        return 2;
    }
    // Ctrl-C in a terminal ends the program instead of asking through the close box.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_EVENTS | SDL_INIT_TIMER) != 0) {
        std::fprintf(stderr, "parrun: cannot start SDL: %s\n", SDL_GetError());
        return 1;
    }
    int code;
    {
        platform::SdlHost host(options.scale);
        platform::SetHost(&host);
        code = WinMain(GetModuleHandleA(nullptr), nullptr, const_cast<LPSTR>(""), SW_SHOWDEFAULT);
    }
    SDL_Quit();
    return code;
}
