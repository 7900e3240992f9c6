#include "typing/phrase_table.h"

#include <cstdio>
#include <string>

#include "typing/file_io.h"
#include "typing/spelling_rules.h"

namespace {

constexpr std::string_view kDialectTag = "[drel]";
constexpr std::string_view kStandardTag = "[normal]";

// One line as the C runtime reads a text file on Windows: it ends at LF, and a CR right before
// the LF is dropped; every other byte is kept.
struct PhraseLine {
    std::string_view text;
    int number = 0;
    bool cut = false;     // longer than the limit; only its start is in text
    bool hasNul = false;  // text stops before the line's first NUL byte
};

class LineReader {
public:
    explicit LineReader(std::string_view bytes) : bytes_(bytes) {}

    bool AtEnd() const { return position_ >= bytes_.size(); }
    int NextNumber() const { return number_ + 1; }

    PhraseLine Next() {
        PhraseLine line;
        line.number = ++number_;
        size_t end = bytes_.find('\n', position_);
        size_t next = end == std::string_view::npos ? bytes_.size() : end + 1;
        if (end == std::string_view::npos) {
            end = bytes_.size();
        } else if (end > position_ && bytes_[end - 1] == '\r') {
            --end;
        }
        line.text = bytes_.substr(position_, end - position_);
        position_ = next;
        if (line.text.size() > static_cast<size_t>(kPhraseLineLimit)) {
            line.text = line.text.substr(0, kPhraseLineLimit);
            line.cut = true;
        }
        // The fields are C strings: nothing after a NUL could reach them.
        size_t nul = line.text.find('\0');
        if (nul != std::string_view::npos) {
            line.text = line.text.substr(0, nul);
            line.hasNul = true;
        }
        return line;
    }

private:
    std::string_view bytes_;
    size_t position_ = 0;
    int number_ = 0;
};

struct FilledLine {
    bool hasSpace;
    int textLength;
    int romajiLength;
};

// Fills one line's two fields from what follows its tag. Whatever would not fit a field is left
// out; the lengths returned are the full ones, so that such a phrase is still found too long.
FilledLine FillLine(std::string_view afterTag, const RomajiPreferences& preferences, char* text,
                    int16_t& textLength, char* romaji, int16_t& romajiLength) {
    size_t space = afterTag.find(' ');
    bool hasSpace = space != std::string_view::npos;
    std::string_view display = hasSpace ? afterTag.substr(0, space) : afterTag;
    std::string_view source = hasSpace ? afterTag.substr(space + 1) : std::string_view();

    int fullText = static_cast<int>(display.size());
    int kept = fullText < kPhraseFieldSize - 1 ? fullText : kPhraseFieldSize - 1;
    display.copy(text, static_cast<size_t>(kept));
    text[kept] = '\0';
    textLength = static_cast<int16_t>(kept);

    int fullRomaji = ConvertRomaji(source, preferences, romaji, kPhraseFieldSize);
    romajiLength =
        static_cast<int16_t>(fullRomaji < kPhraseFieldSize - 1 ? fullRomaji : kPhraseFieldSize - 1);
    return {hasSpace, fullText, fullRomaji};
}

bool IsTypable(const char* romaji) {
    for (; *romaji != '\0'; ++romaji) {
        if (!((*romaji >= 'a' && *romaji <= 'z') || *romaji == '-')) {
            return false;
        }
    }
    return true;
}

bool LooksLikeTag(std::string_view line) {
    size_t first = line.find_first_not_of(" \t");
    return first != std::string_view::npos && line[first] == '[';
}

class Reporter {
public:
    explicit Reporter(PhraseLoadReport* report) : report_(report) {}

    void Note(PhraseNoteKind kind, int line, int otherLine = 0, const int* lengths = nullptr) {
        if (report_ == nullptr) {
            return;
        }
        PhraseNote note{kind, line, otherLine};
        if (lengths != nullptr) {
            for (int i = 0; i < 4; ++i) {
                note.lengths[i] = lengths[i];
            }
        }
        report_->notes.push_back(note);
    }

    void NoteLine(const PhraseLine& line) {
        if (line.cut) {
            Note(PhraseNoteKind::LineCut, line.number);
        }
        if (line.hasNul) {
            Note(PhraseNoteKind::NulByte, line.number);
        }
    }

    void Loaded(int dialectLine, const PhraseEntry& entry) {
        if (report_ == nullptr) {
            return;
        }
        report_->phraseLines.push_back(dialectLine);
        if (!IsTypable(entry.dialectRomaji) || !IsTypable(entry.standardRomaji)) {
            Note(PhraseNoteKind::UntypableRomaji, dialectLine);
        }
    }

private:
    PhraseLoadReport* report_;
};

}  // namespace

int LoadPhraseTableFromBytes(std::string_view bytes, PhraseTable& table,
                             const RomajiPreferences& preferences, PhraseLoadReport* report) {
    Reporter reporter(report);
    LineReader reader(bytes);
    int count = 0;
    while (!reader.AtEnd()) {
        if (count == kPhraseCapacity) {
            reporter.Note(PhraseNoteKind::TableFull, reader.NextNumber());
            break;
        }
        PhraseLine dialect = reader.Next();
        if (!dialect.text.starts_with(kDialectTag)) {
            if (dialect.text.starts_with(kStandardTag)) {
                reporter.Note(PhraseNoteKind::StrayStandardLine, dialect.number);
            } else if (LooksLikeTag(dialect.text)) {
                reporter.Note(PhraseNoteKind::MistypedTag, dialect.number);
            } else if (!dialect.text.empty() || dialect.hasNul) {
                reporter.Note(PhraseNoteKind::IgnoredLine, dialect.number);
            }
            continue;
        }
        reporter.NoteLine(dialect);
        PhraseEntry& entry = table[count];
        FilledLine first =
            FillLine(dialect.text.substr(kDialectTag.size()), preferences, entry.dialectText,
                     entry.dialectTextLength, entry.dialectRomaji, entry.dialectRomajiLength);

        // The line after a dialect line is its standard line or is passed over with it.
        if (reader.AtEnd()) {
            reporter.Note(PhraseNoteKind::NoStandardLine, dialect.number);
            break;
        }
        PhraseLine standard = reader.Next();
        if (!standard.text.starts_with(kStandardTag)) {
            reporter.Note(PhraseNoteKind::NoStandardLine, dialect.number, standard.number);
            continue;
        }
        reporter.NoteLine(standard);
        FilledLine second =
            FillLine(standard.text.substr(kStandardTag.size()), preferences, entry.standardText,
                     entry.standardTextLength, entry.standardRomaji, entry.standardRomajiLength);

        // A tag line without a space has no romaji to type: the author left out the separator.
        if (!first.hasSpace || !second.hasSpace) {
            reporter.Note(PhraseNoteKind::NoSpace, dialect.number,
                          first.hasSpace ? standard.number : dialect.number);
            continue;
        }
        int lengths[4] = {first.textLength, first.romajiLength, second.textLength,
                          second.romajiLength};
        bool fits = true;
        for (int length : lengths) {
            fits = fits && length <= kPhraseLengthLimit;
        }
        if (!fits) {
            reporter.Note(PhraseNoteKind::TooLong, dialect.number, standard.number, lengths);
            continue;
        }
        reporter.Loaded(dialect.number, entry);
        ++count;
    }
    return count;
}

int LoadPhraseTable(PhraseTable& table, const RomajiPreferences& preferences) {
    std::string bytes;
    if (!ReadFileBytes("drel.txt", bytes)) {
        std::fputs("Cannot open this file.\n", stdout);
        std::fflush(stdout);
        return 0;
    }
    return LoadPhraseTableFromBytes(bytes, table, preferences);
}
