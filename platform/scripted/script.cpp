#include "platform/scripted/script.h"

#include <windows.h>

#include <algorithm>
#include <charconv>
#include <sstream>

#include "platform/core/key_names.h"
#include "platform/core/text_words.h"
#include "platform/faults/fault_points.h"

namespace platform {

namespace {

bool ParseHex(const std::vector<std::string>& words, size_t from, std::vector<uint8_t>& bytes) {
    std::string digits;
    for (size_t i = from; i < words.size(); ++i) digits += words[i];
    if (digits.empty() || digits.size() % 2 != 0) return false;
    bytes.clear();
    for (size_t i = 0; i < digits.size(); i += 2) {
        unsigned value = 0;
        auto [ptr, ec] = std::from_chars(digits.data() + i, digits.data() + i + 2, value, 16);
        if (ec != std::errc() || ptr != digits.data() + i + 2) return false;
        bytes.push_back(static_cast<uint8_t>(value));
    }
    return true;
}

bool ParseResource(const std::vector<std::string>& words, ResourceChange& change) {
    if (words.size() < 4) return false;
    const std::string& type = words[1];
    unsigned number = 0;
    if (type != "BITMAP" && type != "ICON" && type != "GROUP_ICON" && !ParseNumber(type, number)) {
        return false;
    }
    change.type = type;
    change.name = words[2];
    if (words.size() == 4 && words[3] == "none") {
        change.kind = ResourceChange::Kind::Remove;
        return true;
    }
    if (words.size() == 4 && words[3] == "unloadable") {
        change.kind = ResourceChange::Kind::Unloadable;
        return true;
    }
    change.kind = ResourceChange::Kind::Replace;
    return ParseHex(words, 3, change.bytes);
}

}  // namespace

bool ParseScript(const std::string& text, Script& script, std::string& error) {
    script = Script{};
    std::istringstream in(text);
    std::string line;
    int lineNumber = 0;
    auto fail = [&](const std::string& what) {
        error = "line " + std::to_string(lineNumber) + ": " + what;
        return false;
    };
    while (std::getline(in, line)) {
        ++lineNumber;
        if (auto hash = line.find('#'); hash != std::string::npos) line.erase(hash);
        std::vector<std::string> words = Words(line);
        if (words.empty()) continue;
        const std::string& verb = words[0];
        if (verb == "clock") {
            if (words.size() != 2 || !ParseNumber(words[1], script.clockStart)) {
                return fail("expected 'clock N' with N a 32-bit unsigned value");
            }
            continue;
        }
        if (verb == "end") {
            uint64_t end = 0;
            if (words.size() != 2 || !ParseNumber(words[1], end)) return fail("expected 'end T'");
            script.end = end;
            continue;
        }
        if (verb == "desktop") {
            int bits = 0;
            if (words.size() != 2 || !ParseNumber(words[1], bits) ||
                (bits != 32 && bits != 16 && bits != 15)) {
                return fail("expected 'desktop 32', 'desktop 16' or 'desktop 15'");
            }
            script.desktopBits = bits;
            continue;
        }
        if (verb == "busy-after-flip") {
            if (words.size() != 2 || !ParseNumber(words[1], script.busyAfterFlip)) {
                return fail("expected 'busy-after-flip MS'");
            }
            continue;
        }
        if (verb == "audio") {
            if (words.size() != 2) return fail("expected 'audio FILE'");
            script.audioFile = words[1];
            continue;
        }
        if (verb == "resource") {
            ResourceChange change;
            if (!ParseResource(words, change)) {
                return fail(
                    "expected 'resource TYPE NAME HEX', 'resource TYPE NAME none' or 'resource "
                    "TYPE NAME unloadable', TYPE one of BITMAP, ICON, GROUP_ICON or a number");
            }
            script.resources.push_back(std::move(change));
            continue;
        }
        if (verb == "fail") {
            FaultChange change;
            bool known = words.size() >= 2 &&
                         std::find(FaultPointNames().begin(), FaultPointNames().end(), words[1]) !=
                             FaultPointNames().end();
            bool shape = words.size() == 2 ||
                         (words.size() == 4 && words[2] == "after" &&
                          ParseNumber(words[3], change.succeedFirst) && change.succeedFirst >= 0);
            if (!known || !shape) {
                std::string names;
                for (const auto& name : FaultPointNames())
                    names += (names.empty() ? "" : ", ") + name;
                return fail("expected 'fail POINT' or 'fail POINT after N', POINT one of " + names);
            }
            change.point = words[1];
            script.faults.push_back(change);
            continue;
        }
        if (verb != "at") return fail("unknown command '" + verb + "'");
        ScriptEvent event;
        event.line = lineNumber;
        if (words.size() < 3 || !ParseNumber(words[1], event.time)) {
            return fail("expected 'at T WHAT ...' with T in milliseconds");
        }
        const std::string& what = words[2];
        size_t argc = words.size() - 3;
        if (what == "press" || what == "release") {
            if (argc != 1 || (event.key = VirtualKeyNamed(words[3])) == 0) {
                return fail("expected '" + what +
                            " KEY' with KEY one of A-Z, MINUS, RETURN, SPACE, LEFT, UP, RIGHT, "
                            "DOWN, F4, ESCAPE, SHIFT, CONTROL, CAPSLOCK");
            }
            event.kind = what == "press" ? ScriptEventKind::Press : ScriptEventKind::Release;
        } else if (what == "close") {
            bool delayed =
                argc == 3 && words[4] == "after" && ParseNumber(words[5], event.answerDelay);
            if ((argc != 1 && !delayed) || (words[3] != "yes" && words[3] != "no")) {
                return fail(
                    "expected 'close yes' or 'close no', optionally followed by 'after MS'");
            }
            event.kind = ScriptEventKind::Close;
            event.answerYes = words[3] == "yes";
        } else if (what == "move") {
            if (argc != 2 || !ParseNumber(words[3], event.x) || !ParseNumber(words[4], event.y)) {
                return fail("expected 'move X Y'");
            }
            event.kind = ScriptEventKind::Move;
        } else if (what == "shot") {
            if (argc != 1) return fail("expected 'shot FILE'");
            event.kind = ScriptEventKind::Shot;
            event.file = words[3];
        } else if (what == "delete") {
            if (argc != 1) return fail("expected 'delete FILE'");
            event.kind = ScriptEventKind::Delete;
            event.file = words[3];
        } else if (what == "shot-back") {
            if (argc != 1) return fail("expected 'shot-back FILE'");
            event.kind = ScriptEventKind::ShotBack;
            event.file = words[3];
        } else if (what == "pages") {
            if (argc > 1 || (argc == 1 && words[3] != "frame")) {
                return fail("expected 'pages' or 'pages frame'");
            }
            event.kind = ScriptEventKind::Pages;
            event.wholeFrame = argc == 1;
        } else if (argc == 0 && what == "lose-surfaces") {
            event.kind = ScriptEventKind::LoseSurfaces;
        } else if (argc == 0 && what == "memory") {
            event.kind = ScriptEventKind::Memory;
        } else if (argc == 0 && what == "lose-sound-buffers") {
            event.kind = ScriptEventKind::LoseSoundBuffers;
        } else if (argc == 0 && what == "deactivate") {
            event.kind = ScriptEventKind::Deactivate;
        } else if (argc == 0 && what == "activate") {
            event.kind = ScriptEventKind::Activate;
        } else if (argc == 0 && what == "minimize") {
            event.kind = ScriptEventKind::Minimize;
        } else if (argc == 0 && what == "restore") {
            event.kind = ScriptEventKind::Restore;
        } else {
            return fail("unknown event '" + what + "'");
        }
        script.events.push_back(event);
    }
    std::stable_sort(script.events.begin(), script.events.end(),
                     [](const ScriptEvent& a, const ScriptEvent& b) { return a.time < b.time; });
    return true;
}

}  // namespace platform
