#include "game/setup_notices.h"

#include "game/assets.h"
#include "game/key_map.h"
#include "game/lettering.h"
#include "game/level_map.h"
#include "game/refused_settings.h"
#include "game/settings.h"
#include "runtime/screen/drawing.h"
#include "runtime/screen/sprites.h"

#include <algorithm>
#include <cctype>
#include <iterator>
#include <string>

namespace {

// The pictures' prompts are centred on the playfield, their plates 40 high;
// a plate of the player's prompt is as wide as the picture's or as its text
// needs, up to the plate picture's own width.
constexpr int32_t PromptCentreX = 240;
constexpr int32_t TitlePromptY = 266;
constexpr int32_t TitlePromptWidth = 260;
constexpr int32_t RestartPromptY = 246;
constexpr int32_t RestartPromptWidth = 280;
constexpr int32_t PromptHeight = 40;
constexpr int32_t PromptBaseline = 26;  // below the plate's top
constexpr int32_t PromptPlateWidest = 416;
constexpr int32_t PlateRim = 2;  // the plate picture's margin around the plate

// The credits picture and, on it, its controls: key names right-aligned
// before the column, a line every 17 pixels; and where the picture of the
// controls without key names (which has a line for pausing) goes.
constexpr int32_t CreditsX = 64;
constexpr int32_t CreditsY = 64;
constexpr int32_t ControlsKeyEdge = 168;
constexpr int32_t FirstControlBaseline = 220;
constexpr int32_t ControlsLineStep = 17;
constexpr int32_t ControlsLeft = 10;
constexpr int32_t ControlsTop = 204;

constexpr int32_t PlayfieldWidth = MapColumns * TileSize;
// The playfield is square, from 32 to 447 both ways.
constexpr int32_t PlayfieldBottom = PlayfieldLeft + PlayfieldWidth;
constexpr int32_t LineHeight = 10;
constexpr int32_t PlateMargin = 6;

// Six seconds at 75 frames a second.
constexpr int32_t RefusalFrames = 450;
int32_t refusalFramesShown = 0;

std::string UpperCase(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char letter) { return char(std::toupper(letter)); });
    return text;
}

// The player's actions, in the order of PlayerKeys().
enum : size_t { UpAction, DownAction, LeftAction, RightAction, FireAction, StartAction };

// The four keys that fly, as the picture names the arrows, or in the order
// they lie under the hand: up, left, down, right.
std::string FlyingKeys()
{
    const auto keys = PlayerKeys();
    const size_t order[] = {UpAction, LeftAction, DownAction, RightAction};
    const auto usual = [&keys](size_t action) { return KeyNameInUse(keys[action]) == keys[action].usualName; };
    if (std::all_of(std::begin(order), std::end(order), usual))
        return "ARROW KEYS";
    std::string names;
    for (const size_t action : order)
        names += (names.empty() ? "" : " ") + KeyNameInUse(keys[action]);
    return UpperCase(names);
}

// A plate of the prompt's banner, `width` across, its top left at x, y: the
// plate picture's left half and right half, its middle the same all along.
void DrawPromptPlate(int32_t x, int32_t y, int32_t width)
{
    const int32_t pictureWidth = PromptPlateWidest + 2 * PlateRim;
    const int32_t height = PromptHeight + 2 * PlateRim;
    const int32_t left = width / 2 + PlateRim;
    const int32_t right = width + 2 * PlateRim - left;
    QV_ClipSprite(PromptPlate, 0, 0, left, height);
    QV_DisplayTransparentSprite(PromptPlate, x - PlateRim, y - PlateRim);
    QV_ClipSprite(PromptPlate, pictureWidth - right, 0, right, height);
    QV_DisplayTransparentSprite(PromptPlate, x - PlateRim + left, y - PlateRim);
}

}  // namespace

void DrawPlate(int32_t x, int32_t y, int32_t width, int32_t height)
{
    QV_Box2(x, y, width, height, 0xB0A090);
    QV_Box2(x + 2, y + 2, width - 4, height - 4, 0x000000);
}

void DrawTextAt(const std::string& text, int32_t x, int32_t y)
{
    QV_Locate(x, y);
    QV_DrawText(text.c_str());
}

void DrawStartKeyPrompt(bool restart)
{
    const std::string key = MovedStartKeyName();
    if (key.empty())
        return;
    // Spaced as the pictures' own "PRESS  S  TO START".
    const std::string prompt = "PRESS  " + UpperCase(key) + (restart ? "  TO RESTART" : "  TO START");
    const int32_t textWidth = LetteringWidth(PromptGlyphs, prompt);
    const int32_t width =
        std::clamp(textWidth + 4 * PlateMargin, restart ? RestartPromptWidth : TitlePromptWidth, PromptPlateWidest);
    const int32_t y = restart ? RestartPromptY : TitlePromptY;
    DrawPromptPlate(PromptCentreX - width / 2, y, width);
    DrawLettering(PromptGlyphs, prompt, PromptCentreX - textWidth / 2, y + PromptBaseline);
}

void DrawCreditsControls()
{
    const bool pad = Settings.UseKeys != 0;
    if (!pad && !AnyKeyMoved())
        return;
    const auto keys = PlayerKeys();
    const auto named = [&keys](size_t action) { return UpperCase(KeyNameInUse(keys[action])); };
    // Fly, fire, start a game, pause, credits line, quit.
    const std::string lines[] = {
        pad ? "STICK / D-PAD" : FlyingKeys(),
        pad ? "BUTTON 1" : named(FireAction),
        pad ? "BUTTON " + std::to_string(Settings.JoyStart) : named(StartAction),
        pad ? "BUTTON " + std::to_string(Settings.JoyPause) : "P",
        "F12",
        "ESC",
    };
    QV_DisplaySprite(CreditsControls, CreditsX + ControlsLeft, CreditsY + ControlsTop);
    int32_t baseline = CreditsY + FirstControlBaseline;
    for (const std::string& line : lines) {
        DrawLettering(CreditsKeyGlyphs, line, CreditsX + ControlsKeyEdge - LetteringWidth(CreditsKeyGlyphs, line),
                      baseline);
        baseline += ControlsLineStep;
    }
}

void DrawRefusedSettings()
{
    const auto lines = RefusedSettingLines();
    if (lines.empty() || refusalFramesShown >= RefusalFrames)
        return;
    ++refusalFramesShown;
    const int32_t height = int32_t(lines.size()) * LineHeight + 2 * PlateMargin;
    const int32_t top = PlayfieldBottom - PlateMargin - height;
    QV_StartDrawing(QV_ScreenOutput());
    DrawPlate(PlayfieldLeft + PlateMargin, top, PlayfieldWidth - 2 * PlateMargin, height);
    QV_FrontColor(255, 200, 160);
    int32_t y = top + PlateMargin + 1;
    for (const std::string& line : lines) {
        DrawTextAt(line, PlayfieldLeft + 2 * PlateMargin, y);
        y += LineHeight;
    }
    QV_StopDrawing();
}
