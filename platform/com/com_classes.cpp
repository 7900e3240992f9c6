#include "platform/com/com_classes.h"

#include <ddraw.h>
#include <dmusici.h>

namespace platform {

HRESULT CreateDirectDrawInstance(REFIID iid, void** object);
HRESULT CreateDirectMusicPerformance(REFIID iid, void** object);
HRESULT CreateDirectMusicLoader(REFIID iid, void** object);

namespace {

struct ComClass {
    const CLSID* classId;
    ComClassFactory factory;
};

const ComClass kClasses[] = {
    {&CLSID_DirectDraw, CreateDirectDrawInstance},
    {&CLSID_DirectMusicPerformance, CreateDirectMusicPerformance},
    {&CLSID_DirectMusicLoader, CreateDirectMusicLoader},
};

}  // namespace

ComClassFactory FindComClass(REFCLSID classId) {
    for (const auto& entry : kClasses) {
        if (*entry.classId == classId) return entry.factory;
    }
    return nullptr;
}

}  // namespace platform
