// Reads RIFF WAVE files with the multimedia file functions: the format, then the sample data
// from its start. One reader is used for the nine effects in turn and keeps the last file open.
#pragma once

#include <windows.h>

#include <mmsystem.h>
#include <objbase.h>

#include <memory>

class WaveFileReader {
public:
    WaveFileReader() = default;
    WaveFileReader(const WaveFileReader&) = delete;
    WaveFileReader& operator=(const WaveFileReader&) = delete;
    ~WaveFileReader();

    // Opens a file and leaves it at the first sample byte with the format known. S_OK, or
    // E_FAIL for a file that is missing, not RIFF WAVE, or lacks its "fmt " or "data" chunk;
    // then nothing is left open and there is no format.
    HRESULT Open(const char* fileName);
    // Copies up to `count` sample bytes to `destination`, no more than DataSize; `copied` tells
    // how many. E_FAIL when the file ends early (the bytes so far stay copied).
    HRESULT Read(DWORD count, BYTE* destination, DWORD* copied);

    // The open file's format: 18 bytes, plus the extra bytes of a format other than PCM.
    const WAVEFORMATEX* Format() const {
        return reinterpret_cast<const WAVEFORMATEX*>(format_.get());
    }
    // The sample bytes still to be read: those the data chunk holds, made up with silence to
    // the smallest sound buffer's DSBSIZE_MIN bytes when it holds fewer.
    DWORD DataSize() const { return data_.cksize + padding_; }

private:
    HRESULT ReadFormat();
    HRESULT FindData();
    void Close();

    std::unique_ptr<BYTE[]> format_;
    HMMIO file_ = nullptr;
    MMCKINFO data_ = {};
    MMCKINFO riff_ = {};
    DWORD padding_ = 0;  // silent bytes to give after the data chunk's
};
