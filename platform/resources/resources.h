// The program's own resources (the data a resource compiler puts into an executable), found by
// type and name with FindResourceA. Generated sources register them before main; tests and
// the scripted host may replace, remove or spoil one to reach the program's failure paths.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <vector>

namespace platform {

// Registers data that lives for the whole run under a type and a name, each either a string
// or a MAKEINTRESOURCE number. Returns true, so that it can initialise a static.
bool RegisterResource(LPCSTR type, LPCSTR name, const void* data, size_t size);

// Overrides, undone by ResetResourceOverrides: different bytes, no resource at all, or one
// that is found but cannot be loaded.
void ReplaceResource(LPCSTR type, LPCSTR name, std::vector<uint8_t> bytes);
void RemoveResource(LPCSTR type, LPCSTR name);
void MakeResourceUnloadable(LPCSTR type, LPCSTR name);
void ResetResourceOverrides();

// The data of the first resource of a type in registration order (the program's icon), or
// null.
const uint8_t* FirstResourceOfType(LPCSTR type, size_t* size);

}  // namespace platform
