#include "game/sound_cues.h"

#include "game/assets.h"
#include "game/settings_state.h"
#include "runtime/sound/sound.h"

namespace {

bool IsMusic(int32_t sound)
{
    return sound == PlayMusic || sound == BossMusicLow || sound == TitleMusic || sound == BossMusicHigh;
}

}  // namespace

void PlayGameSound(int32_t sound, int32_t mode)
{
    if (Settings.UseAudio != 0)
        QV_PlaySound2(sound, mode);
}

void StopGameSound(int32_t sound)
{
    if (Settings.UseAudio != 0)
        QV_StopSound(sound);
}

void ApplySoundVolumes()
{
    if (Settings.UseAudio == 0)
        return;
    for (int32_t sound = 0; sound < BuiltInSoundCount; ++sound)
        QV_SoundVolume(sound, IsMusic(sound) ? Settings.MusicVolume : Settings.EffectsVolume);
}
