#include "game/setup_notices.h"

#include "game/key_map.h"
#include "game/level_map.h"
#include "game/refused_settings.h"
#include "runtime/screen/drawing.h"

#include <algorithm>
#include <cctype>
#include <string>

namespace {

// The pictures' prompts are centred on the playfield; the replacement covers
// them whole.
constexpr int32_t PromptCentreX = 240;
constexpr int32_t TitlePromptY = 266;
constexpr int32_t TitlePromptWidth = 260;
constexpr int32_t RestartPromptY = 246;
constexpr int32_t RestartPromptWidth = 280;
constexpr int32_t PromptHeight = 40;

constexpr int32_t PlayfieldWidth = MapColumns * TileSize;
// The playfield is square, from 32 to 447 both ways.
constexpr int32_t PlayfieldBottom = PlayfieldLeft + PlayfieldWidth;
constexpr int32_t LineHeight = 10;
constexpr int32_t PlateMargin = 6;

// Six seconds at 75 frames a second.
constexpr int32_t RefusalFrames = 450;
int32_t refusalFramesShown = 0;

void DrawTextAt(const std::string& text, int32_t x, int32_t y)
{
    QV_Locate(x, y);
    QV_DrawText(text.c_str());
}

std::string UpperCase(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char letter) { return char(std::toupper(letter)); });
    return text;
}

}  // namespace

void DrawPlate(int32_t x, int32_t y, int32_t width, int32_t height)
{
    QV_Box2(x, y, width, height, 0xB0A090);
    QV_Box2(x + 2, y + 2, width - 4, height - 4, 0x000000);
}

void DrawStartKeyPrompt(bool restart)
{
    const std::string key = MovedStartKeyName();
    if (key.empty())
        return;
    const std::string prompt = "PRESS " + UpperCase(key) + (restart ? " TO RESTART" : " TO START");
    const int32_t textWidth = QV_TextLength(prompt.c_str());
    const int32_t width = std::max(restart ? RestartPromptWidth : TitlePromptWidth, textWidth + 2 * PlateMargin);
    const int32_t y = restart ? RestartPromptY : TitlePromptY;
    QV_StartDrawing(QV_ScreenOutput());
    DrawPlate(PromptCentreX - width / 2, y, width, PromptHeight);
    QV_FrontColor(255, 230, 140);
    DrawTextAt(prompt, PromptCentreX - textWidth / 2, y + (PromptHeight - 8) / 2);
    QV_StopDrawing();
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
