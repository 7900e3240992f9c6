// How many screen pixels a pixel of the game's 480 x 320 window takes: a whole number, so
// every pixel stays square and sharp, chosen to fit the desktop or given by the player.
#pragma once

#include <string>

namespace platform {

constexpr int kLargestWindowScale = 8;

// The largest whole scale at which a client area of the given size, with room for the
// window's frame and caption, fits in the usable part of the desktop (the screen without its
// panels); at least 1.
int ChooseWindowScale(int clientWidth, int clientHeight, int usableWidth, int usableHeight);

// The program's options: "--scale N" (1 to 8) fixes the window's scale, 0 leaves it to the
// desktop. False with `error` set for anything else.
struct ProgramOptions {
    int scale = 0;
};
bool ParseProgramOptions(int argc, const char* const* argv, ProgramOptions& options,
                         std::string& error);

}  // namespace platform
