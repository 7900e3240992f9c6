// parrun-script [--log FILE] [--last-picture PNG] SCRIPT: runs the game on the scripted host in
// the current folder (the game folder) and prints the log, one event a line; the sound of the
// run goes to the script's `audio` file, if it names one. Its exit status is the program's
// exit code, 3 when the script's end stopped the run, 2 when the script itself is at fault
// (a shot that no picture came for among them).
// parrun-script [--log FILE] [--last-picture PNG] --replay RECORDING plays a recording made by
// `parrun --record` instead of a script; its exit status is 4 when the game did not do again
// what it did while recording. "--record FILE" records a scripted run the same way.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <optional>
#include <sstream>

#include "platform/core/host.h"
#include "platform/replay/recording.h"
#include "platform/replay/recording_host.h"
#include "platform/scripted/png_file.h"
#include "platform/scripted/replay_host.h"
#include "platform/scripted/scripted_host.h"

namespace {

struct Options {
    const char* scriptPath = nullptr;
    const char* replayPath = nullptr;
    const char* logPath = nullptr;
    const char* picturePath = nullptr;
    const char* recordPath = nullptr;
};

bool ParseOptions(int argc, char** argv, Options& options) {
    for (int i = 1; i < argc; ++i) {
        const char** value = std::strcmp(argv[i], "--log") == 0            ? &options.logPath
                             : std::strcmp(argv[i], "--replay") == 0       ? &options.replayPath
                             : std::strcmp(argv[i], "--last-picture") == 0 ? &options.picturePath
                             : std::strcmp(argv[i], "--record") == 0       ? &options.recordPath
                                                                           : nullptr;
        if (value != nullptr && i + 1 < argc) {
            *value = argv[++i];
        } else if (options.scriptPath == nullptr && argv[i][0] != '-') {
            options.scriptPath = argv[i];
        } else {
            return false;
        }
    }
    if (options.replayPath != nullptr && options.recordPath != nullptr) return false;
    return (options.scriptPath == nullptr) != (options.replayPath == nullptr);
}

std::optional<std::string> ReadFile(const char* path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "parrun-script: cannot read %s\n", path);
        return std::nullopt;
    }
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

int RunGame(platform::ScriptedHost& log, platform::RecordingHost* recorder = nullptr) {
    try {
        int code =
            WinMain(GetModuleHandleA(nullptr), nullptr, const_cast<LPSTR>(""), SW_SHOWDEFAULT);
        log.Log("exit", std::to_string(code));
        if (recorder != nullptr) recorder->Finish(code);
        return code;
    } catch (const platform::RunEnded& ended) {
        return ended.code;
    }
}

bool WriteLastPicture(const char* path, const platform::ScriptedHost& host) {
    if (path == nullptr) return true;
    if (host.Picture().empty() || !platform::WritePng(path, host.Picture().data(),
                                                      host.PictureWidth(), host.PictureHeight())) {
        std::fprintf(stderr, "parrun-script: cannot write %s\n", path);
        return false;
    }
    return true;
}

// A shot that no picture came for is the script's fault: it asked for a picture after the
// program's last one. Says which, and false when there is any.
bool ReportShotsNotTaken(const char* scriptPath, const platform::ScriptedHost& host) {
    for (const platform::ScriptEvent* shot : host.ShotsNotTaken()) {
        std::fprintf(stderr,
                     "%s: line %d: no picture was shown at or after %llu ms for 'shot %s'\n",
                     scriptPath, shot->line, static_cast<unsigned long long>(shot->time),
                     shot->file.c_str());
    }
    return host.ShotsNotTaken().empty();
}

int Replay(const Options& options, std::FILE* log) {
    std::optional<std::string> text = ReadFile(options.replayPath);
    if (!text) return 2;
    platform::Recording recording;
    std::string error;
    if (!platform::ParseRecording(*text, recording, error)) {
        std::fprintf(stderr, "%s: %s\n", options.replayPath, error.c_str());
        return 2;
    }
    platform::ReplayHost host(std::move(recording), log);
    platform::SetHost(&host);
    int code = RunGame(host.Scripted());
    std::string difference;
    if (code != platform::kReplayStrayed && code != 3 && !host.CheckEnd(code, difference)) {
        std::fprintf(stderr, "parrun-script: %s\n", difference.c_str());
        code = platform::kReplayStrayed;
    }
    if (!WriteLastPicture(options.picturePath, host.Scripted())) code = 2;
    return code;
}

int Play(const Options& options, std::FILE* log) {
    std::optional<std::string> text = ReadFile(options.scriptPath);
    if (!text) return 2;
    platform::Script script;
    std::string error;
    if (!platform::ParseScript(*text, script, error)) {
        std::fprintf(stderr, "%s: %s\n", options.scriptPath, error.c_str());
        return 2;
    }
    std::string audioFile = script.audioFile;
    platform::ScriptedHost host(std::move(script), log);
    platform::SetHost(&host);
    int code;
    if (options.recordPath != nullptr) {
        std::FILE* file = std::fopen(options.recordPath, "w");
        if (file == nullptr) {
            std::fprintf(stderr, "parrun-script: cannot write %s\n", options.recordPath);
            return 2;
        }
        {
            platform::RecordingHost recorder(host, file);
            platform::SetHost(&recorder);
            code = RunGame(host, &recorder);
            platform::SetHost(&host);
        }
        std::fclose(file);
    } else {
        code = RunGame(host);
    }
    if (!host.FinishAudio()) {
        std::fprintf(stderr, "parrun-script: cannot write %s\n", audioFile.c_str());
        code = 2;
    }
    if (!WriteLastPicture(options.picturePath, host)) code = 2;
    if (!ReportShotsNotTaken(options.scriptPath, host)) code = 2;
    return code;
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    if (!ParseOptions(argc, argv, options)) {
        std::fprintf(
            stderr,
            "usage: parrun-script [--log FILE] [--last-picture PNG] [--record FILE] SCRIPT\n"
            "       parrun-script [--log FILE] [--last-picture PNG] --replay RECORDING\n");
        return 2;
    }
    std::FILE* log = stdout;
    if (options.logPath != nullptr && (log = std::fopen(options.logPath, "w")) == nullptr) {
        std::fprintf(stderr, "parrun-script: cannot write %s\n", options.logPath);
        return 2;
    }
    int code = options.replayPath != nullptr ? Replay(options, log) : Play(options, log);
    std::fflush(stdout);
    if (log != stdout) std::fclose(log);
    return code;
}
