#include "platform/msgbox/message_box.h"

#include <windows.h>

#include <algorithm>
#include <map>

#include "platform/gdi/font_renderer.h"
#include "platform/gdi/pixels.h"

namespace platform {

namespace {

// The box's measures in the picture's pixels, those of a Windows message box at 96 dots an
// inch: 12-pixel text, 75 x 23 buttons six apart, a three-pixel raised frame and an 18-pixel
// caption bar.
constexpr int kTextHeight = 12;
constexpr int kLineHeight = 14;
constexpr int kFrame = 3;
constexpr int kCaptionHeight = 18;
constexpr int kCloseWidth = 16;
constexpr int kCloseHeight = 14;
constexpr int kMargin = 12;         // beside the text and the buttons
constexpr int kTextTop = 14;        // from the caption bar to the text
constexpr int kTextToButtons = 16;  // from the last line to the buttons
constexpr int kBelowButtons = 11;   // from the buttons to the frame
constexpr int kButtonWidth = 75;
constexpr int kButtonHeight = 23;
constexpr int kButtonGap = 6;

// The classic colours of dialogs.
constexpr uint32_t kFace = 0xD4D0C8;
constexpr uint32_t kHighlight = 0xFFFFFF;
constexpr uint32_t kShadow = 0x808080;
constexpr uint32_t kDarkShadow = 0x000000;
constexpr uint32_t kText = 0x000000;
constexpr uint32_t kCaptionText = 0xFFFFFF;
constexpr uint32_t kCaptionLeft = 0x0A246A;
constexpr uint32_t kCaptionRight = 0xA6CAF0;
constexpr uint32_t kGreyText = 0x808080;

// "はい(Y)", "いいえ(N)" and "OK".
const std::u32string kYesLabel = U"\u306f\u3044(Y)";
const std::u32string kNoLabel = U"\u3044\u3044\u3048(N)";
const std::u32string kOkLabel = U"OK";

bool IsSpace(char32_t c) {
    return c == U' ' || c == U'\t';
}

// Punctuation that may not begin a line, and brackets that may not end one.
bool IsClosing(char32_t c) {
    static const std::u32string kClosing =
        U",.:;?!)]}\uff61\uff63\uff64\uff9e\uff9f"
        U"\u3001\u3002\uff0c\uff0e\u30fb\uff1a\uff1b\uff1f\uff01\u309b\u309c\u30fd\u30fe"
        U"\u309d\u309e\u3005\u30fc\uff09\uff3d\uff5d\u300d\u300f\u3011\u3015\u3009\u300b"
        U"\u3019\u3017\u2019\u201d\u301f\u2026\u2025";
    return kClosing.find(c) != std::u32string::npos;
}

bool IsOpening(char32_t c) {
    static const std::u32string kOpening =
        U"([{\uff62\uff08\uff3b\uff5b\u300c\u300e\u3010\u3014\u3008\u300a\u3018\u3016"
        U"\u2018\u201c\u301d";
    return kOpening.find(c) != std::u32string::npos;
}

// Japanese text, which breaks between any two characters; half-width katakana are single
// bytes in the code page and keep together like Latin letters.
bool IsWide(char32_t c) {
    return c >= 0x2E80 && !(c >= 0xFF61 && c <= 0xFF9F);
}

bool CanBreakBetween(char32_t before, char32_t after) {
    if (IsSpace(before)) return !IsSpace(after);
    if (IsClosing(after) || IsOpening(before)) return false;
    return IsWide(before) || IsWide(after);
}

std::u32string TrimmedRight(const std::u32string& line) {
    size_t end = line.size();
    while (end > 0 && IsSpace(line[end - 1])) --end;
    return line.substr(0, end);
}

void WrapParagraph(const std::u32string& text, int maxWidth,
                   const std::function<int(char32_t)>& width, std::vector<std::u32string>& lines) {
    size_t start = 0;
    do {
        int lineWidth = 0;
        size_t lastBreak = std::u32string::npos;
        size_t i = start;
        for (; i < text.size(); ++i) {
            if (i > start && CanBreakBetween(text[i - 1], text[i])) lastBreak = i;
            int next = lineWidth + width(text[i]);
            // Spaces may run past the edge: they vanish at the break.
            if (next > maxWidth && !IsSpace(text[i]) && i > start) break;
            lineWidth = next;
        }
        size_t end = i;
        if (i < text.size() && lastBreak != std::u32string::npos) end = lastBreak;
        lines.push_back(TrimmedRight(text.substr(start, end - start)));
        start = end;
        while (start < text.size() && IsSpace(text[start])) ++start;
    } while (start < text.size());
}

int WidthOf(const std::u32string& text, const std::function<int(char32_t)>& width) {
    int total = 0;
    for (char32_t c : text) total += width(c);
    return total;
}

// The advance of a character in the box's face, which draws nothing into an empty view.
int FaceAdvance(char32_t c, bool bold) {
    static std::map<std::pair<char32_t, bool>, int> known;
    auto found = known.find({c, bold});
    if (found != known.end()) return found->second;
    PixelView nowhere;
    nowhere.format = Xrgb8888Format();
    TextStyle style;
    style.cellHeight = kTextHeight;
    style.bold = bold;
    int advance = DrawTextRun(nowhere, 0, 0, std::u32string(1, c), style, 0, nullptr);
    known[{c, bold}] = advance;
    return advance;
}

int TextWidth(const std::u32string& text, bool bold = false) {
    return WidthOf(text, [bold](char32_t c) { return FaceAdvance(c, bold); });
}

// Drawing into the picture, clipped to it.
class Canvas {
public:
    Canvas(uint32_t* pixels, int width, int height)
        : pixels_(pixels), width_(width), height_(height) {}

    void Fill(int left, int top, int width, int height, uint32_t colour) const {
        for (int y = std::max(top, 0); y < std::min(top + height, height_); ++y) {
            for (int x = std::max(left, 0); x < std::min(left + width, width_); ++x) {
                pixels_[static_cast<size_t>(y) * width_ + x] = colour;
            }
        }
    }
    void Dot(int x, int y, uint32_t colour) const { Fill(x, y, 1, 1, colour); }
    // A one-pixel edge: `topLeft` along the top and left, `bottomRight` along the others.
    void Edge(const BoxRect& r, uint32_t topLeft, uint32_t bottomRight) const {
        Fill(r.left, r.top, r.width - 1, 1, topLeft);
        Fill(r.left, r.top, 1, r.height - 1, topLeft);
        Fill(r.left, r.top + r.height - 1, r.width, 1, bottomRight);
        Fill(r.left + r.width - 1, r.top, 1, r.height, bottomRight);
    }
    // The focus mark: a rectangle of every other pixel.
    void DottedFrame(const BoxRect& r, uint32_t colour) const {
        for (int x = r.left; x < r.left + r.width; x += 2) {
            Dot(x, r.top, colour);
            Dot(x, r.top + r.height - 1, colour);
        }
        for (int y = r.top; y < r.top + r.height; y += 2) {
            Dot(r.left, y, colour);
            Dot(r.left + r.width - 1, y, colour);
        }
    }
    void Text(int x, int y, const std::u32string& text, uint32_t colour, bool bold = false) const {
        PixelView view{reinterpret_cast<uint8_t*>(pixels_),
                       width_,
                       height_,
                       width_ * 4,
                       Xrgb8888Format(),
                       nullptr};
        TextStyle style;
        style.cellHeight = kTextHeight;
        style.bold = bold;
        DrawTextRun(view, x, y, text, style, colour, nullptr);
    }

private:
    uint32_t* pixels_;
    int width_;
    int height_;
};

BoxRect Inset(const BoxRect& r, int by) {
    return {r.left + by, r.top + by, r.width - 2 * by, r.height - 2 * by};
}

uint32_t Blend(uint32_t from, uint32_t to, int step, int steps) {
    uint32_t out = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
        int a = static_cast<int>((from >> shift) & 0xFF);
        int b = static_cast<int>((to >> shift) & 0xFF);
        out |= static_cast<uint32_t>(a + (b - a) * step / std::max(steps, 1)) << shift;
    }
    return out;
}

}  // namespace

std::vector<std::u32string> WrapMessageText(const std::u32string& text, int maxWidth,
                                            const std::function<int(char32_t)>& width) {
    std::vector<std::u32string> lines;
    size_t start = 0;
    while (true) {
        size_t end = text.find(U'\n', start);
        std::u32string paragraph = text.substr(start, end - start);
        if (!paragraph.empty() && paragraph.back() == U'\r') paragraph.pop_back();
        WrapParagraph(paragraph, maxWidth, width, lines);
        if (end == std::u32string::npos) break;
        start = end + 1;
    }
    return lines;
}

DrawnMessageBox::DrawnMessageBox(const std::string& textUtf8, const std::string& captionUtf8,
                                 bool yesNo, int defaultButton, int pictureWidth, int pictureHeight)
    : yesNo_(yesNo),
      pictureWidth_(std::max(pictureWidth, 0)),
      pictureHeight_(std::max(pictureHeight, 0)),
      caption_(DecodeUtf8(captionUtf8)) {
    focus_ = std::clamp(defaultButton, 0, ButtonCount() - 1);
    // Windows keeps a message box's text within five eighths of the screen's width.
    int maxTextWidth = std::max(pictureWidth_ * 5 / 8, kButtonWidth);
    lines_ = WrapMessageText(DecodeUtf8(textUtf8), maxTextWidth,
                             [](char32_t c) { return FaceAdvance(c, false); });
    // A text too long for the picture shows the lines that fit.
    int fixedHeight =
        2 * kFrame + kCaptionHeight + kTextTop + kTextToButtons + kButtonHeight + kBelowButtons;
    size_t fitting = static_cast<size_t>(std::max((pictureHeight_ - fixedHeight) / kLineHeight, 1));
    if (lines_.size() > fitting) lines_.resize(fitting);
    for (const auto& line : lines_) textWidth_ = std::max(textWidth_, TextWidth(line));

    int buttonsWidth = ButtonCount() * kButtonWidth + (ButtonCount() - 1) * kButtonGap;
    int captionWidth = TextWidth(caption_, true) + 4 + kCloseWidth + 4;
    int inner = std::max({textWidth_, buttonsWidth, captionWidth}) + 2 * kMargin;
    bounds_.width = inner + 2 * kFrame;
    bounds_.height = fixedHeight + static_cast<int>(lines_.size()) * kLineHeight;
    // Centred over the picture, as Windows centres it on the screen.
    bounds_.left = (pictureWidth_ - bounds_.width) / 2;
    bounds_.top = (pictureHeight_ - bounds_.height) / 2;
}

BoxRect DrawnMessageBox::ButtonRect(int button) const {
    int buttonsWidth = ButtonCount() * kButtonWidth + (ButtonCount() - 1) * kButtonGap;
    int left = bounds_.left + (bounds_.width - buttonsWidth) / 2;
    int top = bounds_.top + bounds_.height - kFrame - kBelowButtons - kButtonHeight;
    return {left + button * (kButtonWidth + kButtonGap), top, kButtonWidth, kButtonHeight};
}

BoxRect DrawnMessageBox::CloseBoxRect() const {
    return {bounds_.left + bounds_.width - kFrame - 2 - kCloseWidth, bounds_.top + kFrame + 2,
            kCloseWidth, kCloseHeight};
}

MessageBoxAnswer DrawnMessageBox::AnswerOf(int button) const {
    if (!yesNo_) return MessageBoxAnswer::Ok;
    return button == 0 ? MessageBoxAnswer::Yes : MessageBoxAnswer::No;
}

void DrawnMessageBox::MoveFocus(int step) {
    focus_ = (focus_ + step + ButtonCount()) % ButtonCount();
    spaceDown_ = false;
}

std::optional<MessageBoxAnswer> DrawnMessageBox::Key(int virtualKey, bool down, bool shift) {
    if (!down) {
        bool pressed = virtualKey == VK_SPACE && spaceDown_;
        if (virtualKey == VK_SPACE) spaceDown_ = false;
        if (pressed) return AnswerOf(focus_);
        return std::nullopt;
    }
    switch (virtualKey) {
        case VK_LEFT:
        case VK_UP:
            MoveFocus(-1);
            break;
        case VK_RIGHT:
        case VK_DOWN:
            MoveFocus(1);
            break;
        case VK_TAB:
            MoveFocus(shift ? -1 : 1);
            break;
        case VK_RETURN:
            return AnswerOf(focus_);
        case VK_SPACE:
            spaceDown_ = true;
            break;
        case 'Y':
            if (yesNo_) return MessageBoxAnswer::Yes;
            break;
        case 'N':
            if (yesNo_) return MessageBoxAnswer::No;
            break;
        case VK_ESCAPE:
            if (!yesNo_) return MessageBoxAnswer::Ok;
            break;
        default:
            break;
    }
    return std::nullopt;
}

std::optional<MessageBoxAnswer> DrawnMessageBox::Mouse(int x, int y, bool down) {
    int over = -1;
    for (int button = 0; button < ButtonCount(); ++button) {
        if (ButtonRect(button).Contains(x, y)) over = button;
    }
    bool overClose = CloseBoxRect().Contains(x, y);
    if (down) {
        closePressed_ = overClose;
        pressedByMouse_ = over;
        if (over >= 0 && over != focus_) {
            focus_ = over;
            spaceDown_ = false;
        }
        return std::nullopt;
    }
    int pressed = pressedByMouse_;
    pressedByMouse_ = -1;
    bool closed = closePressed_ && overClose;
    closePressed_ = false;
    if (closed) return Close();
    if (pressed >= 0 && pressed == over) return AnswerOf(pressed);
    return std::nullopt;
}

void DrawnMessageBox::Draw(uint32_t* picture) const {
    if (picture == nullptr) return;
    Canvas canvas(picture, pictureWidth_, pictureHeight_);
    const BoxRect& box = bounds_;
    // The raised frame and the face.
    canvas.Fill(box.left, box.top, box.width, box.height, kFace);
    canvas.Edge(box, kFace, kDarkShadow);
    canvas.Edge(Inset(box, 1), kHighlight, kShadow);

    // The caption bar, shaded from left to right, with the close box, which a question
    // greys out.
    BoxRect bar{box.left + kFrame, box.top + kFrame, box.width - 2 * kFrame, kCaptionHeight};
    for (int x = 0; x < bar.width; ++x) {
        canvas.Fill(bar.left + x, bar.top, 1, bar.height,
                    Blend(kCaptionLeft, kCaptionRight, x, bar.width - 1));
    }
    canvas.Text(bar.left + 3, bar.top + (kCaptionHeight - kTextHeight) / 2, caption_, kCaptionText,
                true);
    BoxRect close = CloseBoxRect();
    canvas.Fill(close.left, close.top, close.width, close.height, kFace);
    canvas.Edge(close, kHighlight, kDarkShadow);
    canvas.Edge(Inset(close, 1), kFace, kShadow);
    int crossLeft = close.left + 4;
    int crossTop = close.top + 3;
    uint32_t crossColour = yesNo_ ? kGreyText : kText;
    for (int i = 0; i < 7; ++i) {
        canvas.Fill(crossLeft + i, crossTop + i, 2, 1, crossColour);
        canvas.Fill(crossLeft + 6 - i, crossTop + i, 2, 1, crossColour);
    }
    if (yesNo_) {
        // The etched look of a disabled glyph: a white copy one pixel down and right.
        for (int i = 0; i < 7; ++i) {
            canvas.Dot(crossLeft + 8 - i, crossTop + i + 1, kHighlight);
        }
    }

    // The text, left-aligned in a block centred over the box.
    int textLeft =
        box.left + kFrame + kMargin + (box.width - 2 * kFrame - 2 * kMargin - textWidth_) / 2;
    int textTop = bar.top + bar.height + kTextTop;
    for (size_t i = 0; i < lines_.size(); ++i) {
        canvas.Text(textLeft, textTop + static_cast<int>(i) * kLineHeight, lines_[i], kText);
    }

    // The buttons: the one in focus is the default, with a black rim and the focus mark;
    // one held down is sunken.
    for (int button = 0; button < ButtonCount(); ++button) {
        BoxRect r = ButtonRect(button);
        bool focused = button == focus_;
        bool sunken = button == pressedByMouse_ || (focused && spaceDown_);
        canvas.Fill(r.left, r.top, r.width, r.height, kFace);
        BoxRect bevel = r;
        if (focused) {
            canvas.Edge(r, kDarkShadow, kDarkShadow);
            bevel = Inset(r, 1);
        }
        if (sunken) {
            canvas.Edge(bevel, kShadow, kShadow);
        } else {
            canvas.Edge(bevel, kHighlight, kDarkShadow);
            canvas.Edge(Inset(bevel, 1), kFace, kShadow);
        }
        const std::u32string& label = !yesNo_ ? kOkLabel : button == 0 ? kYesLabel : kNoLabel;
        int shift = sunken ? 1 : 0;
        canvas.Text(r.left + (r.width - TextWidth(label)) / 2 + shift,
                    r.top + (r.height - kTextHeight) / 2 + shift, label, kText);
        if (focused) canvas.DottedFrame(Inset(r, 4), kText);
    }
}

}  // namespace platform
