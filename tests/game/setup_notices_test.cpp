// The start prompt, the credits page's controls and the refused settings,
// drawn over the presented frame.
#include "tests/game/game_fixture.h"

#include "game/key_map.h"
#include "game/lettering.h"

#include <cstdlib>

namespace {

bool ShowsPlateBorder(Uint32 pixel)
{
    // The notices' border colour, red 0x90, green 0xA0, blue 0xB0.
    return pixel == SDL_MapRGB(SDL_GetVideoSurface()->format, 0x90, 0xA0, 0xB0);
}

class SetupNoticesTest : public GameTest {
protected:
    // The first frame is drawn before the screen is the display target.
    void SetUp() override
    {
        GameTest::SetUp();
        RunFrame();
    }

    void TearDown() override
    {
        KeyChoices = {};
        ApplyKeySettings();
        GameTest::TearDown();
    }

    // How many pixels of the rectangle differ between the screen and sprite
    // `sprite` shown at x, y, by more than `tolerance` in a channel.
    static int32_t PixelsUnlike(int32_t sprite, int32_t x, int32_t y, SDL_Rect area, int tolerance = 0)
    {
        const SDL_PixelFormat* format = QV_Screen_Current->format;
        int32_t unlike = 0;
        for (int32_t row = area.y; row < area.y + area.h; ++row) {
            for (int32_t column = area.x; column < area.x + area.w; ++column) {
                Uint8 screen[3], picture[3];
                SDL_GetRGB(ScreenPixel(column, row), format, &screen[0], &screen[1], &screen[2]);
                SDL_GetRGB(SpritePixel(sprite, column - x, row - y), format, &picture[0], &picture[1], &picture[2]);
                for (int channel = 0; channel < 3; ++channel) {
                    if (std::abs(screen[channel] - picture[channel]) > tolerance) {
                        ++unlike;
                        break;
                    }
                }
            }
        }
        return unlike;
    }
};

TEST_F(SetupNoticesTest, AMovedStartKeyIsNamedOnTheTitleAndARefusedKeyShowsAtTheFoot)
{
    const SDL_Rect plate = {114, 268, 252, 36};  // of the title's prompt
    ApplyKeySettings();
    RunFrame();
    EXPECT_EQ(PixelsUnlike(TitlePicture, 70, 120, plate), 0) << "the usual keys leave the title as drawn";
    EXPECT_FALSE(ShowsPlateBorder(ScreenPixel(38, 420)));

    KeyChoices.KeyStart = "return";
    KeyChoices.KeyFire = "spcae";
    testing::internal::CaptureStderr();
    ApplyKeySettings();
    testing::internal::GetCapturedStderr();
    RunFrame();
    EXPECT_GT(PixelsUnlike(TitlePicture, 70, 120, plate), 0);
    EXPECT_EQ(ScreenPixel(240, 266), SpritePixel(PromptPlate, 210, 2)) << "the banner's plate over its prompt";
    EXPECT_TRUE(ShowsPlateBorder(ScreenPixel(38, 420))) << "one refused line at the foot";

    TapKey(SDLK_RETURN);
    ASSERT_TRUE(PlaneInPlay());
    EXPECT_FALSE(ShowsPlateBorder(ScreenPixel(38, 420))) << "not over play";
}

// The glyph sheet's lettering is the picture's: composed, the picture's own
// prompt comes out as drawn but for edge pixels.
TEST_F(SetupNoticesTest, ThePromptComposedFromGlyphsMatchesThePicturesOwn)
{
    RunFrame();
    const std::string prompt = "PRESS  S  TO START";
    const SDL_Rect text = {112, 276, 256, 24};
    DrawLettering(PromptGlyphs, prompt, 240 - LetteringWidth(PromptGlyphs, prompt) / 2, 292);
    // Edge pixels fall a fraction of a pixel apart: a few percent differ by
    // half a channel's range, against over a tenth for lettering a pixel off.
    EXPECT_LT(PixelsUnlike(TitlePicture, 70, 120, text, 128), text.w * text.h / 20);
}

// Moved keys, or the pad, rewrite the controls in the picture's place; the
// picture of them without key names brings a line for pausing.
TEST_F(SetupNoticesTest, TheCreditsPageNamesTheKeysOrButtonsInPlay)
{
    Flow.Phase = GamePhase::Credits;
    RunFrame();
    EXPECT_TRUE(ScreenShows(CreditsPicture, 64, 64, true)) << "the usual keys leave the page as drawn";

    const SDL_Rect words = {74 + 160, 268, 166, 107};
    for (const bool pad : {false, true}) {
        KeyChoices.KeyUp = pad ? "up" : "w";
        ApplyKeySettings();
        Settings.UseKeys = pad ? 1 : 0;
        RunFrame();
        EXPECT_FALSE(ScreenShows(CreditsPicture, 64, 64, true)) << pad;
        EXPECT_EQ(PixelsUnlike(CreditsControls, 74, 268, words), 0) << pad;
    }
    Settings.UseKeys = 0;
}

}  // namespace
