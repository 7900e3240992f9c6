// Our DirectDraw: copies that refuse rectangles outside a surface, colour keys, the flip chain,
// loss and restoration, and the bookkeeping that catches a release too many.
#include <ddraw.h>
#include <gtest/gtest.h>

#include <cstring>

#include "platform/ddraw/ddraw_objects.h"
#include "tests/platform/ddraw_fixture.h"

namespace {

TEST_F(DirectDraw, FastCopiesRefuseRectanglesOutsideEitherSurface) {
    ASSERT_EQ(dd->SetCooperativeLevel(window, DDSCL_NORMAL), DD_OK);
    IDirectDrawSurface7* to = OffScreen(32, 32);
    IDirectDrawSurface7* from = OffScreen(16, 16);
    struct Case {
        const char* what;
        DWORD x, y;
        RECT source;
        HRESULT expected;
    };
    const Case cases[] = {
        {"inside", 0, 0, {0, 0, 16, 16}, DD_OK},
        {"at the far corner", 16, 16, {0, 0, 16, 16}, DD_OK},
        {"source left of the image", 0, 0, {-1, 0, 4, 4}, DDERR_INVALIDRECT},
        {"source past the right", 0, 0, {8, 0, 17, 4}, DDERR_INVALIDRECT},
        {"source past the bottom", 0, 0, {0, 8, 4, 17}, DDERR_INVALIDRECT},
        {"empty source", 0, 0, {4, 4, 4, 8}, DDERR_INVALIDRECT},
        {"upside-down source", 0, 0, {0, 8, 4, 4}, DDERR_INVALIDRECT},
        {"past the destination", 17, 0, {0, 0, 16, 16}, DDERR_INVALIDRECT},
        {"a negative position", static_cast<DWORD>(-1), 0, {0, 0, 4, 4}, DDERR_INVALIDRECT},
    };
    for (const auto& c : cases) {
        Fill(to, 0);
        Fill(from, 0x123456);
        RECT source = c.source;
        EXPECT_EQ(to->BltFast(c.x, c.y, from, &source, DDBLTFAST_SRCCOLORKEY), c.expected)
            << c.what;
        if (c.expected != DD_OK) {
            EXPECT_EQ(Pixel(to, 0, 0), 0u) << c.what << ": nothing drawn";
        }
    }
    from->Release();
    to->Release();
}

TEST_F(DirectDraw, TheSourceKeyLeavesItsPixelsOut) {
    ASSERT_EQ(dd->SetCooperativeLevel(window, DDSCL_NORMAL), DD_OK);
    IDirectDrawSurface7* to = OffScreen(4, 1);
    IDirectDrawSurface7* from = OffScreen(4, 1);
    DDSURFACEDESC2 desc = {};
    desc.dwSize = sizeof desc;
    ASSERT_EQ(from->Lock(nullptr, &desc, 0, nullptr), DD_OK);
    const uint32_t values[4] = {0x0000FF, 0x0000FE, 0xFFFFFF, 0x0000FF};
    std::memcpy(desc.lpSurface, values, sizeof values);
    from->Unlock(nullptr);
    DDCOLORKEY key = {0x0000FF, 0x0000FF};
    ASSERT_EQ(from->SetColorKey(DDCKEY_SRCBLT, &key), DD_OK);
    struct Case {
        DWORD flags;
        uint32_t expected[4];
    };
    const Case cases[] = {
        {DDBLTFAST_SRCCOLORKEY, {0x111111, 0x0000FE, 0xFFFFFF, 0x111111}},
        {DDBLTFAST_NOCOLORKEY, {0x0000FF, 0x0000FE, 0xFFFFFF, 0x0000FF}},
    };
    for (const auto& c : cases) {
        Fill(to, 0x111111);
        ASSERT_EQ(to->BltFast(0, 0, from, nullptr, c.flags), DD_OK);
        for (int x = 0; x < 4; ++x)
            EXPECT_EQ(Pixel(to, x, 0), c.expected[x]) << c.flags << " " << x;
    }
    from->Release();
    to->Release();
}

TEST_F(DirectDraw, AFlipShowsTheBackBufferAndGivesBackTheOldPicture) {
    ASSERT_EQ(dd->SetCooperativeLevel(window, DDSCL_FULLSCREEN | DDSCL_EXCLUSIVE), DD_OK);
    ASSERT_EQ(dd->SetDisplayMode(640, 480, 8, 0, 0), DD_OK);
    DDSURFACEDESC2 desc = {};
    desc.dwSize = sizeof desc;
    desc.dwFlags = DDSD_CAPS | DDSD_BACKBUFFERCOUNT;
    desc.ddsCaps.dwCaps = DDSCAPS_PRIMARYSURFACE | DDSCAPS_FLIP | DDSCAPS_COMPLEX;
    desc.dwBackBufferCount = 1;
    IDirectDrawSurface7* front = nullptr;
    ASSERT_EQ(dd->CreateSurface(&desc, &front, nullptr), DD_OK);
    IDirectDrawSurface7* second = nullptr;
    EXPECT_EQ(dd->CreateSurface(&desc, &second, nullptr), DDERR_PRIMARYSURFACEALREADYEXISTS);
    DDSCAPS2 caps = {};
    caps.dwCaps = DDSCAPS_BACKBUFFER;
    IDirectDrawSurface7* back = nullptr;
    ASSERT_EQ(front->GetAttachedSurface(&caps, &back), DD_OK);
    PALETTEENTRY entries[256] = {};
    entries[1] = {255, 0, 0, 0};
    entries[2] = {0, 255, 0, 0};
    IDirectDrawPalette* palette = nullptr;
    ASSERT_EQ(dd->CreatePalette(DDPCAPS_8BIT, entries, &palette, nullptr), DD_OK);
    ASSERT_EQ(front->SetPalette(palette), DD_OK);

    Fill(back, 1);
    ASSERT_EQ(front->Flip(nullptr, 0), DD_OK);
    EXPECT_EQ(host->Picture().at(0), 0xFF0000u);
    // The back buffer now holds the picture shown before (all index 0).
    EXPECT_EQ(Pixel(back, 0, 0) & 0xFF, 0u);
    Fill(back, 2);
    ASSERT_EQ(front->Flip(nullptr, 0), DD_OK);
    EXPECT_EQ(host->Picture().at(0), 0x00FF00u);
    EXPECT_EQ(Pixel(back, 0, 0) & 0xFF, 1u);

    // Losing the display: everything refuses until restored; the chain restores as one.
    platform::LoseAllSurfaces();
    EXPECT_EQ(front->Flip(nullptr, 0), DDERR_SURFACELOST);
    HDC dc = nullptr;
    EXPECT_EQ(back->GetDC(&dc), DDERR_SURFACELOST);
    EXPECT_EQ(back->Restore(), DDERR_IMPLICITLYCREATED);
    EXPECT_EQ(front->Restore(), DD_OK);
    EXPECT_EQ(front->Flip(nullptr, 0), DD_OK);
    // A surface made for another display mode can't come back.
    platform::LoseAllSurfaces();
    ASSERT_EQ(dd->RestoreDisplayMode(), DD_OK);
    EXPECT_EQ(front->Restore(), DDERR_WRONGMODE);

    auto& counts = platform::DirectDrawGlobals().counts;
    back->Release();
    EXPECT_EQ(platform::LiveSurfaces(), 2) << "the front buffer still holds its back buffer";
    front->Release();
    EXPECT_EQ(platform::LiveSurfaces(), 0);
    EXPECT_EQ(platform::LivePalettes(), 1) << "the application still holds the palette";
    palette->Release();
    EXPECT_EQ(platform::LivePalettes(), 0);
    EXPECT_EQ(counts.releasesTooMany, 0);
    front->Release();
    EXPECT_EQ(counts.releasesTooMany, 1);
    EXPECT_EQ(front->Flip(nullptr, 0), DDERR_INVALIDOBJECT);
    EXPECT_EQ(counts.callsOnFreed, 1);
}

TEST_F(DirectDraw, CreationChecksItsPreconditions) {
    DDSURFACEDESC2 desc = {};
    desc.dwSize = sizeof desc;
    desc.dwFlags = DDSD_CAPS | DDSD_BACKBUFFERCOUNT;
    desc.ddsCaps.dwCaps = DDSCAPS_PRIMARYSURFACE | DDSCAPS_FLIP | DDSCAPS_COMPLEX;
    desc.dwBackBufferCount = 1;
    IDirectDrawSurface7* surface = nullptr;
    EXPECT_EQ(dd->CreateSurface(&desc, &surface, nullptr), DDERR_NOCOOPERATIVELEVELSET);
    ASSERT_EQ(dd->SetCooperativeLevel(window, DDSCL_NORMAL), DD_OK);
    EXPECT_EQ(dd->CreateSurface(&desc, &surface, nullptr), DDERR_NOEXCLUSIVEMODE);
    EXPECT_EQ(dd->SetDisplayMode(640, 480, 8, 0, 0), DDERR_NOEXCLUSIVEMODE);
    desc.dwSize = 100;
    EXPECT_EQ(dd->CreateSurface(&desc, &surface, nullptr), DDERR_INVALIDPARAMS);
    EXPECT_EQ(dd->Initialize(nullptr), DDERR_ALREADYINITIALIZED);

    IDirectDraw7* other = nullptr;
    EXPECT_EQ(CoCreateInstance(IID_IDirectDraw7, nullptr, CLSCTX_ALL, IID_IDirectDraw7,
                               reinterpret_cast<void**>(&other)),
              REGDB_E_CLASSNOTREG);
    platform::ResetCom();
    EXPECT_EQ(CoCreateInstance(CLSID_DirectDraw, nullptr, CLSCTX_ALL, IID_IDirectDraw7,
                               reinterpret_cast<void**>(&other)),
              CO_E_NOTINITIALIZED);

    ASSERT_TRUE(platform::ArmFault("CreateSurface", 1));
    EXPECT_NE(OffScreen(8, 8), nullptr);
    IDirectDrawSurface7* refused = nullptr;
    desc = {};
    desc.dwSize = sizeof desc;
    desc.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT;
    desc.dwWidth = desc.dwHeight = 8;
    desc.ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN;
    EXPECT_EQ(dd->CreateSurface(&desc, &refused, nullptr), DDERR_OUTOFMEMORY);
    EXPECT_EQ(refused, nullptr);
}

TEST_F(DirectDraw, TheWindowedPrimaryShowsWhatLandsOnTheClientArea) {
    ASSERT_EQ(dd->SetCooperativeLevel(window, DDSCL_NORMAL), DD_OK);
    DDSURFACEDESC2 desc = {};
    desc.dwSize = sizeof desc;
    desc.dwFlags = DDSD_CAPS;
    desc.ddsCaps.dwCaps = DDSCAPS_PRIMARYSURFACE;
    IDirectDrawSurface7* primary = nullptr;
    ASSERT_EQ(dd->CreateSurface(&desc, &primary, nullptr), DD_OK);
    IDirectDrawClipper* clipper = nullptr;
    ASSERT_EQ(dd->CreateClipper(0, &clipper, nullptr), DD_OK);
    ASSERT_EQ(clipper->SetHWnd(0, window), DD_OK);
    ASSERT_EQ(primary->SetClipper(clipper), DD_OK);
    IDirectDrawSurface7* frame = OffScreen(480, 320);
    Fill(frame, 0xABCDEF);
    // The client area starts at (103, 126); a copy half off it is clipped to it.
    RECT dest = {103 + 240, 126 + 160, 103 + 720, 126 + 480};
    RECT source = {0, 0, 480, 320};
    ASSERT_EQ(primary->Blt(&dest, frame, &source, DDBLT_WAIT, nullptr), DD_OK);
    ASSERT_EQ(host->PictureWidth(), 480);
    ASSERT_EQ(host->PictureHeight(), 320);
    EXPECT_EQ(host->Picture()[0], 0u);
    EXPECT_EQ(host->Picture()[160 * 480 + 240], 0xABCDEFu);
    EXPECT_EQ(host->Picture()[319 * 480 + 479], 0xABCDEFu);
    frame->Release();
    clipper->Release();
    EXPECT_EQ(platform::LiveClippers(), 1) << "the primary still holds the clipper";
    primary->Release();
    EXPECT_EQ(platform::LiveClippers(), 0);
}

}  // namespace
