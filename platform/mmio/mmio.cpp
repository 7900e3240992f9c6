// The multimedia file functions on RIFF files: files opened for reading, buffered (with
// MMIO_ALLOCBUF) or not, read through the buffer or directly, and chunks found by their
// identifiers within their parent. Positions are 32-bit, as the platform's are.
#include <mmsystem.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <set>
#include <vector>

namespace {

struct MmioFile {
    std::FILE* file = nullptr;
    int64_t size = 0;
    std::vector<char> buffer;  // empty when unbuffered
    MMIOINFO info = {};
    int64_t position = 0;  // of an unbuffered file
};

// Kept for the whole run: a program may close its files from its own static destructors.
std::set<MmioFile*>& OpenFiles() {
    static auto* files = new std::set<MmioFile*>;
    return *files;
}

MmioFile* Find(HMMIO handle) {
    auto* file = reinterpret_cast<MmioFile*>(handle);
    return OpenFiles().count(file) != 0 ? file : nullptr;
}

bool Buffered(const MmioFile& file) {
    return !file.buffer.empty();
}

// Where the next byte read comes from.
int64_t Position(const MmioFile& file) {
    if (!Buffered(file)) return file.position;
    return file.info.lBufOffset + (file.info.pchNext - file.info.pchBuffer);
}

// Fills the buffer from `at` on; at the end of the file it stays empty.
bool Fill(MmioFile& file, int64_t at) {
    MMIOINFO& info = file.info;
    size_t got = 0;
    if (at < file.size) {
        if (std::fseek(file.file, static_cast<long>(at), SEEK_SET) != 0) return false;
        got = std::fread(file.buffer.data(), 1, file.buffer.size(), file.file);
    }
    info.lBufOffset = static_cast<LONG>(at);
    info.lDiskOffset = static_cast<LONG>(at + static_cast<int64_t>(got));
    info.pchNext = info.pchBuffer;
    info.pchEndRead = info.pchBuffer + got;
    return true;
}

// Moves the read position; a buffered file keeps its buffer when the position lies inside.
bool MoveTo(MmioFile& file, int64_t at) {
    if (at < 0 || at > INT32_MAX) return false;
    if (!Buffered(file)) {
        file.position = at;
        return true;
    }
    MMIOINFO& info = file.info;
    if (at >= info.lBufOffset && at <= info.lBufOffset + (info.pchEndRead - info.pchBuffer)) {
        info.pchNext = info.pchBuffer + (at - info.lBufOffset);
        return true;
    }
    info.lBufOffset = info.lDiskOffset = static_cast<LONG>(at);
    info.pchNext = info.pchEndRead = info.pchBuffer;
    return true;
}

// Reads up to `count` bytes at the read position; the number read.
int64_t ReadBytes(MmioFile& file, char* to, int64_t count) {
    if (!Buffered(file)) {
        if (file.position >= file.size || count <= 0) return 0;
        if (std::fseek(file.file, static_cast<long>(file.position), SEEK_SET) != 0) return -1;
        size_t got = std::fread(to, 1, static_cast<size_t>(count), file.file);
        file.position += static_cast<int64_t>(got);
        return static_cast<int64_t>(got);
    }
    MMIOINFO& info = file.info;
    int64_t done = 0;
    while (done < count) {
        if (info.pchNext == info.pchEndRead) {
            if (!Fill(file, Position(file))) return -1;
            if (info.pchNext == info.pchEndRead) break;
        }
        int64_t part = std::min<int64_t>(count - done, info.pchEndRead - info.pchNext);
        std::copy(info.pchNext, info.pchNext + part, to + done);
        info.pchNext += part;
        done += part;
    }
    return done;
}

bool ReadDword(MmioFile& file, DWORD& value) {
    unsigned char bytes[4];
    if (ReadBytes(file, reinterpret_cast<char*>(bytes), 4) != 4) return false;
    value = bytes[0] | (bytes[1] << 8) | (bytes[2] << 16) | (static_cast<DWORD>(bytes[3]) << 24);
    return true;
}

// Reads the chunk header at the read position: identifier, size, and the form or list type.
bool ReadHeader(MmioFile& file, MMCKINFO& chunk) {
    int64_t start = Position(file);
    if (!ReadDword(file, chunk.ckid) || !ReadDword(file, chunk.cksize)) return false;
    chunk.fccType = 0;
    chunk.dwDataOffset = static_cast<DWORD>(start + 8);
    chunk.dwFlags = 0;
    if (chunk.ckid == FOURCC_RIFF || chunk.ckid == FOURCC_LIST) {
        if (!ReadDword(file, chunk.fccType)) return false;
    }
    return true;
}

}  // namespace

HMMIO WINAPI mmioOpenA(LPSTR fileName, LPMMIOINFO info, DWORD flags) {
    auto fail = [info](UINT error) -> HMMIO {
        if (info != nullptr) info->wErrorRet = error;
        return nullptr;
    };
    // Only reading is needed: writing, creating and the other modes are refused.
    if (fileName == nullptr || (flags & (MMIO_RWMODE | MMIO_CREATE)) != 0) {
        return fail(MMSYSERR_INVALFLAG);
    }
    auto file = std::make_unique<MmioFile>();
    file->file = std::fopen(fileName, "rb");
    if (file->file == nullptr) return fail(MMIOERR_FILENOTFOUND);
    if (std::fseek(file->file, 0, SEEK_END) == 0) file->size = std::ftell(file->file);
    if (file->size < 0) file->size = 0;
    MMIOINFO& state = file->info;
    state.dwFlags = flags;
    if (flags & MMIO_ALLOCBUF) {
        LONG size = info != nullptr && info->cchBuffer > 0 ? info->cchBuffer : MMIO_DEFAULTBUFFER;
        file->buffer.assign(static_cast<size_t>(size), 0);
        state.cchBuffer = size;
        state.pchBuffer = state.pchNext = state.pchEndRead = file->buffer.data();
        state.pchEndWrite = file->buffer.data() + size;
    }
    state.hmmio = reinterpret_cast<HMMIO>(file.get());
    if (info != nullptr) info->wErrorRet = MMSYSERR_NOERROR;
    OpenFiles().insert(file.get());
    return reinterpret_cast<HMMIO>(file.release());
}

MMRESULT WINAPI mmioClose(HMMIO handle, UINT) {
    MmioFile* file = Find(handle);
    if (file == nullptr) return MMSYSERR_INVALHANDLE;
    OpenFiles().erase(file);
    std::fclose(file->file);
    delete file;
    return MMSYSERR_NOERROR;
}

LONG WINAPI mmioRead(HMMIO handle, HPSTR to, LONG count) {
    MmioFile* file = Find(handle);
    if (file == nullptr || to == nullptr || count < 0) return -1;
    return static_cast<LONG>(ReadBytes(*file, to, count));
}

LONG WINAPI mmioSeek(HMMIO handle, LONG offset, int origin) {
    MmioFile* file = Find(handle);
    if (file == nullptr) return -1;
    int64_t base = origin == SEEK_SET   ? 0
                   : origin == SEEK_CUR ? Position(*file)
                   : origin == SEEK_END ? file->size
                                        : -1;
    if (base < 0) return -1;
    int64_t at = base + offset;
    if (!MoveTo(*file, at)) return -1;
    return static_cast<LONG>(at);
}

MMRESULT WINAPI mmioGetInfo(HMMIO handle, LPMMIOINFO info, UINT) {
    MmioFile* file = Find(handle);
    if (file == nullptr) return MMSYSERR_INVALHANDLE;
    if (info == nullptr) return MMSYSERR_INVALPARAM;
    *info = file->info;
    return MMSYSERR_NOERROR;
}

MMRESULT WINAPI mmioSetInfo(HMMIO handle, LPCMMIOINFO info, UINT) {
    MmioFile* file = Find(handle);
    if (file == nullptr) return MMSYSERR_INVALHANDLE;
    if (info == nullptr) return MMSYSERR_INVALPARAM;
    MMIOINFO& state = file->info;
    // Only the caller's progress through the buffer is taken back, and only inside it.
    if (Buffered(*file)) {
        if (info->pchNext < state.pchBuffer || info->pchNext > state.pchEndRead) {
            return MMSYSERR_INVALPARAM;
        }
        state.pchNext = info->pchNext;
    }
    return MMSYSERR_NOERROR;
}

MMRESULT WINAPI mmioAdvance(HMMIO handle, LPMMIOINFO info, UINT flags) {
    MmioFile* file = Find(handle);
    if (file == nullptr) return MMSYSERR_INVALHANDLE;
    if (!Buffered(*file)) return MMIOERR_UNBUFFERED;
    if (flags != MMIO_READ) return MMSYSERR_INVALFLAG;
    MMIOINFO& state = file->info;
    if (info != nullptr) {
        if (info->pchNext < state.pchBuffer || info->pchNext > state.pchEndRead) {
            return MMSYSERR_INVALPARAM;
        }
        state.pchNext = info->pchNext;
    }
    // The buffer goes on from where the reader has got to; at the end of the file it comes
    // back empty, which the caller sees as pchNext equal to pchEndRead.
    if (!Fill(*file, Position(*file))) return MMIOERR_CANNOTREAD;
    if (info != nullptr) *info = state;
    return MMSYSERR_NOERROR;
}

MMRESULT WINAPI mmioDescend(HMMIO handle, LPMMCKINFO chunk, const MMCKINFO* parent, UINT flags) {
    MmioFile* file = Find(handle);
    if (file == nullptr) return MMSYSERR_INVALHANDLE;
    if (chunk == nullptr) return MMSYSERR_INVALPARAM;
    UINT search = flags & (MMIO_FINDCHUNK | MMIO_FINDRIFF | MMIO_FINDLIST);
    if (search == 0) {
        MMCKINFO found;
        if (!ReadHeader(*file, found)) return MMIOERR_CHUNKNOTFOUND;
        *chunk = found;
        return MMSYSERR_NOERROR;
    }
    FOURCC wantId = search == MMIO_FINDRIFF   ? FOURCC_RIFF
                    : search == MMIO_FINDLIST ? FOURCC_LIST
                                              : chunk->ckid;
    FOURCC wantType = chunk->fccType;
    // The chunks of the parent end where its data ends; without one, the file's end.
    int64_t limit = parent != nullptr ? static_cast<int64_t>(parent->dwDataOffset) + parent->cksize
                                      : file->size;
    while (true) {
        int64_t start = Position(*file);
        MMCKINFO found;
        if (start + 8 > limit || !ReadHeader(*file, found)) return MMIOERR_CHUNKNOTFOUND;
        bool typeMatches = search == MMIO_FINDCHUNK || found.fccType == wantType;
        if (found.ckid == wantId && typeMatches) {
            *chunk = found;
            return MMSYSERR_NOERROR;
        }
        // Chunks are padded to an even length.
        int64_t next = start + 8 + found.cksize + (found.cksize & 1);
        if (next > limit || !MoveTo(*file, next)) return MMIOERR_CHUNKNOTFOUND;
    }
}

MMRESULT WINAPI mmioAscend(HMMIO handle, LPMMCKINFO chunk, UINT) {
    MmioFile* file = Find(handle);
    if (file == nullptr) return MMSYSERR_INVALHANDLE;
    if (chunk == nullptr) return MMSYSERR_INVALPARAM;
    int64_t end = static_cast<int64_t>(chunk->dwDataOffset) + chunk->cksize + (chunk->cksize & 1);
    if (!MoveTo(*file, end)) return MMIOERR_CANNOTSEEK;
    return MMSYSERR_NOERROR;
}
