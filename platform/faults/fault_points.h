// Named places where the layer can be told to fail, so that tests reach the game's failure
// paths: "fail CreateSurface after 2" lets two calls succeed and every later one fail.
#pragma once

#include <string>
#include <vector>

namespace platform {

// The names a test may arm, one per platform call that can be made to fail.
const std::vector<std::string>& FaultPointNames();
// Arms a fault: the first `succeedFirst` calls pass, every later one fails. False for an
// unknown name.
bool ArmFault(const std::string& point, int succeedFirst);
// Counts one call at the point; true when that call must fail.
bool FaultFires(const char* point);
// Disarms every fault.
void ResetFaults();

}  // namespace platform
