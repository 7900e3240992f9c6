#include <fontconfig/fontconfig.h>

#include "platform/gdi/font_renderer.h"

namespace platform {

namespace {

// Debian's fonts-ipafont-gothic registers it with fontconfig, which is the one place we ask:
// what fontconfig doesn't know, the player's fc-list doesn't show either.
constexpr const char* kFontFamily = "IPAGothic";

}  // namespace

std::string TextFontFile() {
    std::string path;
    if (FcInit()) {
        FcPattern* pattern = FcNameParse(reinterpret_cast<const FcChar8*>(kFontFamily));
        FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
        FcDefaultSubstitute(pattern);
        FcResult result;
        FcPattern* match = FcFontMatch(nullptr, pattern, &result);
        FcChar8* family = nullptr;
        FcChar8* file = nullptr;
        // fontconfig always offers something; only the asked-for family will do.
        if (match != nullptr && FcPatternGetString(match, FC_FAMILY, 0, &family) == FcResultMatch &&
            std::string(reinterpret_cast<char*>(family)) == kFontFamily &&
            FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch) {
            path = reinterpret_cast<char*>(file);
        }
        if (match != nullptr) FcPatternDestroy(match);
        FcPatternDestroy(pattern);
        // Nothing else here uses fontconfig: give back everything it holds.
        FcFini();
    }
    return path;
}

}  // namespace platform
