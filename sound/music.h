// The two looping background pieces: the title music and the game music.
#pragma once

enum class MusicId : int { Title, Game };

// 1 on success, and also when the performance can't open a sound device or its port: then the
// game plays on without music (LoadMusic and PlayMusic do nothing). 0 when DirectMusic is
// missing.
int CreateMusic();
// Loads both pieces with their loop points.
void LoadMusic();
// Stops whatever plays and starts the piece from its beginning, looping for ever; any other
// number only stops. The platform's result code of the last call (S_OK when the piece
// started); callers don't test it.
int PlayMusic(int id);
inline int PlayMusic(MusicId id) {
    return PlayMusic(static_cast<int>(id));
}
// Stops the music and releases it.
void ReleaseMusic();
