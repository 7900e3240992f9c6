// The C runtime's low-level file functions over their POSIX counterparts.
#include <io.h>
#include <unistd.h>

#include <cerrno>

int _commit(int fileHandle) {
    if (fsync(fileHandle) == 0) return 0;
    // A file system that can't sync (EINVAL, ENOTSUP) keeps the bytes all the same, as one
    // that has nothing to flush does on Windows.
    return errno == EINVAL || errno == ENOTSUP ? 0 : -1;
}

int _fileno(std::FILE* file) {
    return fileno(file);
}
