#include "tests/screens/recording_surface.h"

#include <sstream>

#include "display/display_state.h"

namespace {

std::optional<ImageId> ImageOf(IDirectDrawSurface7* surface) {
    for (int i = 0; i < kImageCount; ++i) {
        if (display.images[i] == surface) return static_cast<ImageId>(i);
    }
    return std::nullopt;
}

bool SameRect(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

const char* kImageNames[] = {"Zubi",  "Yama",  "Parts", "Back", "Bar",      "Words",
                             "Title", "Hisco", "Win1",  "Win2", "TimeWin1", "TimeWin2"};

}  // namespace

bool Drawn::operator==(const Drawn& other) const {
    if (kind != other.kind) return false;
    if (kind == Copy) {
        return image == other.image && SameRect(source, other.source) && x == other.x &&
               y == other.y;
    }
    if (area.has_value() != other.area.has_value() || value != other.value) return false;
    return !area || SameRect(*area, *other.area);
}

Drawn CopyOf(ImageId image, int left, int top, int right, int bottom, int x, int y) {
    Drawn d;
    d.image = image;
    d.source = {left, top, right, bottom};
    d.x = x;
    d.y = y;
    return d;
}

Drawn FillOf(int left, int top, int right, int bottom, uint32_t value) {
    Drawn d;
    d.kind = Drawn::Fill;
    d.area = RECT{left, top, right, bottom};
    d.value = value;
    return d;
}

Drawn FrameFill(uint32_t value) {
    Drawn d;
    d.kind = Drawn::Fill;
    d.value = value;
    return d;
}

std::string Describe(const Drawn& d) {
    std::ostringstream out;
    if (d.kind == Drawn::Copy) {
        out << "copy " << kImageNames[static_cast<int>(d.image)] << " (" << d.source.left << ", "
            << d.source.top << ", " << d.source.right << ", " << d.source.bottom << ") at (" << d.x
            << ", " << d.y << ")";
    } else if (d.area) {
        out << "fill (" << d.area->left << ", " << d.area->top << ", " << d.area->right << ", "
            << d.area->bottom << ") with 0x" << std::hex << d.value;
    } else {
        out << "fill the frame with 0x" << std::hex << d.value;
    }
    return out.str();
}

void PrintTo(const Drawn& drawn, std::ostream* out) {
    *out << Describe(drawn);
}

std::string Describe(const std::vector<Drawn>& drawn) {
    std::string out;
    for (const Drawn& d : drawn) out += "\n  " + Describe(d);
    return out.empty() ? "\n  nothing" : out;
}

struct RecordingFrame::Surface : IDirectDrawSurface7 {
    IDirectDrawSurface7* real;
    std::vector<Drawn> log;

    explicit Surface(IDirectDrawSurface7* realFrame) : real(realFrame) {}
    virtual ~Surface() = default;

    STDMETHOD(QueryInterface)(REFIID riid, void** object) override {
        return real->QueryInterface(riid, object);
    }
    STDMETHOD_(ULONG, AddRef)() override { return 1; }
    STDMETHOD_(ULONG, Release)() override { return 1; }
    STDMETHOD(Blt)
    (LPRECT destRect, LPDIRECTDRAWSURFACE7 source, LPRECT sourceRect, DWORD flags,
     LPDDBLTFX effects) override {
        if ((flags & DDBLT_COLORFILL) != 0 && effects != nullptr) {
            Drawn d = FrameFill(effects->dwFillColor);
            if (destRect != nullptr) {
                d.area = RECT{destRect->left - kFrameOriginX, destRect->top - kFrameOriginY,
                              destRect->right - kFrameOriginX, destRect->bottom - kFrameOriginY};
            }
            log.push_back(d);
        }
        return real->Blt(destRect, source, sourceRect, flags, effects);
    }
    STDMETHOD(BltFast)
    (DWORD x, DWORD y, LPDIRECTDRAWSURFACE7 source, LPRECT sourceRect, DWORD trans) override {
        std::optional<ImageId> image = ImageOf(source);
        if (image && sourceRect != nullptr && (trans & DDBLTFAST_SRCCOLORKEY) != 0) {
            log.push_back(CopyOf(*image, sourceRect->left, sourceRect->top, sourceRect->right,
                                 sourceRect->bottom, static_cast<int>(x) - kFrameOriginX,
                                 static_cast<int>(y) - kFrameOriginY));
        }
        return real->BltFast(x, y, source, sourceRect, trans);
    }
    STDMETHOD(Flip)(LPDIRECTDRAWSURFACE7 target, DWORD flags) override {
        return real->Flip(target, flags);
    }
    STDMETHOD(GetAttachedSurface)(LPDDSCAPS2 caps, LPDIRECTDRAWSURFACE7* attached) override {
        return real->GetAttachedSurface(caps, attached);
    }
    STDMETHOD(GetDC)(HDC* dc) override { return real->GetDC(dc); }
    STDMETHOD(GetPixelFormat)(LPDDPIXELFORMAT format) override {
        return real->GetPixelFormat(format);
    }
    STDMETHOD(GetSurfaceDesc)(LPDDSURFACEDESC2 desc) override { return real->GetSurfaceDesc(desc); }
    STDMETHOD(IsLost)() override { return real->IsLost(); }
    STDMETHOD(Lock)(LPRECT rect, LPDDSURFACEDESC2 desc, DWORD flags, HANDLE event) override {
        return real->Lock(rect, desc, flags, event);
    }
    STDMETHOD(ReleaseDC)(HDC dc) override { return real->ReleaseDC(dc); }
    STDMETHOD(Restore)() override { return real->Restore(); }
    STDMETHOD(SetClipper)(LPDIRECTDRAWCLIPPER clipper) override {
        return real->SetClipper(clipper);
    }
    STDMETHOD(SetColorKey)(DWORD flags, LPDDCOLORKEY key) override {
        return real->SetColorKey(flags, key);
    }
    STDMETHOD(SetPalette)(LPDIRECTDRAWPALETTE palette) override {
        return real->SetPalette(palette);
    }
    STDMETHOD(Unlock)(LPRECT rect) override { return real->Unlock(rect); }
};

RecordingFrame::RecordingFrame()
    : surface_(new Surface(display.frameSurface)), real_(display.frameSurface) {
    display.frameSurface = surface_;
}

RecordingFrame::~RecordingFrame() {
    display.frameSurface = real_;
    delete surface_;
}

const std::vector<Drawn>& RecordingFrame::Log() const {
    return surface_->log;
}

void RecordingFrame::Clear() {
    surface_->log.clear();
}
