// One game step in play, with a fresh key and without, and the present on its own: the real
// game on the scripted host, brought into play by a short script and then stepped directly.
// The clock stands still, so the timer never ends the game.
#include <windows.h>

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>

#include "display/drawing.h"
#include "game/game_state.h"
#include "game/game_step.h"
#include "platform/scripted/scripted_host.h"

namespace {

// The scripted host with a key the benchmark holds down or lets go.
class SteppingHost : public platform::ScriptedHost {
public:
    using ScriptedHost::ScriptedHost;
    bool IsKeyDown(int virtualKey) override {
        return stepping ? virtualKey == heldKey : ScriptedHost::IsKeyDown(virtualKey);
    }
    bool stepping = false;  // the script has brought the game into play
    int heldKey = 0;
};

// Starts a game (Enter at 100 and 496; play from 1504, the phrase drawn at 1520) and leaves
// the program in play when the script ends at 1600.
SteppingHost& GameInPlay() {
    static std::unique_ptr<SteppingHost> host;
    if (host != nullptr) return *host;
    auto folder = std::filesystem::temp_directory_path() /
                  ("parrun-step-bench-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    std::filesystem::copy(PARRUN_DATA_DIR, folder,
                          std::filesystem::copy_options::recursive |
                              std::filesystem::copy_options::overwrite_existing);
    std::filesystem::current_path(folder);
    std::ofstream("drel.txt", std::ios::binary | std::ios::trunc)
        << "[drel]\x82\xbe\x82\xd7 dabe\n[normal]\x82\xbe\x82\xe6 dayo\n";
    platform::Script script;
    std::string error;
    platform::ParseScript(
        "at 100 press RETURN\nat 120 release RETURN\n"
        "at 496 press RETURN\nat 520 release RETURN\nend 1600\n",
        script, error);
    host = std::make_unique<SteppingHost>(std::move(script), nullptr);
    platform::SetHost(host.get());
    try {
        WinMain(GetModuleHandleA(nullptr), nullptr, const_cast<LPSTR>(""), SW_SHOWDEFAULT);
    } catch (const platform::RunEnded&) {
    }
    std::filesystem::remove_all(folder);
    host->stepping = true;
    if (game.currentPhase != GamePhase::Play) std::abort();
    return *host;
}

void BM_PlayStepWithoutKey(benchmark::State& state) {
    SteppingHost& host = GameInPlay();
    host.heldKey = 0;
    int shown = host.PicturesShown();
    for (auto _ : state) RunGameStep();
    state.counters["presents"] =
        benchmark::Counter(host.PicturesShown() - shown, benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_PlayStepWithoutKey)->Unit(benchmark::kMicrosecond);

// Every measured step sees a key newly down (a wrong one, so the game goes on for ever); the
// step that sees it let go is not measured.
void BM_PlayStepWithKey(benchmark::State& state) {
    SteppingHost& host = GameInPlay();
    int shown = 0;
    for (auto _ : state) {
        host.heldKey = 'X';
        int before = host.PicturesShown();
        RunGameStep();
        shown += host.PicturesShown() - before;
        state.PauseTiming();
        host.heldKey = 0;
        RunGameStep();
        state.ResumeTiming();
    }
    state.counters["presents"] = benchmark::Counter(shown, benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_PlayStepWithKey)->Unit(benchmark::kMicrosecond);

// The present alone: the frame copied to the window and handed to the host.
void BM_Present(benchmark::State& state) {
    GameInPlay();
    for (auto _ : state) PresentFrame();
}
BENCHMARK(BM_Present)->Unit(benchmark::kMicrosecond);

}  // namespace
