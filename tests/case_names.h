// Names for the cases of parametrised suites, so that a failing case reads as words.
#pragma once

#include <gtest/gtest.h>

#include <cctype>
#include <string>

// Names each case by its parameter's `name` field.
struct CaseName {
    template <typename Param>
    std::string operator()(const testing::TestParamInfo<Param>& info) const {
        return std::string(info.param.name);
    }
};

// A name made of the words and numbers of a text: "at 10 press\n" is "at_10_press".
inline std::string NameFromText(const std::string& text) {
    std::string name;
    for (unsigned char c : text) {
        if (std::isalnum(c)) {
            name += static_cast<char>(c);
        } else if (!name.empty() && name.back() != '_') {
            name += '_';
        }
    }
    while (!name.empty() && name.back() == '_') name.pop_back();
    return name;
}
