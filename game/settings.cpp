#include "game/settings.h"

#include "game/key_map.h"
#include "runtime/core/strings.h"
#include "runtime/prefs/preferences.h"
#include "runtime/screen/screen.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

SettingsState Settings;

namespace {

constexpr const char* SettingsFile = "Tervane.ini";

// One setting: its key, the text it has when the file lacks it, its field.
struct Setting {
    const char* key;
    const char* defaultText;
    int32_t SettingsState::*field;
};

constexpr Setting HiScoreSetting = {"HiScore", "0", &SettingsState::HiScore};

// In the order they are read and written: older copies of the game read
// only the first five, and the first line of a key wins, so those come first.
constexpr Setting FileSettings[] = {
    {"UseKeys", "0", &SettingsState::UseKeys},
    {"UseAudio", "1", &SettingsState::UseAudio},
    {"Use3D", "0", &SettingsState::Use3D},
    {"UseWindow", "0", &SettingsState::UseWindow},
    HiScoreSetting,
    {"WindowScale", "1", &SettingsState::WindowScale},
};

std::string ReadText(const char* key, const char* defaultText)
{
    char* const start = QV_StringBase;
    std::string text = QV_ReadPreferenceString(key, defaultText, start);
    QV_StringBase = start;
    return text;
}

// Reads one setting from the open file; text that is not a number reads as 0.
int32_t ReadSetting(const Setting& setting)
{
    return QV_Val(ReadText(setting.key, setting.defaultText).c_str());
}

bool IsWindowScale(int32_t scale)
{
    return scale >= 1 && scale <= QV_MAX_WINDOW_SCALE;
}

// A file that is there but cannot be read is left alone (the writes are then
// refused too); the player is told once why the game plays with defaults.
void ReportUnreadableFile(int error)
{
    std::fprintf(stderr,
                 "tervane: cannot read %s (%s); playing with the default settings"
                 " and leaving the file as it is\n",
                 SettingsFile, std::strerror(error));
}

// Another copy of the game playing in the same folder may have saved a
// higher score since this one started.
void TakeStoredHiScoreIfHigher()
{
    if (QV_OpenPreferences(SettingsFile) != nullptr)
        RaiseHiScore(ReadSetting(HiScoreSetting));
    QV_ClosePreferences();
}

}  // namespace

void ReadSettings()
{
    if (QV_OpenPreferences(SettingsFile) == nullptr && errno != ENOENT)
        ReportUnreadableFile(errno);
    for (const Setting& setting : FileSettings)
        Settings.*setting.field = ReadSetting(setting);
    if (!IsWindowScale(Settings.WindowScale))
        Settings.WindowScale = 1;
    for (const PlayerKey& key : PlayerKeys())
        ChooseKey(key, ReadText(key.setting, key.usualName));
    QV_ClosePreferences();
}

void TakeChosenOptions(const ChosenOptions& chosen)
{
    Settings.UseKeys = chosen.UseKeys;
    Settings.UseAudio = chosen.UseAudio;
    Settings.Use3D = chosen.Use3D;
    Settings.UseWindow = chosen.UseWindow;
}

void TakeReplaySettings(int32_t useKeys, int32_t hiScore, bool silent)
{
    Settings.UseKeys = useKeys;
    Settings.HiScore = hiScore;
    if (silent)
        Settings.UseAudio = 0;
}

void SwitchSoundOff()
{
    Settings.UseAudio = 0;
}

void ChooseWindowMode(int32_t useWindow)
{
    Settings.UseWindow = useWindow;
}

void SetCommandLineScale(int32_t scale)
{
    Settings.CommandLineScale = scale;
}

int32_t ChosenWindowScale()
{
    return IsWindowScale(Settings.CommandLineScale) ? Settings.CommandLineScale : Settings.WindowScale;
}

void RaiseHiScore(int32_t score)
{
    Settings.HiScore = std::max(Settings.HiScore, score);
}

void WriteSettings()
{
    TakeStoredHiScoreIfHigher();
    if (QV_CreatePreferences(SettingsFile) == nullptr)
        return;
    char* const start = QV_StringBase;
    for (const Setting& setting : FileSettings) {
        QV_WritePreferenceString(setting.key, QV_Str(Settings.*setting.field));
        QV_StringBase = start;
    }
    for (const PlayerKey& key : PlayerKeys())
        QV_WritePreferenceString(key.setting, ChosenName(key).c_str());
    QV_ClosePreferences();
}
