// Shared by the file fuzz targets: a private scratch folder to work in, and plain file access
// that does not go through the code under test.
#pragma once

#include <unistd.h>

#include <cstdio>
#include <cstdint>
#include <cstdlib>
#include <string>

inline void Require(bool condition) {
    if (!condition) {
        std::abort();
    }
}

inline char scratchFolder[] = "/tmp/parrun-fuzz-XXXXXX";

// The folder and what the targets leave in it go when the process ends normally.
inline void LeaveScratchFolder() {
    for (const char* name : {"key.dat", "key.dat.new", "a.dat", "a.dat.new"}) {
        std::remove(name);
    }
    Require(chdir("/") == 0);
    rmdir(scratchFolder);
}

inline void EnterScratchFolder() {
    Require(mkdtemp(scratchFolder) != nullptr);
    Require(chdir(scratchFolder) == 0);
    std::atexit(LeaveScratchFolder);
}

inline void WriteWholeFile(const char* path, const uint8_t* data, size_t size) {
    std::FILE* file = std::fopen(path, "wb");
    Require(file != nullptr);
    Require(std::fwrite(data, 1, size, file) == size);
    Require(std::fclose(file) == 0);
}

inline std::string ReadWholeFile(const char* path) {
    std::string bytes;
    std::FILE* file = std::fopen(path, "rb");
    Require(file != nullptr);
    char chunk[256];
    size_t got;
    while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0) {
        bytes.append(chunk, got);
    }
    std::fclose(file);
    return bytes;
}
