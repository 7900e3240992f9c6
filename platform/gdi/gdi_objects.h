// The objects behind GDI handles: bitmaps, fonts and device contexts, in one table that
// checks every handle it is given, so a stale or foreign handle fails instead of crashing.
// DirectDraw makes its surface device contexts here too.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <unordered_map>

#include "platform/gdi/bmp_reader.h"

namespace platform {

enum class GdiKind { Bitmap, Font, Dc };

struct GdiFontRequest {
    int height = 0;
    int width = 0;
    int weight = FW_NORMAL;
    bool italic = false;
    DWORD charSet = DEFAULT_CHARSET;
    DWORD pitchAndFamily = DEFAULT_PITCH;
    std::string faceName;  // as given, in code page 932
};

struct GdiObject {
    GdiKind kind;
    bool stock = false;  // never deleted
    int selections = 0;  // how many device contexts hold it
    // Bitmap
    DibImage image;
    // Font
    GdiFontRequest font;
    // Device context: a memory DC draws into its bitmap, a view DC into outside memory.
    bool viewDc = false;
    PixelView view;
    HGDIOBJ bitmap = nullptr;
    HGDIOBJ selectedFont = nullptr;
    int bkMode = OPAQUE;
    COLORREF textColor = RGB(0, 0, 0);
    COLORREF bkColor = RGB(255, 255, 255);
};

struct GdiState {
    std::unordered_map<uintptr_t, std::unique_ptr<GdiObject>> objects;
    uintptr_t nextHandle = 0x7000'0000;
    HGDIOBJ defaultBitmap = nullptr;
    HGDIOBJ defaultFont = nullptr;
};

GdiState& Gdi();
// Deletes every object, for tests.
void ResetGdiState();
// Live objects of a kind, stock objects not counted (for leak checks in tests).
int LiveGdiObjects(GdiKind kind);

GdiObject* FindGdiObject(const void* handle, GdiKind kind);
HGDIOBJ AddGdiObject(std::unique_ptr<GdiObject> object);

// A device context drawing into memory that someone else owns (a DirectDraw surface), and
// its deletion. The memory must stay where it is while the context exists.
HDC CreateViewDc(const PixelView& view);
bool DeleteViewDc(HDC dc);

}  // namespace platform
