// WAVE files of any content through the game's reader and our mmio functions: opened, then
// read out in uneven pieces. An opened file has a format and never more sample bytes than the
// file holds.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "sound/wave_file_reader.h"

namespace {

void Require(bool condition) {
    if (!condition) std::abort();
}

char scratch[] = "/tmp/parrun-fuzz-wave-XXXXXX";

void Leave() {
    std::remove("fuzz.wav");
    Require(chdir("/") == 0);
    rmdir(scratch);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    Require(mkdtemp(scratch) != nullptr);
    Require(chdir(scratch) == 0);
    std::atexit(Leave);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::FILE* file = std::fopen("fuzz.wav", "wb");
    Require(file != nullptr);
    Require(std::fwrite(data, 1, size, file) == size);
    Require(std::fclose(file) == 0);

    static WaveFileReader reader;
    if (reader.Open("fuzz.wav") != S_OK) {
        Require(reader.Format() == nullptr);
        return 0;
    }
    const WAVEFORMATEX* format = reader.Format();
    Require(format != nullptr);
    Require(format->wFormatTag != WAVE_FORMAT_PCM || format->cbSize == 0);
    DWORD total = reader.DataSize();
    Require(total <= size);
    std::vector<BYTE> samples(total + 1);
    DWORD done = 0;
    DWORD piece = 1 + (size > 20 ? data[20] : 7) * 37u;
    while (true) {
        DWORD copied = 0;
        HRESULT result = reader.Read(piece, samples.data() + done, &copied);
        Require(copied <= piece && done + copied <= total);
        done += copied;
        if (result != S_OK || copied == 0) break;
    }
    Require(done == total);
    return 0;
}
