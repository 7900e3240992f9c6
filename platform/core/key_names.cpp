#include "platform/core/key_names.h"

#include <windows.h>

namespace platform {

namespace {

constexpr KeyName kNamedKeys[] = {
    {"MINUS", VK_OEM_MINUS}, {"RETURN", VK_RETURN},   {"SPACE", VK_SPACE},
    {"LEFT", VK_LEFT},       {"UP", VK_UP},           {"RIGHT", VK_RIGHT},
    {"DOWN", VK_DOWN},       {"F4", VK_F4},           {"ESCAPE", VK_ESCAPE},
    {"SHIFT", VK_SHIFT},     {"CONTROL", VK_CONTROL}, {"CAPSLOCK", VK_CAPITAL},
    {"BACK", VK_BACK},       {"TAB", VK_TAB},
};

// Read, never written: scripts have long said ENTER for RETURN.
constexpr KeyName kOtherSpellings[] = {{"ENTER", VK_RETURN}};

bool IsLetter(int virtualKey) {
    return virtualKey >= 'A' && virtualKey <= 'Z';
}

}  // namespace

std::span<const KeyName> NamedKeys() {
    return kNamedKeys;
}

std::string KeyNameOf(int virtualKey) {
    if (IsLetter(virtualKey)) return std::string(1, static_cast<char>(virtualKey));
    for (const KeyName& key : kNamedKeys) {
        if (key.virtualKey == virtualKey) return key.name;
    }
    return {};
}

int VirtualKeyNamed(std::string_view name) {
    if (name.size() == 1 && IsLetter(name[0])) return name[0];
    for (const auto& table :
         {std::span<const KeyName>(kNamedKeys), std::span<const KeyName>(kOtherSpellings)}) {
        for (const KeyName& key : table) {
            if (name == key.name) return key.virtualKey;
        }
    }
    return 0;
}

}  // namespace platform
