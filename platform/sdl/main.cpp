// parrun: the game in an SDL window, run in the game folder (images/, se/, bgm/, drel.txt).
#include <windows.h>

#include <SDL.h>

#include <cstdio>

#include "platform/core/host.h"
#include "platform/sdl/sdl_host.h"

int main(int argc, char** argv) {
    // Ctrl-C in a terminal ends the program instead of asking through the close box.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_EVENTS | SDL_INIT_TIMER) != 0) {
        std::fprintf(stderr, "parrun: cannot start SDL: %s\n", SDL_GetError());
        return 1;
    }
    int code;
    {
        platform::SdlHost host;
        platform::SetHost(&host);
        code = WinMain(GetModuleHandleA(nullptr), nullptr, const_cast<LPSTR>(""), SW_SHOWDEFAULT);
    }
    SDL_Quit();
    return code;
}
