// The data image built into the executable: every file of assets/ back to
// back in storage order (level map, boss table, wave stream, the 74
// pictures, sounds 0 to 9, the measures of the glyph sheets), and a table
// that says where each file lies and what it is: a level block, the picture
// or sound of a number, or the measures of a glyph sheet.
#pragma once

#include <cstdint>

// What a block holds, and what its number then means.
enum BuiltInBlockKind : uint32_t {
    LevelBlock = 0,    // number: 0 level map, 1 boss table, 2 wave stream
    PictureBlock = 1,  // number: the sprite it is loaded into
    SoundBlock = 2,    // number: the sound it is loaded into
    GlyphBlock = 3,    // number: the sprite of the glyph sheet it measures
};

// A glyph block: these signed 32-bit little-endian integers, then one
// advance a glyph, in 64ths of a pixel. The sheet holds `rows` rows of
// `glyphCount` cells, `cellWidth` x `rowHeight` each; the glyph of character
// `firstCharacter` + i lies in cell i of every row, its origin `originX`
// pixels into the cell, on the baseline `baselineY` pixels down. A text is
// drawn row by row: the first row's glyphs (an outline, say) under the next.
struct GlyphSheetHeader {
    int32_t firstCharacter;
    int32_t glyphCount;
    int32_t cellWidth;
    int32_t rowHeight;
    int32_t rows;
    int32_t originX;
    int32_t baselineY;
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
