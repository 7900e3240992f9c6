// The five best scores and the five best typing speeds, kept between runs in "a.dat": the scores
// as little-endian signed 32-bit integers, then the speeds as little-endian IEEE-754 singles,
// 40 bytes with no header. Speeds are stored bit for bit.
#pragma once

#include <cstddef>
#include <cstdint>

constexpr int kRankingCount = 5;
constexpr size_t kRankingsFileSize = 40;

struct Rankings {
    int32_t scores[kRankingCount];  // best first
    float speeds[kRankingCount];    // correct keystrokes per second, best first
};

// Fills all ten values from the file's bytes; a value the bytes don't hold in full is 0.
void DecodeRankings(const uint8_t* bytes, size_t size, Rankings& rankings);
void EncodeRankings(const Rankings& rankings, uint8_t (&bytes)[kRankingsFileSize]);

// True after filling both tables from "a.dat"; false, leaving them as they were, when the file
// can't be read.
bool LoadRankings(Rankings& rankings);
// True when "a.dat" now holds exactly the 40 bytes; false (the old file kept) otherwise.
bool SaveRankings(const Rankings& rankings);
