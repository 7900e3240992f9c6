// parrun: the game in an SDL window, run in the game folder (images/, se/, bgm/, drel.txt).
// "--scale N" shows each of the game's pixels as N x N screen pixels; without it the largest
// scale that fits the desktop is taken. F9 and F10 change it while the game runs.
// "--record FILE" writes down everything the game was given, for `parrun-script --replay`;
// "--last-picture PNG" keeps the last picture shown.
#include <windows.h>

#include <SDL.h>

#include <cstdio>
#include <memory>
#include <string>

#include "platform/core/host.h"
#include "platform/replay/recording_host.h"
#include "platform/scripted/png_file.h"
#include "platform/sdl/sdl_host.h"
#include "platform/sdl/window_scale.h"

namespace {

int RunGame() {
    return WinMain(GetModuleHandleA(nullptr), nullptr, const_cast<LPSTR>(""), SW_SHOWDEFAULT);
}

// The game on `host` wrapped in a recording host; 2 when a file can't be written.
int RunRecorded(platform::Host& host, const platform::ProgramOptions& options) {
    std::FILE* file = nullptr;
    if (!options.record.empty() && (file = std::fopen(options.record.c_str(), "w")) == nullptr) {
        std::fprintf(stderr, "parrun: cannot write %s\n", options.record.c_str());
        return 2;
    }
    int code;
    {
        platform::RecordingHost recorder(host, file);
        platform::SetHost(&recorder);
        code = RunGame();
        recorder.Finish(code);
        platform::SetHost(&host);
        const auto& picture = recorder.LastPicture();
        if (!options.lastPicture.empty() &&
            (picture.empty() ||
             !platform::WritePng(options.lastPicture, picture.data(), recorder.PictureWidth(),
                                 recorder.PictureHeight()))) {
            std::fprintf(stderr, "parrun: cannot write %s\n", options.lastPicture.c_str());
            code = 2;
        }
    }
    if (file != nullptr && std::fclose(file) != 0) {
        std::fprintf(stderr, "parrun: cannot write %s\n", options.record.c_str());
        code = 2;
    }
    return code;
}

}  // namespace

int main(int argc, char** argv) {
    platform::ProgramOptions options;
    std::string error;
    if (!platform::ParseProgramOptions(argc, argv, options, error)) {
        std::fprintf(stderr,
                     "parrun: %s\nusage: parrun [--scale N] [--record FILE] [--last-picture "
                     "PNG]\n",
                     error.c_str());
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
        if (options.record.empty() && options.lastPicture.empty()) {
            code = RunGame();
        } else {
            code = RunRecorded(host, options);
        }
    }
    SDL_Quit();
    return code;
}
