#include "tools/phrase_checker/phrase_checker.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "tools/phrase_checker/shift_jis.h"
#include "typing/file_io.h"
#include "typing/phrase_table.h"

namespace {

constexpr const char* kUsage =
    "usage: parrun-phrases [--prefs V,V,V,V,V,V,V,V,V] [--verbose] [FILE]\n"
    "Loads FILE (default drel.txt) as the game does and prints each phrase it keeps:\n"
    "index, dialect text, dialect romaji, standard text, standard romaji, tab-separated,\n"
    "as UTF-8, then a line \"N phrases\". The nine values are the spelling choices for\n"
    "shi, chi, tsu, fu, ji, sha, ja, cha and n (0 the first spelling, 1 the second;\n"
    "default all 0). Dropped phrases and lines that look like mistyped tags are told\n"
    "on standard error with their line numbers; other ignored lines (comments,\n"
    "headings) are counted, and listed with --verbose. Exit status: 0 when a phrase\n"
    "loads, 1 when none does, 2 for a wrong command line.\n";

bool ParsePreferences(const char* text, RomajiPreferences& preferences) {
    const char* p = text;
    for (int i = 0; i < kSpellingRuleCount; ++i) {
        char* end;
        errno = 0;
        long value = std::strtol(p, &end, 10);
        if (end == p || errno != 0 || value < INT32_MIN || value > INT32_MAX) {
            return false;
        }
        preferences.values[i] = static_cast<int32_t>(value);
        char expected = i + 1 < kSpellingRuleCount ? ',' : '\0';
        if (*end != expected) {
            return false;
        }
        p = end + 1;
    }
    return true;
}

const char* LineName(int index) {
    static constexpr const char* kNames[4] = {"dialect text", "dialect romaji", "standard text",
                                              "standard romaji"};
    return kNames[index];
}

std::string Describe(const PhraseNote& note) {
    switch (note.kind) {
        case PhraseNoteKind::IgnoredLine:
            return "ignored: neither a dialect line nor the line after one";
        case PhraseNoteKind::MistypedTag:
            return "ignored: begins like a tag but is neither \"[drel]\" nor \"[normal]\" in "
                   "the first column";
        case PhraseNoteKind::StrayStandardLine:
            return "ignored: a standard line with no dialect line right before it";
        case PhraseNoteKind::LineCut:
            return "line cut at 255 characters; the rest of it is skipped";
        case PhraseNoteKind::NulByte:
            return "holds a NUL byte; the rest of the line is skipped";
        case PhraseNoteKind::NoStandardLine:
            if (note.otherLine == 0) {
                return "phrase dropped: the file ends before its standard line";
            }
            return "phrase dropped: line " + std::to_string(note.otherLine) +
                   " is not a standard line (it is passed over with this one)";
        case PhraseNoteKind::NoSpace:
            return "phrase dropped: no space after the display text on line " +
                   std::to_string(note.otherLine);
        case PhraseNoteKind::TooLong: {
            std::string text = "phrase dropped: over " + std::to_string(kPhraseLengthLimit) +
                               " under these preferences:";
            for (int i = 0; i < 4; ++i) {
                if (note.lengths[i] > kPhraseLengthLimit) {
                    text += std::string(" ") + LineName(i) + " " + std::to_string(note.lengths[i]);
                }
            }
            return text;
        }
        case PhraseNoteKind::UntypableRomaji:
            return "warning: a romaji holds a character no key types (only a-z and -)";
        case PhraseNoteKind::TableFull:
            return "the table is full at 256 phrases; the file from here on is not read";
    }
    return "?";
}

}  // namespace

int RunPhraseChecker(int argc, const char* const* argv, std::ostream& out, std::ostream& err) {
    RomajiPreferences preferences{};
    const char* path = "drel.txt";
    bool havePath = false;
    bool verbose = false;
    for (int i = 0; i < argc; ++i) {
        std::string argument = argv[i];
        if (argument == "-h" || argument == "--help") {
            out << kUsage;
            return 0;
        }
        if (argument == "-v" || argument == "--verbose") {
            verbose = true;
            continue;
        }
        const char* values = nullptr;
        if (argument == "--prefs" && i + 1 < argc) {
            values = argv[++i];
        } else if (argument.starts_with("--prefs=")) {
            values = argv[i] + std::strlen("--prefs=");
        } else if (!argument.starts_with("-") && !havePath) {
            path = argv[i];
            havePath = true;
            continue;
        } else {
            err << "parrun-phrases: unexpected argument '" << argument << "'\n" << kUsage;
            return 2;
        }
        if (!ParsePreferences(values, preferences)) {
            err << "parrun-phrases: --prefs takes nine integers separated by commas, not '"
                << values << "'\n";
            return 2;
        }
    }

    std::string bytes;
    if (!ReadFileBytes(path, bytes)) {
        err << "parrun-phrases: cannot read " << path << ": " << std::strerror(errno) << "\n";
        return 1;
    }
    auto table = std::make_unique<PhraseTable>();
    PhraseLoadReport report;
    int count = LoadPhraseTableFromBytes(bytes, *table, preferences, &report);

    int quietlyIgnored = 0;
    for (const PhraseNote& note : report.notes) {
        if (note.kind == PhraseNoteKind::IgnoredLine && !verbose) {
            ++quietlyIgnored;
            continue;
        }
        err << path << ":" << note.line << ": " << Describe(note) << "\n";
    }
    if (quietlyIgnored > 0) {
        err << path << ": " << quietlyIgnored
            << " other lines ignored as comments or headings (--verbose lists them)\n";
    }
    for (int i = 0; i < count; ++i) {
        const PhraseEntry& e = (*table)[i];
        out << i << "\t" << ShiftJisToUtf8(e.dialectText) << "\t" << EscapeAscii(e.dialectRomaji)
            << "\t" << ShiftJisToUtf8(e.standardText) << "\t" << EscapeAscii(e.standardRomaji)
            << "\n";
    }
    out << count << " phrases\n";
    return count > 0 ? 0 : 1;
}
