// parrun-wine-probe: lists the visible top-level windows of the Wine desktop, one line each,
// with their children (a message box's text and buttons), for the Wine test to check and click:
//   window "TITLE" class=CLASS rect=L,T,R,B client=W,H close=X,Y
//   child id=ID class=CLASS text="TEXT" centre=X,Y
// Texts are written in UTF-8; coordinates are the desktop's.
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

std::string Utf8(const wchar_t* text) {
    int size = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    std::string out(size > 0 ? size - 1 : 0, '\0');
    if (size > 1) WideCharToMultiByte(CP_UTF8, 0, text, -1, out.data(), size, nullptr, nullptr);
    return out;
}

std::string WindowText(HWND window) {
    wchar_t text[512] = {};
    GetWindowTextW(window, text, 512);
    return Utf8(text);
}

std::string ClassName(HWND window) {
    wchar_t name[256] = {};
    GetClassNameW(window, name, 256);
    return Utf8(name);
}

BOOL CALLBACK PrintChild(HWND child, LPARAM) {
    RECT rect;
    GetWindowRect(child, &rect);
    std::printf("  child id=%d class=%s text=\"%s\" centre=%ld,%ld\n", GetDlgCtrlID(child),
                ClassName(child).c_str(), WindowText(child).c_str(), (rect.left + rect.right) / 2,
                (rect.top + rect.bottom) / 2);
    return TRUE;
}

BOOL CALLBACK PrintWindow(HWND window, LPARAM) {
    if (!IsWindowVisible(window)) return TRUE;
    RECT rect;
    RECT client;
    GetWindowRect(window, &rect);
    GetClientRect(window, &client);
    // The close box sits at the right end of the caption, inside the frame.
    LONG frameX = GetSystemMetrics(SM_CXDLGFRAME);
    LONG frameY = GetSystemMetrics(SM_CYDLGFRAME);
    LONG closeX = rect.right - frameX - GetSystemMetrics(SM_CXSIZE) / 2 - 2;
    LONG closeY = rect.top + frameY + GetSystemMetrics(SM_CYCAPTION) / 2;
    std::printf("window \"%s\" class=%s rect=%ld,%ld,%ld,%ld client=%ld,%ld close=%ld,%ld\n",
                WindowText(window).c_str(), ClassName(window).c_str(), rect.left, rect.top,
                rect.right, rect.bottom, client.right - client.left, client.bottom - client.top,
                closeX, closeY);
    EnumChildWindows(window, PrintChild, 0);
    return TRUE;
}

}  // namespace

int wmain() {
    EnumWindows(PrintWindow, 0);
    std::fflush(stdout);
    return 0;
}
