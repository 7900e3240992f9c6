// Code page 932 (Shift-JIS) text, as the ANSI functions take it, converted to UTF-8 for the
// host. Bytes that are not valid Shift-JIS become U+FFFD; conversion never fails.
#pragma once

#include <cstddef>
#include <string>

namespace platform {

std::string Cp932ToUtf8(const char* text, size_t length);

}  // namespace platform
