// What the conformance program observes, written one fact a line on standard output, so that
// the same program on Windows (under Wine) and on our layer gives outputs to compare line by
// line. Every area's probe is declared here; main.cpp runs them in order.
#pragma once

#include <windows.h>

// Writes one line: printf's format and arguments, then a line break.
void Fact(const char* format, ...);

// Handles the messages waiting for this thread for `milliseconds` of the platform's clock,
// yielding between looks.
void Pump(DWORD milliseconds);

// Another program takes the focus, and gives it back (focus_*.cpp: on Windows a window of a
// second thread; on the scripted host the script does it at the time the pump runs).
void TakeFocusAway();
void GiveFocusBack(HWND window);
// The next message box captioned `caption` is answered OK as soon as it shows (on Windows by a
// second thread; on the scripted host, which answers every box at once, by nothing).
void AnswerMessageBoxSoon(const char* caption);

void ProbeClock();
void ProbeResources();
HWND ProbeWindowStart(HINSTANCE instance);
void ProbeFocus(HWND window);
void ProbeWindowedDisplay(HWND window);
void ProbeFullScreenDisplay(HWND window);
void ProbeSound(HWND window);
void ProbeMmio();
void ProbeWindowEnd(HWND window);
