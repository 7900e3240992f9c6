// Whole screens drawn as the game draws them, with sample numbers and a sample phrase, for the
// reference pictures.
#pragma once

#include <string>

struct Scene {
    const char* name;  // as the reference pictures are named, before the mode
    void (*draw)();
};

const Scene& SceneNamed(const std::string& name);
