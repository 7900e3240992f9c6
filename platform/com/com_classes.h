// The classes that CoCreateInstance can make in our layer, each with the function that makes
// one and hands out the asked-for interface.
#pragma once

#include <objbase.h>

namespace platform {

using ComClassFactory = HRESULT (*)(REFIID iid, void** object);

// The factory for a class identifier, or null when the class is not registered.
ComClassFactory FindComClass(REFCLSID classId);

// Puts COM back to its starting state (not initialised), for tests.
void ResetCom();
// How many times CoInitialize succeeded without a matching CoUninitialize.
int ComInitializeCount();

}  // namespace platform
