#include "sound/wave_file_reader.h"

#include <dsound.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <new>

namespace {

constexpr FOURCC kRiff = mmioFOURCC('R', 'I', 'F', 'F');
constexpr FOURCC kWave = mmioFOURCC('W', 'A', 'V', 'E');
constexpr FOURCC kFmt = mmioFOURCC('f', 'm', 't', ' ');
constexpr FOURCC kData = mmioFOURCC('d', 'a', 't', 'a');

// The PCMWAVEFORMAT head of a "fmt " chunk, and the whole WAVEFORMATEX with its size field.
constexpr LONG kHeadSize = 16;
constexpr size_t kFormatSize = 18;

}  // namespace

WaveFileReader::~WaveFileReader() {
    Close();
}

void WaveFileReader::Close() {
    format_.reset();
    data_ = {};
    padding_ = 0;
    if (file_ != nullptr) {
        mmioClose(file_, 0);
        file_ = nullptr;
    }
}

HRESULT WaveFileReader::Open(const char* fileName) {
    Close();
    file_ = mmioOpenA(const_cast<LPSTR>(fileName), nullptr, MMIO_ALLOCBUF | MMIO_READ);
    if (file_ == nullptr) return E_FAIL;
    // A file that can't be read to its samples is let go at once, format and all.
    if (ReadFormat() != S_OK || FindData() != S_OK) {
        Close();
        return E_FAIL;
    }
    return S_OK;
}

HRESULT WaveFileReader::FindData() {
    if (mmioSeek(file_, static_cast<LONG>(riff_.dwDataOffset + sizeof(FOURCC)), SEEK_SET) == -1) {
        return E_FAIL;
    }
    data_.ckid = kData;
    if (mmioDescend(file_, &data_, &riff_, MMIO_FINDCHUNK) != 0) return E_FAIL;
    // A size field larger than what the file holds would make a buffer of that size, up to a
    // quarter of a gigabyte of silence; the effect gets the samples that are really there.
    LONG end = mmioSeek(file_, 0, SEEK_END);
    if (end == -1 || mmioSeek(file_, static_cast<LONG>(data_.dwDataOffset), SEEK_SET) == -1) {
        return E_FAIL;
    }
    DWORD present = static_cast<DWORD>(end) > data_.dwDataOffset
                        ? static_cast<DWORD>(end) - data_.dwDataOffset
                        : 0;
    if (data_.cksize > present) data_.cksize = present;
    // No sound buffer is smaller than DSBSIZE_MIN bytes: a file with fewer sample bytes gives
    // what it has, then silence up to that size.
    padding_ = data_.cksize < DSBSIZE_MIN ? DSBSIZE_MIN - data_.cksize : 0;
    return S_OK;
}

HRESULT WaveFileReader::ReadFormat() {
    format_.reset();
    if (mmioDescend(file_, &riff_, nullptr, 0) != 0) return E_FAIL;
    if (riff_.ckid != kRiff || riff_.fccType != kWave) return E_FAIL;
    MMCKINFO chunk = {};
    chunk.ckid = kFmt;
    if (mmioDescend(file_, &chunk, &riff_, MMIO_FINDCHUNK) != 0) return E_FAIL;
    if (chunk.cksize < static_cast<DWORD>(kHeadSize)) return E_FAIL;
    PCMWAVEFORMAT head;
    if (mmioRead(file_, reinterpret_cast<HPSTR>(&head), kHeadSize) != kHeadSize) return E_FAIL;
    WORD extra = 0;
    if (head.wf.wFormatTag != WAVE_FORMAT_PCM) {
        if (mmioRead(file_, reinterpret_cast<HPSTR>(&extra), sizeof(extra)) != sizeof(extra)) {
            return E_FAIL;
        }
        // Extra bytes that the chunk does not hold would be taken from the chunks after it.
        if (kFormatSize + extra > chunk.cksize) return E_FAIL;
    }
    std::unique_ptr<BYTE[]> block(new (std::nothrow) BYTE[kFormatSize + extra]);
    if (!block) return E_FAIL;
    std::memcpy(block.get(), &head, kHeadSize);
    std::memcpy(block.get() + kHeadSize, &extra, sizeof(extra));
    if (extra > 0 &&
        mmioRead(file_, reinterpret_cast<HPSTR>(block.get() + kFormatSize), extra) != extra) {
        return E_FAIL;
    }
    if (mmioAscend(file_, &chunk, 0) != 0) return E_FAIL;
    format_ = std::move(block);
    return S_OK;
}

HRESULT WaveFileReader::Read(DWORD count, BYTE* destination, DWORD* copied) {
    *copied = 0;
    if (file_ == nullptr) return E_FAIL;
    MMIOINFO info;
    if (mmioGetInfo(file_, &info, 0) != 0) return E_FAIL;
    DWORD n = count < data_.cksize ? count : data_.cksize;
    data_.cksize -= n;
    for (DWORD i = 0; i < n; ++i) {
        if (info.pchNext == info.pchEndRead) {
            if (mmioAdvance(file_, &info, MMIO_READ) != 0 || info.pchNext == info.pchEndRead) {
                // Hand back what was read, so the file stays where the copying stopped.
                mmioSetInfo(file_, &info, 0);
                *copied = i;
                return E_FAIL;
            }
        }
        destination[i] = static_cast<BYTE>(*info.pchNext++);
    }
    if (mmioSetInfo(file_, &info, 0) != 0) return E_FAIL;
    // 8-bit samples are unsigned around 128; silence is 0 in every wider format.
    DWORD pad = std::min(count - n, padding_);
    std::memset(destination + n, Format()->wBitsPerSample == 8 ? 0x80 : 0, pad);
    padding_ -= pad;
    *copied = n + pad;
    return S_OK;
}
