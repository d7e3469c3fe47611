// The game's sound calls: every sound is started and stopped through these
// two, which do nothing while sound is switched off, at the loudness the
// settings give music and effects.
#pragma once

#include <cstdint>

constexpr int32_t EffectMode = 0;
constexpr int32_t MusicMode = 1;

void PlayGameSound(int32_t sound, int32_t mode);
void StopGameSound(int32_t sound);

// Sets each loaded built-in sound to MusicVolume or EffectsVolume; nothing
// while sound is switched off.
void ApplySoundVolumes();
