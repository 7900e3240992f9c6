#include "platform/music/instruments.h"

#include <algorithm>
#include <array>

namespace platform::music {

std::vector<Instrument> InstrumentsOf(const MidiSong& song) {
    std::array<int, 16> bank{};
    std::vector<Instrument> found;
    for (int channel = 0; channel < 16; ++channel) {
        found.push_back({channel == kDrumChannel ? kDrumBank : 0, 0});
    }
    for (const MidiEvent& event : song.events) {
        int channel = event.status & 0x0F;
        if ((event.status & 0xF0) == 0xB0 && event.data1 == 0) bank[channel] = event.data2;
        if ((event.status & 0xF0) == 0xC0) {
            // The drum channel ignores bank selects and plays kits.
            found.push_back({channel == kDrumChannel ? kDrumBank : bank[channel], event.data1});
        }
    }
    std::sort(found.begin(), found.end());
    found.erase(std::unique(found.begin(), found.end()), found.end());
    return found;
}

}  // namespace platform::music
