#include "game/options_window.h"

#include "game/settings.h"
#include "runtime/gui/gadgets.h"
#include "runtime/gui/windows.h"

namespace {

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

// Its keyboard shortcuts, which the window takes before the focused gadget:
// Enter starts the game wherever the focus is (Space still ticks the focused
// box), and Escape closes the window as its close button does.
constexpr int32_t StartShortcut = 1;
constexpr int32_t CloseShortcut = 2;

void* OptionsWindow = nullptr;

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

void AddShortcuts()
{
    QV_AddKeyboardShortcut(OptionsWindowNumber, QV_ShortcutReturn, StartShortcut);
    QV_AddKeyboardShortcut(OptionsWindowNumber, QV_ShortcutKeypadEnter, StartShortcut);
    QV_AddKeyboardShortcut(OptionsWindowNumber, QV_ShortcutEscape, CloseShortcut);
}

bool StartAsked(int32_t event)
{
    return (event == QV_EventGadget && QV_EventGadgetID() == StartButton) ||
        (event == QV_EventShortcut && QV_EventMenuID() == StartShortcut);
}

void ShowSettings()
{
    QV_SetGadgetState(Settings.UseKeys != 0 ? JoystickOption : KeyboardOption, 1);
    if (Settings.UseAudio != 0)
        QV_SetGadgetState(UseAudioBox, 1);
    if (Settings.Use3D != 0)
        QV_SetGadgetState(ShadowsBox, 1);
    if (Settings.UseWindow != 0)
        QV_SetGadgetState(WindowModeBox, 1);
    QV_DisableGadget(ShadowsBox, 1);
    QV_ActivateGadget(StartButton);
}

ChosenOptions ReadChoices()
{
    return {QV_GetGadgetState(JoystickOption), QV_GetGadgetState(UseAudioBox), QV_GetGadgetState(ShadowsBox),
            QV_GetGadgetState(WindowModeBox)};
}

}  // namespace

int32_t RunOptionsWindow()
{
    auto* const window = QV_OpenWindow(OptionsWindowNumber, 0, 0, OptionsWindowWidth, OptionsWindowHeight,
                                       QV_WindowScreenCentered | QV_WindowSystemMenu, OptionsWindowTitle);
    OptionsWindow = window;
    if (window == nullptr || QV_CreateGadgetList(window) == nullptr)
        return 0;
    CreateOptionGadgets();
    CentreStartButton();
    AddShortcuts();
    ShowSettings();
    for (;;) {
        const int32_t event = QV_WaitWindowEvent();
        if (event == QV_EventCloseWindow)
            return 0;
        if (event == QV_EventShortcut && QV_EventMenuID() == CloseShortcut) {
            QV_CloseWindow(OptionsWindowNumber);
            return 0;
        }
        if (StartAsked(event)) {
            TakeChosenOptions(ReadChoices());
            return 1;
        }
    }
}

void* OptionsWindowHandle()
{
    return OptionsWindow;
}
