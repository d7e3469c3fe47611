#include "game/assets.h"

#include "assets/data_image.h"
#include "runtime/screen/sprites.h"
#include "runtime/sound/sound.h"

#include <array>

const uint8_t* DataCursor = nullptr;

namespace {

// Blocks of the data image, in storage order.
constexpr int32_t LevelMapBlock = 0;
constexpr int32_t BossTableBlock = 1;
constexpr int32_t WaveStreamBlock = 2;
constexpr int32_t FirstPictureBlock = 3;
constexpr int32_t FirstSoundBlock = FirstPictureBlock + BuiltInPictureCount;

// The pictures in the order start-up loads them, which is also the order in
// which they are stored. The player's shadows come between the first and the
// later pictures.
constexpr int32_t FirstPictures[] = {51, 1, 2, 3, 4, 0, 20, 14, 17, 23, 26};
constexpr int32_t ShadowPictures[] = {9, 10, 11, 12};
constexpr int32_t LaterPictures[] = {
    5,  6,  7,  8,  13, 37, 38, 15, 16, 18, 19, 21, 22, 24, 25, 27, 28, 29, 30, 31, 32, 33, 34, 35, 36, 40, 41, 42,
    43, 44, 45, 46, 47, 52, 60, 61, 62, 63, 64, 65, 66, 67, 68, 69, 49, 50, 53, 54, 55, 56, 57, 70, 71, 72, 75,
};

constexpr std::array<int32_t, BuiltInPictureCount> StoredPictures = [] {
    std::array<int32_t, BuiltInPictureCount> all{};
    size_t next = 0;
    for (int32_t sprite : FirstPictures)
        all[next++] = sprite;
    for (int32_t sprite : ShadowPictures)
        all[next++] = sprite;
    for (int32_t sprite : LaterPictures)
        all[next++] = sprite;
    return all;
}();

const uint8_t* blockStart(int32_t block) { return BuiltInData + BuiltInBlocks[block].offset; }

BuiltInFile blockFile(int32_t block)
{
    return {blockStart(block), static_cast<int32_t>(BuiltInBlocks[block].size)};
}

void catchSprite(int32_t sprite)
{
    const BuiltInFile picture = SpritePicture(sprite);
    QV_CatchSprite(sprite, picture.address, static_cast<size_t>(picture.size));
}

}  // namespace

const uint8_t* LevelMapStart() { return blockStart(LevelMapBlock); }

const uint8_t* BossTableStart() { return blockStart(BossTableBlock); }

const uint8_t* WaveStreamStart() { return blockStart(WaveStreamBlock); }

int32_t ReadDataInteger()
{
    const uint32_t value = uint32_t(DataCursor[0]) | uint32_t(DataCursor[1]) << 8 | uint32_t(DataCursor[2]) << 16 |
                           uint32_t(DataCursor[3]) << 24;
    DataCursor += 4;
    return static_cast<int32_t>(value);
}

BuiltInFile SpritePicture(int32_t sprite)
{
    for (int32_t i = 0; i < BuiltInPictureCount; ++i)
        if (StoredPictures[i] == sprite)
            return blockFile(FirstPictureBlock + i);
    return {nullptr, 0};
}

BuiltInFile SoundWave(int32_t sound)
{
    if (sound < 0 || sound >= BuiltInSoundCount)
        return {nullptr, 0};
    return blockFile(FirstSoundBlock + sound);
}

void LoadBuiltInAssets(int32_t useAudio)
{
    for (int32_t sprite : FirstPictures)
        catchSprite(sprite);
    // Start-up has always loaded the shadows four times over; each pass
    // replaces the last with the same pictures.
    for (int pass = 0; pass < 4; ++pass)
        for (int32_t sprite : ShadowPictures)
            catchSprite(sprite);
    for (int32_t sprite : LaterPictures)
        catchSprite(sprite);
    if (useAudio == 0)
        return;
    for (int32_t sound = 0; sound < BuiltInSoundCount; ++sound) {
        const BuiltInFile wave = SoundWave(sound);
        QV_CatchSound(sound, wave.address, wave.size);
    }
}
