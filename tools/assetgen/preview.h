// Pictures to look at while working on the art: every picture on one
// sheet, the whole map, and a frame of play composed as the game draws it.
#pragma once

#include "level.h"
#include "picture.h"

#include <map>
#include <string>

// Every picture, on three pages in `dir`: contact_sprites.png (the small
// ones, enlarged), contact_screens.png and contact_tiles.png.
void writeContactSheets(const std::map<int, Picture>& pictures, const std::string& dir);
void writeMapOverview(const std::map<int, Picture>& pictures, const LevelMap& map, const std::string& path);
void writeScene(const std::map<int, Picture>& pictures, const LevelMap& map, const std::string& path);
