#include "platform/gdi/font_renderer.h"

namespace platform {

// The page ships IPA Gothic with its program's data (web.cmake).
std::string TextFontFile() {
    return "/fonts/ipag.ttf";
}

}  // namespace platform
