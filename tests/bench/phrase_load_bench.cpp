// Loading the phrase file of the game folder (256 phrases), with the default spellings and
// under each of the 512 choices of the nine spelling preferences.
#include <benchmark/benchmark.h>

#include <filesystem>

#include "typing/phrase_table.h"
#include "typing/romaji_preferences.h"
#include "typing/typing_records.h"

namespace {

void InDataFolder() {
    static bool moved = false;
    if (!moved) std::filesystem::current_path(PARRUN_DATA_DIR);
    moved = true;
}

void BM_LoadPhrases(benchmark::State& state) {
    InDataFolder();
    RomajiPreferences preferences = {};
    int count = 0;
    for (auto _ : state) count = LoadPhraseTable(phraseTable, preferences);
    state.counters["phrases"] = count;
}
BENCHMARK(BM_LoadPhrases)->Unit(benchmark::kMicrosecond);

void BM_LoadPhrasesUnderEveryChoice(benchmark::State& state) {
    InDataFolder();
    int loads = 0;
    for (auto _ : state) {
        for (int choice = 0; choice < (1 << kSpellingRuleCount); ++choice) {
            RomajiPreferences preferences = {};
            for (int rule = 0; rule < kSpellingRuleCount; ++rule) {
                preferences.values[rule] = (choice >> rule) & 1;
            }
            benchmark::DoNotOptimize(LoadPhraseTable(phraseTable, preferences));
            ++loads;
        }
    }
    state.counters["per_load_us"] =
        benchmark::Counter(loads, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_LoadPhrasesUnderEveryChoice)->Unit(benchmark::kMillisecond);

}  // namespace
