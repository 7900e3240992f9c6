// Our declarations of the C runtime's low-level file functions that the game calls.
#pragma once

#include <cstdio>

// Puts every byte written to the descriptor's file on the disk; 0 on success, -1 on failure.
int _commit(int fileHandle);
// The descriptor beneath a stream. Windows declares it in stdio.h, which here is the C
// library's own, so it comes with the other descriptor functions.
int _fileno(std::FILE* file);
