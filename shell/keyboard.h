// The two keyboard polls of a game step. Each reports at most one key that went down since
// that key was last polled; a held key is reported once. Escape is not polled: it arrives as
// a key message.
#pragma once

// Enter, Space, the arrows and F4 (virtual-key codes), or 0.
int PollControlKey();
// The letters A to Z (65 to 90, whatever Shift or Caps Lock say) and minus (189), or 0.
int PollTypingKey();

// Clears every latch (for tests).
void ResetKeyboard();
