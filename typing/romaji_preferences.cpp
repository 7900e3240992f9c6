#include "typing/romaji_preferences.h"

#include <string>

#include "typing/file_io.h"
#include "typing/little_endian.h"

namespace {
constexpr const char* kFileName = "key.dat";
}

void DecodeRomajiPreferences(const uint8_t* bytes, size_t size, RomajiPreferences& preferences) {
    for (int i = 0; i < kSpellingRuleCount; ++i) {
        size_t offset = static_cast<size_t>(i) * 4;
        preferences.values[i] =
            offset + 4 <= size ? static_cast<int32_t>(LoadLittleEndian32(bytes + offset)) : 0;
    }
}

void EncodeRomajiPreferences(const RomajiPreferences& preferences,
                             uint8_t (&bytes)[kRomajiPreferencesFileSize]) {
    for (int i = 0; i < kSpellingRuleCount; ++i) {
        StoreLittleEndian32(bytes + i * 4, static_cast<uint32_t>(preferences.values[i]));
    }
}

bool LoadRomajiPreferences(RomajiPreferences& preferences) {
    std::string bytes;
    if (!ReadFileBytes(kFileName, bytes, kRomajiPreferencesFileSize)) {
        return false;
    }
    DecodeRomajiPreferences(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(),
                            preferences);
    return true;
}

bool SaveRomajiPreferences(const RomajiPreferences& preferences) {
    uint8_t bytes[kRomajiPreferencesFileSize];
    EncodeRomajiPreferences(preferences, bytes);
    return ReplaceFileBytes(kFileName, bytes, sizeof bytes);
}
