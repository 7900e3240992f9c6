// The message box the layer draws: how it wraps its text, and what keys and clicks answer it.
#include "platform/msgbox/message_box.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

namespace {

using platform::DrawnMessageBox;
using platform::MessageBoxAnswer;

TEST(MessageBoxText, WrapsAsWindowsDoes) {
    // Half-width characters advance 1, Japanese ones 2, as in the fixed-pitch face.
    auto width = [](char32_t c) { return c < 0x2E80 ? 1 : 2; };
    struct Case {
        const char32_t* text;
        int maxWidth;
        std::vector<std::u32string> lines;
    };
    const Case cases[] = {
        // Japanese breaks anywhere, but the question mark never begins a line: "か" goes
        // down with it.
        {U"終了します。よろしいですか？", 12, {U"終了します。", U"よろしいです", U"か？"}},
        {U"よろしいですか？", 14, {U"よろしいです", U"か？"}},
        // An opening bracket stays with what it opens.
        {U"あい「う", 6, {U"あい", U"「う"}},
        // Latin text breaks after spaces, which vanish; a word wider than a line is cut.
        {U"Cannot load the file", 10, {U"Cannot", U"load the", U"file"}},
        {U"abcdefghijkl", 5, {U"abcde", U"fghij", U"kl"}},
        // Latin next to Japanese may break; line feeds always do, and keep empty lines.
        {U"BMPをロード", 6, {U"BMPを", U"ロード"}},
        {U"a\r\n\nb", 10, {U"a", U"", U"b"}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(platform::WrapMessageText(c.text, c.maxWidth, width), c.lines)
            << "case " << &c - cases;
    }
}

// One thing the player does to the box: a key going down or up, or the mouse's button.
struct Step {
    int key;  // a virtual key, or 0 for the mouse
    bool down;
    bool shift = false;
    int button = 0;  // for the mouse: over which button, -1 over none, 2 over the close box
};

Step Down(int key, bool shift = false) {
    return {key, true, shift};
}
Step Up(int key) {
    return {key, false};
}
Step Mouse(bool down, int button) {
    return {0, down, false, button};
}

TEST(MessageBoxInput, KeysAndClicksAnswerAsOnWindows) {
    struct Case {
        const char* what;
        bool yesNo;
        int defaultButton;
        std::vector<Step> steps;
        std::optional<MessageBoxAnswer> answer;  // after the last step; none before it
    };
    constexpr bool kQuestion = true, kOk = false;
    const auto yes = MessageBoxAnswer::Yes, no = MessageBoxAnswer::No, ok = MessageBoxAnswer::Ok;
    const std::optional<MessageBoxAnswer> none;
    const Case cases[] = {
        {"Enter presses the default", kQuestion, 0, {Down(VK_RETURN)}, yes},
        {"the second as default", kQuestion, 1, {Down(VK_RETURN)}, no},
        {"right moves the focus", kQuestion, 0, {Down(VK_RIGHT), Down(VK_RETURN)}, no},
        {"it wraps", kQuestion, 0, {Down(VK_LEFT), Down(VK_LEFT), Down(VK_RETURN)}, yes},
        {"Tab",
         kQuestion,
         0,
         {Down(VK_TAB), Down(VK_TAB, true), Down(VK_TAB), Down(VK_RETURN)},
         no},
        {"N whatever the focus", kQuestion, 0, {Down('N')}, no},
        {"Y whatever the focus", kQuestion, 1, {Down('Y')}, yes},
        {"no Escape from a question", kQuestion, 1, {Down(VK_ESCAPE)}, none},
        {"Escape answers OK", kOk, 0, {Down(VK_ESCAPE)}, ok},
        {"N and Y have no button in OK", kOk, 0, {Down('N'), Down('Y')}, none},
        {"Space answers when let go",
         kQuestion,
         0,
         {Down(VK_SPACE), Down(VK_RIGHT), Up(VK_SPACE), Down(VK_SPACE), Up(VK_SPACE)},
         no},
        {"a click", kQuestion, 0, {Mouse(true, 1), Mouse(false, 1)}, no},
        {"let go elsewhere",
         kQuestion,
         0,
         {Mouse(true, 0), Mouse(false, -1), Mouse(false, 0)},
         none},
        {"a click focuses", kQuestion, 0, {Mouse(true, 1), Mouse(false, -1), Down(VK_RETURN)}, no},
        {"the close box answers OK", kOk, 0, {Mouse(true, 2), Mouse(false, 2)}, ok},
        {"but not a question", kQuestion, 0, {Mouse(true, 2), Mouse(false, 2)}, none},
    };
    for (const auto& c : cases) {
        DrawnMessageBox box("text", "caption", c.yesNo, c.defaultButton, 480, 320);
        std::optional<MessageBoxAnswer> answer;
        for (size_t i = 0; i < c.steps.size(); ++i) {
            const Step& step = c.steps[i];
            if (step.key != 0) {
                answer = box.Key(step.key, step.down, step.shift);
            } else {
                platform::BoxRect r = step.button == 2   ? box.CloseBoxRect()
                                      : step.button >= 0 ? box.ButtonRect(step.button)
                                                         : platform::BoxRect{0, 0, 1, 1};
                answer = box.Mouse(r.left + r.width / 2, r.top + r.height / 2, step.down);
            }
            if (i + 1 < c.steps.size()) {
                ASSERT_FALSE(answer) << c.what << ", step " << i;
            }
        }
        EXPECT_EQ(answer, c.answer) << c.what;
    }
}

TEST(MessageBoxLayout, StaysInsideThePicture) {
    // A text far too long for the picture keeps the box within it, and drawing stays there.
    std::string text(5000, 'x');
    for (size_t i = 0; i < text.size(); i += 7) text[i] = ' ';
    for (auto [width, height] : {std::pair{480, 320}, std::pair{640, 480}, std::pair{40, 30}}) {
        DrawnMessageBox box(text, "caption", true, 0, width, height);
        std::vector<uint32_t> picture(static_cast<size_t>(width) * height + 1, 0x123456);
        box.Draw(picture.data());
        EXPECT_EQ(picture.back(), 0x123456u) << width;
        if (width >= 480) {
            const auto& b = box.Bounds();
            EXPECT_TRUE(b.left >= 0 && b.top >= 0 && b.left + b.width <= width &&
                        b.top + b.height <= height)
                << width << ": " << b.left << "," << b.top << " " << b.width << "x" << b.height;
        }
    }
}

}  // namespace
