#include "tests/game/play_fakes.h"

#include <windows.h>

#include <cstring>
#include <utility>

#include "display/drawing.h"
#include "display/text_drawing.h"
#include "game/game_state.h"
#include "game/play_core.h"
#include "game/play_state.h"
#include "screens/play_screen.h"
#include "shell/keyboard.h"
#include "shell/shell_state.h"
#include "sound/sound_effects.h"
#include "typing/typing_records.h"

PlayFakes fakes;

namespace {
void Record(const std::string& call) {
    fakes.calls.push_back(call);
}
std::string Args(std::initializer_list<int> values) {
    std::string text;
    for (int v : values) text += " " + std::to_string(v);
    return text;
}
}  // namespace

DWORD WINAPI timeGetTime(void) {
    return fakes.clock;
}
int PollTypingKey() {
    return std::exchange(fakes.key, 0);
}
void DrawTextShadowed(const char*, int x, int y, int length, int red, int green, int blue) {
    Record("text" + Args({x, y, length, red, green, blue}));
}
HRESULT PresentFrame() {
    Record("present");
    fakes.clock += fakes.presentTakes;
    if (std::exchange(fakes.loseDisplay, false)) {
        shell.screenDirty = true;
        shell.phraseDirty = true;
    }
    return 0;
}
void ClearPlayPiece(PlayPiece piece) {
    Record("clear" + Args({static_cast<int>(piece)}));
}
void DrawTimerBar(int32_t ticks) {
    Record("timer" + Args({ticks}));
}
void DrawLives(int32_t count) {
    Record("lives" + Args({count}));
}
void DrawScore(int32_t score) {
    Record("score" + Args({score}));
}
void DrawBonus(int32_t bonus) {
    Record("bonus" + Args({bonus}));
}
void DrawPlayMark(PlayMark mark) {
    Record("mark" + Args({static_cast<int>(mark)}));
}
void PlaySoundEffect(int id) {
    Record("sound" + Args({id}));
}
bool SaveRankings(const Rankings& saved) {
    fakes.saves.push_back(saved);
    return true;
}

namespace {
void CopyField(char* field, const std::string& text, int16_t& length) {
    std::strncpy(field, text.c_str(), kPhraseFieldSize - 1);
    length = static_cast<int16_t>(text.size());
}
}  // namespace

void RulesTest::StartGame(const std::vector<TestPhrase>& phrases, uint32_t start) {
    fakes = PlayFakes{};
    ResetPlayState();
    ResetGameState();
    ResetShellState();
    ResetTypingRecords();
    for (size_t i = 0; i < phrases.size(); ++i) {
        PhraseEntry& entry = phraseTable[static_cast<int>(i)];
        CopyField(entry.dialectText, phrases[i].dialectText, entry.dialectTextLength);
        CopyField(entry.dialectRomaji, phrases[i].dialectRomaji, entry.dialectRomajiLength);
        CopyField(entry.standardText, phrases[i].standardText, entry.standardTextLength);
        CopyField(entry.standardRomaji, phrases[i].standardRomaji, entry.standardRomajiLength);
    }
    game.phraseCount = static_cast<int16_t>(phrases.size());
    game.currentPhase = GamePhase::Play;
    game.phaseTime = start;
    play.playStartTime = start;
    clock = start;
}

void RulesTest::Step(uint32_t milliseconds, int key) {
    clock += milliseconds;
    RunStep(key);
}

void RulesTest::RunStep(int key) {
    if (AdvancePlayClock(clock).held) return;
    if (key != 0) TakeKey(key);
    EndTypedLine(clock);
    if (play.gameOverPending) EndGame(clock);
}

void PlayStepTest::RunStep(int key) {
    fakes.clock = clock;
    fakes.key = key;
    RunPlayStep();
    clock = fakes.clock;
}

void RulesTest::Type(const std::string& keys) {
    for (char c : keys) Step(16, c == '-' ? VK_OEM_MINUS : c);
}

std::vector<std::string> PlayStepTest::TakeCalls() {
    return std::exchange(fakes.calls, {});
}
