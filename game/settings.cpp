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
// Long enough for another copy to finish its write, short enough that a
// stuck one cannot hold up the end of this one.
constexpr int32_t LockWaitMilliseconds = 2000;

// Set when the player was told at reading that the file is left alone, so
// its refused writes need no word of their own.
bool leftAloneSaid = false;

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

// What stops the file being read or written, in the player's words.
std::string Reason(int error)
{
    switch (error) {
    case EINVAL:
        return "it is not a regular file";
    case EFBIG:
        return "it is larger than the " + std::to_string(QV_PreferenceMaxFileSize >> 20) + " MiB the game reads";
    case EILSEQ:
        return "it holds lines that are not the game's settings";
    default:
        return std::strerror(error);
    }
}

// A file that is there but cannot be read, or not wholly, is left alone (the
// writes are then refused too); the player is told once why the game plays
// with defaults.
void ReportUnreadableFile(int error)
{
    std::fprintf(stderr,
                 "tervane: cannot read %s (%s); every setting it does not give takes its"
                 " default, and the file is left as it is\n",
                 SettingsFile, Reason(error).c_str());
    leftAloneSaid = true;
}

void ReportUnsavedFile(int error)
{
    std::fprintf(stderr, "tervane: cannot save %s (%s); the file is left as it was\n", SettingsFile,
                 Reason(error).c_str());
}

// Another copy of the game playing in the same folder may have saved a
// higher score since this one started.
void TakeStoredHiScoreIfHigher()
{
    if (QV_OpenPreferences(SettingsFile) != nullptr)
        RaiseHiScore(ReadSetting(HiScoreSetting));
    QV_ClosePreferences();
}

// Writes every setting to the file just created; false (errno set) when
// it could not be written whole.
bool WriteEverySetting()
{
    char* const start = QV_StringBase;
    for (const Setting& setting : FileSettings) {
        QV_WritePreferenceString(setting.key, QV_Str(Settings.*setting.field));
        QV_StringBase = start;
    }
    for (const PlayerKey& key : PlayerKeys())
        QV_WritePreferenceString(key.setting, ChosenName(key).c_str());
    return QV_ClosePreferences() != 0;
}

}  // namespace

void ReadSettings()
{
    leftAloneSaid = false;
    const bool opened = QV_OpenPreferences(SettingsFile) != nullptr;
    if ((!opened && errno != ENOENT) || (opened && QV_PreferencesUnderstood() == 0))
        ReportUnreadableFile(errno);
    for (const Setting& setting : FileSettings)
        Settings.*setting.field = ReadSetting(setting);
    if (!IsWindowScale(Settings.WindowScale))
        Settings.WindowScale = 1;
    // What the game plays and records with: a replay refuses a negative one.
    Settings.HiScore = std::max(Settings.HiScore, 0);
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
    // Without the lock after the wait the write goes on: a stuck copy must
    // not cost this run its settings.
    QV_LockPreferences(SettingsFile, LockWaitMilliseconds);
    TakeStoredHiScoreIfHigher();
    const bool written = QV_CreatePreferences(SettingsFile) != nullptr && WriteEverySetting();
    if (!written && !leftAloneSaid)
        ReportUnsavedFile(errno);
    QV_UnlockPreferences();
}
