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
    int button = 0;  // for the mouse: over which button, or -1 over none
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
    const Case cases[] = {
        {"Enter presses the default", true, 0, {Down(VK_RETURN)}, MessageBoxAnswer::Yes},
        {"the second as default", true, 1, {Down(VK_RETURN)}, MessageBoxAnswer::No},
        {"right moves the focus", true, 0, {Down(VK_RIGHT), Down(VK_RETURN)}, MessageBoxAnswer::No},
        {"the focus wraps round",
         true,
         0,
         {Down(VK_LEFT), Down(VK_LEFT), Down(VK_RETURN)},
         MessageBoxAnswer::Yes},
        {"Tab and Shift+Tab",
         true,
         0,
         {Down(VK_TAB), Down(VK_TAB, true), Down(VK_TAB), Down(VK_RETURN)},
         MessageBoxAnswer::No},
        {"N whatever the focus", true, 0, {Down('N')}, MessageBoxAnswer::No},
        {"Y whatever the focus", true, 1, {Down('Y')}, MessageBoxAnswer::Yes},
        {"Escape doesn't answer a question", true, 1, {Down(VK_ESCAPE)}, std::nullopt},
        {"Escape answers OK", false, 0, {Down(VK_ESCAPE)}, MessageBoxAnswer::Ok},
        {"N and Y have no button in OK", false, 0, {Down('N'), Down('Y')}, std::nullopt},
        {"Space answers when let go",
         true,
         0,
         {Down(VK_SPACE), Down(VK_RIGHT), Up(VK_SPACE), Down(VK_SPACE), Up(VK_SPACE)},
         MessageBoxAnswer::No},
        {"a click", true, 0, {Mouse(true, 1), Mouse(false, 1)}, MessageBoxAnswer::No},
        {"a press let go elsewhere",
         true,
         0,
         {Mouse(true, 0), Mouse(false, -1), Mouse(false, 0)},
         std::nullopt},
        {"a click gives the focus",
         true,
         0,
         {Mouse(true, 1), Mouse(false, -1), Down(VK_RETURN)},
         MessageBoxAnswer::No},
    };
    for (const auto& c : cases) {
        DrawnMessageBox box("text", "caption", c.yesNo, c.defaultButton, 480, 320);
        std::optional<MessageBoxAnswer> answer;
        for (size_t i = 0; i < c.steps.size(); ++i) {
            const Step& step = c.steps[i];
            if (step.key != 0) {
                answer = box.Key(step.key, step.down, step.shift);
            } else {
                platform::BoxRect r =
                    step.button >= 0 ? box.ButtonRect(step.button) : platform::BoxRect{0, 0, 1, 1};
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
