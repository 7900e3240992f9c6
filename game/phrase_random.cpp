#include "game/phrase_random.h"

int32_t PhraseRandom::Next() {
    state_ += 0x9E3779B9u;
    uint32_t z = state_;
    z = (z ^ (z >> 16)) * 0x85EBCA6Bu;
    z = (z ^ (z >> 13)) * 0xC2B2AE35u;
    z ^= z >> 16;
    return static_cast<int32_t>(z >> 1);
}
