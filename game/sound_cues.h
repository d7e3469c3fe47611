// The game's sound calls: every sound is started and stopped through these,
// which do nothing while sound is switched off. The music (IsMusic,
// assets.h) and the effects each play at the loudness the settings give
// them; every sound plays once from its start.
#pragma once

#include <cstdint>

void PlayEffect(int32_t sound);
void PlayMusic(int32_t music);
void StopGameSound(int32_t sound);
// Stops every built-in sound still playing.
void StopGameSounds();

// Sets each loaded built-in sound to MusicVolume or EffectsVolume; nothing
// while sound is switched off.
void ApplySoundVolumes();
