// A fresh, empty folder that a test works in as its current directory, removed afterwards.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

class ScratchFolderTest : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    const std::filesystem::path& Folder() const { return folder_; }

private:
    std::filesystem::path folder_;
    std::filesystem::path previous_;
};

// Plain file access that does not go through the code under test.
std::string ReadFileForTest(const std::filesystem::path& path);
void WriteFileForTest(const std::filesystem::path& path, const std::string& bytes);
