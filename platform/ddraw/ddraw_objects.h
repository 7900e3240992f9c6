// Our DirectDraw objects: the DirectDraw object with its cooperative level and display mode,
// surfaces in memory (a windowed primary that is the window's client area on the screen, a
// full-screen flip chain, off-screen surfaces), palettes and clippers. Finished pictures go to
// the host. Released objects are kept as husks until the state is reset, so that a call on
// one, or one release too many, is counted instead of crashing.
#pragma once

#include <ddraw.h>

#include <memory>
#include <optional>
#include <vector>

#include "platform/com/com_object.h"
#include "platform/gdi/pixels.h"

namespace platform {

class DirectDrawObject;
class Surface;
class Palette;
class Clipper;

// Counts that tests read to check that every object is made and released exactly once.
struct DirectDrawCounts {
    int objectsCreated = 0;
    int surfacesCreated = 0;  // back buffers included
    int palettesCreated = 0;
    int clippersCreated = 0;
    int objectsFreed = 0;
    int surfacesFreed = 0;
    int palettesFreed = 0;
    int clippersFreed = 0;
    int releasesTooMany = 0;  // Release on an object already gone
    int callsOnFreed = 0;     // any other call on an object already gone
};

// A display mode: its size, and its depth in bits (8; 16 or 32; 15 for a 5-5-5 desktop).
struct DisplayMode {
    int width = 0;
    int height = 0;
    int bits = 0;
    bool operator==(const DisplayMode&) const = default;
};

struct DirectDrawState {
    std::vector<std::unique_ptr<DirectDrawObject>> objects;
    std::vector<std::unique_ptr<Surface>> surfaces;
    std::vector<std::unique_ptr<Palette>> palettes;
    std::vector<std::unique_ptr<Clipper>> clippers;
    DirectDrawCounts counts;
    // The display mode set by an exclusive owner, or none (the desktop's own).
    std::optional<DisplayMode> ownerMode;
    // The exclusive owner's window lost the focus: the desktop's mode shows until it is back.
    bool ownerAway = false;
    // After every flip, blits that don't wait are refused until the clock has moved this many
    // milliseconds past the flip (0: never).
    uint32_t busyAfterFlip = 0;
    bool flipped = false;
    uint32_t lastFlipTime = 0;
    std::vector<uint32_t> windowPicture;  // the client area as the screen shows it
};

DirectDrawState& DirectDrawGlobals();
// Frees every object and forgets the display mode, for tests.
void ResetDirectDrawState();
// The display was taken away (another program's full screen, a locked desktop): every live
// surface reports DDERR_SURFACELOST until it is restored.
void LoseAllSurfaces();
// The mode the screen runs at: the exclusive owner's while it is there, else the desktop's.
DisplayMode CurrentDisplayMode();
// Who decides the display mode changes (an owner's mode or none, the owner away or not); when
// the mode the screen runs at changes, every surface is lost and the host is told.
void SwitchDisplay(std::optional<DisplayMode> owner, bool away);
// A window gained or lost the focus. Losing it in exclusive full screen gives the desktop its
// mode back and loses every surface; regaining it sets the owner's mode again (the surfaces
// stay lost until restored). Runs before the window hears of the change.
void DisplayFocusChanged(HWND window, bool active);
// Makes the blitter busy for `milliseconds` of the clock after every flip (0: never busy).
void SetBlitterBusyAfterFlip(uint32_t milliseconds);
// A flip was shown: the blitter is busy from now, if it is made to be.
void NoteFlip();
// True while a blit without a wait flag would be refused with DDERR_WASSTILLDRAWING.
bool BlitterBusy();
// The two pages of the live full-screen flip chain as a screen would show them: 0x00RRGGBB
// pixels through the palette, row by row.
struct FlipChainPages {
    enum class State { None, Lost, Read };
    State state = State::None;  // None: no flip chain (windowed, or no display)
    int width = 0;
    int height = 0;
    std::vector<uint32_t> front;
    std::vector<uint32_t> back;
};
FlipChainPages ReadFlipChainPages();
// Live (not yet freed) objects of each kind.
int LiveSurfaces();
int LivePalettes();
int LiveClippers();
int LiveDirectDrawObjects();

struct DirectDrawFamily {
    static DirectDrawCounts& Counts() { return DirectDrawGlobals().counts; }
    static constexpr HRESULT kFreed = DDERR_INVALIDOBJECT;
};

class Palette final : public ComObject<IDirectDrawPalette, nullptr, DirectDrawFamily> {
public:
    explicit Palette(const PALETTEENTRY* entries);
    HRESULT STDMETHODCALLTYPE GetEntries(DWORD flags, DWORD base, DWORD count,
                                         LPPALETTEENTRY entries) override;
    HRESULT STDMETHODCALLTYPE SetEntries(DWORD flags, DWORD start, DWORD count,
                                         LPPALETTEENTRY entries) override;

    PALETTEENTRY entries[256];

protected:
    void Free() override;
};

class Clipper final : public ComObject<IDirectDrawClipper, nullptr, DirectDrawFamily> {
public:
    HRESULT STDMETHODCALLTYPE SetHWnd(DWORD flags, HWND window) override;

    HWND window = nullptr;

protected:
    void Free() override;
};

enum class SurfaceRole { WindowedPrimary, FrontBuffer, BackBuffer, OffScreen };

class Surface final
    : public ComObject<IDirectDrawSurface7, &IID_IDirectDrawSurface7, DirectDrawFamily> {
public:
    Surface(DirectDrawObject* owner, SurfaceRole role, int width, int height, PixelFormat format);

    HRESULT STDMETHODCALLTYPE Blt(LPRECT destRect, LPDIRECTDRAWSURFACE7 source, LPRECT sourceRect,
                                  DWORD flags, LPDDBLTFX effects) override;
    HRESULT STDMETHODCALLTYPE BltFast(DWORD x, DWORD y, LPDIRECTDRAWSURFACE7 source,
                                      LPRECT sourceRect, DWORD trans) override;
    HRESULT STDMETHODCALLTYPE Flip(LPDIRECTDRAWSURFACE7 targetOverride, DWORD flags) override;
    HRESULT STDMETHODCALLTYPE GetAttachedSurface(LPDDSCAPS2 caps,
                                                 LPDIRECTDRAWSURFACE7* attached) override;
    HRESULT STDMETHODCALLTYPE GetDC(HDC* dc) override;
    HRESULT STDMETHODCALLTYPE GetPixelFormat(LPDDPIXELFORMAT format) override;
    HRESULT STDMETHODCALLTYPE GetSurfaceDesc(LPDDSURFACEDESC2 desc) override;
    HRESULT STDMETHODCALLTYPE IsLost() override;
    HRESULT STDMETHODCALLTYPE Lock(LPRECT rect, LPDDSURFACEDESC2 desc, DWORD flags,
                                   HANDLE event) override;
    HRESULT STDMETHODCALLTYPE ReleaseDC(HDC dc) override;
    HRESULT STDMETHODCALLTYPE Restore() override;
    HRESULT STDMETHODCALLTYPE SetClipper(LPDIRECTDRAWCLIPPER clipper) override;
    HRESULT STDMETHODCALLTYPE SetColorKey(DWORD flags, LPDDCOLORKEY key) override;
    HRESULT STDMETHODCALLTYPE SetPalette(LPDIRECTDRAWPALETTE palette) override;
    HRESULT STDMETHODCALLTYPE Unlock(LPRECT rect) override;

    // The surface's memory as a pixel view, with the palette its colours go through.
    PixelView View();
    SurfaceRole Role() const { return role_; }
    void MarkLost() { lost_ = true; }
    // A DirectDraw object went away: its surfaces are gone with it.
    void Orphan(const DirectDrawObject* gone);
    // Shows a full-screen front buffer on the host.
    void ShowFront();

    Surface* backBuffer = nullptr;   // of a front buffer: the one reference it holds
    Surface* frontBuffer = nullptr;  // of a back buffer

protected:
    void Free() override;

private:
    // Holds `next` in `slot` instead of what it held, keeping both reference counts right; a
    // freed object is refused.
    template <typename T>
    HRESULT AttachCounted(T*& slot, T* next);
    HRESULT Usable() const;
    DDPIXELFORMAT DescribeFormat() const;
    const PALETTEENTRY* ColorTable() const;
    HRESULT BltToWindow(const RECT& dest, Surface& source, const RECT& sourceRect);
    // What memory holds when it comes back: loud stripes, `phase` telling pages apart.
    void FillWithGarbage(int phase);

    DirectDrawObject* owner_;
    SurfaceRole role_;
    int width_, height_, pitch_;
    PixelFormat format_;
    std::vector<uint8_t> pixels_;
    DisplayMode mode_;  // the display mode it was made in
    bool lost_ = false;
    bool locked_ = false;
    HDC dc_ = nullptr;
    bool hasSourceKey_ = false;
    DDCOLORKEY sourceKey_ = {};
    Palette* palette_ = nullptr;
    Clipper* clipper_ = nullptr;
};

class DirectDrawObject final : public ComObject<IDirectDraw7, &IID_IDirectDraw7, DirectDrawFamily> {
public:
    HRESULT STDMETHODCALLTYPE CreateClipper(DWORD flags, LPDIRECTDRAWCLIPPER* clipper,
                                            IUnknown* outer) override;
    HRESULT STDMETHODCALLTYPE CreatePalette(DWORD flags, LPPALETTEENTRY colorTable,
                                            LPDIRECTDRAWPALETTE* palette, IUnknown* outer) override;
    HRESULT STDMETHODCALLTYPE CreateSurface(LPDDSURFACEDESC2 desc, LPDIRECTDRAWSURFACE7* surface,
                                            IUnknown* outer) override;
    HRESULT STDMETHODCALLTYPE Initialize(GUID* driver) override;
    HRESULT STDMETHODCALLTYPE RestoreDisplayMode() override;
    HRESULT STDMETHODCALLTYPE SetCooperativeLevel(HWND window, DWORD flags) override;
    HRESULT STDMETHODCALLTYPE SetDisplayMode(DWORD width, DWORD height, DWORD bitsPerPixel,
                                             DWORD refreshRate, DWORD flags) override;

    // The format and size of the display as this object sees it.
    PixelFormat DisplayFormat() const;
    int DisplayWidth() const;
    int DisplayHeight() const;
    bool Exclusive() const { return (level_ & DDSCL_EXCLUSIVE) != 0; }
    HWND Window() const { return window_; }
    Surface* primary = nullptr;  // the live primary surface, if any

protected:
    void Free() override;

private:
    bool initialized_ = false;
    DWORD level_ = 0;
    HWND window_ = nullptr;
};

HRESULT CreateDirectDrawInstance(REFIID iid, void** object);

}  // namespace platform
