#include "game/sound_cues.h"

#include "game/assets.h"
#include "game/settings_state.h"
#include "runtime/sound/sound.h"

namespace {

void PlayGameSound(int32_t sound)
{
    if (Settings.UseAudio != 0)
        QV_PlaySound(sound);
}

}  // namespace

void PlayEffect(int32_t sound)
{
    PlayGameSound(sound);
}

void PlayMusic(int32_t music)
{
    PlayGameSound(music);
}

void StopGameSound(int32_t sound)
{
    if (Settings.UseAudio != 0)
        QV_StopSound(sound);
}

void StopGameSounds()
{
    for (int32_t sound = 0; sound < BuiltInSoundCount; ++sound)
        StopGameSound(sound);
}

void ApplySoundVolumes()
{
    if (Settings.UseAudio == 0)
        return;
    for (int32_t sound = 0; sound < BuiltInSoundCount; ++sound)
        QV_SoundVolume(sound, IsMusic(sound) ? Settings.MusicVolume : Settings.EffectsVolume);
}
