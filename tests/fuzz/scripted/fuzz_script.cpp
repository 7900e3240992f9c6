// Any bytes as a scenario script: the reader either accepts them or names a line, never more.
#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/scripted/script.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    platform::Script script;
    std::string error;
    if (!platform::ParseScript(std::string(reinterpret_cast<const char*>(data), size), script,
                               error)) {
        if (error.rfind("line ", 0) != 0) __builtin_trap();
    }
    return 0;
}
