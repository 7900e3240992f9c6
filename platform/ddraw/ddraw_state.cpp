#include "platform/ddraw/ddraw_objects.h"

#include "platform/core/host.h"
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

HRESULT Palette::QueryInterface(REFIID iid, void** object) {
    if (object == nullptr) return E_POINTER;
    *object = nullptr;
    return E_NOINTERFACE;
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

HRESULT Clipper::QueryInterface(REFIID iid, void** object) {
    if (object == nullptr) return E_POINTER;
    *object = nullptr;
    return E_NOINTERFACE;
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
