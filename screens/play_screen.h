// The play screen: the background drawn when a game's ready phase begins, and the pieces that
// change while it stands (score, bonus, lives, timer bar, phrase areas, the ready windows and
// the marks). Everything is drawn into the frame at play-area coordinates; nothing presents.
#pragma once

#include <cstdint>

// The areas ClearPlayPiece erases; any other value erases nothing.
enum class PlayPiece : int32_t {
    DialectLine = 0,
    StandardLine = 1,
    TimerBar = 2,
    Lives = 3,
    Score = 4,
    ResultMark = 5,
    Bonus = 6,
};

// The marks DrawPlayMark draws; any other value draws nothing.
enum class PlayMark : int32_t {
    ReadyFirst = 0,
    ReadySecond = 1,
    Finish = 3,
    ResultNoMiss = 4,
    ResultOneMiss = 5,
    ResultManyMisses = 6,
};

// Black frame, cream play area, backdrops, characters, timer and lives frames and captions.
void DrawPlayScreen();
// 0 the upper window, 1 the lower one; any other value draws nothing.
void DrawReadyWindow(int32_t which);
void DrawPlayMark(PlayMark mark);
// Fills the piece's area with the colour beneath it.
void ClearPlayPiece(PlayPiece piece);
// Large digits right-aligned at 432, at most 999999.
void DrawScore(int32_t score);
// Small digits right-aligned at 254, at most 999999.
void DrawBonus(int32_t bonus);
// One icon a life from the lives slot's left edge, alternating the two icons; 0 or less draws
// nothing.
void DrawLives(int32_t count);
// The bar shrinks 4 pixels a tick from 208 pixels; empty from 52 ticks on.
void DrawTimerBar(int32_t ticks);
