// Reading and replacing the game's files by name in the current directory. A replacement is
// written beside the old file first and takes its place only when every byte is down, so a crash
// or a full disk never leaves a player's settings or rankings half written.
#pragma once

#include <cstddef>
#include <string>

// Reads at most `limit` bytes from the start of the file into `bytes`. False when the file can't
// be opened or read (a folder by that name, an I/O error); `bytes` is then not to be used.
bool ReadFileBytes(const char* path, std::string& bytes, size_t limit = static_cast<size_t>(-1));

// Makes the file hold exactly these bytes. False, with the old file (if any) untouched, when the
// new contents can't be written in full or can't take the old file's place.
bool ReplaceFileBytes(const char* path, const void* bytes, size_t count);
