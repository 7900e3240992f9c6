// The DirectDraw object: cooperative level, display mode, and the factory of surfaces,
// palettes and clippers.
#include "platform/core/host.h"
#include "platform/ddraw/ddraw_objects.h"
#include "platform/faults/fault_points.h"

namespace platform {

namespace {

bool ValidPixelFormat(const DDPIXELFORMAT& pf, PixelFormat& format) {
    if (pf.dwSize != sizeof(DDPIXELFORMAT)) return false;
    if (pf.dwFlags & DDPF_PALETTEINDEXED8) {
        format = IndexedFormat();
        return true;
    }
    if (!(pf.dwFlags & DDPF_RGB)) return false;
    format = {static_cast<int>(pf.dwRGBBitCount), pf.dwRBitMask, pf.dwGBitMask, pf.dwBBitMask};
    return (format.bits == 16 || format.bits == 32) && !format.Indexed();
}

}  // namespace

HRESULT CreateDirectDrawInstance(REFIID iid, void** object) {
    if (iid != IID_IDirectDraw7 && iid != IID_IUnknown) return E_NOINTERFACE;
    auto& state = DirectDrawGlobals();
    state.objects.push_back(std::make_unique<DirectDrawObject>());
    ++state.counts.objectsCreated;
    *object = static_cast<IDirectDraw7*>(state.objects.back().get());
    return S_OK;
}

HRESULT DirectDrawObject::Initialize(GUID* driver) {
    if (freed_) return Misuse(), DDERR_INVALIDOBJECT;
    if (initialized_) return DDERR_ALREADYINITIALIZED;
    initialized_ = true;
    return DD_OK;
}

PixelFormat DirectDrawObject::DisplayFormat() const {
    return DesktopFormat(CurrentDisplayMode().bits);
}

int DirectDrawObject::DisplayWidth() const {
    return CurrentDisplayMode().width;
}

int DirectDrawObject::DisplayHeight() const {
    return CurrentDisplayMode().height;
}

HRESULT DirectDrawObject::SetCooperativeLevel(HWND window, DWORD flags) {
    if (freed_) return Misuse(), DDERR_INVALIDOBJECT;
    if (!initialized_) return DDERR_NOTINITIALIZED;
    bool normal = flags == DDSCL_NORMAL;
    bool exclusive = flags == (DDSCL_FULLSCREEN | DDSCL_EXCLUSIVE);
    if (!normal && !exclusive) return DDERR_INVALIDPARAMS;
    if (exclusive && !IsWindow(window)) return DDERR_INVALIDPARAMS;
    if (FaultFires("SetCooperativeLevel")) return DDERR_GENERIC;
    // Giving up exclusive use gives the desktop its own mode back.
    if (normal && Exclusive()) RestoreDisplayMode();
    level_ = flags;
    window_ = window;
    return DD_OK;
}

HRESULT DirectDrawObject::SetDisplayMode(DWORD width, DWORD height, DWORD bits, DWORD refreshRate,
                                         DWORD flags) {
    if (freed_) return Misuse(), DDERR_INVALIDOBJECT;
    if (!initialized_) return DDERR_NOTINITIALIZED;
    if (!Exclusive()) return DDERR_NOEXCLUSIVEMODE;
    if (width == 0 || height == 0 || width > 4096 || height > 4096 ||
        (bits != 8 && bits != 16 && bits != 32) || flags != 0 || FaultFires("SetDisplayMode")) {
        return DDERR_INVALIDMODE;
    }
    SwitchDisplay(
        DisplayMode{static_cast<int>(width), static_cast<int>(height), static_cast<int>(bits)},
        false);
    return DD_OK;
}

HRESULT DirectDrawObject::RestoreDisplayMode() {
    if (freed_) return Misuse(), DDERR_INVALIDOBJECT;
    if (!initialized_) return DDERR_NOTINITIALIZED;
    if (DirectDrawGlobals().ownerMode) SwitchDisplay(std::nullopt, false);
    return DD_OK;
}

HRESULT DirectDrawObject::CreateClipper(DWORD flags, LPDIRECTDRAWCLIPPER* clipper,
                                        IUnknown* outer) {
    if (clipper == nullptr) return DDERR_INVALIDPARAMS;
    *clipper = nullptr;
    if (freed_) return Misuse(), DDERR_INVALIDOBJECT;
    if (!initialized_) return DDERR_NOTINITIALIZED;
    if (outer != nullptr) return CLASS_E_NOAGGREGATION;
    if (flags != 0) return DDERR_INVALIDPARAMS;
    if (FaultFires("CreateClipper")) return DDERR_OUTOFMEMORY;
    auto& state = DirectDrawGlobals();
    state.clippers.push_back(std::make_unique<Clipper>());
    ++state.counts.clippersCreated;
    *clipper = state.clippers.back().get();
    return DD_OK;
}

HRESULT DirectDrawObject::CreatePalette(DWORD flags, LPPALETTEENTRY colorTable,
                                        LPDIRECTDRAWPALETTE* palette, IUnknown* outer) {
    if (palette == nullptr) return DDERR_INVALIDPARAMS;
    *palette = nullptr;
    if (freed_) return Misuse(), DDERR_INVALIDOBJECT;
    if (!initialized_) return DDERR_NOTINITIALIZED;
    if (outer != nullptr) return CLASS_E_NOAGGREGATION;
    if (!(flags & DDPCAPS_8BIT) || colorTable == nullptr) return DDERR_INVALIDPARAMS;
    if (FaultFires("CreatePalette")) return DDERR_OUTOFMEMORY;
    auto& state = DirectDrawGlobals();
    state.palettes.push_back(std::make_unique<Palette>(colorTable));
    *palette = state.palettes.back().get();
    return DD_OK;
}

HRESULT DirectDrawObject::CreateSurface(LPDDSURFACEDESC2 desc, LPDIRECTDRAWSURFACE7* surface,
                                        IUnknown* outer) {
    if (surface == nullptr) return DDERR_INVALIDPARAMS;
    *surface = nullptr;
    if (freed_) return Misuse(), DDERR_INVALIDOBJECT;
    if (!initialized_) return DDERR_NOTINITIALIZED;
    if (outer != nullptr) return CLASS_E_NOAGGREGATION;
    if (desc == nullptr || desc->dwSize != sizeof(DDSURFACEDESC2) || !(desc->dwFlags & DDSD_CAPS)) {
        return DDERR_INVALIDPARAMS;
    }
    if (level_ == 0) return DDERR_NOCOOPERATIVELEVELSET;
    DWORD caps = desc->ddsCaps.dwCaps;
    auto& state = DirectDrawGlobals();
    auto add = [&state](std::unique_ptr<Surface> made) {
        state.surfaces.push_back(std::move(made));
        return state.surfaces.back().get();
    };

    if (caps & DDSCAPS_PRIMARYSURFACE) {
        if (desc->dwFlags & (DDSD_WIDTH | DDSD_HEIGHT | DDSD_PIXELFORMAT)) {
            return DDERR_INVALIDPARAMS;
        }
        if (primary != nullptr) return DDERR_PRIMARYSURFACEALREADYEXISTS;
        bool flipping = (caps & DDSCAPS_FLIP) != 0;
        if (flipping) {
            if (!(caps & DDSCAPS_COMPLEX) || !(desc->dwFlags & DDSD_BACKBUFFERCOUNT) ||
                desc->dwBackBufferCount == 0) {
                return DDERR_INVALIDCAPS;
            }
            if (!Exclusive()) return DDERR_NOEXCLUSIVEMODE;
            // One back buffer is all this layer provides.
            if (desc->dwBackBufferCount != 1) return DDERR_UNSUPPORTED;
        }
        if (FaultFires("CreateSurface")) return DDERR_OUTOFMEMORY;
        if (!flipping) {
            primary =
                add(std::make_unique<Surface>(this, SurfaceRole::WindowedPrimary, DisplayWidth(),
                                              DisplayHeight(), DisplayFormat()));
        } else {
            primary = add(std::make_unique<Surface>(this, SurfaceRole::FrontBuffer, DisplayWidth(),
                                                    DisplayHeight(), DisplayFormat()));
            Surface* back = add(std::make_unique<Surface>(
                this, SurfaceRole::BackBuffer, DisplayWidth(), DisplayHeight(), DisplayFormat()));
            primary->backBuffer = back;
            back->frontBuffer = primary;
        }
        *surface = primary;
        return DD_OK;
    }

    if (!(caps & DDSCAPS_OFFSCREENPLAIN) || (caps & (DDSCAPS_FLIP | DDSCAPS_BACKBUFFER)) ||
        !(desc->dwFlags & DDSD_WIDTH) || !(desc->dwFlags & DDSD_HEIGHT)) {
        return DDERR_INVALIDCAPS;
    }
    if (desc->dwWidth == 0 || desc->dwHeight == 0 || desc->dwWidth > 16384 ||
        desc->dwHeight > 16384) {
        return DDERR_INVALIDPARAMS;
    }
    PixelFormat format = DisplayFormat();
    if ((desc->dwFlags & DDSD_PIXELFORMAT) && !ValidPixelFormat(desc->ddpfPixelFormat, format)) {
        return DDERR_INVALIDPIXELFORMAT;
    }
    if (FaultFires("CreateSurface")) return DDERR_OUTOFMEMORY;
    *surface =
        add(std::make_unique<Surface>(this, SurfaceRole::OffScreen, static_cast<int>(desc->dwWidth),
                                      static_cast<int>(desc->dwHeight), format));
    return DD_OK;
}

void DirectDrawObject::Free() {
    auto& state = DirectDrawGlobals();
    ++state.counts.objectsFreed;
    if (state.ownerMode && Exclusive()) SwitchDisplay(std::nullopt, false);
    // Whatever it made goes with it.
    for (auto& surface : state.surfaces) surface->Orphan(this);
    primary = nullptr;
}

}  // namespace platform
