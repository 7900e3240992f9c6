// What real DirectDraw does to a program that doesn't expect it: restored memory that holds
// garbage, the focus lost in exclusive full screen, a blitter still busy after a flip, and a
// restore that depends on the display mode, not on how often it changed.
#include <ddraw.h>
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/core/host_events.h"
#include "platform/ddraw/ddraw_objects.h"
#include "tests/platform/ddraw_fixture.h"

namespace {

using DirectDrawLoss = DirectDraw;

TEST_F(DirectDrawLoss, RestoredMemoryHoldsLoudGarbageThatTellsThePagesApart) {
    IDirectDrawSurface7* back = nullptr;
    IDirectDrawSurface7* front = FlipChain(&back);
    IDirectDrawSurface7* image = OffScreen(16, 16);
    Fill(back, 7);
    ASSERT_EQ(front->Flip(nullptr, 0), DD_OK);
    Fill(back, 7);
    Fill(image, 7);

    // A surface that was not lost keeps what it holds.
    ASSERT_EQ(front->Restore(), DD_OK);
    EXPECT_EQ(Pixel(back, 0, 0) & 0xFF, 7u);

    platform::LoseAllSurfaces();
    ASSERT_EQ(front->Restore(), DD_OK);
    ASSERT_EQ(image->Restore(), DD_OK);
    // Magenta (253) and green (250) stripes, the back page's shifted by one stripe.
    EXPECT_EQ(Pixel(front, 0, 0) & 0xFF, 253u);
    EXPECT_EQ(Pixel(back, 0, 0) & 0xFF, 250u);
    EXPECT_EQ(Pixel(front, 0, 8) & 0xFF, 250u);
    EXPECT_EQ(Pixel(image, 0, 0) & 0xFF, 253u);
    image->Release();
    front->Release();
}

TEST_F(DirectDrawLoss, RestoredMemoryIsGarbageInTheDesktopsFormatToo) {
    ASSERT_EQ(dd->SetCooperativeLevel(window, DDSCL_NORMAL), DD_OK);
    IDirectDrawSurface7* frame = OffScreen(16, 16);
    Fill(frame, 0x123456);
    platform::LoseAllSurfaces();
    ASSERT_EQ(frame->Restore(), DD_OK);
    EXPECT_EQ(Pixel(frame, 0, 0), 0xFF00FFu);
    EXPECT_EQ(Pixel(frame, 8, 0), 0x00FF00u);
    frame->Release();
}

TEST_F(DirectDrawLoss, RestoreComparesTheDisplayModeNotHowOftenItChanged) {
    struct Case {
        const char* what;
        std::function<void(IDirectDraw7*)> change;
        HRESULT expected;
    };
    const Case cases[] = {
        {"the desktop's mode is back", [](IDirectDraw7* d) { d->RestoreDisplayMode(); },
         DDERR_WRONGMODE},
        {"the same mode set again",
         [](IDirectDraw7* d) {
             d->RestoreDisplayMode();
             d->SetDisplayMode(640, 480, 8, 0, 0);
         },
         DD_OK},
        {"another size", [](IDirectDraw7* d) { d->SetDisplayMode(800, 600, 8, 0, 0); },
         DDERR_WRONGMODE},
        {"another depth and back again",
         [](IDirectDraw7* d) {
             d->SetDisplayMode(640, 480, 16, 0, 0);
             d->SetDisplayMode(640, 480, 8, 0, 0);
         },
         DD_OK},
    };
    for (const auto& c : cases) {
        IDirectDrawSurface7* back = nullptr;
        IDirectDrawSurface7* front = FlipChain(&back);
        c.change(dd);
        EXPECT_EQ(front->Flip(nullptr, 0), DDERR_SURFACELOST) << c.what;
        EXPECT_EQ(front->Restore(), c.expected) << c.what;
        back->Release();
        front->Release();
        dd->RestoreDisplayMode();
    }
}

TEST_F(DirectDrawLoss, LosingTheFocusInFullScreenGivesTheDesktopItsModeAndLosesEverything) {
    ShowWindow(window, SW_SHOW);
    ASSERT_TRUE(platform::Windows().windows.front().active);
    IDirectDrawSurface7* back = nullptr;
    IDirectDrawSurface7* front = FlipChain(&back);
    IDirectDrawSurface7* image = OffScreen(16, 16);
    size_t logged = host->LogLines().size();

    platform::HostActivated(false);
    EXPECT_FALSE(host->FullScreen());
    EXPECT_EQ(front->Flip(nullptr, 0), DDERR_SURFACELOST);
    EXPECT_EQ(image->IsLost(), DDERR_SURFACELOST);
    // Nothing comes back while the desktop's mode shows.
    EXPECT_EQ(front->Restore(), DDERR_WRONGMODE);

    platform::HostActivated(true);
    EXPECT_TRUE(host->FullScreen());
    // The program's mode is back, its surfaces are not until it restores them.
    EXPECT_EQ(front->Flip(nullptr, 0), DDERR_SURFACELOST);
    EXPECT_EQ(front->Restore(), DD_OK);
    EXPECT_EQ(image->Restore(), DD_OK);
    EXPECT_EQ(front->Flip(nullptr, 0), DD_OK);

    // Minimising takes the focus the same way.
    platform::HostMinimized(true);
    EXPECT_EQ(front->IsLost(), DDERR_SURFACELOST);
    platform::HostMinimized(false);
    EXPECT_EQ(front->Restore(), DD_OK);

    std::vector<std::string> display;
    for (size_t i = logged; i < host->LogLines().size(); ++i) {
        if (host->LogLines()[i].find(" display ") != std::string::npos) {
            display.push_back(host->LogLines()[i]);
        }
    }
    EXPECT_EQ(display,
              (std::vector<std::string>{"0 display windowed", "0 display fullscreen 640x480x8",
                                        "0 display windowed", "0 display fullscreen 640x480x8"}));
    image->Release();
    front->Release();
}

TEST_F(DirectDrawLoss, LosingTheFocusInAWindowLosesNothing) {
    ShowWindow(window, SW_SHOW);
    ASSERT_EQ(dd->SetCooperativeLevel(window, DDSCL_NORMAL), DD_OK);
    IDirectDrawSurface7* frame = OffScreen(16, 16);
    platform::HostActivated(false);
    EXPECT_EQ(frame->IsLost(), DD_OK);
    platform::HostActivated(true);
    EXPECT_EQ(frame->IsLost(), DD_OK);
    frame->Release();
}

TEST_F(DirectDrawLoss, AfterAFlipTheBlitterRefusesCopiesThatDontWaitForAWhile) {
    platform::SetBlitterBusyAfterFlip(5);
    IDirectDrawSurface7* back = nullptr;
    IDirectDrawSurface7* front = FlipChain(&back);
    IDirectDrawSurface7* image = OffScreen(16, 16);
    RECT source = {0, 0, 16, 16};
    DDBLTFX fx = {};
    fx.dwSize = sizeof fx;
    struct Case {
        const char* what;
        std::function<HRESULT()> blit;
        bool waits;
    };
    const Case cases[] = {
        {"fast copy", [&] { return back->BltFast(0, 0, image, &source, 0); }, false},
        {"fast copy with a key",
         [&] { return back->BltFast(0, 0, image, &source, DDBLTFAST_SRCCOLORKEY); }, false},
        {"fast copy that waits",
         [&] {
             return back->BltFast(0, 0, image, &source, DDBLTFAST_SRCCOLORKEY | DDBLTFAST_WAIT);
         },
         true},
        {"copy", [&] { return back->Blt(nullptr, image, &source, 0, nullptr); }, false},
        {"copy that waits", [&] { return back->Blt(nullptr, image, &source, DDBLT_WAIT, nullptr); },
         true},
        {"fill", [&] { return back->Blt(nullptr, nullptr, nullptr, DDBLT_COLORFILL, &fx); }, false},
        {"fill that waits",
         [&] { return back->Blt(nullptr, nullptr, nullptr, DDBLT_COLORFILL | DDBLT_WAIT, &fx); },
         true},
    };
    auto expectAll = [&](const char* when, bool busy) {
        for (const auto& c : cases) {
            HRESULT expected = busy && !c.waits ? DDERR_WASSTILLDRAWING : DD_OK;
            EXPECT_EQ(c.blit(), expected) << c.what << ", " << when;
        }
    };
    expectAll("before any flip", false);
    ASSERT_EQ(front->Flip(nullptr, 0), DD_OK);
    expectAll("right after a flip", true);
    host->Sleep(4);
    expectAll("4 ms after the flip", true);
    host->Sleep(1);
    expectAll("5 ms after the flip", false);
    // Every flip makes it busy again; the flip itself is never refused.
    ASSERT_EQ(front->Flip(nullptr, 0), DD_OK);
    ASSERT_EQ(front->Flip(nullptr, 0), DD_OK);
    expectAll("after the next flip", true);
    image->Release();
    front->Release();
}

}  // namespace
