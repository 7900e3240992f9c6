#include "platform/resources/resources.h"

#include <cctype>
#include <list>
#include <string>

namespace platform {

namespace {

struct ResourceEntry {
    std::string type;
    std::string name;
    const uint8_t* data = nullptr;
    size_t size = 0;
    std::vector<uint8_t> owned;  // bytes of an override
    bool unloadable = false;
    bool removed = false;
    bool isOverride = false;
};

struct ResourceTable {
    // A list keeps entries where they are, since handles point at them.
    std::list<ResourceEntry> entries;
};

ResourceTable& Table() {
    static ResourceTable table;
    return table;
}

// Resource names and types compare without case; numbers are kept as "#N".
std::string Key(LPCSTR id) {
    if (id == nullptr) return "";
    if (IS_INTRESOURCE(id)) {
        // Appended rather than added: gcc 12 at -O3 warns falsely about "#" + std::string.
        std::string number = "#";
        number += std::to_string(reinterpret_cast<uintptr_t>(id));
        return number;
    }
    std::string key(id);
    for (char& c : key) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return key;
}

// The entry that FindResourceA sees: the latest override, else the registered one.
ResourceEntry* Lookup(const std::string& type, const std::string& name) {
    ResourceEntry* found = nullptr;
    for (auto& entry : Table().entries) {
        if (entry.type == type && entry.name == name) found = &entry;
    }
    return found;
}

ResourceEntry& AddOverride(LPCSTR type, LPCSTR name) {
    auto& entries = Table().entries;
    ResourceEntry entry;
    entry.type = Key(type);
    entry.name = Key(name);
    entry.isOverride = true;
    entries.push_back(std::move(entry));
    return entries.back();
}

}  // namespace

bool RegisterResource(LPCSTR type, LPCSTR name, const void* data, size_t size) {
    ResourceEntry entry;
    entry.type = Key(type);
    entry.name = Key(name);
    entry.data = static_cast<const uint8_t*>(data);
    entry.size = size;
    // Registered data goes before any override, so an override made earlier still wins.
    auto& entries = Table().entries;
    auto it = entries.begin();
    while (it != entries.end() && !it->isOverride) ++it;
    entries.insert(it, std::move(entry));
    return true;
}

void ReplaceResource(LPCSTR type, LPCSTR name, std::vector<uint8_t> bytes) {
    ResourceEntry& entry = AddOverride(type, name);
    entry.owned = std::move(bytes);
    entry.data = entry.owned.data();
    entry.size = entry.owned.size();
}

void RemoveResource(LPCSTR type, LPCSTR name) {
    AddOverride(type, name).removed = true;
}

void MakeResourceUnloadable(LPCSTR type, LPCSTR name) {
    ResourceEntry* current = Lookup(Key(type), Key(name));
    ResourceEntry& entry = AddOverride(type, name);
    if (current != nullptr && !current->removed) {
        entry.owned.assign(current->data, current->data + current->size);
        entry.data = entry.owned.data();
        entry.size = entry.owned.size();
    }
    entry.unloadable = true;
}

void ResetResourceOverrides() {
    Table().entries.remove_if([](const ResourceEntry& entry) { return entry.isOverride; });
}

const uint8_t* FirstResourceOfType(LPCSTR type, size_t* size) {
    std::string key = Key(type);
    for (auto& entry : Table().entries) {
        if (entry.type != key) continue;
        ResourceEntry* current = Lookup(entry.type, entry.name);
        if (current == nullptr || current->removed || current->unloadable) continue;
        if (size != nullptr) *size = current->size;
        return current->data;
    }
    return nullptr;
}

}  // namespace platform

namespace {

bool IsProgramModule(HMODULE module) {
    return module == nullptr || module == GetModuleHandleA(nullptr);
}

platform::ResourceEntry* FromHandle(HRSRC resource) {
    return reinterpret_cast<platform::ResourceEntry*>(resource);
}

}  // namespace

HRSRC WINAPI FindResourceA(HMODULE module, LPCSTR name, LPCSTR type) {
    if (!IsProgramModule(module) || name == nullptr || type == nullptr) return nullptr;
    platform::ResourceEntry* entry = platform::Lookup(platform::Key(type), platform::Key(name));
    if (entry == nullptr || entry->removed) return nullptr;
    return reinterpret_cast<HRSRC>(entry);
}

HGLOBAL WINAPI LoadResource(HMODULE module, HRSRC resource) {
    if (!IsProgramModule(module) || resource == nullptr) return nullptr;
    platform::ResourceEntry* entry = FromHandle(resource);
    if (entry->unloadable) return nullptr;
    return static_cast<HGLOBAL>(entry);
}

LPVOID WINAPI LockResource(HGLOBAL data) {
    if (data == nullptr) return nullptr;
    auto* entry = static_cast<platform::ResourceEntry*>(data);
    return const_cast<uint8_t*>(entry->data);
}

DWORD WINAPI SizeofResource(HMODULE module, HRSRC resource) {
    if (!IsProgramModule(module) || resource == nullptr) return 0;
    return static_cast<DWORD>(FromHandle(resource)->size);
}
