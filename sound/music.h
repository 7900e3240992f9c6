// The two looping background pieces: the title music and the game music.
#pragma once

enum class MusicId { Title, Game };

// 1 on success.
int CreateMusic();
// Loads both pieces with their loop points.
void LoadMusic();
// Stops whatever plays and starts the piece, looping for ever.
void PlayMusic(MusicId id);
// Stops the music and releases it.
void ReleaseMusic();
