// The palette resource of any content: the program's palette is built from it, or the start
// stops with a message, and nothing is read beyond it.
#include <ddraw.h>
#include <windows.h>

#include <cstdint>
#include <cstdlib>
#include <vector>

#include "display/display_device.h"
#include "display/display_state.h"
#include "display/image_assets.h"
#include "platform/core/host.h"
#include "platform/ddraw/ddraw_objects.h"
#include "platform/resources/resources.h"
#include "platform/scripted/scripted_host.h"

namespace {

// A host that answers message boxes without keeping a log that grows for ever.
class QuietHost : public platform::ScriptedHost {
public:
    QuietHost() : ScriptedHost(platform::Script{}, nullptr) {}
    platform::MessageBoxAnswer ShowMessageBox(const std::string&, const std::string&, bool,
                                              int) override {
        ++messages;
        return platform::MessageBoxAnswer::Ok;
    }
    int messages = 0;
};

QuietHost* host = nullptr;
long runs = 0;
HWND window = nullptr;

LRESULT CALLBACK Procedure(HWND w, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcA(w, message, wParam, lParam);
}

void Require(bool condition) {
    if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    host = new QuietHost;
    platform::SetHost(host);
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = Procedure;
    windowClass.lpszClassName = "fuzz";
    RegisterClassA(&windowClass);
    window = CreateWindowExA(0, "fuzz", "", WS_POPUP | WS_CAPTION | WS_SYSMENU, 0, 0, 486, 349,
                             nullptr, nullptr, nullptr, nullptr);
    // The device alone; the palette comes from each input.
    Require(CreateDisplayDevice(window) == 1);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // The resource holds exactly these bytes, in memory of their own.
    platform::ReplaceResource(RT_BITMAP, "MYPALLET", std::vector<uint8_t>(data, data + size));
    int before = host->messages;
    int loaded = LoadPalette("MYPALLET", window);
    Require(loaded == 1 ? host->messages == before : host->messages == before + 1);
    if (loaded == 1) {
        Require(display.palette != nullptr);
        PALETTEENTRY entries[256];
        Require(SUCCEEDED(display.palette->GetEntries(0, 0, 256, entries)));
        display.primary->SetPalette(nullptr);
        display.palette->Release();
        display.palette = nullptr;
    }
    platform::ResetResourceOverrides();
    // Released objects are kept as husks to catch misuse; start afresh now and then so that
    // they don't pile up over millions of runs.
    if (++runs % 4096 == 0) {
        ReleaseDisplay();
        platform::ResetDirectDrawState();
        ResetDisplayState();
        Require(CreateDisplayDevice(window) == 1);
    }
    return 0;
}
