// Reading the line-based text files of the layer (scripts, recordings): a line's words, and
// numbers that must fill their word.
#pragma once

#include <charconv>
#include <sstream>
#include <string>
#include <vector>

namespace platform {

// The words of a line, split at spaces and tabs.
inline std::vector<std::string> Words(const std::string& line) {
    std::istringstream in(line);
    std::vector<std::string> words;
    std::string word;
    while (in >> word) words.push_back(word);
    return words;
}

// True when `text` is a number in `base` and nothing else, which goes into `value`.
template <typename T>
bool ParseNumber(const std::string& text, T& value, int base = 10) {
    const char* first = text.data();
    const char* last = first + text.size();
    auto [ptr, ec] = std::from_chars(first, last, value, base);
    return ec == std::errc() && ptr == last && !text.empty();
}

}  // namespace platform
