// BMP files of any content: read, then every pixel looked at and the bitmap copied through GDI
// into 8-bit and 16-bit surfaces, converting colours on the way.
#include <windows.h>

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <vector>

#include "platform/gdi/bmp_reader.h"
#include "platform/gdi/gdi_objects.h"

namespace {

void Require(bool condition) {
    if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    auto object = std::make_unique<platform::GdiObject>();
    object->kind = platform::GdiKind::Bitmap;
    if (!platform::ParseBmp(data, size, object->image)) return 0;
    platform::DibImage& image = object->image;
    Require(image.width > 0 && image.height > 0);
    Require(image.pixels.size() == static_cast<size_t>(image.pitch) * image.height);
    Require(!image.format.Indexed() || image.palette.size() == 256);
    uint32_t sum = 0;
    platform::PixelView view = image.View();
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) sum += platform::ReadPixel(view, x, y);
    }
    (void)sum;

    HGDIOBJ bitmap = platform::AddGdiObject(std::move(object));
    HDC memory = CreateCompatibleDC(nullptr);
    Require(SelectObject(memory, bitmap) != nullptr);
    PALETTEENTRY palette[256];
    for (int i = 0; i < 256; ++i) {
        palette[i] = PALETTEENTRY{static_cast<BYTE>(i), static_cast<BYTE>(255 - i),
                                  static_cast<BYTE>(i * 7), 0};
    }
    std::vector<uint8_t> indexed(64 * 48), packed(64 * 48 * 2);
    HDC toIndexed =
        platform::CreateViewDc({indexed.data(), 64, 48, 64, platform::IndexedFormat(), palette});
    HDC toPacked =
        platform::CreateViewDc({packed.data(), 64, 48, 128, platform::Rgb565Format(), nullptr});
    Require(BitBlt(toIndexed, 0, 0, 64, 48, memory, 0, 0, SRCCOPY));
    Require(BitBlt(toPacked, -3, 5, 70, 40, memory, 2, -1, SRCCOPY));
    platform::DeleteViewDc(toIndexed);
    platform::DeleteViewDc(toPacked);
    Require(DeleteDC(memory));
    Require(DeleteObject(bitmap));
    return 0;
}
