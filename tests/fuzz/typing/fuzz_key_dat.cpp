// "key.dat" of any content and length: loaded from a real file, saved and read back.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "tests/fuzz/typing/fuzz_files.h"
#include "typing/romaji_preferences.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    EnterScratchFolder();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    WriteWholeFile("key.dat", data, size);
    RomajiPreferences loaded;
    std::memset(&loaded, 0xA5, sizeof loaded);
    Require(LoadRomajiPreferences(loaded));
    for (int i = 0; i < kSpellingRuleCount; ++i) {
        size_t offset = static_cast<size_t>(i) * 4;
        int32_t expected = 0;
        if (offset + 4 <= size) {
            expected =
                static_cast<int32_t>(data[offset] | data[offset + 1] << 8 | data[offset + 2] << 16 |
                                     static_cast<uint32_t>(data[offset + 3]) << 24);
        }
        Require(loaded.values[i] == expected);
    }

    Require(SaveRomajiPreferences(loaded));
    std::string saved = ReadWholeFile("key.dat");
    Require(saved.size() == kRomajiPreferencesFileSize);
    size_t whole = size < kRomajiPreferencesFileSize ? size / 4 * 4 : kRomajiPreferencesFileSize;
    Require(std::memcmp(saved.data(), data, whole) == 0);
    for (size_t i = whole; i < saved.size(); ++i) {
        Require(saved[i] == 0);
    }
    return 0;
}
