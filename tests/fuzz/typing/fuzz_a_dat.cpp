// "a.dat" of any content and length: loaded from a real file, saved and read back bit for bit.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "tests/fuzz/typing/fuzz_files.h"
#include "typing/rankings.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    EnterScratchFolder();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    WriteWholeFile("a.dat", data, size);
    Rankings loaded;
    std::memset(&loaded, 0xA5, sizeof loaded);
    Require(LoadRankings(loaded));

    uint8_t expected[kRankingsFileSize] = {};
    size_t whole = size < kRankingsFileSize ? size / 4 * 4 : kRankingsFileSize;
    std::memcpy(expected, data, whole);
    uint32_t bits[2 * kRankingCount];
    std::memcpy(bits, loaded.scores, sizeof loaded.scores);
    std::memcpy(bits + kRankingCount, loaded.speeds, sizeof loaded.speeds);
    for (int i = 0; i < 2 * kRankingCount; ++i) {
        const uint8_t* word = expected + i * 4;
        Require(bits[i] ==
                (word[0] | word[1] << 8 | word[2] << 16 | static_cast<uint32_t>(word[3]) << 24));
    }

    Require(SaveRankings(loaded));
    std::string saved = ReadWholeFile("a.dat");
    Require(saved.size() == kRankingsFileSize);
    Require(std::memcmp(saved.data(), expected, kRankingsFileSize) == 0);
    return 0;
}
