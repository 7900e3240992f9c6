// Shows the bytes of a phrase file as UTF-8 text on one line: Shift-JIS (code page 932) is
// decoded, and what can't be decoded or would break the line is written as \xNN.
#pragma once

#include <string>
#include <string_view>

std::string ShiftJisToUtf8(std::string_view bytes);

// For romaji, which should be plain ASCII: anything else is written as \xNN.
std::string EscapeAscii(std::string_view bytes);
