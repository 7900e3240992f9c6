// The frame after the platform took the display away, and copies made while a flip keeps the
// blitter busy: in full screen both pages of the flip chain must end up with the same picture.
#include <gtest/gtest.h>

#include <string>

#include "display/display_device.h"
#include "display/drawing.h"
#include "display/image_assets.h"
#include "platform/core/host_events.h"
#include "platform/ddraw/ddraw_objects.h"
#include "shell/shell_state.h"
#include "tests/display/display_fixture.h"

namespace {

using Redraw = DisplayFixture;

// Pixels that differ between the two pages of the flip chain; -1 when they can't be read.
int PagesDiffering() {
    platform::FlipChainPages pages = platform::ReadFlipChainPages();
    if (pages.state != platform::FlipChainPages::State::Read) return -1;
    int differing = 0;
    for (size_t i = 0; i < pages.front.size(); ++i) differing += pages.front[i] != pages.back[i];
    return differing;
}

// A whole screen: the frame cleared, a fill, and an image over it.
void DrawScreen() {
    FillRect(nullptr, 0);
    RECT band = {80, 80, 560, 120};
    FillRect(&band, ColorValue(41, 255, 255, 196));
    RECT whole = {0, 0, 96, 144};
    BlitImage(ImageId::Zubi, 100, 100, whole);
}

void DrawScreenTwice() {
    DrawScreen();
    PresentFrame();
    DrawScreen();
    PresentFrame();
}

TEST_F(Redraw, APresentThatRestoresLostSurfacesAsksForAWholeRedraw) {
    struct Case {
        const char* what;
        bool fullScreen;
        bool byFocus;  // the focus went away and came back, else another program took the display
    };
    const Case cases[] = {
        {"windowed, display taken", false, false},
        {"full screen, display taken", true, false},
        {"full screen, focus lost and regained", true, true},
    };
    for (const auto& c : cases) {
        ResetEverything();
        StartHost();
        ASSERT_EQ(StartDisplay(window), 1) << c.what;
        if (c.fullScreen) {
            ASSERT_EQ(ToggleDisplayMode(window), 1) << c.what;
        }
        shell.screenDirty = false;
        shell.phraseDirty = false;
        DrawScreenTwice();
        EXPECT_FALSE(shell.screenDirty) << c.what << ": an ordinary present asks for nothing";

        if (c.byFocus) {
            platform::HostActivated(false);
            platform::HostActivated(true);
        } else {
            platform::LoseAllSurfaces();
        }
        // The activation's redraw goes into lost surfaces; the present restores them.
        DrawScreen();
        EXPECT_EQ(PresentFrame(), DD_OK) << c.what;
        EXPECT_TRUE(shell.screenDirty) << c.what;
        EXPECT_TRUE(shell.phraseDirty) << c.what;
        ReleaseDisplay();
    }
}

TEST_F(Redraw, AfterTheFocusCameBackATwoPassRedrawLeavesBothPagesAlike) {
    StartHost();
    ASSERT_EQ(StartDisplay(window), 1);
    ASSERT_EQ(ToggleDisplayMode(window), 1);
    DrawScreenTwice();
    ASSERT_EQ(PagesDiffering(), 0);

    platform::HostActivated(false);
    EXPECT_EQ(PagesDiffering(), -1) << "the pages are lost while the desktop shows";
    platform::HostActivated(true);
    DrawScreen();
    PresentFrame();
    // Both pages came back holding garbage, and the present that restored them made them
    // black again.
    EXPECT_EQ(PagesDiffering(), 0);
    EXPECT_EQ(Shown(0, 0), 0x000000u);

    DrawScreen();
    PresentFrame();
    EXPECT_GT(PagesDiffering(), 0) << "one pass leaves the other page black";
    DrawScreen();
    PresentFrame();
    EXPECT_EQ(PagesDiffering(), 0);
    EXPECT_EQ(Shown(80, 80), kTestCream);
    EXPECT_EQ(Shown(180, 180), kTestInk) << "the image's border";
}

TEST_F(Redraw, CopiesRightAfterAFlipWaitForTheBlitterAndReachBothPages) {
    StartHost("busy-after-flip 5");
    ASSERT_EQ(StartDisplay(window), 1);
    ASSERT_EQ(ToggleDisplayMode(window), 1);
    DrawScreenTwice();
    EXPECT_EQ(PagesDiffering(), 0);
    EXPECT_EQ(Shown(180, 180), kTestInk);
    // An update drawn over it twice, still within the busy time of each flip.
    RECT corner = {0, 0, 16, 16};
    for (int pass = 0; pass < 2; ++pass) {
        BlitImage(ImageId::Yama, 300, 200, corner);
        PresentFrame();
    }
    EXPECT_EQ(PagesDiffering(), 0);
    EXPECT_EQ(Shown(380, 280), kTestInk);
}

}  // namespace
