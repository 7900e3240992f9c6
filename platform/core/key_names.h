// The names our text files (scripts, recordings) give to the keys the game reads: a letter is
// itself (A to Z), every other key a word. Every host that reads or writes key names takes them
// from here.
#pragma once

#include <span>
#include <string>
#include <string_view>

namespace platform {

struct KeyName {
    const char* name;
    int virtualKey;
};

// The named keys other than letters, each virtual key once under the name written for it.
std::span<const KeyName> NamedKeys();

// The name written for a virtual key, or empty for a key without one.
std::string KeyNameOf(int virtualKey);

// The virtual key a name stands for (also older spellings, such as ENTER), or 0 for none.
int VirtualKeyNamed(std::string_view name);

}  // namespace platform
