// Surfaces: copies with and without a source colour key, colour fills, the flip of a
// full-screen chain, locks and device contexts, loss and restoration. A windowed primary
// surface is the screen: what is copied into it shows in the window's client area.
#include <algorithm>
#include <cstring>

#include "platform/core/host.h"
#include "platform/core/window_state.h"
#include "platform/ddraw/ddraw_objects.h"
#include "platform/faults/fault_points.h"
#include "platform/gdi/gdi_objects.h"

namespace platform {

namespace {

bool Empty(const RECT& r) {
    return r.right <= r.left || r.bottom <= r.top;
}

bool Inside(const RECT& r, int width, int height) {
    return r.left >= 0 && r.top >= 0 && r.right <= width && r.bottom <= height;
}

RECT Intersect(const RECT& a, const RECT& b) {
    return {std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
            std::min(a.bottom, b.bottom)};
}

// Where the window's client area lies on the screen.
bool ClientScreenArea(HWND window, RECT& area) {
    WindowRecord* record = FindWindowRecord(window);
    if (record == nullptr) return false;
    RECT offsets = ClientOffsets(record->style);
    area = {record->outer.left + offsets.left, record->outer.top + offsets.top,
            record->outer.right - offsets.right, record->outer.bottom - offsets.bottom};
    return !Empty(area);
}

// The source pixel that lands on a destination pixel when `source` is stretched onto `dest`.
int MapCoordinate(int d, LONG destStart, LONG destSize, LONG sourceStart, LONG sourceSize) {
    return static_cast<int>(sourceStart + (int64_t{d} - destStart) * sourceSize / destSize);
}

}  // namespace

Surface::Surface(DirectDrawObject* owner, SurfaceRole role, int width, int height,
                 PixelFormat format)
    : owner_(owner), role_(role), width_(width), height_(height), format_(format) {
    // Rows are whole 32-bit words, so reading the first word of any surface stays inside it.
    pitch_ = std::max(4, (width * format.BytesPerPixel() + 3) & ~3);
    // The windowed primary is the screen itself, which this layer keeps no copy of.
    if (role != SurfaceRole::WindowedPrimary) {
        pixels_.assign(static_cast<size_t>(pitch_) * height, 0);
    }
    mode_ = CurrentDisplayMode();
    ++DirectDrawGlobals().counts.surfacesCreated;
}

HRESULT Surface::Usable() const {
    if (lost_) return DDERR_SURFACELOST;
    if (locked_ || dc_ != nullptr) return DDERR_SURFACEBUSY;
    return DD_OK;
}

const PALETTEENTRY* Surface::ColorTable() const {
    if (!format_.Indexed()) return nullptr;
    if (palette_ != nullptr) return palette_->entries;
    // A surface without a palette of its own shows through the primary's.
    if (owner_ != nullptr && owner_->primary != nullptr && owner_->primary->palette_ != nullptr) {
        return owner_->primary->palette_->entries;
    }
    return nullptr;
}

PixelView Surface::View() {
    return {pixels_.data(), width_, height_, pitch_, format_, ColorTable()};
}

DDPIXELFORMAT Surface::DescribeFormat() const {
    DDPIXELFORMAT pf = {};
    pf.dwSize = sizeof(DDPIXELFORMAT);
    pf.dwRGBBitCount = static_cast<DWORD>(format_.bits);
    if (format_.Indexed()) {
        pf.dwFlags = DDPF_RGB | DDPF_PALETTEINDEXED8;
    } else {
        pf.dwFlags = DDPF_RGB;
        pf.dwRBitMask = format_.red;
        pf.dwGBitMask = format_.green;
        pf.dwBBitMask = format_.blue;
    }
    return pf;
}

HRESULT Surface::Blt(LPRECT destRect, LPDIRECTDRAWSURFACE7 source, LPRECT sourceRect, DWORD flags,
                     LPDDBLTFX effects) {
    if (freed_) return Misuse(), DDERR_INVALIDOBJECT;
    if (HRESULT hr = Usable(); hr != DD_OK) return hr;
    if (!(flags & DDBLT_WAIT) && BlitterBusy()) return DDERR_WASSTILLDRAWING;
    RECT whole = {0, 0, width_, height_};

    if (flags & DDBLT_COLORFILL) {
        if (effects == nullptr || effects->dwSize != sizeof(DDBLTFX)) return DDERR_INVALIDPARAMS;
        if (role_ == SurfaceRole::WindowedPrimary) return DDERR_UNSUPPORTED;
        RECT dest = destRect != nullptr ? *destRect : whole;
        if (Empty(dest)) return DDERR_INVALIDRECT;
        if (clipper_ != nullptr) {
            dest = Intersect(dest, whole);
        } else if (!Inside(dest, width_, height_)) {
            return DDERR_INVALIDRECT;
        }
        PixelView view = View();
        uint32_t value = effects->dwFillColor;
        if (format_.bits < 32) value &= (1u << format_.bits) - 1;
        for (LONG y = dest.top; y < dest.bottom; ++y) {
            for (LONG x = dest.left; x < dest.right; ++x) WritePixel(view, x, y, value);
        }
        if (role_ == SurfaceRole::FrontBuffer) ShowFront();
        return DD_OK;
    }

    if (source == nullptr) return DDERR_INVALIDPARAMS;
    auto* from = static_cast<Surface*>(source);
    if (from->freed_) return Misuse(), DDERR_INVALIDOBJECT;
    if (from != this) {
        if (HRESULT hr = from->Usable(); hr != DD_OK) return hr;
    }
    if (from->role_ == SurfaceRole::WindowedPrimary) return DDERR_UNSUPPORTED;
    RECT src = sourceRect != nullptr ? *sourceRect : RECT{0, 0, from->width_, from->height_};
    if (Empty(src) || !Inside(src, from->width_, from->height_)) return DDERR_INVALIDRECT;

    if (role_ == SurfaceRole::WindowedPrimary) {
        RECT dest = destRect != nullptr ? *destRect : whole;
        if (Empty(dest)) return DDERR_INVALIDRECT;
        return BltToWindow(dest, *from, src);
    }

    RECT dest = destRect != nullptr ? *destRect : whole;
    if (Empty(dest)) return DDERR_INVALIDRECT;
    if (from->format_ != format_) return DDERR_INVALIDPIXELFORMAT;
    RECT visible = dest;
    if (clipper_ != nullptr) {
        visible = Intersect(dest, whole);
    } else if (!Inside(dest, width_, height_)) {
        return DDERR_INVALIDRECT;
    }
    bool keyed = (flags & DDBLT_KEYSRC) && from->hasSourceKey_;
    // A copy within one surface reads from a snapshot, so overlapping areas come out right.
    std::vector<uint8_t> snapshot;
    PixelView sourceView = from->View();
    if (from == this) {
        snapshot = pixels_;
        sourceView.bits = snapshot.data();
    }
    PixelView view = View();
    LONG dw = dest.right - dest.left, dh = dest.bottom - dest.top;
    LONG sw = src.right - src.left, sh = src.bottom - src.top;
    for (LONG y = visible.top; y < visible.bottom; ++y) {
        int sy = MapCoordinate(y, dest.top, dh, src.top, sh);
        for (LONG x = visible.left; x < visible.right; ++x) {
            int sx = MapCoordinate(x, dest.left, dw, src.left, sw);
            uint32_t value = ReadPixel(sourceView, sx, sy);
            if (keyed && value >= from->sourceKey_.dwColorSpaceLowValue &&
                value <= from->sourceKey_.dwColorSpaceHighValue) {
                continue;
            }
            WritePixel(view, x, y, value);
        }
    }
    if (role_ == SurfaceRole::FrontBuffer) ShowFront();
    return DD_OK;
}

HRESULT Surface::BltToWindow(const RECT& dest, Surface& from, const RECT& src) {
    HWND window =
        clipper_ != nullptr && clipper_->window != nullptr ? clipper_->window : owner_->Window();
    RECT client;
    if (!ClientScreenArea(window, client)) return DD_OK;  // nothing of it is on the screen
    if (clipper_ == nullptr && !Inside(dest, width_, height_)) return DDERR_INVALIDRECT;
    // Only the part over the window's client area is this program's to see.
    RECT visible = Intersect(dest, client);
    int cw = client.right - client.left, ch = client.bottom - client.top;
    auto& picture = DirectDrawGlobals().windowPicture;
    picture.resize(static_cast<size_t>(cw) * ch, 0);
    PixelView sourceView = from.View();
    LONG dw = dest.right - dest.left, dh = dest.bottom - dest.top;
    LONG sw = src.right - src.left, sh = src.bottom - src.top;
    // The usual present, a 32-bit picture copied unscaled, takes whole rows at a time.
    const PixelFormat& format = sourceView.format;
    bool rows = dw == sw && dh == sh && format.bits == 32 && format.red == 0xFF0000 &&
                format.green == 0xFF00 && format.blue == 0xFF;
    for (LONG y = visible.top; y < visible.bottom; ++y) {
        int sy = MapCoordinate(y, dest.top, dh, src.top, sh);
        uint32_t* row = picture.data() + static_cast<size_t>(y - client.top) * cw;
        if (rows) {
            const uint8_t* source =
                sourceView.bits + static_cast<ptrdiff_t>(sy) * sourceView.pitch +
                static_cast<ptrdiff_t>(src.left + (visible.left - dest.left)) * 4;
            uint32_t* to = row + (visible.left - client.left);
            LONG count = visible.right - visible.left;
            std::memcpy(to, source, static_cast<size_t>(count) * 4);
            for (LONG i = 0; i < count; ++i) to[i] &= 0xFFFFFF;
            continue;
        }
        for (LONG x = visible.left; x < visible.right; ++x) {
            int sx = MapCoordinate(x, dest.left, dw, src.left, sw);
            row[x - client.left] = PixelToXrgb(sourceView, ReadPixel(sourceView, sx, sy));
        }
    }
    CurrentHost().ShowWindowPicture(picture.data(), cw, ch);
    return DD_OK;
}

HRESULT Surface::BltFast(DWORD x, DWORD y, LPDIRECTDRAWSURFACE7 source, LPRECT sourceRect,
                         DWORD trans) {
    if (freed_) return Misuse(), DDERR_INVALIDOBJECT;
    if (HRESULT hr = Usable(); hr != DD_OK) return hr;
    if (!(trans & DDBLTFAST_WAIT) && BlitterBusy()) return DDERR_WASSTILLDRAWING;
    if (source == nullptr) return DDERR_INVALIDPARAMS;
    auto* from = static_cast<Surface*>(source);
    if (from->freed_) return Misuse(), DDERR_INVALIDOBJECT;
    if (from != this) {
        if (HRESULT hr = from->Usable(); hr != DD_OK) return hr;
    }
    // A fast copy is never clipped: it must fit, and a surface with a clipper takes Blt only.
    if (role_ == SurfaceRole::WindowedPrimary || from->role_ == SurfaceRole::WindowedPrimary ||
        clipper_ != nullptr) {
        return DDERR_UNSUPPORTED;
    }
    RECT src = sourceRect != nullptr ? *sourceRect : RECT{0, 0, from->width_, from->height_};
    if (Empty(src) || !Inside(src, from->width_, from->height_)) return DDERR_INVALIDRECT;
    int64_t right = int64_t{x} + (src.right - src.left);
    int64_t bottom = int64_t{y} + (src.bottom - src.top);
    if (right > width_ || bottom > height_) return DDERR_INVALIDRECT;
    if (from->format_ != format_) return DDERR_INVALIDPIXELFORMAT;
    bool keyed = (trans & DDBLTFAST_SRCCOLORKEY) && from->hasSourceKey_;
    PixelView sourceView = from->View();
    std::vector<uint8_t> snapshot;
    if (from == this) {
        snapshot = pixels_;
        sourceView.bits = snapshot.data();
    }
    PixelView view = View();
    for (LONG sy = src.top; sy < src.bottom; ++sy) {
        for (LONG sx = src.left; sx < src.right; ++sx) {
            uint32_t value = ReadPixel(sourceView, sx, sy);
            if (keyed && value >= from->sourceKey_.dwColorSpaceLowValue &&
                value <= from->sourceKey_.dwColorSpaceHighValue) {
                continue;
            }
            WritePixel(view, static_cast<int>(x + (sx - src.left)),
                       static_cast<int>(y + (sy - src.top)), value);
        }
    }
    if (role_ == SurfaceRole::FrontBuffer) ShowFront();
    return DD_OK;
}

HRESULT Surface::Flip(LPDIRECTDRAWSURFACE7 targetOverride, DWORD flags) {
    if (freed_) return Misuse(), DDERR_INVALIDOBJECT;
    if (role_ != SurfaceRole::FrontBuffer || backBuffer == nullptr) return DDERR_NOTFLIPPABLE;
    if (targetOverride != nullptr && targetOverride != backBuffer) return DDERR_INVALIDPARAMS;
    if (lost_ || backBuffer->lost_) return DDERR_SURFACELOST;
    if (Usable() != DD_OK || backBuffer->Usable() != DD_OK) return DDERR_SURFACEBUSY;
    // The pages trade places: the back buffer now holds what was on the screen before.
    std::swap(pixels_, backBuffer->pixels_);
    ShowFront();
    NoteFlip();
    return DD_OK;
}

void Surface::ShowFront() {
    if (role_ != SurfaceRole::FrontBuffer || !format_.Indexed()) return;
    uint32_t colors[256] = {};
    if (const PALETTEENTRY* table = ColorTable()) {
        for (int i = 0; i < 256; ++i) {
            colors[i] = (static_cast<uint32_t>(table[i].peRed) << 16) |
                        (static_cast<uint32_t>(table[i].peGreen) << 8) | table[i].peBlue;
        }
    }
    std::vector<uint8_t> packed(static_cast<size_t>(width_) * height_);
    for (int y = 0; y < height_; ++y) {
        std::memcpy(packed.data() + static_cast<size_t>(y) * width_,
                    pixels_.data() + static_cast<size_t>(y) * pitch_, static_cast<size_t>(width_));
    }
    CurrentHost().ShowFullScreenPicture(packed.data(), width_, height_, colors);
}

HRESULT Surface::GetAttachedSurface(LPDDSCAPS2 caps, LPDIRECTDRAWSURFACE7* attached) {
    if (attached == nullptr || caps == nullptr) return DDERR_INVALIDPARAMS;
    *attached = nullptr;
    if (freed_) return Misuse(), DDERR_INVALIDOBJECT;
    if (!(caps->dwCaps & DDSCAPS_BACKBUFFER) || backBuffer == nullptr) return DDERR_NOTFOUND;
    backBuffer->AddRef();
    *attached = backBuffer;
    return DD_OK;
}

HRESULT Surface::GetDC(HDC* dc) {
    if (dc == nullptr) return DDERR_INVALIDPARAMS;
    *dc = nullptr;
    if (freed_) return Misuse(), DDERR_INVALIDOBJECT;
    if (lost_) return DDERR_SURFACELOST;
    if (dc_ != nullptr) return DDERR_DCALREADYCREATED;
    if (locked_) return DDERR_SURFACEBUSY;
    if (role_ == SurfaceRole::WindowedPrimary || FaultFires("GetDC")) return DDERR_CANTCREATEDC;
    dc_ = CreateViewDc(View());
    *dc = dc_;
    return DD_OK;
}

HRESULT Surface::ReleaseDC(HDC dc) {
    if (freed_) return Misuse(), DDERR_INVALIDOBJECT;
    if (dc == nullptr || dc != dc_) return DDERR_INVALIDPARAMS;
    DeleteViewDc(dc_);
    dc_ = nullptr;
    if (role_ == SurfaceRole::FrontBuffer) ShowFront();
    return DD_OK;
}

HRESULT Surface::GetPixelFormat(LPDDPIXELFORMAT format) {
    if (freed_) return Misuse(), DDERR_INVALIDOBJECT;
    if (format == nullptr || format->dwSize != sizeof(DDPIXELFORMAT)) return DDERR_INVALIDPARAMS;
    *format = DescribeFormat();
    return DD_OK;
}

HRESULT Surface::GetSurfaceDesc(LPDDSURFACEDESC2 desc) {
    if (freed_) return Misuse(), DDERR_INVALIDOBJECT;
    if (desc == nullptr || desc->dwSize != sizeof(DDSURFACEDESC2)) return DDERR_INVALIDPARAMS;
    *desc = DDSURFACEDESC2{};
    desc->dwSize = sizeof(DDSURFACEDESC2);
    desc->dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT | DDSD_PITCH | DDSD_PIXELFORMAT;
    desc->dwWidth = static_cast<DWORD>(width_);
    desc->dwHeight = static_cast<DWORD>(height_);
    desc->lPitch = pitch_;
    desc->ddpfPixelFormat = DescribeFormat();
    switch (role_) {
        case SurfaceRole::WindowedPrimary:
            desc->ddsCaps.dwCaps = DDSCAPS_PRIMARYSURFACE | DDSCAPS_VISIBLE | DDSCAPS_VIDEOMEMORY;
            break;
        case SurfaceRole::FrontBuffer:
            desc->dwFlags |= DDSD_BACKBUFFERCOUNT;
            desc->dwBackBufferCount = 1;
            desc->ddsCaps.dwCaps = DDSCAPS_PRIMARYSURFACE | DDSCAPS_FLIP | DDSCAPS_COMPLEX |
                                   DDSCAPS_FRONTBUFFER | DDSCAPS_VISIBLE | DDSCAPS_VIDEOMEMORY;
            break;
        case SurfaceRole::BackBuffer:
            desc->ddsCaps.dwCaps =
                DDSCAPS_BACKBUFFER | DDSCAPS_FLIP | DDSCAPS_COMPLEX | DDSCAPS_VIDEOMEMORY;
            break;
        case SurfaceRole::OffScreen:
            desc->ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN | DDSCAPS_VIDEOMEMORY;
            break;
    }
    if (hasSourceKey_) {
        desc->dwFlags |= DDSD_CKSRCBLT;
        desc->ddckCKSrcBlt = sourceKey_;
    }
    return DD_OK;
}

HRESULT Surface::IsLost() {
    if (freed_) return Misuse(), DDERR_INVALIDOBJECT;
    return lost_ ? DDERR_SURFACELOST : DD_OK;
}

HRESULT Surface::Lock(LPRECT rect, LPDDSURFACEDESC2 desc, DWORD flags, HANDLE event) {
    if (freed_) return Misuse(), DDERR_INVALIDOBJECT;
    if (desc == nullptr || desc->dwSize != sizeof(DDSURFACEDESC2)) return DDERR_INVALIDPARAMS;
    if (lost_) return DDERR_SURFACELOST;
    if (locked_ || dc_ != nullptr) return DDERR_SURFACEBUSY;
    if (role_ == SurfaceRole::WindowedPrimary) return DDERR_UNSUPPORTED;
    RECT area = rect != nullptr ? *rect : RECT{0, 0, width_, height_};
    if (Empty(area) || !Inside(area, width_, height_)) return DDERR_INVALIDRECT;
    if (FaultFires("Lock")) return DDERR_SURFACEBUSY;
    GetSurfaceDesc(desc);
    desc->dwFlags |= DDSD_LPSURFACE;
    desc->lpSurface = pixels_.data() + static_cast<size_t>(area.top) * pitch_ +
                      static_cast<size_t>(area.left) * format_.BytesPerPixel();
    locked_ = true;
    return DD_OK;
}

HRESULT Surface::Unlock(LPRECT rect) {
    if (freed_) return Misuse(), DDERR_INVALIDOBJECT;
    if (!locked_) return DDERR_NOTLOCKED;
    locked_ = false;
    if (role_ == SurfaceRole::FrontBuffer) ShowFront();
    return DD_OK;
}

HRESULT Surface::Restore() {
    if (freed_) return Misuse(), DDERR_INVALIDOBJECT;
    if (role_ == SurfaceRole::BackBuffer) return DDERR_IMPLICITLYCREATED;
    if (CurrentDisplayMode() != mode_) return DDERR_WRONGMODE;
    // The memory comes back, holding whatever was left in it.
    if (lost_) FillWithGarbage(0);
    lost_ = false;
    if (backBuffer != nullptr && backBuffer->lost_) {
        backBuffer->FillWithGarbage(1);
        backBuffer->lost_ = false;
    }
    return DD_OK;
}

void Surface::FillWithGarbage(int phase) {
    if (pixels_.empty()) return;  // the windowed primary: the screen redraws itself
    PixelView view = View();
    // Magenta and green stripes; in 8 bits the system palette's entries for them.
    uint32_t loud[2] = {253, 250};
    if (!format_.Indexed()) {
        loud[0] = ColorToPixel(view, RGB(255, 0, 255));
        loud[1] = ColorToPixel(view, RGB(0, 255, 0));
    }
    for (int y = 0; y < height_; ++y) {
        for (int x = 0; x < width_; ++x) WritePixel(view, x, y, loud[((x + y) / 8 + phase) % 2]);
    }
}

template <typename T>
HRESULT Surface::AttachCounted(T*& slot, T* next) {
    if (next != nullptr) {
        if (next->Freed()) return Misuse(), DDERR_INVALIDOBJECT;
        next->AddRef();
    }
    if (slot != nullptr) slot->Release();
    slot = next;
    return DD_OK;
}

HRESULT Surface::SetClipper(LPDIRECTDRAWCLIPPER clipper) {
    if (freed_) return Misuse(), DDERR_INVALIDOBJECT;
    return AttachCounted(clipper_, static_cast<Clipper*>(clipper));
}

HRESULT Surface::SetColorKey(DWORD flags, LPDDCOLORKEY key) {
    if (freed_) return Misuse(), DDERR_INVALIDOBJECT;
    if (flags != DDCKEY_SRCBLT) return DDERR_UNSUPPORTED;
    hasSourceKey_ = key != nullptr;
    if (key != nullptr) sourceKey_ = *key;
    return DD_OK;
}

HRESULT Surface::SetPalette(LPDIRECTDRAWPALETTE palette) {
    if (freed_) return Misuse(), DDERR_INVALIDOBJECT;
    if (!format_.Indexed()) return DDERR_INVALIDPIXELFORMAT;
    return AttachCounted(palette_, static_cast<Palette*>(palette));
}

void Surface::Free() {
    ++DirectDrawGlobals().counts.surfacesFreed;
    if (dc_ != nullptr) DeleteViewDc(dc_);
    dc_ = nullptr;
    if (palette_ != nullptr) palette_->Release();
    if (clipper_ != nullptr) clipper_->Release();
    palette_ = nullptr;
    clipper_ = nullptr;
    // A flip chain goes as a whole: the front buffer holds the back buffer's one reference.
    if (backBuffer != nullptr) backBuffer->Release();
    backBuffer = nullptr;
    if (owner_ != nullptr && owner_->primary == this) owner_->primary = nullptr;
    pixels_.clear();
    pixels_.shrink_to_fit();
}

void Surface::Orphan(const DirectDrawObject* gone) {
    if (freed_ || owner_ != gone) return;
    freed_ = true;
    owner_ = nullptr;
    Free();
}

}  // namespace platform
