// The records the game hands to DirectDraw, DirectSound and DirectMusic, as the 32-bit Windows
// SDK lays them out. The game fills each size field with sizeof, so a header that packed one
// differently would make the real runtime refuse the call; this pins the sizes at compile time.
#include <windows.h>

#include <ddraw.h>
#include <dmusici.h>
#include <dsound.h>

static_assert(sizeof(void*) == 4, "the shipped program is 32-bit");
static_assert(sizeof(DDSURFACEDESC2) == 124);
static_assert(sizeof(DDBLTFX) == 100);
static_assert(sizeof(DDPIXELFORMAT) == 32);
static_assert(sizeof(DSCAPS) == 96);
static_assert(sizeof(DMUS_OBJECTDESC) == 848);
