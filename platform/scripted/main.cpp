// parrun-script [--log FILE] SCRIPT: runs the game on the scripted host in the current folder
// (the game folder) and prints the log, one event a line; the sound of the run goes to the
// script's `audio` file, if it names one. Its exit status is the program's exit code, 3 when
// the script's end stopped the run, 2 when the script itself is at fault.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>

#include "platform/core/host.h"
#include "platform/scripted/scripted_host.h"

int main(int argc, char** argv) {
    const char* scriptPath = nullptr;
    const char* logPath = nullptr;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--log") == 0 && i + 1 < argc) {
            logPath = argv[++i];
        } else if (scriptPath == nullptr && argv[i][0] != '-') {
            scriptPath = argv[i];
        } else {
            scriptPath = nullptr;
            break;
        }
    }
    if (scriptPath == nullptr) {
        std::fprintf(stderr, "usage: parrun-script [--log FILE] SCRIPT\n");
        return 2;
    }
    std::ifstream in(scriptPath, std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "parrun-script: cannot read %s\n", scriptPath);
        return 2;
    }
    std::stringstream text;
    text << in.rdbuf();
    platform::Script script;
    std::string error;
    if (!platform::ParseScript(text.str(), script, error)) {
        std::fprintf(stderr, "%s: %s\n", scriptPath, error.c_str());
        return 2;
    }
    std::FILE* log = stdout;
    if (logPath != nullptr && (log = std::fopen(logPath, "w")) == nullptr) {
        std::fprintf(stderr, "parrun-script: cannot write %s\n", logPath);
        return 2;
    }
    std::string audioFile = script.audioFile;
    platform::ScriptedHost host(std::move(script), log);
    platform::SetHost(&host);
    int code;
    try {
        code = WinMain(GetModuleHandleA(nullptr), nullptr, const_cast<LPSTR>(""), SW_SHOWDEFAULT);
        host.Log("exit", std::to_string(code));
    } catch (const platform::RunEnded& ended) {
        code = ended.code;
    }
    if (!host.FinishAudio()) {
        std::fprintf(stderr, "parrun-script: cannot write %s\n", audioFile.c_str());
        code = 2;
    }
    std::fflush(stdout);
    if (log != stdout) std::fclose(log);
    return code;
}
