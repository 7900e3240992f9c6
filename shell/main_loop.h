// The message pump with its frame pacing: messages first, then one game step a frame while
// the window is active and not minimised, frames starting 16 ms apart.
#pragma once

// Runs until the quit message (returning its exit code) or the quit request (returning 0).
int RunMainLoop();
