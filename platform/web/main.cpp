// parrun.js: the game in a web page (page/index.html). The page's data holds the game folder
// as /data, where the game runs; the player's key.dat and a.dat are kept in the browser's
// storage (page/program.js). "--record FILE" writes down everything the game was given, for
// `parrun-script --replay`.
#include <windows.h>

#include <emscripten.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "platform/core/host.h"
#include "platform/replay/recording_host.h"
#include "platform/web/web_host.h"

namespace {

// clang-format off
EM_JS(void, parrun_web_restore_saves, (), { Module.parrunPage.restoreSaves(); });
EM_JS(void, parrun_web_ended, (int code), { Module.parrunPage.ended(code); });
// clang-format on

int RunGame() {
    return WinMain(GetModuleHandleA(nullptr), nullptr, const_cast<LPSTR>(""), SW_SHOWDEFAULT);
}

int RunRecorded(platform::Host& host, const std::string& path) {
    std::FILE* file = std::fopen(path.c_str(), "w");
    if (file == nullptr) {
        std::fprintf(stderr, "parrun: cannot write %s\n", path.c_str());
        return 2;
    }
    int code;
    {
        platform::RecordingHost recorder(host, file);
        platform::SetHost(&recorder);
        code = RunGame();
        recorder.Finish(code);
        platform::SetHost(&host);
    }
    if (std::fclose(file) != 0) code = 2;
    return code;
}

}  // namespace

int main(int argc, char** argv) {
    std::string record;
    for (int i = 1; i + 1 < argc; ++i) {
        if (std::strcmp(argv[i], "--record") == 0) record = argv[i + 1];
    }
    if (chdir("/data") != 0) {
        std::fputs("parrun: the page's data did not load\n", stderr);
        parrun_web_ended(1);
        return 1;
    }
    parrun_web_restore_saves();
    int code;
    {
        platform::WebHost host;
        platform::SetHost(&host);
        code = record.empty() ? RunGame() : RunRecorded(host, record);
    }
    parrun_web_ended(code);
    return code;
}
