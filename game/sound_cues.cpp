#include "game/sound_cues.h"

#include "game/settings.h"
#include "runtime/sound/sound.h"

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
