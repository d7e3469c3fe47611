// The start prompt and the refused settings, drawn over the presented frame.
#include "tests/game/game_fixture.h"

#include "game/key_map.h"

namespace {

bool ShowsPlateBorder(Uint32 pixel)
{
    // The banners' border colour, red 0x90, green 0xA0, blue 0xB0.
    return pixel == SDL_MapRGB(SDL_GetVideoSurface()->format, 0x90, 0xA0, 0xB0);
}

class SetupNoticesTest : public GameTest {
protected:
    void TearDown() override
    {
        KeyChoices = {};
        GameTest::TearDown();
    }
};

TEST_F(SetupNoticesTest, AMovedStartKeyIsNamedOnTheTitleAndARefusedKeyShowsAtTheFoot)
{
    ApplyKeySettings();
    RunFrame();
    EXPECT_FALSE(ShowsPlateBorder(ScreenPixel(110, 266))) << "the usual keys leave the title as drawn";
    EXPECT_FALSE(ShowsPlateBorder(ScreenPixel(38, 420)));

    KeyChoices.KeyStart = "return";
    KeyChoices.KeyFire = "spcae";
    testing::internal::CaptureStderr();
    ApplyKeySettings();
    testing::internal::GetCapturedStderr();
    RunFrame();
    EXPECT_TRUE(ShowsPlateBorder(ScreenPixel(110, 266))) << "over the picture's prompt";
    EXPECT_TRUE(ShowsPlateBorder(ScreenPixel(38, 420))) << "one refused line at the foot";

    TapKey(SDLK_RETURN);
    ASSERT_TRUE(PlaneInPlay());
    EXPECT_FALSE(ShowsPlateBorder(ScreenPixel(38, 420))) << "not over play";
}

}  // namespace
