// On Windows the conformance program is a console program, so that its facts reach standard
// output; it starts the same WinMain as on our layer.
#include <windows.h>

int main() {
    return WinMain(GetModuleHandleA(nullptr), nullptr, GetCommandLineA(), SW_SHOWNORMAL);
}
