#include "platform/ddraw/ddraw_objects.h"

#include <algorithm>

#include "platform/core/host.h"
#include "platform/core/window_state.h"
#include "platform/faults/fault_points.h"

namespace platform {

DirectDrawState& DirectDrawGlobals() {
    static DirectDrawState state;
    return state;
}

void ResetDirectDrawState() {
    DirectDrawGlobals() = DirectDrawState{};
}

void LoseAllSurfaces() {
    for (auto& surface : DirectDrawGlobals().surfaces) {
        if (!surface->Freed()) surface->MarkLost();
    }
}

DisplayMode CurrentDisplayMode() {
    const auto& state = DirectDrawGlobals();
    if (state.ownerMode && !state.ownerAway) return *state.ownerMode;
    Host& host = CurrentHost();
    return {host.DesktopWidth(), host.DesktopHeight(), host.DesktopBits()};
}

void SwitchDisplay(std::optional<DisplayMode> owner, bool away) {
    auto& state = DirectDrawGlobals();
    auto shown = [&state]() -> std::optional<DisplayMode> {
        if (state.ownerMode && !state.ownerAway) return state.ownerMode;
        return std::nullopt;
    };
    std::optional<DisplayMode> before = shown();
    state.ownerMode = owner;
    state.ownerAway = owner && away;
    std::optional<DisplayMode> after = shown();
    if (before == after) return;
    // A change of mode takes every surface's memory away.
    LoseAllSurfaces();
    Windows().screenWidth = after ? after->width : 0;
    Windows().screenHeight = after ? after->height : 0;
    if (after) {
        CurrentHost().EnterFullScreen(after->width, after->height, after->bits);
    } else {
        CurrentHost().LeaveFullScreen();
    }
}

void DisplayFocusChanged(HWND window, bool active) {
    auto& state = DirectDrawGlobals();
    if (!state.ownerMode || state.ownerAway == !active) return;
    bool owner = std::any_of(state.objects.begin(), state.objects.end(), [window](auto& object) {
        return !object->Freed() && object->Exclusive() && object->Window() == window;
    });
    if (owner) SwitchDisplay(state.ownerMode, !active);
}

void SetBlitterBusyAfterFlip(uint32_t milliseconds) {
    DirectDrawGlobals().busyAfterFlip = milliseconds;
}

void NoteFlip() {
    auto& state = DirectDrawGlobals();
    if (state.busyAfterFlip == 0) return;
    state.flipped = true;
    state.lastFlipTime = CurrentHost().Now();
}

bool BlitterBusy() {
    const auto& state = DirectDrawGlobals();
    // Unsigned difference: the clock's wrap is harmless.
    return state.flipped && CurrentHost().Now() - state.lastFlipTime < state.busyAfterFlip;
}

namespace {

std::vector<uint32_t> ShownPixels(Surface& surface) {
    PixelView view = surface.View();
    std::vector<uint32_t> pixels;
    pixels.reserve(static_cast<size_t>(view.width) * view.height);
    for (int y = 0; y < view.height; ++y) {
        for (int x = 0; x < view.width; ++x) {
            pixels.push_back(PixelToXrgb(view, ReadPixel(view, x, y)));
        }
    }
    return pixels;
}

}  // namespace

FlipChainPages ReadFlipChainPages() {
    FlipChainPages pages;
    for (auto& surface : DirectDrawGlobals().surfaces) {
        if (surface->Freed() || surface->Role() != SurfaceRole::FrontBuffer ||
            surface->backBuffer == nullptr) {
            continue;
        }
        if (surface->IsLost() != DD_OK || surface->backBuffer->IsLost() != DD_OK) {
            pages.state = FlipChainPages::State::Lost;
            return pages;
        }
        pages.state = FlipChainPages::State::Read;
        pages.width = surface->View().width;
        pages.height = surface->View().height;
        pages.front = ShownPixels(*surface);
        pages.back = ShownPixels(*surface->backBuffer);
        return pages;
    }
    return pages;
}

namespace {
template <typename T>
int CountLive(const std::vector<std::unique_ptr<T>>& objects) {
    int live = 0;
    for (const auto& object : objects) live += object->Freed() ? 0 : 1;
    return live;
}
}  // namespace

int LiveSurfaces() {
    return CountLive(DirectDrawGlobals().surfaces);
}
int LivePalettes() {
    return CountLive(DirectDrawGlobals().palettes);
}
int LiveClippers() {
    return CountLive(DirectDrawGlobals().clippers);
}
int LiveDirectDrawObjects() {
    return CountLive(DirectDrawGlobals().objects);
}

// Palette and clipper.

Palette::Palette(const PALETTEENTRY* table) {
    for (int i = 0; i < 256; ++i) entries[i] = table[i];
    ++DirectDrawGlobals().counts.palettesCreated;
}

HRESULT Palette::GetEntries(DWORD flags, DWORD base, DWORD count, LPPALETTEENTRY out) {
    if (freed_) return Misuse(), DDERR_INVALIDOBJECT;
    if (flags != 0 || out == nullptr || base > 256 || count > 256 - base) {
        return DDERR_INVALIDPARAMS;
    }
    if (FaultFires("GetEntries")) return DDERR_GENERIC;
    for (DWORD i = 0; i < count; ++i) out[i] = entries[base + i];
    return DD_OK;
}

HRESULT Palette::SetEntries(DWORD flags, DWORD start, DWORD count, LPPALETTEENTRY in) {
    if (freed_) return Misuse(), DDERR_INVALIDOBJECT;
    if (flags != 0 || in == nullptr || start > 256 || count > 256 - start) {
        return DDERR_INVALIDPARAMS;
    }
    for (DWORD i = 0; i < count; ++i) entries[start + i] = in[i];
    return DD_OK;
}

void Palette::Free() {
    ++DirectDrawGlobals().counts.palettesFreed;
}

HRESULT Clipper::SetHWnd(DWORD flags, HWND hwnd) {
    if (freed_) return Misuse(), DDERR_INVALIDOBJECT;
    if (flags != 0 || (hwnd != nullptr && !IsWindow(hwnd))) return DDERR_INVALIDPARAMS;
    window = hwnd;
    return DD_OK;
}

void Clipper::Free() {
    ++DirectDrawGlobals().counts.clippersFreed;
}

}  // namespace platform
