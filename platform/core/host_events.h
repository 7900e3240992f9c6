// What a host reports from outside, turned by the layer into the window messages that the
// platform would send: keys, the close box, activation, minimising and moving.
#pragma once

namespace platform {

// A key went down or up; posts WM_KEYDOWN or WM_KEYUP to the main window.
void HostKeyEvent(int virtualKey, bool down);
// The close box was clicked; posts WM_CLOSE.
void HostCloseClicked();
// The window gained or lost the focus (WM_ACTIVATEAPP and WM_ACTIVATE).
void HostActivated(bool active);
// The window was minimised or restored (WM_ACTIVATE with the minimised word).
void HostMinimized(bool minimized);
// The user moved the window so that its client area starts at (x, y); posts WM_MOVE.
void HostMoved(int clientX, int clientY);

// True while the game's main window exists, so window happenings have somewhere to go.
bool HostHasMainWindow();

// Hears every happening a host reports, before the layer acts on it (a recording does).
class HostEventTap {
public:
    virtual ~HostEventTap() = default;
    virtual void KeyEvent(int virtualKey, bool down) = 0;
    virtual void CloseClicked() = 0;
    virtual void Activated(bool active) = 0;
    virtual void Minimized(bool minimized) = 0;
    virtual void Moved(int clientX, int clientY) = 0;
};
// At most one at a time; null takes it away.
void SetHostEventTap(HostEventTap* tap);

}  // namespace platform
