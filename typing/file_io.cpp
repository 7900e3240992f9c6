#include "typing/file_io.h"

#include <io.h>

#include <cstdio>
#include <filesystem>
#include <system_error>

namespace {

// Asks the system to put the file's bytes on the disk before the rename makes it the saved
// file, so that a power cut just after a save can't leave an empty or partial file in the old
// one's place.
bool SyncToDisk(std::FILE* file) {
    return _commit(_fileno(file)) == 0;
}

}  // namespace

bool ReadFileBytes(const char* path, std::string& bytes, size_t limit) {
    std::FILE* file = std::fopen(path, "rb");
    if (file == nullptr) {
        return false;
    }
    bytes.clear();
    char chunk[4096];
    while (bytes.size() < limit) {
        size_t wanted = limit - bytes.size() < sizeof chunk ? limit - bytes.size() : sizeof chunk;
        size_t got = std::fread(chunk, 1, wanted, file);
        bytes.append(chunk, got);
        if (got < wanted) {
            break;
        }
    }
    // On some systems a folder opens like a file and only the read fails.
    bool readFailed = std::ferror(file) != 0;
    std::fclose(file);
    return !readFailed;
}

bool ReplaceFileBytes(const char* path, const void* bytes, size_t count) {
    std::string temporary = std::string(path) + ".new";
    std::FILE* file = std::fopen(temporary.c_str(), "wb");
    if (file == nullptr) {
        return false;
    }
    bool written = std::fwrite(bytes, 1, count, file) == count;
    written = std::fflush(file) == 0 && written;
    written = written && SyncToDisk(file);
    // The buffered bytes reach the disk at the latest here, so its result counts too.
    written = std::fclose(file) == 0 && written;
    if (!written) {
        std::remove(temporary.c_str());
        return false;
    }
    // Replaces an existing file in one step, on Windows as well.
    std::error_code error;
    std::filesystem::rename(temporary, path, error);
    if (error) {
        std::remove(temporary.c_str());
        return false;
    }
    return true;
}
