#include "tests/game/game_fixture.h"

namespace {

class PlayerTest : public GameTest {
protected:
    void SetUp() override
    {
        GameTest::SetUp();
        StartPlaying();
    }

    static void Hold(int32_t key) { PushKeyDown(key); }

    static void LetGo(int32_t key) { PushKeyUp(key); }
};

TEST_F(PlayerTest, ArrowKeysMoveThePlaneAndOppositeKeysCancel)
{
    Hold(SDLK_LEFT);
    RunFrames(2);
    EXPECT_EQ(Player.PlayerX, 190);
    Hold(SDLK_RIGHT);
    RunFrames(3);
    EXPECT_EQ(Player.PlayerX, 190);
    LetGo(SDLK_LEFT);
    RunFrame();
    EXPECT_EQ(Player.PlayerX, 191);
    LetGo(SDLK_RIGHT);

    Hold(SDLK_UP);
    RunFrames(4);
    EXPECT_EQ(Player.PlayerY, 356);
    Hold(SDLK_DOWN);
    RunFrame();
    EXPECT_EQ(Player.PlayerY, 356);
    LetGo(SDLK_UP);
    RunFrame();
    EXPECT_EQ(Player.PlayerY, 357);
}

TEST_F(PlayerTest, ThePlaneStaysInsideItsArea)
{
    Player.PlayerX = 32;
    Player.PlayerY = 100;
    for (int frame = 0; frame < 3; ++frame)
        PlayerInputStep(-1, -1, false);
    EXPECT_EQ(Player.PlayerX, 32);
    EXPECT_EQ(Player.PlayerY, 100);

    Player.PlayerSpeed = 2;
    Player.PlayerX = 385;
    Player.PlayerY = 381;
    PlayerInputStep(1, 1, false);
    EXPECT_EQ(Player.PlayerX, 386);
    EXPECT_EQ(Player.PlayerY, 382);
}

TEST_F(PlayerTest, HeldFireShootsEveryEighthFrameFromAlternateGunsIntoFreeSlots)
{
    Player.FireDelay = 0;
    Hold(SDLK_SPACE);
    RunFrames(8);
    EXPECT_EQ(Player.Bullets[1].Active, 0);
    RunFrame();
    ASSERT_EQ(Player.Bullets[1].Active, 1);
    EXPECT_EQ(Player.Bullets[1].X, Player.PlayerX + 24);
    EXPECT_EQ(Player.Bullets[1].Y, Player.PlayerY + 16) << "moved once before it is first drawn";
    EXPECT_EQ(Player.Bullets[1].Speed, 4);
    EXPECT_EQ(Player.GunSide, 1);

    RunFrames(8);
    EXPECT_TRUE(ScreenShowsKeyed(BulletSprite, Player.Bullets[1].X, Player.Bullets[1].Y)) << "out from under the plane";
    ASSERT_EQ(Player.Bullets[2].Active, 1);
    EXPECT_EQ(Player.Bullets[2].X, Player.PlayerX + 34);
    EXPECT_EQ(Player.GunSide, 0);

    // Both slots in flight: the third bullet waits, and the guns do not
    // take turns meanwhile.
    int frames = 17;
    while (Player.Bullets[1].Active == 1) {
        RunFrame();
        ++frames;
        ASSERT_EQ(Player.Bullets[3].Active, 0);
        ASSERT_EQ(Player.GunSide, 0);
        ASSERT_LT(frames, 200);
    }
    // The next read of the fire control comes on a frame 8k + 1.
    do {
        ASSERT_EQ(Player.Bullets[1].Active, 0);
        RunFrame();
        ++frames;
    } while ((frames - 1) % 8 != 0);
    EXPECT_EQ(Player.Bullets[1].Active, 1) << "the freed slot takes the next bullet";
    EXPECT_EQ(Player.Bullets[1].X, Player.PlayerX + 24);
    EXPECT_EQ(Player.GunSide, 1);
}

TEST_F(PlayerTest, NoSlotsMeansNoFire)
{
    Player.BulletSlots = 0;
    Player.FireDelay = 8;
    Hold(SDLK_SPACE);
    RunFrame();
    EXPECT_EQ(Player.FireDelay, 1);
    EXPECT_EQ(Player.GunSide, 0);
    for (int32_t slot = 0; slot <= BulletUpperBound; ++slot)
        EXPECT_EQ(Player.Bullets[slot].Active, 0) << slot;
}

TEST_F(PlayerTest, BulletsFlyUpAndAreDrawnOnceMoreWhenRetired)
{
    QV_FlipBuffers();
    Player.BulletSlots = 2;
    Player.Bullets[1] = Bullet{200, 120, 4, 1};
    BulletStep();
    EXPECT_EQ(Player.Bullets[1].Y, 116);
    EXPECT_TRUE(ScreenShowsKeyed(BulletSprite, 200, 116));
    for (int step = 2; step <= 22; ++step)
        BulletStep();
    EXPECT_EQ(Player.Bullets[1].Y, 32);
    EXPECT_EQ(Player.Bullets[1].Active, 1);
    QV_ClearScreen(0, 0, 0);
    BulletStep();
    EXPECT_EQ(Player.Bullets[1].Y, 28);
    EXPECT_EQ(Player.Bullets[1].Active, 0);
    EXPECT_TRUE(ScreenShowsKeyed(BulletSprite, 200, 28));
    BulletStep();
    EXPECT_EQ(Player.Bullets[1].Y, 28);
}

TEST_F(PlayerTest, BulletsBeyondTheSlotsInUseStandStill)
{
    Player.Bullets[2] = Bullet{200, 300, 4, 1};
    Player.BulletSlots = 0;
    RunFrames(3);
    EXPECT_EQ(Player.Bullets[2].Y, 300);
    EXPECT_EQ(Player.Bullets[2].Active, 1);
    Player.BulletSlots = 2;
    RunFrame();
    EXPECT_EQ(Player.Bullets[2].Y, 296);
}

TEST_F(PlayerTest, PlaneAnimatesEverySecondFrameOverItsShadow)
{
    const int32_t expected[] = {1, 2, 2, 3, 3, 4, 4, 1, 1, 2};
    for (const int32_t frame : expected) {
        RunFrame();
        ASSERT_EQ(Player.PlayerFrame, frame);
    }
    EXPECT_TRUE(ScreenShowsKeyed(PlaneSprite - 1 + Player.PlayerFrame, Player.PlayerX, Player.PlayerY)) << "plane";

    // The shadow lies 40 right and 50 down, partly under the plane: compare
    // the part of it beyond the plane's 60 x 60 square.
    const int32_t shadow = PlaneShadowSprite - 1 + Player.PlayerFrame;
    int32_t compared = 0;
    for (int32_t y = 0; y < 32; ++y) {
        for (int32_t x = 0; x < 32; ++x) {
            const int32_t sx = Player.PlayerX + 40 + x;
            const int32_t sy = Player.PlayerY + 50 + y;
            const Uint32 pixel = SpritePixel(shadow, x, y);
            if ((sx < Player.PlayerX + 60 && sy < Player.PlayerY + 60) || pixel == 0)
                continue;
            ASSERT_EQ(ScreenPixel(sx, sy), pixel) << x << ", " << y;
            ++compared;
        }
    }
    EXPECT_GT(compared, 0);
}

TEST_F(PlayerTest, JoystickControlIgnoresTheKeyboard)
{
    Settings.UseKeys = 1;
    Player.FireDelay = 8;
    Hold(SDLK_LEFT);
    Hold(SDLK_SPACE);
    RunFrame();
    EXPECT_EQ(Player.PlayerX, 192);
    EXPECT_EQ(Player.Bullets[1].Active, 0);
    EXPECT_EQ(Player.FireDelay, 1);
}

}  // namespace
