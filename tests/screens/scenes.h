// Whole screens drawn as the game draws them, with the sample numbers and phrase of the art
// tool's mock-ups, so that the two can be compared.
#pragma once

#include <string>
#include <vector>

struct Scene {
    const char* name;  // as the mock-up's file is named
    void (*draw)();
};

// title, title-settings, ready, ready-go, play-perfect, play-good, play-never-mind, game-over,
// results, rankings, settings.
const std::vector<Scene>& Scenes();
const Scene& SceneNamed(const std::string& name);

// Where the mock-up's text and ours may differ: the rectangles the scene's texts (with their
// shadows) may cover, in play-area coordinates.
struct TextBox {
    int left, top, right, bottom;
};
std::vector<TextBox> TextBoxes(const std::string& scene);
