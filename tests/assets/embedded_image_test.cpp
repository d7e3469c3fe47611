// The data image built into the executable against the files in assets/,
// and the catalogue that finds each picture, sound and level block in it.
#include "assets/data_image.h"
#include "game/assets.h"
#include "tests/assets/asset_files.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace asset_test;

namespace {

// The order of the pictures in storage, which is the load order of start-up.
const int32_t StorageOrder[] = {
    51, 1,  2,  3,  4,  0,  20, 14, 17, 23, 26, 9,  10, 11, 12, 5,  6,  7,  8,  13, 37, 38, 15, 16,
    18, 19, 21, 22, 24, 25, 27, 28, 29, 30, 31, 32, 33, 34, 35, 36, 40, 41, 42, 43, 44, 45, 46, 47,
    52, 60, 61, 62, 63, 64, 65, 66, 67, 68, 69, 49, 50, 53, 54, 55, 56, 57, 70, 71, 72, 75,
};

bool SameBytes(const uint8_t* address, int64_t size, const std::vector<uint8_t>& file)
{
    return size == int64_t(file.size()) && std::memcmp(address, file.data(), file.size()) == 0;
}

}  // namespace

TEST(EmbeddedImage, HoldsEightyThreeBlocksBackToBack)
{
    ASSERT_EQ(BuiltInBlockCount, 3u + 70u + 10u);
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

TEST(EmbeddedImage, PicturesFollowInLoadOrderAndEqualTheirFiles)
{
    const uint8_t* expected = WaveStreamStart() + WaveStreamBytes;
    for (int32_t sprite : StorageOrder) {
        const BuiltInFile picture = SpritePicture(sprite);
        EXPECT_EQ(picture.address, expected) << "sprite " << sprite;
        EXPECT_TRUE(SameBytes(picture.address, picture.size, ReadFile(PictureFile(sprite)))) << "sprite " << sprite;
        expected = picture.address + picture.size;
    }
}

TEST(EmbeddedImage, SoundsFollowThePicturesInNumberOrderAndEqualTheirFiles)
{
    const BuiltInFile lastPicture = SpritePicture(75);
    const uint8_t* expected = lastPicture.address + lastPicture.size;
    for (int32_t sound = 0; sound < BuiltInSoundCount; ++sound) {
        const BuiltInFile wave = SoundWave(sound);
        EXPECT_EQ(wave.address, expected) << "sound " << sound;
        EXPECT_TRUE(SameBytes(wave.address, wave.size, ReadFile(SoundFile(sound)))) << "sound " << sound;
        expected = wave.address + wave.size;
    }
    const BuiltInBlock& last = BuiltInBlocks[BuiltInBlockCount - 1];
    EXPECT_EQ(expected, BuiltInData + last.offset + last.size);
}

TEST(EmbeddedImage, NumbersOutsideTheCatalogueHaveNothing)
{
    for (int32_t sprite : {-1, 39, 48, 58, 59, 73, 74, 76, 1000}) {
        EXPECT_EQ(SpritePicture(sprite).address, nullptr) << "sprite " << sprite;
        EXPECT_EQ(SpritePicture(sprite).size, 0) << "sprite " << sprite;
    }
    for (int32_t sound : {-1, 10, 75}) {
        EXPECT_EQ(SoundWave(sound).address, nullptr) << "sound " << sound;
        EXPECT_EQ(SoundWave(sound).size, 0) << "sound " << sound;
    }
}

TEST(DataCursor, ReadsSignedLittleEndianIntegersAndMovesOn)
{
    const uint8_t data[] = {0x78, 0x56, 0x34, 0x12, 0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x00, 0x00, 0x80, 0xC0, 0xFF, 0xFF, 0xFF};
    DataCursor = data;
    EXPECT_EQ(ReadDataInteger(), 0x12345678);
    EXPECT_EQ(ReadDataInteger(), -1);
    EXPECT_EQ(ReadDataInteger(), INT32_MIN);
    EXPECT_EQ(ReadDataInteger(), -64);
    EXPECT_EQ(DataCursor, data + sizeof data);
}
