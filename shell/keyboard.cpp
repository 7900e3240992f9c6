#include "shell/keyboard.h"

#include <windows.h>

#include <array>

namespace {

constexpr std::array<int, 7> kControlKeys = {VK_RETURN, VK_SPACE, VK_LEFT, VK_UP,
                                             VK_RIGHT,  VK_DOWN,  VK_F4};

constexpr std::array<int, 27> kTypingKeys = {'A', 'B', 'C', 'D', 'E', 'F', 'G', 'H', 'I',
                                             'J', 'K', 'L', 'M', 'N', 'O', 'P', 'Q', 'R',
                                             'S', 'T', 'U', 'V', 'W', 'X', 'Y', 'Z', VK_OEM_MINUS};

// True while the key was down at the last poll that looked at it. Each poll touches only
// its own keys' latches, so a latch may be many frames old when play begins.
std::array<bool, kControlKeys.size()> controlLatch = {};
std::array<bool, kTypingKeys.size()> typingLatch = {};

template <size_t N>
int Poll(const std::array<int, N>& keys, std::array<bool, N>& latch) {
    int result = 0;
    for (size_t i = 0; i < N; ++i) {
        bool down = (GetAsyncKeyState(keys[i]) & 0x8000) != 0;
        if (!down) {
            latch[i] = false;
        } else if (!latch[i]) {
            // Later keys in the table win over earlier ones that went down in the same frame.
            latch[i] = true;
            result = keys[i];
        }
    }
    return result;
}

}  // namespace

int PollControlKey() {
    return Poll(kControlKeys, controlLatch);
}

int PollTypingKey() {
    return Poll(kTypingKeys, typingLatch);
}

void ResetKeyboard() {
    controlLatch = {};
    typingLatch = {};
}
