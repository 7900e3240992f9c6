// The device on the scripted host: the frame's format on each desktop, mode switches that
// release and re-create everything once, the cursor, surface loss, the flip chain, colour
// keys, and text lengths.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "display/display_device.h"
#include "display/display_state.h"
#include "display/drawing.h"
#include "display/image_assets.h"
#include "display/text_drawing.h"
#include "platform/core/window_state.h"
#include "platform/ddraw/ddraw_objects.h"
#include "platform/gdi/gdi_objects.h"
#include "tests/display/display_fixture.h"

namespace {

using DisplayDevice = DisplayFixture;

// A point of the play area as the last picture shows it, in either mode.
uint32_t PlayPixel(const DisplayFixture& f, const platform::ScriptedHost& host, int x, int y) {
    int offset = host.FullScreen() ? 80 : 0;
    return host.Picture().at(static_cast<size_t>(y + offset) * host.PictureWidth() + x + offset);
}

TEST_F(DisplayDevice, RecordsTheLayoutOfASixteenBitFrame) {
    struct Case {
        const char* desktop;
        FrameDepth16 expected;
    };
    const Case cases[] = {
        {"desktop 32", {0, 0, 0, 0}},
        {"desktop 16", {16, 5, 6, 5}},
        {"desktop 15", {16, 5, 5, 5}},
    };
    for (const auto& c : cases) {
        ResetEverything();
        StartHost(c.desktop);
        ASSERT_EQ(StartDisplay(window), 1) << c.desktop;
        EXPECT_EQ(display.frameDepth16.depth, c.expected.depth) << c.desktop;
        EXPECT_EQ(display.frameDepth16.red, c.expected.red) << c.desktop;
        EXPECT_EQ(display.frameDepth16.green, c.expected.green) << c.desktop;
        EXPECT_EQ(display.frameDepth16.blue, c.expected.blue) << c.desktop;
        ReleaseDisplay();
    }
}

TEST_F(DisplayDevice, ModeSwitchesReleaseAndRecreateEverythingOnce) {
    StartHost();
    auto& counts = platform::DirectDrawGlobals().counts;
    ASSERT_EQ(StartDisplay(window), 1);
    EXPECT_EQ(platform::Windows().cursorCount, 1);
    // Windowed: primary, frame and twelve images, a palette and a clipper.
    EXPECT_EQ(platform::LiveSurfaces(), 14);
    EXPECT_EQ(platform::LivePalettes(), 1);
    EXPECT_EQ(platform::LiveClippers(), 1);

    ASSERT_EQ(ToggleDisplayMode(window), 1);
    EXPECT_EQ(display.windowed, 0);
    EXPECT_TRUE(host->FullScreen());
    EXPECT_EQ(platform::Windows().cursorCount, 0);
    EXPECT_EQ(counts.surfacesFreed, 14);
    EXPECT_EQ(counts.palettesFreed, 1);
    EXPECT_EQ(counts.clippersFreed, 1);
    // Full screen: the front and back buffers and twelve images, a palette, no clipper.
    EXPECT_EQ(platform::LiveSurfaces(), 14);
    EXPECT_EQ(platform::LiveClippers(), 0);

    ASSERT_EQ(ToggleDisplayMode(window), 1);
    EXPECT_EQ(display.windowed, 1);
    EXPECT_FALSE(host->FullScreen());
    EXPECT_EQ(platform::Windows().cursorCount, 1);
    EXPECT_EQ(counts.surfacesFreed, 28);
    EXPECT_EQ(counts.palettesFreed, 2);
    EXPECT_EQ(counts.clippersFreed, 1);

    ASSERT_EQ(ToggleDisplayMode(window), 1);
    ReleaseDisplay();
    EXPECT_EQ(counts.objectsCreated, 1);
    EXPECT_EQ(counts.objectsFreed, 1);
    EXPECT_EQ(counts.surfacesFreed, counts.surfacesCreated);
    EXPECT_EQ(counts.palettesFreed, counts.palettesCreated);
    EXPECT_EQ(counts.clippersFreed, counts.clippersCreated);
    EXPECT_EQ(counts.clippersCreated, 2);
    EXPECT_EQ(counts.releasesTooMany, 0);
    EXPECT_EQ(counts.callsOnFreed, 0);
    EXPECT_EQ(platform::LiveGdiObjects(platform::GdiKind::Bitmap), 0);
    EXPECT_EQ(platform::LiveGdiObjects(platform::GdiKind::Font), 0);
    EXPECT_EQ(platform::LiveGdiObjects(platform::GdiKind::Dc), 0);
    EXPECT_EQ(display.directDraw, nullptr);

    // Releasing again does nothing.
    ReleaseDisplay();
    EXPECT_EQ(counts.releasesTooMany, 0);
}

TEST_F(DisplayDevice, SwitchingBackCentresTheWindowAndFullScreenLeavesItAlone) {
    StartHost();
    ASSERT_EQ(StartDisplay(window), 1);
    SetWindowPos(window, nullptr, 10, 20, 486, 349, SWP_NOZORDER);
    ASSERT_EQ(ToggleDisplayMode(window), 1);
    RECT outer;
    GetWindowRect(window, &outer);
    EXPECT_EQ(outer.left, 10);
    EXPECT_EQ(outer.top, 20);
    ASSERT_EQ(ToggleDisplayMode(window), 1);
    GetWindowRect(window, &outer);
    EXPECT_EQ(outer.left, (1024 - 486) >> 1);
    EXPECT_EQ(outer.top, (768 - 349) >> 1);
    EXPECT_EQ(display.clientScreenRect.left, outer.left + 3);
    EXPECT_EQ(display.clientScreenRect.top, outer.top + 26);
    EXPECT_EQ(display.clientScreenRect.right, outer.left + 3 + 480);
    EXPECT_EQ(display.clientScreenRect.bottom, outer.top + 26 + 320);
}

TEST_F(DisplayDevice, ReleaseWithoutADisplayDoesNothing) {
    StartHost();
    ReleaseDisplay();
    EXPECT_EQ(platform::DirectDrawGlobals().counts.objectsCreated, 0);
    EXPECT_EQ(platform::Windows().cursorCount, 0);
}

TEST_F(DisplayDevice, ALostDisplayIsRestoredAndTheNextPresentShows) {
    for (const char* mode : {"windowed", "full screen"}) {
        ResetEverything();
        StartHost();
        ASSERT_EQ(StartDisplay(window), 1);
        if (std::string(mode) == "full screen") {
            ASSERT_EQ(ToggleDisplayMode(window), 1);
        }
        FillRect(nullptr, 0);
        ASSERT_EQ(PresentFrame(), DD_OK);
        int shown = host->PicturesShown();

        platform::LoseAllSurfaces();
        // Drawing into a lost frame is refused. The present restores the surfaces and shows
        // nothing of the frame; in full screen the screen itself is cleared to black.
        FillRect(nullptr, ColorValue(45, 255, 255, 255));
        EXPECT_EQ(PresentFrame(), DD_OK) << mode;
        if (std::string(mode) == "full screen") {
            ++shown;
            EXPECT_EQ(PlayPixel(*this, *host, 0, 0), 0x000000u) << mode;
        }
        EXPECT_EQ(host->PicturesShown(), shown) << mode;

        FillRect(nullptr, ColorValue(45, 255, 255, 255));
        RECT whole = {0, 0, 96, 144};
        BlitImage(ImageId::Zubi, 0, 0, whole);
        EXPECT_EQ(PresentFrame(), DD_OK) << mode;
        EXPECT_EQ(host->PicturesShown(), shown + 1) << mode;
        // The images came back too: the border of the first is drawn.
        EXPECT_EQ(PlayPixel(*this, *host, 0, 0), kTestInk) << mode;
        EXPECT_EQ(PlayPixel(*this, *host, 48, 72), 0xFFFFFFu) << mode;
        ReleaseDisplay();
    }
}

TEST_F(DisplayDevice, AChangeDrawnOnceIsLostAfterTwoFlipsAndDrawnTwiceStays) {
    StartHost();
    ASSERT_EQ(StartDisplay(window), 1);
    ASSERT_EQ(ToggleDisplayMode(window), 1);
    RECT mark = {100, 100, 110, 110};
    auto background = [] {
        FillRect(nullptr, 0);
        ASSERT_EQ(PresentFrame(), DD_OK);
        FillRect(nullptr, 0);
        ASSERT_EQ(PresentFrame(), DD_OK);
    };
    const uint32_t red = 0xE86A46;

    background();
    FillRect(&mark, ColorValue(21, 232, 106, 70));
    PresentFrame();
    EXPECT_EQ(Shown(105, 105), red);
    PresentFrame();
    EXPECT_EQ(Shown(105, 105), 0u) << "drawn once: gone after the second flip";

    background();
    for (int pass = 0; pass < 2; ++pass) {
        FillRect(&mark, ColorValue(21, 232, 106, 70));
        PresentFrame();
    }
    for (int flip = 0; flip < 3; ++flip) {
        EXPECT_EQ(Shown(105, 105), red) << "drawn twice: still there after flip " << flip;
        PresentFrame();
    }
}

TEST_F(DisplayDevice, ImagesLeaveOutTheirBlueInEveryFrameFormat) {
    struct Case {
        const char* desktop;
        bool fullScreen;
        uint32_t key;  // the key the blue became in the frame's format
        uint32_t ink;  // the images' border colour as the screen shows it
    };
    const Case cases[] = {
        {"desktop 32", false, 0x0000FF, kTestInk},
        {"desktop 16", false, 0x001F, 0x292484},
        {"desktop 15", false, 0x001F, 0x292184},
        {"desktop 32", true, 43, kTestInk},
    };
    for (const auto& c : cases) {
        ResetEverything();
        StartHost(c.desktop);
        ASSERT_EQ(StartDisplay(window), 1);
        if (c.fullScreen) {
            ASSERT_EQ(ToggleDisplayMode(window), 1);
        }
        EXPECT_EQ(MatchSurfaceColor(display.images[0], RGB(0, 0, 255)), c.key) << c.desktop;
        // The top-left pixel is what the file has there, the key taken or not.
        EXPECT_EQ(MatchSurfaceColor(display.images[0], CLR_INVALID),
                  MatchSurfaceColor(display.images[0], RGB(0x2B, 0x24, 0x84)))
            << c.desktop;
        RECT whole = {0, 0, 96, 144};
        for (int pass = 0; pass < 2; ++pass) {
            FillRect(nullptr, ColorValue(45, 255, 255, 255));
            BlitImage(ImageId::Zubi, 10, 20, whole);
            PresentFrame();
        }
        EXPECT_EQ(PlayPixel(*this, *host, 10 + 48, 20 + 72), 0xFFFFFFu)
            << c.desktop << ": the middle is see-through";
        EXPECT_EQ(PlayPixel(*this, *host, 10, 20), c.ink) << c.desktop << ": the border is drawn";
        ReleaseDisplay();
    }
}

TEST_F(DisplayDevice, TextDrawsOnlyTheBytesItIsGiven) {
    StartHost();
    ASSERT_EQ(StartDisplay(window), 1);
    // "AB" and a two-byte character: lengths count bytes.
    const char text[] = "AB\x82\xa0";
    // The rightmost column with any ink, or -1.
    auto inkedTo = [&](int length, bool shadowed) {
        FillRect(nullptr, 0);
        if (shadowed) {
            DrawTextShadowed(text, 0, 0, length, 255, 255, 255);
        } else {
            DrawTextBold(text, 0, 0, length, 255, 255, 255);
        }
        PresentFrame();
        int right = -1;
        for (int y = 0; y < 24; ++y) {
            for (int x = 0; x < 60; ++x) {
                if (Shown(x, y) != 0) right = std::max(right, x);
            }
        }
        return right;
    };
    for (bool shadowed : {true, false}) {
        EXPECT_EQ(inkedTo(0, shadowed), -1) << "length 0 draws nothing, shadow included";
        int one = inkedTo(1, shadowed), two = inkedTo(2, shadowed), four = inkedTo(4, shadowed);
        EXPECT_GT(one, 0);
        EXPECT_GT(two, one + 4) << "a second half-width character";
        EXPECT_GT(four, two + 8) << "a full-width character after them";
    }
    EXPECT_EQ(platform::LiveGdiObjects(platform::GdiKind::Font), 0) << "fonts are deleted";
    EXPECT_EQ(platform::LiveGdiObjects(platform::GdiKind::Dc), 0);
}

}  // namespace
