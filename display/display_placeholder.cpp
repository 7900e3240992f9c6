// Stands in for the display until the device and images are built: starts and releases
// nothing.
#include "display/display_device.h"
#include "display/image_assets.h"

int StartDisplay(HWND window) {
    return 1;
}
void TrackClientRect(HWND window) {}
void ReleaseDisplay() {}
