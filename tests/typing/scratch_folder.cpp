#include "tests/typing/scratch_folder.h"

#include <cstdlib>
#include <fstream>
#include <iterator>

void ScratchFolderTest::SetUp() {
    std::string pattern = (std::filesystem::temp_directory_path() / "parrun-typing-XXXXXX");
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    folder_ = pattern;
    previous_ = std::filesystem::current_path();
    std::filesystem::current_path(folder_);
}

void ScratchFolderTest::TearDown() {
    std::filesystem::current_path(previous_);
    std::filesystem::permissions(folder_, std::filesystem::perms::owner_all);
    std::filesystem::remove_all(folder_);
}

std::string ReadFileForTest(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

void WriteFileForTest(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}
