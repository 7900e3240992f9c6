// Names for the cases of parametrised suites, so that a failing case reads as words in the
// test's name and in gtest's report of its parameter.
#pragma once

#include <gtest/gtest.h>

#include <cctype>
#include <ostream>
#include <string>

// Names each case by its parameter's `name`.
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

// The suites keep their cases in the file's unnamed namespace, which is this one: gtest finds
// this printer there for any case with a `name` and prints the name rather than the bytes.
namespace {
template <typename Case>
requires requires(const Case& c, std::ostream& out) {
    out << c.name;
}
void PrintTo(const Case& c, std::ostream* out) {
    *out << c.name;
}
}  // namespace
