// The data image built into the executable: every file of assets/ back to
// back in storage order (level map, boss table, wave stream, the 70
// pictures, sounds 0 to 9), and a table that says where each file lies and
// what it is: a level block, or the picture or sound of a number.
#pragma once

#include <cstdint>

// What a block holds, and what its number then means.
enum BuiltInBlockKind : uint32_t {
    LevelBlock = 0,    // number: 0 level map, 1 boss table, 2 wave stream
    PictureBlock = 1,  // number: the sprite it is loaded into
    SoundBlock = 2,    // number: the sound it is loaded into
};

// The level blocks' numbers.
constexpr int32_t LevelMapBlock = 0;
constexpr int32_t BossTableBlock = 1;
constexpr int32_t WaveStreamBlock = 2;

struct BuiltInBlock {
    uint32_t offset;  // from the start of BuiltInData
    uint32_t size;
    uint32_t kind;  // a BuiltInBlockKind
    int32_t number;
};

extern "C" {
extern const uint8_t BuiltInData[];
extern const BuiltInBlock BuiltInBlocks[];
extern const uint32_t BuiltInBlockCount;
}
