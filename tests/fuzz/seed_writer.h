// Files that unit tests build and check are good starting points for the fuzz targets: run
// with PARRUN_WRITE_SEEDS set to the repository's tests/fuzz folder, a test writes them into
// the seed corpora (`SaveSeed("display/seeds/fuzz_bmp_file/rle8", bytes)`); otherwise this
// does nothing.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

namespace fuzz_seeds {

inline void SaveSeed(const std::string& path, const std::vector<uint8_t>& bytes) {
    const char* folder = std::getenv("PARRUN_WRITE_SEEDS");
    if (folder == nullptr || *folder == '\0') return;
    std::ofstream(std::string(folder) + "/" + path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
}

}  // namespace fuzz_seeds
