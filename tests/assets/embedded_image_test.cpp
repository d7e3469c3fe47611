// The data image built into the executable against the files in assets/,
// and the catalogue that finds each picture, sound and level block in it.
#include "assets/data_image.h"
#include "game/assets.h"
#include "tests/assets/asset_files.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <span>

using namespace asset_test;

namespace {

bool SameBytes(const uint8_t* address, int64_t size, const std::vector<uint8_t>& file)
{
    return size == int64_t(file.size()) && std::memcmp(address, file.data(), file.size()) == 0;
}

std::span<const BuiltInBlock> Blocks()
{
    return {BuiltInBlocks, BuiltInBlockCount};
}

}  // namespace

TEST(EmbeddedImage, HoldsEightyNineBlocksBackToBack)
{
    ASSERT_EQ(BuiltInBlockCount, 3u + 74u + 10u + 2u);
    EXPECT_EQ(BuiltInBlocks[0].offset, 0u);
    for (uint32_t i = 1; i < BuiltInBlockCount; ++i)
        EXPECT_EQ(BuiltInBlocks[i].offset, BuiltInBlocks[i - 1].offset + BuiltInBlocks[i - 1].size) << "block " << i;
}

TEST(EmbeddedImage, LevelBlocksComeFirstAndEqualTheirFiles)
{
    EXPECT_EQ(LevelMapStart(), BuiltInData);
    EXPECT_EQ(BossTableStart(), LevelMapStart() + LevelMapBytes);
    EXPECT_EQ(WaveStreamStart(), BossTableStart() + BossTableBytes);
    EXPECT_TRUE(SameBytes(LevelMapStart(), LevelMapBytes, ReadFile(LevelFile("map.bin"))));
    EXPECT_TRUE(SameBytes(BossTableStart(), BossTableBytes, ReadFile(LevelFile("bosses.bin"))));
    EXPECT_TRUE(SameBytes(WaveStreamStart(), WaveStreamBytes, ReadFile(LevelFile("waves.bin"))));
}

// The table names each block's number, so start-up loads whatever order
// the generator stores; all pictures come before the sounds, and the glyph
// sheets' measures last.
TEST(EmbeddedImage, EveryCataloguePictureAndSoundIsStoredOnceUnderItsNumber)
{
    std::vector<int32_t> pictures;
    std::vector<int32_t> sounds;
    std::vector<int32_t> measures;
    for (const BuiltInBlock& block : Blocks().subspan(3)) {
        const BuiltInFile file = {BuiltInData + block.offset, static_cast<int32_t>(block.size)};
        if (block.kind == PictureBlock) {
            ASSERT_TRUE(sounds.empty()) << "picture " << block.number << " after a sound";
            pictures.push_back(block.number);
            EXPECT_TRUE(SameBytes(file.address, file.size, ReadFile(PictureFile(block.number)))) << block.number;
        } else if (block.kind == GlyphBlock) {
            measures.push_back(block.number);
            EXPECT_TRUE(SameBytes(file.address, file.size, ReadFile(GlyphMeasuresFile(block.number)))) << block.number;
        } else {
            ASSERT_EQ(block.kind, SoundBlock);
            ASSERT_TRUE(measures.empty()) << "sound " << block.number << " after glyph measures";
            sounds.push_back(block.number);
            EXPECT_TRUE(SameBytes(file.address, file.size, ReadFile(SoundFile(block.number)))) << block.number;
        }
    }
    std::vector<int32_t> catalogue;
    for (const CataloguePicture& picture : CataloguePictures())
        catalogue.push_back(picture.sprite);
    std::ranges::sort(pictures);
    std::ranges::sort(catalogue);
    EXPECT_EQ(pictures, catalogue);
    EXPECT_EQ(sounds, (std::vector<int32_t>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9}));
    EXPECT_EQ(measures, (std::vector<int32_t>{PromptGlyphs, CreditsKeyGlyphs}));
}

// Every number the game names is found where the table puts it.
TEST(EmbeddedImage, TheGamesNumbersFindTheirFiles)
{
    for (int32_t sprite :
         {TileStripSprite, TopStripSprite,       RightStripSprite,    PlaneSprite,     PlaneShadowSprite,
          BulletSprite,    RaiderType,           InterceptorType,     GunboatWestType, TankWestType,
          EnemyShotSprite, ExplosionSprite + 1,  ExplosionSprite + 8, GetReadyBanner,  GameOverBanner,
          PanelSprite,     MarkerSprite,         CreditsPicture,      TitlePicture,    DigitSprite,
          DigitSprite + 9, LevelCompletePicture, PromptPlate,         PromptGlyphs,    CreditsKeyGlyphs,
          CreditsControls}) {
        const BuiltInFile picture = SpritePicture(sprite);
        EXPECT_TRUE(SameBytes(picture.address, picture.size, ReadFile(PictureFile(sprite)))) << "sprite " << sprite;
    }
    for (int32_t sound = 0; sound < BuiltInSoundCount; ++sound) {
        const BuiltInFile wave = SoundWave(sound);
        EXPECT_TRUE(SameBytes(wave.address, wave.size, ReadFile(SoundFile(sound)))) << "sound " << sound;
    }
}

TEST(EmbeddedImage, NumbersOutsideTheCatalogueHaveNothing)
{
    for (int32_t sprite : {-1, 39, 48, 58, 59, 73, 74, 80, 1000}) {
        EXPECT_EQ(SpritePicture(sprite).address, nullptr) << "sprite " << sprite;
        EXPECT_EQ(SpritePicture(sprite).size, 0) << "sprite " << sprite;
    }
    for (int32_t sound : {-1, 10, 75}) {
        EXPECT_EQ(SoundWave(sound).address, nullptr) << "sound " << sound;
        EXPECT_EQ(SoundWave(sound).size, 0) << "sound " << sound;
    }
    EXPECT_EQ(GlyphMeasures(PromptPlate).address, nullptr) << "no glyph sheet";
}

TEST(DataCursor, ReadsSignedLittleEndianIntegersAndMovesOn)
{
    const uint8_t data[] = {0x78, 0x56, 0x34, 0x12, 0xFF, 0xFF, 0xFF, 0xFF,
                            0x00, 0x00, 0x00, 0x80, 0xC0, 0xFF, 0xFF, 0xFF};
    StartReading(data);
    EXPECT_EQ(ReadDataInteger(), 0x12345678);
    EXPECT_EQ(ReadDataInteger(), -1);
    EXPECT_EQ(ReadDataInteger(), INT32_MIN);
    EXPECT_EQ(ReadDataInteger(), -64);
    EXPECT_EQ(DataCursor, data + sizeof data);
}
