// The game's twelve images, in the order they are loaded, keyed and released.
#pragma once

enum class ImageId {
    Zubi,
    Yama,
    Parts,
    Back,
    Bar,
    Words,
    Title,
    Hisco,
    Win1,
    Win2,
    TimeWin1,
    TimeWin2,
};

constexpr int kImageCount = 12;
