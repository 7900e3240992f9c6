// A window and an initialised DirectDraw object on a scripted host, every platform record
// back at its start, with helpers to make and read surfaces.
#pragma once

#include <ddraw.h>
#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "platform/com/com_classes.h"
#include "platform/core/window_state.h"
#include "platform/ddraw/ddraw_objects.h"
#include "platform/faults/fault_points.h"
#include "platform/gdi/gdi_objects.h"
#include "platform/scripted/script.h"
#include "platform/scripted/scripted_host.h"

inline LRESULT CALLBACK DirectDrawTestProcedure(HWND window, UINT message, WPARAM wParam,
                                                LPARAM lParam) {
    return DefWindowProcA(window, message, wParam, lParam);
}

class DirectDraw : public ::testing::Test {
protected:
    void SetUp() override {
        platform::ResetWindowState();
        platform::ResetDirectDrawState();
        platform::ResetGdiState();
        platform::ResetCom();
        platform::ResetFaults();
        host = std::make_unique<platform::ScriptedHost>(platform::Script{}, nullptr);
        platform::SetHost(host.get());
        WNDCLASSA windowClass = {};
        windowClass.lpfnWndProc = DirectDrawTestProcedure;
        windowClass.lpszClassName = "ddrawtest";
        RegisterClassA(&windowClass);
        window = CreateWindowExA(0, "ddrawtest", "", WS_POPUP | WS_CAPTION | WS_SYSMENU, 100, 100,
                                 486, 349, nullptr, nullptr, nullptr, nullptr);
        CoInitialize(nullptr);
        ASSERT_EQ(CoCreateInstance(CLSID_DirectDraw, nullptr, CLSCTX_ALL, IID_IDirectDraw7,
                                   reinterpret_cast<void**>(&dd)),
                  S_OK);
        ASSERT_EQ(dd->Initialize(nullptr), DD_OK);
    }
    void TearDown() override {
        platform::SetHost(nullptr);
        platform::ResetDirectDrawState();
        platform::ResetWindowState();
        platform::ResetCom();
        platform::ResetFaults();
    }

    IDirectDrawSurface7* OffScreen(int width, int height) {
        DDSURFACEDESC2 desc = {};
        desc.dwSize = sizeof desc;
        desc.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT;
        desc.dwWidth = static_cast<DWORD>(width);
        desc.dwHeight = static_cast<DWORD>(height);
        desc.ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN;
        IDirectDrawSurface7* surface = nullptr;
        EXPECT_EQ(dd->CreateSurface(&desc, &surface, nullptr), DD_OK);
        return surface;
    }
    // Fills a whole surface with one raw value.
    static void Fill(IDirectDrawSurface7* surface, DWORD value) {
        DDBLTFX fx = {};
        fx.dwSize = sizeof fx;
        fx.dwFillColor = value;
        ASSERT_EQ(surface->Blt(nullptr, nullptr, nullptr, DDBLT_COLORFILL | DDBLT_WAIT, &fx),
                  DD_OK);
    }
    static uint32_t Pixel(IDirectDrawSurface7* surface, int x, int y) {
        DDSURFACEDESC2 desc = {};
        desc.dwSize = sizeof desc;
        EXPECT_EQ(surface->Lock(nullptr, &desc, 0, nullptr), DD_OK);
        uint32_t value = 0;
        const auto* row = static_cast<const uint8_t*>(desc.lpSurface) + y * desc.lPitch;
        std::memcpy(&value, row + x * 4, 4);
        surface->Unlock(nullptr);
        return value;
    }

    // A full-screen flip chain at 640 x 480 x 8 with a palette of loud colours; its back
    // buffer in `back`.
    IDirectDrawSurface7* FlipChain(IDirectDrawSurface7** back) {
        EXPECT_EQ(dd->SetCooperativeLevel(window, DDSCL_FULLSCREEN | DDSCL_EXCLUSIVE), DD_OK);
        EXPECT_EQ(dd->SetDisplayMode(640, 480, 8, 0, 0), DD_OK);
        DDSURFACEDESC2 desc = {};
        desc.dwSize = sizeof desc;
        desc.dwFlags = DDSD_CAPS | DDSD_BACKBUFFERCOUNT;
        desc.ddsCaps.dwCaps = DDSCAPS_PRIMARYSURFACE | DDSCAPS_FLIP | DDSCAPS_COMPLEX;
        desc.dwBackBufferCount = 1;
        IDirectDrawSurface7* front = nullptr;
        EXPECT_EQ(dd->CreateSurface(&desc, &front, nullptr), DD_OK);
        DDSCAPS2 caps = {};
        caps.dwCaps = DDSCAPS_BACKBUFFER;
        EXPECT_EQ(front->GetAttachedSurface(&caps, back), DD_OK);
        return front;
    }

    std::unique_ptr<platform::ScriptedHost> host;
    HWND window = nullptr;
    IDirectDraw7* dd = nullptr;
};
