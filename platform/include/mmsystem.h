// The multimedia timer of our Win32 subset: a wrapping 32-bit millisecond clock.
#pragma once

#include <windows.h>

DWORD WINAPI timeGetTime(void);
