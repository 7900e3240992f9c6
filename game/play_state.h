// The counters of one game and the rules that drive them: the play step run once a frame in
// the play phase, the phrase choice, and the entry of a finished game into the rankings.
#pragma once

#include <cstdint>
#include <optional>

#include "screens/play_screen.h"

struct PlayState {
    int32_t score = 0;
    int32_t bonus = 0;  // added to the score at each completed phrase, up to its cap
    int32_t lives = 5;
    int32_t lifeSteps = 0;  // life steps of score counted
    int32_t lifeStepBase = 0;
    int32_t speedSteps = 0;  // timer speed-ups taken
    int32_t speedStepBase = 0;
    int32_t tickInterval = 400;  // ms
    int32_t ticks = 0;           // ticks used on the current phrase
    int32_t phraseIndex = 0;
    int16_t line = 0;      // 0 the dialect line, 1 the standard line
    int16_t position = 0;  // romaji characters of the line typed correctly
    int32_t phrasePoints = 0;
    int32_t phraseMistakes = 0;
    bool lifeLostThisPhrase = false;
    bool lifeGained = false;
    bool gameOverPending = false;
    bool resultPause = false;
    uint32_t resultPauseStart = 0;
    int32_t correctKeys = 0;
    int32_t totalMistakes = 0;
    uint32_t playStartTime = 0;
    uint32_t playEndTime = 0;
    float elapsedSeconds = 0;
    float typingSpeed = 0;
};

extern PlayState play;

// What the play screen shows, as it was last drawn. A display restored during play or the
// game-over pause draws it again from here: the end of a game puts the counters back before
// its pause, and a completed phrase moves them on to the next phrase while its result shows.
struct ShownPlayScreen {
    int32_t score = 0;
    int32_t bonus = 0;
    int32_t lives = 5;
    int32_t ticks = 0;
    // The phrase text, once play has drawn it: the phrase, its line, how far it is typed, and
    // whether the expected letter shows orange after a wrong key.
    bool phraseShown = false;
    int32_t phraseIndex = 0;
    int16_t line = 0;
    int16_t position = 0;
    bool missed = false;
    // The mark of the phrase just completed, while it shows.
    std::optional<PlayMark> resultMark;
};

extern ShownPlayScreen shownPlayScreen;

// Puts every value back to its program-start value, and the shown play screen too (for tests).
void ResetPlayState();

// One step of play: the key of this frame, the timer, the phrase text, the end of a line and
// of the game.
void RunPlayStep();
// Chooses the phrase to type from the seed; the phrase just played may come again.
void ChoosePhrase(uint32_t seed);

// The places (1 to 5, 0 for none) a finished game took in the two rankings.
struct RankingPlaces {
    int score = 0;
    int speed = 0;
};
// Enters the game's score and typing speed into the rankings, saving after each entry.
RankingPlaces InsertIntoRankings();
