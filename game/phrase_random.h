// The game's own pseudo-random numbers for choosing phrases. The C library's rand differs
// between platforms; this one gives the same numbers from the same seed everywhere, so a game
// started at the same clock value shows the same phrases on Windows, on Linux and on every host.
//
// It is SplitMix32: the state moves by 0x9E3779B9 at every draw, and the new state is mixed
// into the result:
//   z = state += 0x9E3779B9
//   z = (z ^ (z >> 16)) * 0x85EBCA6B
//   z = (z ^ (z >> 13)) * 0xC2B2AE35
//   z =  z ^ (z >> 16)
//   result = z >> 1        (0 to 0x7FFFFFFF)
// all in unsigned 32-bit arithmetic. Seeding sets the state to the seed. docs/play-rules.md
// lists reference values.
#pragma once

#include <cstdint>

class PhraseRandom {
public:
    void Seed(uint32_t seed) { state_ = seed; }
    // The next number, never negative.
    int32_t Next();

private:
    uint32_t state_ = 0;
};
