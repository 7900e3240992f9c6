// A modal message box drawn by the layer itself over the program's frozen picture, for hosts
// that have no message box of their own that can show Japanese: a caption bar, the text
// wrapped as Windows wraps it, and the buttons a Japanese Windows gives (はい(Y) and いいえ(N),
// or OK), all in the game's own face and in the game's own pixels, so the host scales it
// exactly like the picture. The host runs the modal loop: it hands the box its keys and mouse
// clicks, draws it over the picture after each, and stops when one gives an answer.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/core/host.h"

namespace platform {

struct BoxRect {
    int left = 0, top = 0, width = 0, height = 0;
    bool Contains(int x, int y) const {
        return x >= left && y >= top && x < left + width && y < top + height;
    }
};

// The lines of `text` for a box whose text may be `maxWidth` wide, `width` giving each
// character's advance: a line feed always breaks; otherwise a line breaks after a space, or
// between two characters where either is a Japanese one, but never before closing punctuation
// or after an opening bracket; a word longer than a line breaks where it must. Spaces at a
// break are dropped.
std::vector<std::u32string> WrapMessageText(const std::u32string& text, int maxWidth,
                                            const std::function<int(char32_t)>& width);

class DrawnMessageBox {
public:
    // A box over a picture of `pictureWidth` x `pictureHeight`; `yesNo` asks a question with
    // はい and いいえ, otherwise it has OK alone. `defaultButton` (0 or 1) has the focus first.
    DrawnMessageBox(const std::string& textUtf8, const std::string& captionUtf8, bool yesNo,
                    int defaultButton, int pictureWidth, int pictureHeight);

    // Draws the box over the picture (0x00RRGGBB, row by row, of the size given above).
    void Draw(uint32_t* picture) const;

    // A key (a virtual key) went down or up; the answer when it pressed a button. As on
    // Windows: ← → ↑ ↓ and Tab move the focus, Enter presses the button in focus, Space does
    // when it comes up again, Y and N press their buttons, and Escape answers only a box with
    // OK alone (a question has no way out but its answers).
    std::optional<MessageBoxAnswer> Key(int virtualKey, bool down, bool shift);
    // The left mouse button went down or up at a point of the picture: a button pressed and
    // let go over it answers, and so does the caption's close box where Escape would.
    std::optional<MessageBoxAnswer> Mouse(int x, int y, bool down);
    // The window system asks to close the box (Alt+F4): as Escape.
    std::optional<MessageBoxAnswer> Close() { return Key(kEscape, true, false); }

    int Focus() const { return focus_; }
    const BoxRect& Bounds() const { return bounds_; }
    const std::vector<std::u32string>& Lines() const { return lines_; }
    BoxRect ButtonRect(int button) const;
    BoxRect CloseBoxRect() const;

private:
    static constexpr int kEscape = 0x1B;

    int ButtonCount() const { return yesNo_ ? 2 : 1; }
    MessageBoxAnswer AnswerOf(int button) const;
    void MoveFocus(int step);

    bool yesNo_;
    int focus_ = 0;
    int pressedByMouse_ = -1;    // the button held down under the mouse, or -1
    bool closePressed_ = false;  // the mouse went down on the close box
    bool spaceDown_ = false;     // Space went down over the button in focus
    int pictureWidth_;
    int pictureHeight_;
    std::u32string caption_;
    std::vector<std::u32string> lines_;
    BoxRect bounds_;
    int textWidth_ = 0;
};

}  // namespace platform
