#include "platform/gdi/gdi_objects.h"

namespace platform {

namespace {

std::unique_ptr<GdiObject> MakeStock(GdiKind kind) {
    auto object = std::make_unique<GdiObject>();
    object->kind = kind;
    object->stock = true;
    return object;
}

void AddStockObjects(GdiState& state) {
    // A memory DC starts with a 1 x 1 monochrome bitmap and the system font selected.
    auto bitmap = MakeStock(GdiKind::Bitmap);
    bitmap->image.width = 1;
    bitmap->image.height = 1;
    bitmap->image.fileBits = 1;
    bitmap->image.format = IndexedFormat();
    bitmap->image.palette.assign(256, PALETTEENTRY{0, 0, 0, 0});
    bitmap->image.palette[1] = PALETTEENTRY{255, 255, 255, 0};
    bitmap->image.pixels.assign(4, 0);
    bitmap->image.pitch = 4;
    auto font = MakeStock(GdiKind::Font);
    font->font.height = 16;
    font->font.weight = FW_BOLD;
    state.defaultBitmap = reinterpret_cast<HGDIOBJ>(state.nextHandle);
    state.objects[state.nextHandle] = std::move(bitmap);
    state.nextHandle += 4;
    state.defaultFont = reinterpret_cast<HGDIOBJ>(state.nextHandle);
    state.objects[state.nextHandle] = std::move(font);
    state.nextHandle += 4;
}

}  // namespace

GdiState& Gdi() {
    static GdiState state = [] {
        GdiState s;
        AddStockObjects(s);
        return s;
    }();
    return state;
}

void ResetGdiState() {
    GdiState& state = Gdi();
    state = GdiState{};
    AddStockObjects(state);
}

int LiveGdiObjects(GdiKind kind) {
    int count = 0;
    for (const auto& [handle, object] : Gdi().objects) {
        if (object->kind == kind && !object->stock) ++count;
    }
    return count;
}

GdiObject* FindGdiObject(const void* handle, GdiKind kind) {
    auto& objects = Gdi().objects;
    auto it = objects.find(reinterpret_cast<uintptr_t>(handle));
    if (it == objects.end() || it->second->kind != kind) return nullptr;
    return it->second.get();
}

HGDIOBJ AddGdiObject(std::unique_ptr<GdiObject> object) {
    GdiState& state = Gdi();
    // Handles are never reused, so a stale one can't reach a newer object.
    uintptr_t handle = state.nextHandle;
    state.nextHandle += 4;
    state.objects[handle] = std::move(object);
    return reinterpret_cast<HGDIOBJ>(handle);
}

HDC CreateViewDc(const PixelView& view) {
    auto dc = std::make_unique<GdiObject>();
    dc->kind = GdiKind::Dc;
    dc->viewDc = true;
    dc->view = view;
    dc->selectedFont = Gdi().defaultFont;
    return static_cast<HDC>(AddGdiObject(std::move(dc)));
}

bool DeleteViewDc(HDC dc) {
    GdiObject* object = FindGdiObject(dc, GdiKind::Dc);
    if (object == nullptr || !object->viewDc) return false;
    if (GdiObject* font = FindGdiObject(object->selectedFont, GdiKind::Font)) --font->selections;
    Gdi().objects.erase(reinterpret_cast<uintptr_t>(dc));
    return true;
}

}  // namespace platform
