// Brings the display up: the device, the palette from the program's resource, and the game's
// images from their BMP files, each with pure blue as its transparent colour.
#pragma once

#include <ddraw.h>
#include <windows.h>

#include <cstdint>

#include "display/image_id.h"

// 1 on success; shows its own message for a palette or image failure.
int StartDisplay(HWND window);
// Builds the palette from a bitmap resource and attaches it to the primary surface; 1 on
// success, 0 after a message owned by the window.
int LoadPalette(LPCSTR name, HWND window);
// Makes an off-screen surface of the given size in the slot and copies the top-left part of
// the BMP file into it; 1 on success, 0 without a message.
int LoadImageSurface(LPCSTR path, IDirectDrawSurface7*& slot, int width, int height);
// Copies a bitmap onto a surface through GDI, converting to the surface's format; a width or
// height of 0 means the bitmap's own.
void CopyBitmapToSurface(HBITMAP bitmap, IDirectDrawSurface7* surface, int x, int y, int width,
                         int height);
// The raw pixel value a GDI colour has on this surface (CLR_INVALID: the colour already at
// the top-left corner); 0xFFFFFFFF when the surface can't be locked.
uint32_t MatchSurfaceColor(IDirectDrawSurface7* surface, COLORREF color);
// Makes the colour the surface's source colour key.
void SetSurfaceColorKey(IDirectDrawSurface7* surface, COLORREF color);
// Brings back the images of surfaces the platform lost, from their files.
void RestoreLostImages();
