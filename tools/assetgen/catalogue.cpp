#include "catalogue.h"

#include <cstdio>

const std::array<PictureEntry, 74> Pictures = {{
    {51, 160, 480, "panel", false},
    {1, 480, 32, "frame_top", false},
    {2, 480, 32, "frame_bottom", false},
    {3, 32, 416, "frame_left", false},
    {4, 32, 416, "frame_right", false},
    {0, 2016, 32, "tiles", false},
    {20, 32, 32, "fighter_shadow", true},
    {14, 32, 32, "raider_shadow", true},
    {17, 32, 32, "diver_shadow", true},
    {23, 32, 32, "striker_shadow", true},
    {26, 32, 32, "interceptor_shadow", true},
    {9, 32, 32, "player_shadow_1", true},
    {10, 32, 32, "player_shadow_2", true},
    {11, 32, 32, "player_shadow_3", true},
    {12, 32, 32, "player_shadow_4", true},
    {5, 60, 60, "player_1", true},
    {6, 60, 60, "player_2", true},
    {7, 60, 60, "player_3", true},
    {8, 60, 60, "player_4", true},
    {13, 6, 6, "player_bullet", true},
    {37, 6, 6, "shot_red", true},
    {38, 6, 6, "shot_yellow", true},
    {15, 64, 64, "raider_1", true},
    {16, 64, 64, "raider_2", true},
    {18, 64, 64, "diver_1", true},
    {19, 64, 64, "diver_2", true},
    {21, 64, 64, "fighter_1", true},
    {22, 64, 64, "fighter_2", true},
    {24, 64, 64, "striker_1", true},
    {25, 64, 64, "striker_2", true},
    {27, 64, 64, "interceptor_1", true},
    {28, 64, 64, "interceptor_2", true},
    {29, 64, 64, "gunboat_west", true},
    {30, 64, 64, "corvette_south", true},
    {31, 64, 64, "gunboat_east", true},
    {32, 32, 32, "tank_west", true},
    {33, 32, 32, "tank_southwest", true},
    {34, 32, 32, "tank_south", true},
    {35, 32, 32, "scout_car_southeast", true},
    {36, 32, 32, "flak_emplacement", true},
    {40, 64, 64, "explosion_8", true},
    {41, 64, 64, "explosion_7", true},
    {42, 64, 64, "explosion_6", true},
    {43, 64, 64, "explosion_5", true},
    {44, 64, 64, "explosion_4", true},
    {45, 64, 64, "explosion_3", true},
    {46, 64, 64, "explosion_2", true},
    {47, 64, 64, "explosion_1", true},
    {52, 4, 25, "gauge_marker", false},
    {60, 16, 16, "digit_0", false},
    {61, 16, 16, "digit_1", false},
    {62, 16, 16, "digit_2", false},
    {63, 16, 16, "digit_3", false},
    {64, 16, 16, "digit_4", false},
    {65, 16, 16, "digit_5", false},
    {66, 16, 16, "digit_6", false},
    {67, 16, 16, "digit_7", false},
    {68, 16, 16, "digit_8", false},
    {69, 16, 16, "digit_9", false},
    {49, 201, 40, "get_ready", true},
    {50, 201, 40, "game_over", true},
    {53, 346, 357, "credits", true},
    {54, 340, 194, "title", true},
    {55, 90, 98, "bomber", true},
    {56, 90, 98, "bomber_damaged", true},
    {57, 90, 98, "bomber_wreck", true},
    {70, 247, 61, "battleship", true},
    {71, 247, 61, "battleship_damaged", true},
    {72, 247, 61, "battleship_wreck", true},
    {75, 340, 194, "level_complete", true},
    {76, 420, 44, "prompt_plate", true},
    {77, 1820, 80, "prompt_glyphs", true},
    {78, 650, 16, "credits_key_glyphs", true},
    {79, 326, 107, "credits_controls", false},
}};

const std::array<int, 2> GlyphSheets = {77, 78};

const std::array<SoundEntry, 10> Sounds = {{
    {0, 11025, 1, 8, 6334, "hit"},
    {1, 11025, 1, 8, 5217, "gun"},
    {2, 11025, 1, 16, 11736, "explosion"},
    {3, 22050, 1, 8, 9798, "enemy_shot"},
    {4, 11025, 2, 16, 53720, "player_destroyed"},
    {5, 11025, 2, 16, 98836, "boss_destroyed"},
    {6, 11025, 1, 16, 115820, "play_music"},
    {7, 11025, 2, 16, 70432, "boss_music_rhythm"},
    {8, 8000, 1, 16, 180606, "title_music"},
    {9, 22050, 2, 16, 195588, "boss_music_lead"},
}};

std::string pictureFileName(const PictureEntry& entry)
{
    char name[96];
    std::snprintf(name, sizeof name, "pictures/%02d_%s.bmp", entry.sprite, entry.name);
    return name;
}

std::string soundFileName(const SoundEntry& entry)
{
    return "sounds/" + std::to_string(entry.number) + "_" + entry.name + ".wav";
}

std::string glyphMeasuresFileName(int sprite)
{
    return "lettering/" + std::to_string(sprite) + "_glyphs.bin";
}
