// The two looping background pieces: the title music and the game music.
#pragma once

enum class MusicId : int { Title, Game };

// 1 on success.
int CreateMusic();
// Loads both pieces with their loop points.
void LoadMusic();
// Stops whatever plays and starts the piece, looping for ever; any other number only stops.
// 1 when a piece started.
int PlayMusic(int id);
inline int PlayMusic(MusicId id) {
    return PlayMusic(static_cast<int>(id));
}
// Stops the music and releases it.
void ReleaseMusic();
