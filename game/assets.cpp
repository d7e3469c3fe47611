#include "game/assets.h"

#include "assets/data_image.h"
#include "runtime/screen/sprites.h"

#include <span>

const uint8_t* DataCursor = nullptr;

namespace {

std::span<const BuiltInBlock> Blocks()
{
    return {BuiltInBlocks, BuiltInBlockCount};
}

BuiltInFile FileOf(const BuiltInBlock& block)
{
    return {BuiltInData + block.offset, static_cast<int32_t>(block.size)};
}

BuiltInFile FindBlock(BuiltInBlockKind kind, int32_t number)
{
    for (const BuiltInBlock& block : Blocks()) {
        if (block.kind == kind && block.number == number)
            return FileOf(block);
    }
    return {nullptr, 0};
}

}  // namespace

const uint8_t* LevelMapStart()
{
    return FindBlock(LevelBlock, LevelMapBlock).address;
}

const uint8_t* BossTableStart()
{
    return FindBlock(LevelBlock, BossTableBlock).address;
}

const uint8_t* WaveStreamStart()
{
    return FindBlock(LevelBlock, WaveStreamBlock).address;
}

void StartReading(const uint8_t* position)
{
    DataCursor = position;
}

int32_t ReadDataInteger()
{
    const int32_t value = IntegerAt(DataCursor);
    DataCursor += 4;
    return value;
}

int32_t IntegerAt(const uint8_t* position)
{
    const uint32_t value =
        uint32_t(position[0]) | uint32_t(position[1]) << 8 | uint32_t(position[2]) << 16 | uint32_t(position[3]) << 24;
    return static_cast<int32_t>(value);
}

BuiltInFile SpritePicture(int32_t sprite)
{
    return FindBlock(PictureBlock, sprite);
}

BuiltInFile SoundWave(int32_t sound)
{
    return FindBlock(SoundBlock, sound);
}

BuiltInFile GlyphMeasures(int32_t sheet)
{
    return FindBlock(GlyphBlock, sheet);
}

void LoadBuiltInPictures()
{
    for (const BuiltInBlock& block : Blocks()) {
        if (block.kind == PictureBlock) {
            const BuiltInFile file = FileOf(block);
            QV_CatchSprite(block.number, file.address, static_cast<size_t>(file.size));
        }
    }
}

std::vector<BuiltInSound> BuiltInSounds()
{
    std::vector<BuiltInSound> sounds;
    for (const BuiltInBlock& block : Blocks()) {
        if (block.kind == SoundBlock)
            sounds.push_back({block.number, FileOf(block)});
    }
    return sounds;
}
