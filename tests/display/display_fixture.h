// A display on the scripted host for tests: every platform and display record back at its
// start, a fresh game folder holding test images of the right sizes, and a game window.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "platform/scripted/scripted_host.h"

// The colours of the test images: index 0 is the transparent blue.
constexpr uint32_t kTestKey = 0x0000FF;
constexpr uint32_t kTestInk = 0x2B2484;
constexpr uint32_t kTestRed = 0xE86A46;
constexpr uint32_t kTestCream = 0xFFFFC4;
constexpr uint32_t kTestLime = 0xBDD753;

// The colour index a test image has at a point: an ink border, diagonal stripes, and a
// transparent disc in the middle.
int TestImagePixel(int x, int y, int width, int height);

class DisplayFixture : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // A host with this script (a desktop depth, resources, faults), and the game's window,
    // centred as the game places it.
    void StartHost(const std::string& scriptText = "");
    void WriteFile(const std::string& path, const std::vector<uint8_t>& bytes);
    // The last picture the host showed, as 0x00RRGGBB, at a point.
    uint32_t Shown(int x, int y) const;

    std::unique_ptr<platform::ScriptedHost> host;
    HWND window = nullptr;
    std::filesystem::path folder;
    std::filesystem::path previousFolder;
};

// Every platform and display record back at its start.
void ResetEverything();
