// CoInitialize, CoCreateInstance and CoUninitialize over the table of our layer's classes.
#include <objbase.h>

#include "platform/com/com_classes.h"
#include "platform/faults/fault_points.h"

namespace platform {

namespace {
int initializeCount = 0;
}

void ResetCom() {
    initializeCount = 0;
}

int ComInitializeCount() {
    return initializeCount;
}

}  // namespace platform

// {00000000-0000-0000-C000-000000000046}
const IID IID_IUnknown = {0x00000000, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};

HRESULT WINAPI CoInitialize(LPVOID reserved) {
    if (reserved != nullptr) return E_INVALIDARG;
    // A second initialisation on the same thread succeeds with S_FALSE and must be balanced too.
    return platform::initializeCount++ == 0 ? S_OK : S_FALSE;
}

void WINAPI CoUninitialize(void) {
    if (platform::initializeCount > 0) --platform::initializeCount;
}

HRESULT WINAPI CoCreateInstance(REFCLSID classId, LPUNKNOWN outer, DWORD context, REFIID iid,
                                LPVOID* object) {
    if (object == nullptr) return E_POINTER;
    *object = nullptr;
    if (platform::initializeCount == 0) return CO_E_NOTINITIALIZED;
    if (outer != nullptr) return CLASS_E_NOAGGREGATION;
    if ((context & CLSCTX_INPROC_SERVER) == 0) return REGDB_E_CLASSNOTREG;
    platform::ComClassFactory factory = platform::FindComClass(classId);
    if (factory == nullptr || platform::FaultFires("CoCreateInstance")) return REGDB_E_CLASSNOTREG;
    return factory(iid, object);
}
