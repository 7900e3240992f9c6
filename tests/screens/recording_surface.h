// A frame surface that writes down every colour-keyed copy and every colour fill made into it
// and passes all calls on to the real frame, so that tests can read what a screen drew, in
// order, by image, rectangle and position.
#pragma once

#include <ddraw.h>

#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "display/image_id.h"

struct Drawn {
    enum Kind { Copy, Fill } kind = Copy;
    // Copy: the image, the source rectangle and the play-area position.
    ImageId image = ImageId::Zubi;
    RECT source = {};
    int x = 0, y = 0;
    // Fill: the rectangle in play-area coordinates (the whole frame: nullopt) and the value.
    std::optional<RECT> area;
    uint32_t value = 0;

    bool operator==(const Drawn& other) const;
};

// A copy of a rectangle of an image to (x, y), and a fill of a play-area rectangle.
Drawn CopyOf(ImageId image, int left, int top, int right, int bottom, int x, int y);
Drawn FillOf(int left, int top, int right, int bottom, uint32_t value);
Drawn FrameFill(uint32_t value);
std::string Describe(const Drawn& drawn);
std::string Describe(const std::vector<Drawn>& drawn);
// How GoogleTest prints one.
void PrintTo(const Drawn& drawn, std::ostream* out);

// While it lives, the display's frame surface is the recorder.
class RecordingFrame {
public:
    RecordingFrame();
    ~RecordingFrame();
    RecordingFrame(const RecordingFrame&) = delete;
    RecordingFrame& operator=(const RecordingFrame&) = delete;

    const std::vector<Drawn>& Log() const;
    void Clear();

private:
    struct Surface;
    Surface* surface_;
    IDirectDrawSurface7* real_;
};
