#include "display/display_device.h"

#include <ddraw.h>

#include "display/display_state.h"
#include "display/drawing.h"
#include "display/image_assets.h"

namespace {

template <typename Interface>
void ReleaseReference(Interface*& reference) {
    if (reference != nullptr) {
        reference->Release();
        reference = nullptr;
    }
}

// Everything made for one mode, in the order it goes: images, palette, clipper, frame, primary.
void ReleaseModeObjects() {
    for (auto& image : display.images) ReleaseReference(image);
    ReleaseReference(display.palette);
    ReleaseReference(display.clipper);
    ReleaseReference(display.frameSurface);
    ReleaseReference(display.primary);
}

// The width of a channel mask once its low zero bits are shifted out: 5 bits, or 6.
int32_t ChannelBits(DWORD mask) {
    if (mask == 0) return 6;
    while ((mask & 1) == 0) mask >>= 1;
    return mask == 31 ? 5 : 6;
}

int CreateFullScreenSurfaces(HWND window) {
    IDirectDraw7* directDraw = display.directDraw;
    ShowCursor(FALSE);
    if (FAILED(directDraw->SetCooperativeLevel(window, DDSCL_FULLSCREEN | DDSCL_EXCLUSIVE))) {
        return 0;
    }
    if (FAILED(directDraw->SetDisplayMode(kFrameWidth, kFrameHeight, 8, 0, 0))) return 0;
    DDSURFACEDESC2 desc = {};
    desc.dwSize = sizeof desc;
    desc.dwFlags = DDSD_CAPS | DDSD_BACKBUFFERCOUNT;
    desc.ddsCaps.dwCaps = DDSCAPS_PRIMARYSURFACE | DDSCAPS_FLIP | DDSCAPS_COMPLEX;
    desc.dwBackBufferCount = 1;
    if (FAILED(directDraw->CreateSurface(&desc, &display.primary, nullptr))) return 0;
    DDSCAPS2 caps = {};
    caps.dwCaps = DDSCAPS_BACKBUFFER;
    if (FAILED(display.primary->GetAttachedSurface(&caps, &display.frameSurface))) return 0;
    return 1;
}

int CreateWindowedSurfaces(HWND window) {
    IDirectDraw7* directDraw = display.directDraw;
    ShowCursor(TRUE);
    if (FAILED(directDraw->SetCooperativeLevel(window, DDSCL_NORMAL))) return 0;
    DDSURFACEDESC2 desc = {};
    desc.dwSize = sizeof desc;
    desc.dwFlags = DDSD_CAPS;
    desc.ddsCaps.dwCaps = DDSCAPS_PRIMARYSURFACE;
    if (FAILED(directDraw->CreateSurface(&desc, &display.primary, nullptr))) return 0;
    // No pixel format: the frame takes the desktop's, so the present needs no conversion.
    desc = {};
    desc.dwSize = sizeof desc;
    desc.dwFlags = DDSD_CAPS | DDSD_HEIGHT | DDSD_WIDTH;
    desc.dwWidth = kFrameWidth;
    desc.dwHeight = kFrameHeight;
    desc.ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN;
    if (FAILED(directDraw->CreateSurface(&desc, &display.frameSurface, nullptr))) return 0;
    if (FAILED(directDraw->CreateClipper(0, &display.clipper, nullptr))) return 0;
    if (FAILED(display.primary->SetClipper(display.clipper))) return 0;
    if (FAILED(display.clipper->SetHWnd(0, window))) return 0;

    DDPIXELFORMAT format = {};
    format.dwSize = sizeof format;
    display.frameSurface->GetPixelFormat(&format);
    if (format.dwRGBBitCount == 16) {
        DDSURFACEDESC2 frameDesc = {};
        frameDesc.dwSize = sizeof frameDesc;
        display.frameSurface->GetSurfaceDesc(&frameDesc);
        display.frameDepth16.depth = 16;
        display.frameDepth16.red = ChannelBits(frameDesc.ddpfPixelFormat.dwRBitMask);
        display.frameDepth16.green = ChannelBits(frameDesc.ddpfPixelFormat.dwGBitMask);
        display.frameDepth16.blue = ChannelBits(frameDesc.ddpfPixelFormat.dwBBitMask);
    }
    return 1;
}

}  // namespace

int CreateDisplayDevice(HWND window) {
    // The object lives across mode switches; COM and the object are made once.
    if (display.firstStart || display.directDraw == nullptr) {
        CoInitialize(nullptr);
        if (FAILED(CoCreateInstance(CLSID_DirectDraw, nullptr, CLSCTX_ALL, IID_IDirectDraw7,
                                    reinterpret_cast<void**>(&display.directDraw)))) {
            display.directDraw = nullptr;
            return 0;
        }
        display.directDraw->Initialize(nullptr);
        display.firstStart = 0;
    }
    int created =
        display.windowed ? CreateWindowedSurfaces(window) : CreateFullScreenSurfaces(window);
    if (!created) return 0;
    display.fillEffects = {};
    display.fillEffects.dwSize = sizeof display.fillEffects;
    return 1;
}

void TrackClientRect(HWND window) {
    RECT outer = {};
    RECT client = {};
    GetWindowRect(window, &outer);
    GetClientRect(window, &client);
    // The offsets of a captioned dialog frame without a menu, the window's style.
    int dx = outer.left + GetSystemMetrics(SM_CXDLGFRAME);
    int dy = outer.top + GetSystemMetrics(SM_CYCAPTION) + GetSystemMetrics(SM_CYDLGFRAME);
    MakeRect(display.clientScreenRect, client.top + dy, client.left + dx, client.right + dx,
             client.bottom + dy);
}

int ToggleDisplayMode(HWND window) {
    display.windowed ^= 1;
    if (display.directDraw != nullptr) {
        display.directDraw->RestoreDisplayMode();
        ReleaseModeObjects();
    }
    if (display.windowed) {
        int width = kPlayWidth + 2 * GetSystemMetrics(SM_CXDLGFRAME);
        int height =
            kPlayHeight + GetSystemMetrics(SM_CYCAPTION) + 2 * GetSystemMetrics(SM_CYDLGFRAME);
        RECT desktop = {};
        GetWindowRect(GetDesktopWindow(), &desktop);
        int x = (desktop.right - width) >> 1;
        int y = (desktop.bottom - height) >> 1;
        SetWindowPos(window, nullptr, x, y, width, height, SWP_SHOWWINDOW | SWP_FRAMECHANGED);
        TrackClientRect(window);
    }
    int started = StartDisplay(window);
    // A DirectDraw that took the window's frame away for full screen may give it back only
    // when the windowed cooperative level is set (Wine's does), after the placing above; the
    // client area is measured again, so the present doesn't stretch into the old frame's size.
    if (display.windowed) TrackClientRect(window);
    return started;
}

void ReleaseDisplay() {
    if (display.directDraw == nullptr) return;
    display.directDraw->RestoreDisplayMode();
    ReleaseModeObjects();
    ReleaseReference(display.directDraw);
}
