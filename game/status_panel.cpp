#include "game/status_panel.h"

#include "game/frame_loop.h"
#include "game/level_map.h"
#include "game/settings.h"
#include "runtime/core/strings.h"
#include "runtime/screen/drawing.h"
#include "runtime/screen/sprites.h"

#include <cmath>

int32_t Score = 0;
char* ScoreText = nullptr;
int32_t ProgressX = 0;

namespace {

constexpr int32_t PanelSprite = 51;
constexpr int32_t PanelX = 480;
constexpr int32_t TopStripSprite = 1;
constexpr int32_t BottomStripSprite = 2;
constexpr int32_t LeftStripSprite = 3;
constexpr int32_t RightStripSprite = 4;
constexpr int32_t PlayfieldNear = 32;   // the strips frame the playfield 32 to 447
constexpr int32_t PlayfieldFar = 448;

constexpr int32_t MarkerSprite = 52;
constexpr int32_t ProgressMarkerY = 248;
constexpr int32_t DamageMarkerY = 281;
constexpr float ProgressLeft = 490.0f;
constexpr float ProgressWidth = 134.0f;

constexpr int32_t DigitSprite = 60;  // digit d is sprite DigitSprite + d
constexpr int32_t DigitWidth = 16;
constexpr int32_t DigitsX = 512;
constexpr int32_t ScoreDigitsY = 204;
constexpr int32_t HiScoreDigitsY = 399;
constexpr int32_t ScoreDigits = 6;

constexpr int32_t CreditsX = 32;
constexpr int32_t CreditsY = 416;
constexpr const char* CreditsLine = "Tervane - by the Tervane team - (C) 2026";

// ScoreText = the last six digits of "000000" followed by the value, so
// short values gain leading zeros and long ones keep their last six digits.
void BuildScoreText(int32_t value)
{
    char* const start = QV_StringBase;
    SYS_CopyString("000000");
    QV_Str(value);
    QV_StringBase += 1;
    QV_Right(start, ScoreDigits, start);
    SYS_AllocateString(&ScoreText, start);
}

int32_t ScoreDigit(int32_t position)
{
    char* const base = QV_StringBase;
    const int32_t digit = QV_Val(QV_Mid(ScoreText, position, 1, base));
    QV_StringBase = base;
    return digit;
}

void DrawScoreText(int32_t y)
{
    int32_t x = DigitsX;
    for (int32_t position = 1; position <= QV_Len(ScoreText); ++position) {
        QV_DisplaySprite(DigitSprite + ScoreDigit(position), x, y);
        x += DigitWidth;
    }
}

void DrawScore(int32_t value, int32_t y)
{
    BuildScoreText(value);
    DrawScoreText(y);
}

} // namespace

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
    // Single precision, as the marker always has been placed.
    const float progress = static_cast<float>(MapRow) / static_cast<float>(LevelEndRow) * ProgressWidth;
    ProgressX = static_cast<int32_t>(std::lrint(progress + ProgressLeft));
}

void DrawGaugesAndScores()
{
    QV_DisplaySprite(MarkerSprite, ProgressX, ProgressMarkerY);
    QV_DisplaySprite(MarkerSprite, DamageGauge, DamageMarkerY);
    if (Score > HiScore)
        HiScore = Score;
    DrawScore(Score, ScoreDigitsY);
    DrawScore(HiScore, HiScoreDigitsY);
}

void DrawCreditsLine()
{
    QV_StartDrawing(QV_ScreenOutput());
    QV_FrontColor(255, 255, 255);
    QV_Locate(CreditsX, CreditsY);
    QV_DrawText(CreditsLine);
    QV_StopDrawing();
}
