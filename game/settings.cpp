#include "game/settings.h"

#include "game/key_map.h"
#include "game/refused_settings.h"
#include "game/settings_place.h"
#include "runtime/core/strings.h"
#include "runtime/prefs/preferences.h"
#include "runtime/screen/screen.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

SettingsState Settings;

namespace {

// Long enough for another copy to finish its write, short enough that a
// stuck one cannot hold up the end of this one.
constexpr int32_t LockWaitMilliseconds = 2000;

// Set when the player was told at reading that the file is left alone, so
// its refused writes need no word of their own.
bool leftAloneSaid = false;

// The file of this run, chosen when the settings are read: what decides is
// the folder the game started in, which may be gone by the time it writes.
SettingsPlace runPlace;

const SettingsPlace& ChosenPlace()
{
    if (runPlace.file.empty())
        runPlace = FindSettingsPlace();
    return runPlace;
}

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

// The newer settings that take a whole number from a range, read and written
// after the key names. A value that is refused keeps the default in play but
// stays in the file as the player wrote it, as a key name does.
struct RangedSetting {
    const char* key;
    int32_t defaultValue;
    int32_t lowest;
    int32_t highest;
    const char* range;  // the refusal's words for lowest to highest
    int32_t SettingsState::*field;
};

// Button 1 fires, so the start and pause buttons are others.
constexpr RangedSetting JoyStartSetting = {"JoyStart", 8, 2, 32, "not a button from 2 to 32", &SettingsState::JoyStart};
constexpr RangedSetting JoyPauseSetting = {"JoyPause", 7, 2, 32, "not a button from 2 to 32", &SettingsState::JoyPause};

constexpr RangedSetting RangedSettings[] = {
    JoyStartSetting,
    JoyPauseSetting,
    {"MusicVolume", 100, 0, 100, "not a volume from 0 to 100", &SettingsState::MusicVolume},
    {"EffectsVolume", 100, 0, 100, "not a volume from 0 to 100", &SettingsState::EffectsVolume},
};

using RangedTexts = std::array<std::string, std::size(RangedSettings)>;

RangedTexts DefaultRangedTexts()
{
    RangedTexts texts;
    for (size_t index = 0; index < texts.size(); ++index)
        texts[index] = std::to_string(RangedSettings[index].defaultValue);
    return texts;
}

// The ranged settings' text as read, written back unchanged.
RangedTexts rangedTexts = DefaultRangedTexts();

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

// The whole number `text` holds, if it holds nothing else.
bool ParseWhole(const std::string& text, int32_t& value)
{
    const char* const end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    return error == std::errc() && stop == end;
}

// A HiScore line that is not wholly a number from 0 up, or one the game
// cannot hold: written back as it stands until a score beats the number it
// plainly starts with, so that no score the file held is ever lowered.
struct HeldHiScore {
    std::string text;        // empty when the line is a score the game holds
    int64_t plainStart = 0;  // the number the text starts with, 0 for none
};

HeldHiScore heldHiScore;

// The number `text` plainly starts with, sign and all ("5" of "5e3"): 0 for
// none, and the largest or smallest one there is for one too long to hold.
int64_t PlainStart(const std::string& text)
{
    return std::strtoll(text.c_str(), nullptr, 10);
}

// The score the file's HiScore text gives; text that is not one the game
// holds is held, and counts as the nearest score to its plain start.
int32_t TakeHiScoreText(const std::string& text)
{
    int32_t value = 0;
    if (ParseWhole(text, value) && value >= 0) {
        heldHiScore = {};
        return value;
    }
    heldHiScore = {text, PlainStart(text)};
    return static_cast<int32_t>(std::clamp<int64_t>(heldHiScore.plainStart, 0, INT32_MAX));
}

void ReadHiScore()
{
    const std::string text = ReadText(HiScoreSetting.key, HiScoreSetting.defaultText);
    Settings.HiScore = TakeHiScoreText(text);
    if (!heldHiScore.text.empty())
        RefuseSetting(HiScoreSetting.key, text, "not a whole number from 0 to 2147483647",
                      std::to_string(Settings.HiScore));
}

void Refuse(const RangedSetting& setting, const std::string& text, const char* why)
{
    RefuseSetting(setting.key, text, why, std::to_string(setting.defaultValue));
    Settings.*setting.field = setting.defaultValue;
}

void ReadRangedSettings()
{
    for (size_t index = 0; index < std::size(RangedSettings); ++index) {
        const RangedSetting& setting = RangedSettings[index];
        std::string& text = rangedTexts[index];
        text = ReadText(setting.key, std::to_string(setting.defaultValue).c_str());
        int32_t value = 0;
        if (ParseWhole(text, value) && value >= setting.lowest && value <= setting.highest)
            Settings.*setting.field = value;
        else
            Refuse(setting, text, setting.range);
    }
}

// One button cannot both start and pause: the level-complete page, where the
// plane is still in play, answers to both. A button moved onto the other's
// goes back to its own.
void SeparatePadButtons()
{
    for (const RangedSetting* setting : {&JoyPauseSetting, &JoyStartSetting}) {
        if (Settings.JoyStart == Settings.JoyPause && Settings.*setting->field != setting->defaultValue)
            Refuse(*setting, std::to_string(Settings.*setting->field), "that button starts and pauses both");
    }
}

// A sound device that failed this run silences the run, not the player's
// choice; a held HiScore line stays until a higher score replaces it.
std::string SavedText(const Setting& setting)
{
    if (setting.field == &SettingsState::UseAudio && Settings.SoundFailed != 0)
        return "1";
    if (setting.field == &SettingsState::HiScore && !heldHiScore.text.empty() &&
        Settings.HiScore <= heldHiScore.plainStart)
        return heldHiScore.text;
    return std::to_string(Settings.*setting.field);
}

bool IsWindowScale(int32_t scale)
{
    return scale >= 1 && scale <= QV_MAX_WINDOW_SCALE;
}

// What stops the file being read or written, in the player's words.
std::string Reason(int error)
{
    switch (error) {
    case EINVAL: return "it is not a regular file";
    case EFBIG:
        return "it is larger than the " + std::to_string(QV_PreferenceMaxFileSize >> 20) + " MiB the game reads";
    case EILSEQ: return "it holds lines that are not the game's settings";
    case EEXIST:
        return "it gives " + std::string(*QV_PreferenceKeyGivenTwice() ? QV_PreferenceKeyGivenTwice() : "a setting") +
            " more than once";
    default: return std::strerror(error);
    }
}

// A file that is there but cannot be read, or not wholly, is left alone (the
// writes are then refused too); the player is told once why the game plays
// with defaults.
void ReportUnreadableFile(const std::string& file, int error)
{
    std::fprintf(stderr,
                 "tervane: cannot read %s (%s); every setting it does not give takes its"
                 " default, and the file is left as it is\n",
                 file.c_str(), Reason(error).c_str());
    leftAloneSaid = true;
}

void ReportUnsavedFile(const std::string& file, int error)
{
    std::fprintf(stderr, "tervane: cannot save %s (%s); the file is left as it was\n", file.c_str(),
                 Reason(error).c_str());
}

// Another copy of the game playing in the same folder may have saved a
// higher score since this one started.
void TakeStoredHiScoreIfHigher(const std::string& file)
{
    heldHiScore = {};
    if (QV_OpenPreferences(file.c_str()) != nullptr)
        RaiseHiScore(TakeHiScoreText(ReadText(HiScoreSetting.key, HiScoreSetting.defaultText)));
    QV_ClosePreferences();
}

// Writes every setting to the file just created; false (errno set) when
// it could not be written whole.
bool WriteEverySetting()
{
    for (const Setting& setting : FileSettings)
        QV_WritePreferenceString(setting.key, SavedText(setting).c_str());
    for (const PlayerKey& key : PlayerKeys())
        QV_WritePreferenceString(key.setting, ChosenName(key).c_str());
    for (size_t index = 0; index < std::size(RangedSettings); ++index)
        QV_WritePreferenceString(RangedSettings[index].key, rangedTexts[index].c_str());
    return QV_ClosePreferences() != 0;
}

}  // namespace

void ReadSettings()
{
    ForgetRefusedSettings();
    Settings.SoundFailed = 0;
    leftAloneSaid = false;
    runPlace = FindSettingsPlace();
    const std::string& file = runPlace.file;
    const bool opened = QV_OpenPreferences(file.c_str()) != nullptr;
    if ((!opened && errno != ENOENT) || (opened && QV_PreferencesUnderstood() == 0))
        ReportUnreadableFile(file, errno);
    for (const Setting& setting : FileSettings) {
        if (setting.field != HiScoreSetting.field)
            Settings.*setting.field = ReadSetting(setting);
    }
    if (!IsWindowScale(Settings.WindowScale))
        Settings.WindowScale = 1;
    ReadHiScore();
    for (const PlayerKey& key : PlayerKeys())
        ChooseKey(key, ReadText(key.setting, key.usualName));
    ReadRangedSettings();
    SeparatePadButtons();
    QV_ClosePreferences();
}

void ApplyKeySettings()
{
    for (const KeyRefusal& refusal : ApplyPlayerKeys())
        RefuseSetting(refusal.key->setting, ChosenName(*refusal.key), refusal.why, refusal.key->usualName);
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
    Settings.SoundFailed = Settings.UseAudio;
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
    const SettingsPlace& place = ChosenPlace();
    if (!MakeSettingsFolder(place)) {
        ReportUnsavedFile(place.file, errno);
        return;
    }
    // Without the lock after the wait the write goes on: a stuck copy must
    // not cost this run its settings.
    QV_LockPreferences(place.file.c_str(), LockWaitMilliseconds);
    TakeStoredHiScoreIfHigher(place.file);
    const bool written = QV_CreatePreferences(place.file.c_str()) != nullptr && WriteEverySetting();
    if (!written && !leftAloneSaid)
        ReportUnsavedFile(place.file, errno);
    QV_UnlockPreferences();
}
