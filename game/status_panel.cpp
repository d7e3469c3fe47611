#include "game/status_panel.h"

#include "game/assets.h"
#include "game/level_map.h"
#include "game/level_rows.h"
#include "game/player.h"
#include "game/score.h"
#include "game/settings_state.h"
#include "runtime/screen/drawing.h"
#include "runtime/screen/sprites.h"

PanelState Panel;

namespace {

constexpr int32_t PanelX = 480;

constexpr int32_t ProgressMarkerY = 248;
constexpr int32_t DamageMarkerY = 281;

constexpr int32_t DigitWidth = 16;
constexpr int32_t DigitsX = 512;
constexpr int32_t ScoreDigitsY = 204;
constexpr int32_t HiScoreDigitsY = 399;
constexpr int32_t ShownRange = 1000000;  // six digits

constexpr int32_t CreditsX = 32;
constexpr int32_t CreditsY = 416;
constexpr const char* CreditsLine = "Tervane - by the Tervane team - (C) 2026";

void DrawScore(int32_t value, int32_t y)
{
    int32_t x = DigitsX;
    for (const int32_t digit : ScoreDigits(value)) {
        QV_DisplaySprite(DigitSprite + digit, x, y);
        x += DigitWidth;
    }
}

}  // namespace

// The panel has always shown a negative value (a hi score edited in the
// settings file) by the digits of its magnitude.
std::array<int32_t, 6> ScoreDigits(int32_t value)
{
    int32_t rest = value % ShownRange;
    if (rest < 0)
        rest = -rest;
    std::array<int32_t, 6> digits{};
    for (auto digit = digits.rbegin(); digit != digits.rend(); ++digit) {
        *digit = rest % 10;
        rest /= 10;
    }
    return digits;
}

void DrawPanelFrame()
{
    QV_DisplaySprite(PanelSprite, PanelX, 0);
    QV_DisplaySprite(TopStripSprite, 0, 0);
    QV_DisplaySprite(BottomStripSprite, 0, PlayfieldFar);
    QV_DisplaySprite(LeftStripSprite, 0, PlayfieldNear);
    QV_DisplaySprite(RightStripSprite, PlayfieldFar, PlayfieldNear);
}

void UpdateProgressMarker()
{
    Panel.ProgressX = ProgressMarkerX(Level.MapRow);
}

void DrawGaugesAndScores()
{
    QV_DisplaySprite(MarkerSprite, Panel.ProgressX, ProgressMarkerY);
    QV_DisplaySprite(MarkerSprite, Player.DamageGauge, DamageMarkerY);
    DrawScore(Scoring.Score, ScoreDigitsY);
    DrawScore(Settings.HiScore, HiScoreDigitsY);
}

void DrawCreditsLine()
{
    QV_StartDrawing(QV_ScreenOutput());
    QV_FrontColor(255, 255, 255);
    QV_Locate(CreditsX, CreditsY);
    QV_DrawText(CreditsLine);
    QV_StopDrawing();
}
