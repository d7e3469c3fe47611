// Every built-in picture: its file form, what the project's BMP reader makes
// of it, and the rules that keep colour-keyed art free of holes.
#include "game/assets.h"
#include "game/sound_loading.h"
#include "runtime/screen/image_decoders.h"
#include "runtime/screen/screen.h"
#include "runtime/screen/sprites.h"
#include "runtime/sound/sound.h"
#include "tests/assets/asset_files.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

using namespace asset_test;

namespace {

struct Rgb {
    uint8_t r, g, b;
    bool operator==(const Rgb&) const = default;
    bool black() const { return r == 0 && g == 0 && b == 0; }
};

// A picture decoded by the runtime's BMP reader, top row first.
struct Decoded {
    int32_t width = 0, height = 0;
    std::vector<Rgb> pixels;
    Rgb at(int32_t x, int32_t y) const { return pixels[size_t(y) * width + x]; }
};

Decoded Decode(int32_t sprite)
{
    const BuiltInFile file = SpritePicture(sprite);
    Decoded d;
    if (QV_BMP_Check(nullptr, file.address, size_t(file.size)) != 1)
        return d;
    d.width = QV_BMP_GetWidth();
    d.height = QV_BMP_GetHeight();
    const int32_t pitch = d.width * 3;
    std::vector<uint8_t> buffer(size_t(pitch) * d.height);
    if (QV_BMP_Decode(buffer.data(), pitch) != 1)
        return d;
    for (size_t i = 0; i < buffer.size(); i += 3)
        d.pixels.push_back({buffer[i], buffer[i + 1], buffer[i + 2]});
    return d;
}

// Black pixels that no path through black pixels, stepping up, down, left
// or right, joins to the border: the ground would show through them.
int32_t EnclosedBlackPixels(const Decoded& d)
{
    std::vector<uint8_t> reached(d.pixels.size(), 0);
    std::vector<std::pair<int32_t, int32_t>> pending;
    auto visit = [&](int32_t x, int32_t y) {
        if (x < 0 || y < 0 || x >= d.width || y >= d.height || reached[size_t(y) * d.width + x] || !d.at(x, y).black())
            return;
        reached[size_t(y) * d.width + x] = 1;
        pending.emplace_back(x, y);
    };
    for (int32_t x = 0; x < d.width; ++x) {
        visit(x, 0);
        visit(x, d.height - 1);
    }
    for (int32_t y = 0; y < d.height; ++y) {
        visit(0, y);
        visit(d.width - 1, y);
    }
    while (!pending.empty()) {
        const auto [x, y] = pending.back();
        pending.pop_back();
        visit(x + 1, y);
        visit(x - 1, y);
        visit(x, y + 1);
        visit(x, y - 1);
    }
    int32_t enclosed = 0;
    for (size_t i = 0; i < d.pixels.size(); ++i)
        enclosed += d.pixels[i].black() && !reached[i];
    return enclosed;
}

}  // namespace

TEST(Pictures, EveryPictureIsAnUncompressedBottomUp24BitBmp)
{
    for (const CataloguePicture& expected : CataloguePictures()) {
        SCOPED_TRACE("sprite " + std::to_string(expected.sprite));
        const BuiltInFile file = SpritePicture(expected.sprite);
        ASSERT_NE(file.address, nullptr);
        const uint8_t* p = file.address;
        const int32_t stride = (expected.width * 3 + 3) & ~3;
        EXPECT_EQ(p[0], 'B');
        EXPECT_EQ(p[1], 'M');
        EXPECT_EQ(Int32At(p + 2), file.size);
        EXPECT_EQ(Int32At(p + 6), 0);  // both reserved fields
        EXPECT_EQ(Int32At(p + 10), 54);
        EXPECT_EQ(Int32At(p + 14), 40);
        EXPECT_EQ(Int32At(p + 18), expected.width);
        EXPECT_EQ(Int32At(p + 22), expected.height);  // positive: bottom-up rows
        EXPECT_EQ(Uint16At(p + 26), 1u);
        EXPECT_EQ(Uint16At(p + 28), 24u);
        EXPECT_EQ(Int32At(p + 30), 0);  // no compression
        EXPECT_EQ(file.size, 54 + stride * expected.height);
    }
}

TEST(Pictures, TheRuntimeReaderDecodesEveryPictureToItsSize)
{
    for (const CataloguePicture& expected : CataloguePictures()) {
        const Decoded d = Decode(expected.sprite);
        EXPECT_EQ(d.width, expected.width) << "sprite " << expected.sprite;
        EXPECT_EQ(d.height, expected.height) << "sprite " << expected.sprite;
        EXPECT_EQ(d.pixels.size(), size_t(expected.width) * expected.height) << "sprite " << expected.sprite;
    }
}

TEST(Pictures, ColourKeyedPicturesHaveABlackBorderAndNoEnclosedBlack)
{
    for (const CataloguePicture& expected : CataloguePictures()) {
        if (!expected.keyed)
            continue;
        SCOPED_TRACE("sprite " + std::to_string(expected.sprite));
        const Decoded d = Decode(expected.sprite);
        ASSERT_EQ(d.pixels.size(), size_t(expected.width) * expected.height);
        bool borderBlack = true;
        for (int32_t x = 0; x < d.width; ++x)
            borderBlack = borderBlack && d.at(x, 0).black() && d.at(x, d.height - 1).black();
        for (int32_t y = 0; y < d.height; ++y)
            borderBlack = borderBlack && d.at(0, y).black() && d.at(d.width - 1, y).black();
        EXPECT_TRUE(borderBlack);
        if (!expected.showsGround) {
            EXPECT_EQ(EnclosedBlackPixels(d), 0);
        }
    }
}

TEST(Pictures, ColourKeyedArtStaysVisibleOnA16BitScreen)
{
    // On a 16-bit screen a colour whose channels all fall below 8 becomes
    // pixel value 0, the colour key, and would vanish like the background.
    for (const CataloguePicture& expected : CataloguePictures()) {
        if (!expected.keyed)
            continue;
        const Decoded d = Decode(expected.sprite);
        int32_t vanishing = 0, art = 0;
        for (const Rgb& c : d.pixels) {
            art += !c.black();
            vanishing += !c.black() && c.r < 8 && c.g < 8 && c.b < 8;
        }
        EXPECT_EQ(vanishing, 0) << "sprite " << expected.sprite;
        EXPECT_GT(art, 0) << "sprite " << expected.sprite << " is empty";
    }
}

TEST(Pictures, ScoreDigitsSitInBoxesOfTheirOwnBackground)
{
    // The digits are drawn opaque at panel x 32..127 (screen 512..607), rows
    // 204..219 and 399..414; the box around them must be the colour of the
    // digits' own background so that the six digits read as one display.
    const Decoded panel = Decode(51);
    const Decoded zero = Decode(60);
    ASSERT_EQ(panel.width, 160);
    ASSERT_EQ(zero.width, 16);
    const Rgb background = zero.at(0, 0);
    for (int32_t top : {204, 399}) {
        for (int32_t x = 32; x < 128; ++x)
            for (int32_t y = top; y < top + 16; ++y)
                ASSERT_EQ(panel.at(x, y), background) << "panel pixel " << x << ", " << y;
        for (int32_t y = top; y < top + 16; ++y) {
            EXPECT_EQ(panel.at(31, y), background);
            EXPECT_EQ(panel.at(128, y), background);
        }
    }
}

TEST(Pictures, TheExplosionGrowsAndFadesFromSprite47To40)
{
    // Shown 47 first and 40 last: the burst should widen frame by frame and
    // its light die away.
    double previousReach = 0, previousBrightness = 1e9;
    for (int32_t sprite = 47; sprite >= 40; --sprite) {
        const Decoded d = Decode(sprite);
        double reach = 0, brightness = 0;
        int32_t lit = 0;
        for (int32_t y = 0; y < d.height; ++y)
            for (int32_t x = 0; x < d.width; ++x)
                if (!d.at(x, y).black()) {
                    reach = std::max(reach, std::hypot(x - 31.5, y - 31.5));
                    brightness += d.at(x, y).r + d.at(x, y).g + d.at(x, y).b;
                    ++lit;
                }
        ASSERT_GT(lit, 0) << "sprite " << sprite;
        brightness /= lit;
        EXPECT_GE(reach, previousReach - 1.0) << "sprite " << sprite;
        EXPECT_LT(brightness, previousBrightness) << "sprite " << sprite;
        previousReach = reach;
        previousBrightness = brightness;
    }
}

class LoadingTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        setenv("SDL_VIDEODRIVER", "dummy", 1);
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        ASSERT_NE(QV_InitSprite(), nullptr);
        ASSERT_NE(QV_OpenScreen(640, 480, 32), nullptr);
    }
    void TearDown() override
    {
        QV_FreeSounds();
        QV_FreeSprites();
    }
};

TEST_F(LoadingTest, EveryPictureLoadsIntoItsSpriteNumber)
{
    LoadBuiltInAssets(0);
    for (const CataloguePicture& expected : CataloguePictures()) {
        EXPECT_EQ(QV_SpriteWidth(expected.sprite), expected.width) << "sprite " << expected.sprite;
        EXPECT_EQ(QV_SpriteHeight(expected.sprite), expected.height) << "sprite " << expected.sprite;
    }
    for (int32_t unused : {39, 48, 58, 59, 73, 74})
        EXPECT_EQ(QV_SpriteRecordOf(unused)->surface, nullptr) << "sprite " << unused;
}

TEST_F(LoadingTest, SoundsLoadOnlyWithAudioOn)
{
    ASSERT_NE(QV_InitSound(), nullptr);
    LoadBuiltInAssets(0);
    for (int32_t sound = 0; sound < BuiltInSoundCount; ++sound)
        EXPECT_EQ(QV_Sound_ObjectsArea[sound].length, 0) << "sound " << sound;
    LoadBuiltInAssets(1);
    for (int32_t sound = 0; sound < BuiltInSoundCount; ++sound)
        EXPECT_GT(QV_Sound_ObjectsArea[sound].length, 0) << "sound " << sound;
}
