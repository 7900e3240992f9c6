// The program's resources: found by type and name without case, and the overrides that tests
// and the scripted host use to reach the program's failure paths.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "platform/resources/resources.h"

namespace {

const unsigned char kData[] = {1, 2, 3, 4};
const bool registered = platform::RegisterResource(RT_BITMAP, "TESTBITS", kData, sizeof kData);

std::string Read(LPCSTR name, LPCSTR type) {
    HRSRC found = FindResourceA(nullptr, name, type);
    if (found == nullptr) return "not found";
    HGLOBAL loaded = LoadResource(nullptr, found);
    auto* data = static_cast<const unsigned char*>(LockResource(loaded));
    if (data == nullptr) return "not loaded";
    std::string bytes;
    for (DWORD i = 0; i < SizeofResource(nullptr, found); ++i) bytes += std::to_string(data[i]);
    return bytes;
}

TEST(Resources, OverridesComeAndGo) {
    ASSERT_TRUE(registered);
    platform::ResetResourceOverrides();
    EXPECT_EQ(Read("TESTBITS", RT_BITMAP), "1234");
    EXPECT_EQ(Read("testbits", RT_BITMAP), "1234") << "names ignore case";
    EXPECT_EQ(Read("TESTBITS", RT_ICON), "not found");
    EXPECT_EQ(FindResourceA(reinterpret_cast<HMODULE>(uintptr_t{0x1234}), "TESTBITS", RT_BITMAP),
              nullptr)
        << "another module";
    platform::ReplaceResource(RT_BITMAP, "TESTBITS", {9, 8});
    EXPECT_EQ(Read("TESTBITS", RT_BITMAP), "98");
    platform::MakeResourceUnloadable(RT_BITMAP, "TESTBITS");
    EXPECT_EQ(Read("TESTBITS", RT_BITMAP), "not loaded");
    platform::RemoveResource(RT_BITMAP, "TESTBITS");
    EXPECT_EQ(Read("TESTBITS", RT_BITMAP), "not found");
    platform::ResetResourceOverrides();
    EXPECT_EQ(Read("TESTBITS", RT_BITMAP), "1234");
}

}  // namespace
