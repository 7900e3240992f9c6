// parrun: the game in an SDL window, run in the game folder (images/, se/, bgm/, drel.txt).
// "--scale N" shows each of the game's pixels as N x N screen pixels; without it the largest
// scale that fits the desktop is taken, or the one kept from the last run. F9 and F10 change
// it while the game runs; F6 to F8 set the volume.
// "--record FILE" writes down everything the game was given, for `parrun-script --replay`;
// "--last-picture PNG" keeps the last picture shown. "--time-first-picture" prints the
// moment the first picture was shown (seconds since the epoch) and ends the program there.
#include <windows.h>

#include <SDL.h>

#include <time.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "platform/core/host.h"
#include "platform/gdi/font_renderer.h"
#include "platform/replay/recording_host.h"
#include "platform/scripted/png_file.h"
#include "platform/sdl/sdl_host.h"
#include "platform/sdl/window_scale.h"

namespace {

// Ends the program as soon as its first picture is on the screen: the SDL host shows a
// picture when the game next yields or looks at its messages.
class FirstPictureHost : public platform::RecordingHost {
public:
    using RecordingHost::RecordingHost;
    void ShowWindowPicture(const uint32_t* pixels, int width, int height) override {
        RecordingHost::ShowWindowPicture(pixels, width, height);
        shown_ = true;
    }
    void Sleep(uint32_t milliseconds) override {
        RecordingHost::Sleep(milliseconds);
        EndOnceShown();
    }
    void PumpEvents() override {
        RecordingHost::PumpEvents();
        EndOnceShown();
    }

private:
    void EndOnceShown() {
        if (!shown_) return;
        timespec now;
        clock_gettime(CLOCK_REALTIME, &now);
        std::printf("first picture at %lld.%09ld\n", static_cast<long long>(now.tv_sec),
                    now.tv_nsec);
        std::fflush(stdout);
        std::_Exit(0);
    }
    bool shown_ = false;
};

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
        std::fprintf(stderr,
                     "parrun: %s\nusage: parrun [--scale N] [--record FILE] [--last-picture "
                     "PNG]\n",
                     error.c_str());
        return 2;
    }
    // Without its Japanese font the game can't show the romaji to type: it isn't worth a
    // window. The check says on standard error what to install.
    if (!platform::TextFontAvailable()) return 1;
    // Ctrl-C in a terminal ends the program instead of asking through the close box.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    // A 480 x 320 picture scaled by a whole number needs no graphics card: SDL's own renderer
    // into the window's memory starts sooner and keeps tens of megabytes of OpenGL libraries
    // out of the program. SDL_RENDER_DRIVER and SDL_FRAMEBUFFER_ACCELERATION in the
    // environment still choose otherwise.
    SDL_SetHintWithPriority(SDL_HINT_RENDER_DRIVER, "software", SDL_HINT_DEFAULT);
    SDL_SetHintWithPriority(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0", SDL_HINT_DEFAULT);
    if (!StartVideo()) return 1;
    int code;
    {
        platform::SdlHost host(options.scale);
        host.UseSettingsFile(platform::HostSettingsPath());
        platform::SetHost(&host);
        if (options.timeFirstPicture) {
            FirstPictureHost timer(host, nullptr);
            platform::SetHost(&timer);
            code = RunGame();
        } else if (options.record.empty() && options.lastPicture.empty()) {
            code = RunGame();
        } else {
            code = RunRecorded(host, options);
        }
    }
    SDL_Quit();
    return code;
}
