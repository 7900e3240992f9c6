// The recording's text: one entry a line, a word naming it and its values.
#include <windows.h>

#include <array>
#include <charconv>
#include <cinttypes>
#include <limits>
#include <sstream>

#include "platform/core/host.h"
#include "platform/core/key_names.h"
#include "platform/core/text_words.h"
#include "platform/replay/recording.h"

namespace platform {

namespace {

struct Word {
    const char* word;
    RecordKind kind;
};

// Entries that are one word and nothing else.
constexpr Word kBareWords[] = {
    {"pump", RecordKind::Pump},
    {"wait", RecordKind::Wait},
    {"close", RecordKind::Close},
    {"activate", RecordKind::Activate},
    {"deactivate", RecordKind::Deactivate},
    {"minimize", RecordKind::Minimize},
    {"restore", RecordKind::Restore},
};

constexpr const char* kAnswers[] = {"ok", "yes", "no"};

bool InRange(const std::string& text, int64_t low, int64_t high, int64_t& value) {
    return ParseNumber(text, value) && value >= low && value <= high;
}

// Parses the words of one line into `entry`; false with `problem` set when they are wrong.
bool ParseWords(const std::vector<std::string>& words, const std::string& line, RecordEntry& entry,
                std::string& problem) {
    const std::string& word = words[0];
    auto count = [&](size_t n) {
        if (words.size() == n) return true;
        problem = "'" + word + "' takes " + std::to_string(n - 1) + " value(s)";
        return false;
    };
    for (const Word& bare : kBareWords) {
        if (word == bare.word) {
            entry.kind = bare.kind;
            return count(1);
        }
    }
    if (word == "clock") {
        entry.kind = RecordKind::Clock;
        uint32_t first = 0;
        if (words.size() < 3 || !ParseNumber(words[1], first)) {
            problem = "'clock' takes a reading and how often each millisecond from it was read";
            return false;
        }
        entry.value = first;
        for (size_t i = 2; i < words.size(); ++i) {
            uint32_t times = 0;
            if (!ParseNumber(words[i], times)) {
                problem = "'" + words[i] + "' is not a count of readings";
                return false;
            }
            entry.counts.push_back(times);
        }
        if (entry.counts.front() == 0) {
            problem = "a clock run starts with a reading of its first value";
            return false;
        }
        return true;
    }
    if (word == "key") {
        entry.kind = RecordKind::Key;
        if (!count(3)) return false;
        entry.value = RecordKeyCode(words[1]);
        if (entry.value < 0) {
            problem = "unknown key '" + words[1] + "'";
            return false;
        }
        if (words[2] != "down" && words[2] != "up") {
            problem = "a key is 'down' or 'up', not '" + words[2] + "'";
            return false;
        }
        entry.second = words[2] == "down" ? 1 : 0;
        return true;
    }
    if (word == "press" || word == "release") {
        entry.kind = word == "press" ? RecordKind::Press : RecordKind::Release;
        if (!count(2)) return false;
        entry.value = RecordKeyCode(words[1]);
        if (entry.value < 0) problem = "unknown key '" + words[1] + "'";
        return entry.value >= 0;
    }
    if (word == "desktop-width" || word == "desktop-height" || word == "desktop-bits") {
        entry.kind = word == "desktop-width"    ? RecordKind::DesktopWidth
                     : word == "desktop-height" ? RecordKind::DesktopHeight
                                                : RecordKind::DesktopBits;
        if (!count(2)) return false;
        int64_t high = entry.kind == RecordKind::DesktopBits ? 32 : 65535;
        if (!InRange(words[1], 1, high, entry.value)) {
            problem = "'" + words[1] + "' is not a " + word.substr(8) + " from 1 to " +
                      std::to_string(high);
            return false;
        }
        return true;
    }
    if (word == "move") {
        entry.kind = RecordKind::Move;
        constexpr int64_t kFar = 1 << 24;
        if (!count(3)) return false;
        if (!InRange(words[1], -kFar, kFar, entry.value) ||
            !InRange(words[2], -kFar, kFar, entry.second)) {
            problem = "'move' takes two whole numbers";
            return false;
        }
        return true;
    }
    if (word == "answer") {
        entry.kind = RecordKind::Answer;
        if (!count(3)) return false;
        entry.value = -1;
        for (size_t i = 0; i < std::size(kAnswers); ++i) {
            if (words[1] == kAnswers[i]) entry.value = static_cast<int64_t>(i);
        }
        if (entry.value < 0) {
            problem = "an answer is 'ok', 'yes' or 'no', not '" + words[1] + "'";
            return false;
        }
        uint32_t when = 0;
        if (!ParseNumber(words[2], when)) {
            problem = "'" + words[2] + "' is not a clock reading";
            return false;
        }
        entry.second = when;
        return true;
    }
    if (word == "report") {
        entry.kind = RecordKind::Report;
        if (words.size() < 2) {
            problem = "'report' takes what was reported";
            return false;
        }
        // Everything after the word, as it was written: details may hold spaces.
        entry.text = line.substr(line.find(word) + word.size() + 1);
        return true;
    }
    if (word == "exit") {
        entry.kind = RecordKind::Exit;
        if (!count(2)) return false;
        if (!InRange(words[1], std::numeric_limits<int32_t>::min(),
                     std::numeric_limits<int32_t>::max(), entry.value)) {
            problem = "'" + words[1] + "' is not an exit code";
            return false;
        }
        return true;
    }
    if (word == "picture") {
        entry.kind = RecordKind::Picture;
        if (!count(3)) return false;
        const std::string& size = words[1];
        size_t cross = size.find('x');
        if (cross == std::string::npos || !InRange(size.substr(0, cross), 1, 4096, entry.value) ||
            !InRange(size.substr(cross + 1), 1, 4096, entry.second)) {
            problem = "'" + size + "' is not a picture size such as 480x320";
            return false;
        }
        if (words[2].size() != 16 || !ParseNumber(words[2], entry.hash, 16)) {
            problem = "'" + words[2] + "' is not 16 hexadecimal digits";
            return false;
        }
        return true;
    }
    problem = "unknown entry '" + word + "'";
    return false;
}

}  // namespace

std::string RecordKeyName(int virtualKey) {
    std::string name = KeyNameOf(virtualKey);
    return name.empty() ? std::to_string(virtualKey) : name;
}

int RecordKeyCode(const std::string& name) {
    if (int virtualKey = VirtualKeyNamed(name)) return virtualKey;
    int code = 0;
    if (ParseNumber(name, code) && code >= 0 && code <= 255) return code;
    return -1;
}

uint64_t PictureHash(const uint32_t* pixels, size_t count) {
    uint64_t hash = 0xcbf29ce484222325ull;
    for (size_t i = 0; i < count; ++i) {
        uint32_t value = pixels[i] & 0xFFFFFFu;
        for (int shift = 0; shift < 24; shift += 8) {
            hash ^= (value >> shift) & 0xFF;
            hash *= 0x100000001b3ull;
        }
    }
    return hash;
}

std::string FormatEntry(const RecordEntry& entry) {
    switch (entry.kind) {
        case RecordKind::Clock: {
            std::string line = "clock " + std::to_string(static_cast<uint32_t>(entry.value));
            for (uint32_t times : entry.counts) line += " " + std::to_string(times);
            return line;
        }
        case RecordKind::Key:
            return "key " + RecordKeyName(static_cast<int>(entry.value)) +
                   (entry.second ? " down" : " up");
        case RecordKind::DesktopWidth:
            return "desktop-width " + std::to_string(entry.value);
        case RecordKind::DesktopHeight:
            return "desktop-height " + std::to_string(entry.value);
        case RecordKind::DesktopBits:
            return "desktop-bits " + std::to_string(entry.value);
        case RecordKind::Press:
            return "press " + RecordKeyName(static_cast<int>(entry.value));
        case RecordKind::Release:
            return "release " + RecordKeyName(static_cast<int>(entry.value));
        case RecordKind::Move:
            return "move " + std::to_string(entry.value) + " " + std::to_string(entry.second);
        case RecordKind::Answer:
            return std::string("answer ") + kAnswers[entry.value % std::size(kAnswers)] + " " +
                   std::to_string(static_cast<uint32_t>(entry.second));
        case RecordKind::Report:
            return "report " + entry.text;
        case RecordKind::Exit:
            return "exit " + std::to_string(entry.value);
        case RecordKind::Picture: {
            char hash[17];
            std::snprintf(hash, sizeof hash, "%016" PRIx64, entry.hash);
            return "picture " + std::to_string(entry.value) + "x" + std::to_string(entry.second) +
                   " " + hash;
        }
        default:
            for (const Word& bare : kBareWords) {
                if (bare.kind == entry.kind) return bare.word;
            }
            return "";
    }
}

bool ParseRecording(const std::string& text, Recording& recording, std::string& error) {
    recording.entries.clear();
    std::istringstream in(text);
    std::string line;
    int number = 0;
    bool sawHeader = false;
    while (std::getline(in, line)) {
        ++number;
        while (!line.empty() && line.back() == '\r') line.pop_back();
        auto fail = [&](const std::string& problem) {
            error = "line " + std::to_string(number) + ": " + problem;
            return false;
        };
        std::vector<std::string> words = Words(line);
        if (words.empty() || words[0][0] == '#') continue;
        if (!sawHeader) {
            int version = 0;
            if (words[0] != "parrun-recording" || words.size() != 2) {
                return fail("not a Parrun recording (it starts with 'parrun-recording 1')");
            }
            if (!ParseNumber(words[1], version) || version < 1) {
                return fail("'" + words[1] + "' is not a version number");
            }
            if (version > kRecordingVersion) {
                return fail("a recording of version " + words[1] + ", newer than this program (" +
                            std::to_string(kRecordingVersion) + ")");
            }
            sawHeader = true;
            continue;
        }
        RecordEntry entry;
        entry.line = number;
        std::string problem;
        if (!ParseWords(words, line, entry, problem)) return fail(problem);
        recording.entries.push_back(std::move(entry));
    }
    if (!sawHeader) {
        error = "line 1: not a Parrun recording (it is empty)";
        return false;
    }
    return true;
}

}  // namespace platform
