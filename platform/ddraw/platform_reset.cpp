#include "platform/ddraw/platform_reset.h"

#include "platform/com/com_classes.h"
#include "platform/ddraw/ddraw_objects.h"
#include "platform/faults/fault_points.h"
#include "platform/gdi/gdi_objects.h"
#include "platform/resources/resources.h"

namespace platform {

void ResetDisplayPlatform() {
    ResetDirectDrawState();
    ResetGdiState();
    ResetCom();
    ResetFaults();
    ResetResourceOverrides();
}

}  // namespace platform
