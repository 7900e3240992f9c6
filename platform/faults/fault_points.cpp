#include "platform/faults/fault_points.h"

#include <map>

namespace platform {

namespace {

struct ArmedFault {
    int succeedFirst = 0;
    int calls = 0;
};

std::map<std::string, ArmedFault>& Armed() {
    static std::map<std::string, ArmedFault> armed;
    return armed;
}

}  // namespace

const std::vector<std::string>& FaultPointNames() {
    static const std::vector<std::string> names = {
        "CoCreateInstance",
        "SetCooperativeLevel",
        "SetDisplayMode",
        "CreateSurface",
        "CreatePalette",
        "CreateClipper",
        "GetEntries",
        "GetDC",
        "Lock",
        "LoadImageA",
        "DirectSoundCreate",
        "GetCaps",
        "CreateSoundBuffer",
        "LockSoundBuffer",
        "PerformanceInit",
    };
    return names;
}

bool ArmFault(const std::string& point, int succeedFirst) {
    for (const auto& name : FaultPointNames()) {
        if (name == point) {
            Armed()[point] = ArmedFault{succeedFirst, 0};
            return true;
        }
    }
    return false;
}

bool FaultFires(const char* point) {
    auto& armed = Armed();
    if (armed.empty()) return false;
    auto it = armed.find(point);
    if (it == armed.end()) return false;
    return ++it->second.calls > it->second.succeedFirst;
}

void ResetFaults() {
    Armed().clear();
}

}  // namespace platform
