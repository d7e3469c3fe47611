#include "game/settings.h"

#include "game/frame_loop.h"
#include "game/key_map.h"
#include "runtime/core/strings.h"
#include "runtime/gui/gadgets.h"
#include "runtime/gui/windows.h"
#include "runtime/prefs/preferences.h"
#include "runtime/screen/screen.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

int32_t UseKeys = 0;
int32_t UseAudio = 0;
int32_t Use3D = 0;
int32_t UseWindow = 0;
int32_t HiScore = 0;
int32_t WindowScale = 1;
int32_t CommandLineScale = 0;
GtkWidget* OptionsWindow = nullptr;

namespace {

constexpr const char* SettingsFile = "Tervane.ini";

// One setting: its key, the text it has when the file lacks it, its variable.
struct Setting {
    const char* key;
    const char* defaultText;
    int32_t* variable;
};

constexpr Setting HiScoreSetting = {"HiScore", "0", &HiScore};

// In the order they are read and written: older copies of the game read
// only the first five, and the first line of a key wins, so those come first.
const Setting Settings[] = {
    {"UseKeys", "0", &UseKeys},
    {"UseAudio", "1", &UseAudio},
    {"Use3D", "0", &Use3D},
    {"UseWindow", "0", &UseWindow},
    HiScoreSetting,
    {"WindowScale", "1", &WindowScale},
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
        HiScore = std::max(HiScore, ReadSetting(HiScoreSetting));
    QV_ClosePreferences();
}

// The options window.
constexpr int32_t OptionsWindowWidth = 192;
constexpr int32_t OptionsWindowHeight = 190;
constexpr const char* OptionsWindowTitle = "Tervane";

// Its gadgets.
constexpr int32_t OptionsFrame = 1;
constexpr int32_t UseAudioBox = 2;
constexpr int32_t ShadowsBox = 3;
constexpr int32_t WindowModeBox = 4;
constexpr int32_t KeyboardOption = 5;
constexpr int32_t JoystickOption = 6;
constexpr int32_t StartButton = 7;
constexpr int32_t StartButtonY = 162;

// The options window's QuitFlag once "Start Game" was pressed.
constexpr int32_t OptionsChosen = 1;

void CreateOptionGadgets()
{
    QV_Frame3DGadget2(OptionsFrame, 8, 8, 173, 142, "Game Options");
    QV_OptionGadget(KeyboardOption, 22, 44, 75, 17, "Keyboard");
    QV_OptionGadget(JoystickOption, 106, 44, 70, 17, "Joystick");
    QV_CheckBoxGadget(UseAudioBox, 30, 75, 149, 17, "Use Audio");
    QV_CheckBoxGadget(ShadowsBox, 30, 95, 149, 17, "Hardware Shadows");
    QV_CheckBoxGadget(WindowModeBox, 30, 115, 149, 17, "Window Mode");
    QV_ButtonGadget(StartButton, 66, StartButtonY, 65, 21, "Start Game");
}

// "Start Game" is wider than asked even at normal text size, and large text
// widens the frame; it stays centred under the frame all the same.
void CentreStartButton()
{
    const int32_t frameSpan = 2 * QV_GadgetX(OptionsFrame) + QV_GadgetWidth(OptionsFrame);
    QV_MoveGadget(StartButton, (frameSpan - QV_GadgetWidth(StartButton)) / 2, StartButtonY);
}

void ShowSettings()
{
    QV_SetGadgetState(UseKeys != 0 ? JoystickOption : KeyboardOption, 1);
    if (UseAudio != 0)
        QV_SetGadgetState(UseAudioBox, 1);
    if (Use3D != 0)
        QV_SetGadgetState(ShadowsBox, 1);
    if (UseWindow != 0)
        QV_SetGadgetState(WindowModeBox, 1);
    QV_DisableGadget(ShadowsBox, 1);
    QV_ActivateGadget(StartButton);
}

void TakeChosenSettings()
{
    UseKeys = QV_GetGadgetState(JoystickOption);
    UseAudio = QV_GetGadgetState(UseAudioBox);
    Use3D = QV_GetGadgetState(ShadowsBox);
    UseWindow = QV_GetGadgetState(WindowModeBox);
}

}  // namespace

void ReadSettings()
{
    if (QV_OpenPreferences(SettingsFile) == nullptr && errno != ENOENT)
        ReportUnreadableFile(errno);
    for (const Setting& setting : Settings)
        *setting.variable = ReadSetting(setting);
    if (!IsWindowScale(WindowScale))
        WindowScale = 1;
    for (const PlayerKey& key : PlayerKeys())
        *key.chosen = ReadText(key.setting, key.usualName);
    QV_ClosePreferences();
}

int32_t ChosenWindowScale()
{
    return IsWindowScale(CommandLineScale) ? CommandLineScale : WindowScale;
}

int32_t RunOptionsWindow()
{
    OptionsWindow = QV_OpenWindow(OptionsWindowNumber, 0, 0, OptionsWindowWidth, OptionsWindowHeight,
                                  QV_WindowScreenCentered | QV_WindowSystemMenu, OptionsWindowTitle);
    if (OptionsWindow == nullptr || QV_CreateGadgetList(OptionsWindow) == nullptr)
        return 0;
    CreateOptionGadgets();
    CentreStartButton();
    ShowSettings();

    QuitFlag = 0;
    while (QuitFlag != OptionsChosen) {
        const int32_t event = QV_WaitWindowEvent();
        if (event == QV_EventCloseWindow)
            return 0;
        if (event == QV_EventGadget && QV_EventGadgetID() == StartButton) {
            TakeChosenSettings();
            QuitFlag = OptionsChosen;
        }
    }
    return 1;
}

void WriteSettings()
{
    TakeStoredHiScoreIfHigher();
    if (QV_CreatePreferences(SettingsFile) == nullptr)
        return;
    char* const start = QV_StringBase;
    for (const Setting& setting : Settings) {
        QV_WritePreferenceString(setting.key, QV_Str(*setting.variable));
        QV_StringBase = start;
    }
    for (const PlayerKey& key : PlayerKeys())
        QV_WritePreferenceString(key.setting, key.chosen->c_str());
    QV_ClosePreferences();
}
