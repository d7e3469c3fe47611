#include "game/game_screen.h"

#include "game/controls.h"
#include "game/options_window.h"
#include "game/settings.h"
#include "runtime/screen/sprites.h"
#include "runtime/sdl/environment_hints.h"
#include "runtime/sdl/sdl_library.h"
#include "runtime/sdl/sdl_lifetime.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace {

constexpr int32_t ScreenWidth = 640;
constexpr int32_t ScreenHeight = 480;
constexpr int32_t FullScreenDepths[] = {32, 24, 16};
// A slot past every built-in picture, holding the paused frame while the
// screen is opened anew.
constexpr int32_t PausedFrameSprite = 100;

}  // namespace

namespace {

// How an environment variable stands, in the player's words.
std::string Setting(const char* name)
{
    const char* value = std::getenv(name);
    if (value == nullptr || value[0] == '\0')
        return std::string(name) + " is unset";
    return std::string(name) + " is \"" + value + "\"";
}

// Why no driver that shows a window could start, and what to do.
std::string NoWindowText()
{
    if (QV_RunsOnSDL2())
        return "No window could open: SDL shows the game on an X11 or a Wayland display, and neither could be "
               "reached (" +
            Setting("DISPLAY") + ", " + Setting("WAYLAND_DISPLAY") + ").";
    return "No window could open: classic SDL 1.2 shows the game only on an X11 display, and none could be "
           "reached (" +
        Setting("DISPLAY") +
        ").\nOn Wayland, play on sdl12-compat (Debian's libsdl1.2-compat), which draws there itself:\n"
        "LD_LIBRARY_PATH=" TERVANE_SDL12_COMPAT_FOLDER " tervane";
}

const char* OpenWindowedScreen()
{
    // The windowed screen is a window of its own; the handle of the options
    // window, closed by now, is handed over only as the call expects one.
    if (QV_OpenWindowedScreen(OptionsWindowHandle(), 0, 0, ScreenWidth, ScreenHeight, ChosenWindowScale()) == nullptr)
        return "Failed to open DirectX Window";
    return nullptr;
}

}  // namespace

const char* OpenGameScreen()
{
    const char* const failure = Settings.UseWindow != 0 ? OpenWindowedScreen() : OpenFullScreen(FullScreenDepths);
    // Frames are not cleared, as they cover the whole screen, but for the
    // first one, drawn before the screen is the display target: it shows
    // the screen as it opened, which is made black here whatever the
    // display left in it.
    if (failure == nullptr)
        QV_ClearScreen(0, 0, 0);
    return failure;
}

const char* OpenFullScreen(std::span<const int32_t> depths)
{
    for (const int32_t depth : depths) {
        if (QV_OpenScreen(ScreenWidth, ScreenHeight, depth) != nullptr)
            return nullptr;
    }
    return "Failed to open Fullscreen, try Window Mode.";
}

std::string ScreenFailureText(const char* failure, bool videoStarted)
{
    std::string text = failure;
    if (const std::string reason = QV_SDLError(); !reason.empty())
        text += "\nSDL: " + reason;
    if (!videoStarted && QV_WindowDriversOnly())
        text += "\n\n" + NoWindowText();
    return text;
}

void FitWindowToDesktop(QV_ScreenSize desktop)
{
    const int32_t chosen = ChosenWindowScale();
    if (desktop.width == 0 || desktop.height == 0)
        return;
    const int32_t fitting = std::max(QV_LargestScaleWithin(ScreenWidth, ScreenHeight, desktop), 1);
    if (chosen <= fitting)
        return;
    std::fprintf(
        stderr,
        "tervane: a window at scale %d (%d x %d) would not fit the %d x %d desktop; the window opens at scale %d\n",
        chosen, ScreenWidth * chosen, ScreenHeight * chosen, desktop.width, desktop.height, fitting);
    SetCommandLineScale(fitting);
}

bool SwitchScreenMode()
{
    const int32_t was = Settings.UseWindow;
    ChooseWindowMode(was != 0 ? 0 : 1);
    if (OpenGameScreen() != nullptr) {
        ChooseWindowMode(was);
        if (OpenGameScreen() != nullptr)
            return false;
    }
    QV_UseScreen();
    if (!PlayingBack() && Settings.UseWindow != was)
        WriteSettings();
    return true;
}

bool SwitchPausedScreen()
{
    const bool kept = QV_GrabSprite(PausedFrameSprite, 0, 0, ScreenWidth, ScreenHeight) != nullptr;
    const bool switched = SwitchScreenMode();
    if (switched && kept) {
        QV_DisplaySprite(PausedFrameSprite, 0, 0);
        QV_FlipBuffers();
    }
    QV_FreeSprite(PausedFrameSprite);
    return switched;
}
