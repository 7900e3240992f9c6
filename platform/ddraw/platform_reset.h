// Puts every record behind our DirectDraw, GDI, COM and resource functions back to its start
// (no objects, no overrides, no armed faults), for tests that run the display more than once.
#pragma once

namespace platform {

void ResetDisplayPlatform();

}  // namespace platform
