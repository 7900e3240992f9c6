// Any bytes as a recording: the reader either accepts them, and then every entry it read is
// written back as a line it reads again the same, or it names a line, never more.
#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/replay/recording.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    platform::Recording recording;
    std::string error;
    if (!platform::ParseRecording(std::string(reinterpret_cast<const char*>(data), size), recording,
                                  error)) {
        if (error.rfind("line ", 0) != 0) __builtin_trap();
        return 0;
    }
    std::string again = "parrun-recording 1\n";
    for (const auto& entry : recording.entries) again += platform::FormatEntry(entry) + "\n";
    platform::Recording reread;
    if (!platform::ParseRecording(again, reread, error)) __builtin_trap();
    if (reread.entries.size() != recording.entries.size()) __builtin_trap();
    for (size_t i = 0; i < reread.entries.size(); ++i) {
        if (platform::FormatEntry(reread.entries[i]) !=
            platform::FormatEntry(recording.entries[i])) {
            __builtin_trap();
        }
    }
    return 0;
}
