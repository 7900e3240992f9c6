#include "typing/rankings.h"

#include <cstring>
#include <string>

#include "typing/file_io.h"
#include "typing/little_endian.h"

namespace {

constexpr const char* kFileName = "a.dat";
constexpr size_t kSpeedsOffset = kRankingCount * 4;

uint32_t WordAt(const uint8_t* bytes, size_t size, size_t offset) {
    return offset + 4 <= size ? LoadLittleEndian32(bytes + offset) : 0;
}

}  // namespace

void DecodeRankings(const uint8_t* bytes, size_t size, Rankings& rankings) {
    for (int i = 0; i < kRankingCount; ++i) {
        size_t offset = static_cast<size_t>(i) * 4;
        rankings.scores[i] = static_cast<int32_t>(WordAt(bytes, size, offset));
        // Copied as bits, so that no value (a NaN with a payload included) is altered.
        uint32_t bits = WordAt(bytes, size, kSpeedsOffset + offset);
        std::memcpy(&rankings.speeds[i], &bits, sizeof bits);
    }
}

void EncodeRankings(const Rankings& rankings, uint8_t (&bytes)[kRankingsFileSize]) {
    for (int i = 0; i < kRankingCount; ++i) {
        StoreLittleEndian32(bytes + i * 4, static_cast<uint32_t>(rankings.scores[i]));
        uint32_t bits;
        std::memcpy(&bits, &rankings.speeds[i], sizeof bits);
        StoreLittleEndian32(bytes + kSpeedsOffset + i * 4, bits);
    }
}

bool LoadRankings(Rankings& rankings) {
    std::string bytes;
    if (!ReadFileBytes(kFileName, bytes, kRankingsFileSize)) {
        return false;
    }
    DecodeRankings(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), rankings);
    return true;
}

bool SaveRankings(const Rankings& rankings) {
    uint8_t bytes[kRankingsFileSize];
    EncodeRankings(rankings, bytes);
    return ReplaceFileBytes(kFileName, bytes, sizeof bytes);
}
