#include "tests/game/game_fixture.h"

#include <string>

namespace {

constexpr int32_t ScoreRowY = 204;
constexpr int32_t HiScoreRowY = 399;

class StatusPanelTest : public GameTest {
protected:
    void SetUp() override
    {
        GameTest::SetUp();
        RunFrame();  // the first frame presents nothing
    }

    // True when the row at y shows the six digit pictures of `digits`.
    static bool RowShows(const std::string& digits, int32_t y)
    {
        for (size_t i = 0; i < digits.size(); ++i) {
            const int32_t sprite = 60 + (digits[i] - '0');
            if (!ScreenShowsOpaque(sprite, 512 + 16 * static_cast<int32_t>(i), y))
                return false;
        }
        return true;
    }
};

TEST_F(StatusPanelTest, ScoresShowAsTheirLastSixDigitsWithLeadingZeros)
{
    struct Case {
        int32_t score;
        int32_t hiScore;
        const char* scoreRow;
        const char* hiScoreRow;
    };
    const Case cases[] = {
        {0, 0, "000000", "000000"},
        {95, 0, "000095", "000095"},        // passing the hi score shows in both rows at once
        {95, 1234567, "000095", "234567"},  // a seven-digit hi score from the file
        {1234567, 95, "234567", "234567"},
        {999999, 1000000, "999999", "000000"},
    };
    for (const Case& c : cases) {
        Scoring.Score = c.score;
        Settings.HiScore = c.hiScore;
        RunFrame();
        EXPECT_TRUE(RowShows(c.scoreRow, ScoreRowY)) << c.score;
        EXPECT_TRUE(RowShows(c.hiScoreRow, HiScoreRowY)) << c.hiScore;
        EXPECT_EQ(Settings.HiScore, std::max(c.score, c.hiScore));
    }
}

TEST(ScoreDigits, AreTheLastSixDigitsOfTheMagnitudeForEveryValue)
{
    using Digits = std::array<int32_t, 6>;
    EXPECT_EQ(ScoreDigits(95), (Digits{0, 0, 0, 0, 9, 5}));
    EXPECT_EQ(ScoreDigits(INT32_MAX), (Digits{4, 8, 3, 6, 4, 7}));
    // A hi score edited below zero in the settings file.
    EXPECT_EQ(ScoreDigits(-5), (Digits{0, 0, 0, 0, 0, 5}));
    EXPECT_EQ(ScoreDigits(INT32_MIN), (Digits{4, 8, 3, 6, 4, 8}));
}

TEST_F(StatusPanelTest, ProgressMarkerMovesAPixelAboutEveryThreeRows)
{
    const std::pair<int32_t, int32_t> rows[] = {{0, 490}, {1, 490}, {2, 491}, {116, 530}, {240, 573}, {387, 624}};
    for (const auto& [row, x] : rows) {
        Level.MapRow = row;
        UpdateProgressMarker();
        EXPECT_EQ(Panel.ProgressX, x) << "row " << row;
    }
    int32_t previous = 490;
    for (Level.MapRow = 0; Level.MapRow <= LevelEndRow; ++Level.MapRow) {
        UpdateProgressMarker();
        ASSERT_GE(Panel.ProgressX - previous, 0);
        ASSERT_LE(Panel.ProgressX - previous, 1);
        previous = Panel.ProgressX;
    }
}

TEST_F(StatusPanelTest, StripsPanelAndMarkersSitAroundThePlayfield)
{
    StartPlaying();
    Player.DamageGauge = 560;
    RunFrame();
    EXPECT_TRUE(ScreenShowsOpaque(TopStripSprite, 0, 0));
    EXPECT_TRUE(ScreenShowsOpaque(BottomStripSprite, 0, 448));
    EXPECT_TRUE(ScreenShowsOpaque(LeftStripSprite, 0, 32));
    EXPECT_TRUE(ScreenShowsOpaque(RightStripSprite, 448, 32));
    EXPECT_TRUE(ScreenShowsOpaque(MarkerSprite, Panel.ProgressX, 248)) << "progress marker";
    EXPECT_TRUE(ScreenShowsOpaque(MarkerSprite, 560, 281)) << "damage marker";
    // The panel picture, where no digit or marker lies over it.
    for (int32_t y = 0; y < ScoreRowY; ++y) {
        for (int32_t x = 0; x < 160; ++x)
            ASSERT_EQ(ScreenPixel(480 + x, y), SpritePixel(PanelSprite, x, y)) << x << ", " << y;
    }
}

TEST_F(StatusPanelTest, F12ShowsTheCreditsLineOnlyWhileHeld)
{
    // A still frame: the scroll held, the plane up out of the line's way.
    StartPlaying();
    BossFight.ActiveBoss = 1;
    Player.PlayerY = 100;
    RunFrame();
    auto lineArea = [] {
        std::string pixels;
        for (int32_t y = 416; y < 424; ++y) {
            for (int32_t x = 32; x < 448; ++x)
                pixels += std::to_string(ScreenPixel(x, y)) + ",";
        }
        return pixels;
    };
    const std::string without = lineArea();
    PushKeyDown(SDLK_F12);
    RunFrame();
    EXPECT_NE(lineArea(), without);
    PushKeyUp(SDLK_F12);
    RunFrame();
    EXPECT_EQ(lineArea(), without);
}

}  // namespace
