// The messages our layer sends a window, in Windows' order: creation, showing, activation and
// deactivation, a message box, destruction; and the screen's size in an exclusive mode.
#include <ddraw.h>
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/com/com_classes.h"
#include "platform/core/host_events.h"
#include "platform/core/window_state.h"
#include "platform/ddraw/ddraw_objects.h"
#include "platform/scripted/script.h"
#include "platform/scripted/scripted_host.h"

namespace {

std::vector<std::string> received;

LRESULT CALLBACK RecordingProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto create = [lParam] {
        auto* params = reinterpret_cast<CREATESTRUCTA*>(lParam);
        return std::string(params != nullptr ? params->lpszName : "without CREATESTRUCT");
    };
    switch (message) {
        case WM_NCCREATE:
            received.push_back("WM_NCCREATE " + create());
            break;
        case WM_CREATE:
            received.push_back("WM_CREATE " + create());
            break;
        case WM_SIZE:
            received.push_back("WM_SIZE " + std::to_string(LOWORD(lParam)) + "x" +
                               std::to_string(HIWORD(lParam)));
            break;
        case WM_MOVE:
            received.push_back("WM_MOVE " + std::to_string(LOWORD(lParam)) + "," +
                               std::to_string(HIWORD(lParam)));
            break;
        case WM_SHOWWINDOW:
            received.push_back("WM_SHOWWINDOW");
            break;
        case WM_ACTIVATEAPP:
            received.push_back("WM_ACTIVATEAPP " + std::to_string(wParam));
            break;
        case WM_ACTIVATE:
            received.push_back("WM_ACTIVATE " + std::to_string(LOWORD(wParam)));
            break;
        case WM_DESTROY:
            received.push_back("WM_DESTROY is-window " + std::to_string(IsWindow(window)));
            break;
        case WM_NCDESTROY:
            received.push_back("WM_NCDESTROY");
            break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

class WindowMessages : public ::testing::Test {
public:
    void SetUp() override {
        platform::ResetWindowState();
        platform::ResetDirectDrawState();
        platform::ResetCom();
        host = std::make_unique<platform::ScriptedHost>(platform::Script{}, nullptr);
        platform::SetHost(host.get());
        WNDCLASSA windowClass = {};
        windowClass.lpfnWndProc = RecordingProcedure;
        windowClass.lpszClassName = "messages";
        RegisterClassA(&windowClass);
        received.clear();
    }
    void TearDown() override {
        platform::SetHost(nullptr);
        platform::ResetDirectDrawState();
        platform::ResetWindowState();
        platform::ResetCom();
    }
    HWND Create() {
        return CreateWindowExA(0, "messages", "Parrun", WS_POPUP | WS_CAPTION | WS_SYSMENU, 0, 0,
                               486, 349, nullptr, nullptr, nullptr, nullptr);
    }
    // The window created and shown as the game does it, with the messages so far forgotten.
    HWND Shown() {
        HWND window = Create();
        SetWindowPos(window, nullptr, 10, 20, 486, 349, SWP_NOZORDER | SWP_SHOWWINDOW);
        received.clear();
        return window;
    }
    std::unique_ptr<platform::ScriptedHost> host;
};

TEST_F(WindowMessages, ComeInWindowsOrder) {
    struct Case {
        const char* name;
        std::function<void(WindowMessages&)> action;
        std::vector<std::string> expected;
    };
    const std::vector<Case> cases = {
        {"creation",
         [](WindowMessages& t) { t.Create(); },
         {"WM_NCCREATE Parrun", "WM_CREATE Parrun", "WM_SIZE 480x320", "WM_MOVE 3,26"}},
        {"shown by SetWindowPos",
         [](WindowMessages& t) {
             HWND window = t.Create();
             received.clear();
             SetWindowPos(window, nullptr, 10, 20, 486, 349, SWP_NOZORDER | SWP_SHOWWINDOW);
         },
         {"WM_ACTIVATEAPP 1", "WM_ACTIVATE 1", "WM_MOVE 13,46"}},
        {"deactivated and activated again",
         [](WindowMessages& t) {
             t.Shown();
             platform::HostActivated(false);
             platform::HostActivated(true);
         },
         {"WM_ACTIVATE 0", "WM_ACTIVATEAPP 0", "WM_ACTIVATEAPP 1", "WM_ACTIVATE 1"}},
        {"a message box",
         [](WindowMessages& t) { MessageBoxA(t.Shown(), "text", "box", MB_OK); },
         {"WM_ACTIVATE 0", "WM_ACTIVATE 1"}},
        {"destroyed while active",
         [](WindowMessages& t) { DestroyWindow(t.Shown()); },
         {"WM_ACTIVATE 0", "WM_ACTIVATEAPP 0", "WM_DESTROY is-window 1", "WM_NCDESTROY"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TearDown();
        SetUp();
        c.action(*this);
        EXPECT_EQ(received, c.expected);
    }
}

TEST_F(WindowMessages, ScreenTakesTheSizeOfAnExclusiveMode) {
    HWND window = Shown();
    IDirectDraw7* dd = nullptr;
    CoInitialize(nullptr);
    ASSERT_EQ(CoCreateInstance(CLSID_DirectDraw, nullptr, CLSCTX_ALL, IID_IDirectDraw7,
                               reinterpret_cast<void**>(&dd)),
              S_OK);
    ASSERT_EQ(dd->Initialize(nullptr), DD_OK);
    ASSERT_EQ(dd->SetCooperativeLevel(window, DDSCL_FULLSCREEN | DDSCL_EXCLUSIVE), DD_OK);
    ASSERT_EQ(dd->SetDisplayMode(640, 480, 8, 0, 0), DD_OK);
    RECT desktop = {};
    GetWindowRect(GetDesktopWindow(), &desktop);
    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 640);
    EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), 480);
    EXPECT_EQ(desktop.right, 640);
    // Another program takes the focus: the desktop's own mode shows again.
    platform::HostActivated(false);
    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 1024);
    platform::HostActivated(true);
    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 640);
    dd->RestoreDisplayMode();
    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 1024);
    EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), 768);
    dd->Release();
}

}  // namespace
