// "key.dat" and "a.dat" behave alike: the same tests run on both, through their bytes.
#include <pwd.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>

#include "tests/case_names.h"
#include "tests/typing/scratch_folder.h"
#include "typing/rankings.h"
#include "typing/romaji_preferences.h"

namespace {

struct RecordFile {
    const char* name;
    size_t size;
    // Saves the record whose file would hold these bytes (size of them).
    bool (*save)(const std::string& bytes);
    // Loads into a record that starts with every byte 0xA5; gives its file bytes.
    bool (*load)(std::string& bytes);
};

const RecordFile kPreferencesFile = {
    "key.dat",
    kRomajiPreferencesFileSize,
    [](const std::string& bytes) {
        RomajiPreferences preferences;
        DecodeRomajiPreferences(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(),
                                preferences);
        return SaveRomajiPreferences(preferences);
    },
    [](std::string& bytes) {
        RomajiPreferences preferences;
        std::memset(&preferences, 0xA5, sizeof preferences);
        bool loaded = LoadRomajiPreferences(preferences);
        uint8_t encoded[kRomajiPreferencesFileSize];
        EncodeRomajiPreferences(preferences, encoded);
        bytes.assign(reinterpret_cast<char*>(encoded), sizeof encoded);
        return loaded;
    },
};

const RecordFile kRankingsFile = {
    "a.dat",
    kRankingsFileSize,
    [](const std::string& bytes) {
        Rankings rankings;
        DecodeRankings(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), rankings);
        return SaveRankings(rankings);
    },
    [](std::string& bytes) {
        Rankings rankings;
        std::memset(&rankings, 0xA5, sizeof rankings);
        bool loaded = LoadRankings(rankings);
        uint8_t encoded[kRankingsFileSize];
        EncodeRankings(rankings, encoded);
        bytes.assign(reinterpret_cast<char*>(encoded), sizeof encoded);
        return loaded;
    },
};

// Little-endian words, each written as its four bytes.
std::string Words(std::initializer_list<uint32_t> words) {
    std::string bytes;
    for (uint32_t w : words) {
        for (int i = 0; i < 4; ++i) {
            bytes += static_cast<char>(w >> (8 * i));
        }
    }
    return bytes;
}

// Values of every kind, speeds with awkward bits: a NaN with a payload, -0, the smallest
// subnormal, infinity, 6.25.
std::string Sample(const RecordFile& file) {
    if (file.size == kRomajiPreferencesFileSize) {
        return Words({0, 1, 2, 0xFFFFFFFF, 0x80000000, 0x7FFFFFFF, 1, 0, 0x01020304});
    }
    return Words({12345, 0xFFFFFFFF, 0x80000000, 0, 7, 0x7FC12345, 0x80000000, 0x00000001,
                  0x7F800000, 0x40C80000});
}

class RecordFileTest : public ScratchFolderTest, public testing::WithParamInterface<RecordFile> {
protected:
    const RecordFile& File() const { return GetParam(); }
    std::string Contents() const { return ReadFileForTest(File().name); }
    std::string Zeros() const { return std::string(File().size, '\0'); }
};

TEST_P(RecordFileTest, RoundTripsBitForBit) {
    std::string sample = Sample(File());
    ASSERT_TRUE(File().save(sample));
    EXPECT_EQ(Contents(), sample);
    std::string loaded;
    ASSERT_TRUE(File().load(loaded));
    EXPECT_EQ(loaded, sample);
}

// What start-up does: a failed load leaves the zeros of a fresh run, which are then saved.
TEST_P(RecordFileTest, MissingFileIsCreatedWithZeros) {
    std::string untouched;
    EXPECT_FALSE(File().load(untouched));
    EXPECT_EQ(untouched, std::string(File().size, '\xA5'));
    ASSERT_TRUE(File().save(Zeros()));
    EXPECT_EQ(Contents(), Zeros());
}

TEST_P(RecordFileTest, SaveReplacesALongerFileByExactlyItsSize) {
    WriteFileForTest(File().name, std::string(1000, '\x7F'));
    ASSERT_TRUE(File().save(Sample(File())));
    EXPECT_EQ(Contents(), Sample(File()));
    EXPECT_FALSE(std::filesystem::exists(std::string(File().name) + ".new"));
}

TEST_P(RecordFileTest, ShortFileGivesZeroForWhatIsMissing) {
    std::string sample = Sample(File());
    for (size_t length : {size_t{0}, size_t{3}, size_t{4}, size_t{9}, File().size - 1}) {
        WriteFileForTest(File().name, sample.substr(0, length));
        std::string expected = sample.substr(0, length / 4 * 4);
        expected.resize(File().size, '\0');
        std::string loaded;
        EXPECT_TRUE(File().load(loaded));
        EXPECT_EQ(loaded, expected) << length << " bytes";
    }
    WriteFileForTest(File().name, sample + "trailing");
    std::string loaded;
    EXPECT_TRUE(File().load(loaded));
    EXPECT_EQ(loaded, sample);
}

TEST_P(RecordFileTest, FolderByTheFileNameIsNoFile) {
    std::filesystem::create_directory(File().name);
    std::string untouched;
    EXPECT_FALSE(File().load(untouched));
    EXPECT_FALSE(File().save(Sample(File())));
    EXPECT_TRUE(std::filesystem::is_directory(File().name));
}

// Runs the save in a child without root's right to write anywhere; gives its result.
bool SaveAsUnprivileged(const RecordFile& file, const std::string& bytes) {
    if (geteuid() != 0) {
        return file.save(bytes);
    }
    const passwd* nobody = getpwnam("nobody");
    if (nobody == nullptr) {
        ADD_FAILURE() << "no user 'nobody' to drop root's rights to";
        return true;
    }
    pid_t child = fork();
    if (child == 0) {
        bool dropped = setgid(nobody->pw_gid) == 0 && setuid(nobody->pw_uid) == 0;
        _exit(!dropped ? 2 : file.save(bytes) ? 1 : 0);
    }
    int status = 0;
    waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) != 2) << "could not drop root's rights";
    return WIFEXITED(status) && WEXITSTATUS(status) == 1;
}

TEST_P(RecordFileTest, SaveIntoReadOnlyFolderFailsAndChangesNothing) {
    WriteFileForTest(File().name, "old");
    std::filesystem::permissions(
        Folder(), std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec |
                      std::filesystem::perms::others_read | std::filesystem::perms::others_exec);
    EXPECT_FALSE(SaveAsUnprivileged(File(), Sample(File())));
    std::filesystem::permissions(Folder(), std::filesystem::perms::owner_all);
    EXPECT_EQ(Contents(), "old");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(Folder()),
                            std::filesystem::directory_iterator()),
              1);
}

// A write that stops partway (here the file size limit; a full disk does the same) leaves the old
// file whole.
TEST_P(RecordFileTest, SaveFailingHalfwayKeepsTheOldFile) {
    std::string old = Zeros();
    old[0] = 'X';
    WriteFileForTest(File().name, old);

    rlimit previous;
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &previous), 0);
    rlimit small = previous;
    small.rlim_cur = File().size / 2;
    sighandler_t previousHandler = signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    bool saved = File().save(Sample(File()));
    setrlimit(RLIMIT_FSIZE, &previous);
    signal(SIGXFSZ, previousHandler);

    EXPECT_FALSE(saved);
    EXPECT_EQ(Contents(), old);
    EXPECT_FALSE(std::filesystem::exists(std::string(File().name) + ".new"));
}

INSTANTIATE_TEST_SUITE_P(Files, RecordFileTest, testing::Values(kPreferencesFile, kRankingsFile),
                         [](const testing::TestParamInfo<RecordFile>& info) {
                             return std::string(info.param.name == std::string("key.dat") ? "KeyDat"
                                                                                          : "ADat");
                         });

}  // namespace
