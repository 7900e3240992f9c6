// The recording's text: every entry survives being written and read back, clock readings
// gather into runs, and damaged files are refused with the line at fault.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "platform/replay/recording.h"

namespace {

using platform::RecordEntry;
using platform::RecordKind;

RecordEntry Entry(RecordKind kind, int64_t value = 0, int64_t second = 0) {
    RecordEntry entry;
    entry.kind = kind;
    entry.value = value;
    entry.second = second;
    return entry;
}

TEST(RecordingText, EveryEntryReadsBackAsWritten) {
    RecordEntry clock = Entry(RecordKind::Clock, 4294967290);
    clock.counts = {3, 0, 1, 250};
    RecordEntry report = Entry(RecordKind::Report);
    report.text = "music bgm/some  file.mid";
    RecordEntry picture = Entry(RecordKind::Picture, 640, 480);
    picture.hash = 0x0123456789abcdefull;
    const std::vector<std::pair<RecordEntry, std::string>> cases = {
        {clock, "clock 4294967290 3 0 1 250"},
        {Entry(RecordKind::Key, 'Q', 1), "key Q down"},
        {Entry(RecordKind::Key, 0xBD, 0), "key MINUS up"},
        {Entry(RecordKind::Key, 0x91, 1), "key 145 down"},
        {Entry(RecordKind::DesktopWidth, 512), "desktop-width 512"},
        {Entry(RecordKind::DesktopHeight, 384), "desktop-height 384"},
        {Entry(RecordKind::DesktopBits, 16), "desktop-bits 16"},
        {Entry(RecordKind::Pump), "pump"},
        {Entry(RecordKind::Wait), "wait"},
        {Entry(RecordKind::Press, 0x0D), "press RETURN"},
        {Entry(RecordKind::Release, 'Z'), "release Z"},
        {Entry(RecordKind::Close), "close"},
        {Entry(RecordKind::Activate), "activate"},
        {Entry(RecordKind::Deactivate), "deactivate"},
        {Entry(RecordKind::Minimize), "minimize"},
        {Entry(RecordKind::Restore), "restore"},
        {Entry(RecordKind::Move, -20, 35), "move -20 35"},
        {Entry(RecordKind::Answer, 1, 4000000000), "answer yes 4000000000"},
        {report, "report music bgm/some  file.mid"},
        {Entry(RecordKind::Exit, -1), "exit -1"},
        {picture, "picture 640x480 0123456789abcdef"},
    };
    for (const auto& [entry, text] : cases) {
        EXPECT_EQ(platform::FormatEntry(entry), text);
        platform::Recording recording;
        std::string error;
        ASSERT_TRUE(
            platform::ParseRecording("parrun-recording 1\n" + text + "\r\n", recording, error))
            << text << ": " << error;
        ASSERT_EQ(recording.entries.size(), 1u) << text;
        const RecordEntry& read = recording.entries[0];
        EXPECT_EQ(read.kind, entry.kind) << text;
        EXPECT_EQ(read.value, entry.value) << text;
        EXPECT_EQ(read.second, entry.second) << text;
        EXPECT_EQ(read.counts, entry.counts) << text;
        EXPECT_EQ(read.text, entry.text) << text;
        EXPECT_EQ(read.hash, entry.hash) << text;
        EXPECT_EQ(read.line, 2) << text;
    }
}

std::string Written(const std::vector<uint32_t>& readings) {
    char* buffer = nullptr;
    size_t size = 0;
    std::FILE* out = open_memstream(&buffer, &size);
    {
        platform::RecordingWriter writer(out);
        for (uint32_t reading : readings) writer.Clock(reading);
    }
    std::fclose(out);
    std::string text(buffer, size);
    std::free(buffer);
    return text.substr(text.find('\n') + 1);
}

TEST(RecordingText, ClockReadingsGatherIntoRuns) {
    std::vector<uint32_t> longRun;
    for (uint32_t t = 0; t < 70; ++t) longRun.push_back(t);
    std::string longText = "clock 0";
    for (int i = 0; i < 64; ++i) longText += " 1";
    longText += "\nclock 64 1 1 1 1 1 1\n";
    const std::vector<std::pair<std::vector<uint32_t>, std::string>> cases = {
        {{}, ""},
        {{7}, "clock 7 1\n"},
        {{7, 7, 7, 8, 8, 10}, "clock 7 3 2 0 1\n"},
        {{100, 108, 117}, "clock 100 1 0 0 0 0 0 0 0 1\nclock 117 1\n"},
        {{50, 49}, "clock 50 1\nclock 49 1\n"},
        {{4294967295u, 0, 1}, "clock 4294967295 1 1 1\n"},
        {longRun, longText},
    };
    for (const auto& [readings, text] : cases) {
        std::string written = Written(readings);
        EXPECT_EQ(written, text);
        // Read back, the runs give the same readings in the same order.
        platform::Recording recording;
        std::string error;
        ASSERT_TRUE(platform::ParseRecording("parrun-recording 1\n" + written, recording, error));
        std::vector<uint32_t> again;
        for (const RecordEntry& run : recording.entries) {
            for (size_t i = 0; i < run.counts.size(); ++i) {
                again.insert(again.end(), run.counts[i], static_cast<uint32_t>(run.value + i));
            }
        }
        EXPECT_EQ(again, readings);
    }
}

TEST(RecordingText, DamagedFilesNameTheLineAtFault) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"", "line 1: not a Parrun recording (it is empty)"},
        {"# only a comment\n", "line 1: not a Parrun recording (it is empty)"},
        {"clock 1 1\n", "line 1: not a Parrun recording"},
        {"parrun-recording 2\n", "line 1: a recording of version 2, newer"},
        {"parrun-recording one\n", "line 1: 'one' is not a version number"},
        {"parrun-recording 1\n\n# note\nclock\n", "line 4: 'clock' takes"},
        {"parrun-recording 1\nclock 5 0 1\n", "line 2: a clock run starts"},
        {"parrun-recording 1\nclock 4294967296 1\n", "line 2: 'clock' takes"},
        {"parrun-recording 1\nclock 5 1 -1\n", "line 2: '-1' is not a count"},
        {"parrun-recording 1\nkey F13 down\n", "line 2: unknown key 'F13'"},
        {"parrun-recording 1\nkey A sideways\n", "line 2: a key is 'down' or 'up'"},
        {"parrun-recording 1\nkey 256 up\n", "line 2: unknown key '256'"},
        {"parrun-recording 1\npress\n", "line 2: 'press' takes 1 value(s)"},
        {"parrun-recording 1\npump now\n", "line 2: 'pump' takes 0 value(s)"},
        {"parrun-recording 1\ndesktop-width 0\n", "line 2: '0' is not a width"},
        {"parrun-recording 1\ndesktop-bits 64\n", "line 2: '64' is not a bits"},
        {"parrun-recording 1\nmove 1 x\n", "line 2: 'move' takes two whole numbers"},
        {"parrun-recording 1\nanswer maybe 3\n", "line 2: an answer is"},
        {"parrun-recording 1\nanswer yes\n", "line 2: 'answer' takes 2 value(s)"},
        {"parrun-recording 1\nreport\n", "line 2: 'report' takes"},
        {"parrun-recording 1\nexit 99999999999\n", "line 2: '99999999999' is not an exit"},
        {"parrun-recording 1\npicture 640480 0123456789abcdef\n", "line 2: '640480' is not a"},
        {"parrun-recording 1\npicture 640x480 0123\n", "line 2: '0123' is not 16"},
        {"parrun-recording 1\nwarp 9\n", "line 2: unknown entry 'warp'"},
    };
    for (const auto& [text, message] : cases) {
        platform::Recording recording;
        std::string error;
        EXPECT_FALSE(platform::ParseRecording(text, recording, error)) << text;
        EXPECT_EQ(error.substr(0, message.size()), message) << text;
    }
}

}  // namespace
