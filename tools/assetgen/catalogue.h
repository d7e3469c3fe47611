// Every picture and sound the game loads: number, format and file name.
#pragma once

#include <array>
#include <string>

struct PictureEntry {
    int sprite;
    int width, height;
    const char* name;
    bool keyed;  // drawn with the colour key, so black is transparent
};

// In the order they are stored in, which start-up loads them in.
extern const std::array<PictureEntry, 74> Pictures;

// The glyph sheets among them, each stored with its measures.
extern const std::array<int, 2> GlyphSheets;

struct SoundEntry {
    int number;
    int rate, channels, bits;
    int dataBytes;
    const char* name;
};

extern const std::array<SoundEntry, 10> Sounds;

std::string pictureFileName(const PictureEntry& entry);  // "pictures/05_player_1.bmp"
std::string soundFileName(const SoundEntry& entry);      // "sounds/1_gun.wav"
std::string glyphMeasuresFileName(int sprite);           // "lettering/77_glyphs.bin"
