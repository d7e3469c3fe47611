// The painters of every picture, by role. Each returns a picture of exactly
// its catalogue size; keyed pictures have a black background.
#pragma once

#include "picture.h"

#include <cstdint>
#include <vector>

// The picture for a sprite number of the catalogue.
Picture drawPicture(int sprite);

// Aircraft (aircraft.cpp). Frames count from 0.
Picture drawPlayer(int frame);
Picture drawPlayerShadow(int frame);
Picture drawEnemyPlane(int type, int frame);  // type = the shadow's sprite number
Picture drawEnemyShadow(int type);
Picture drawBomber(int state);  // 0 intact, 1 damaged, 2 wreck
// The player's fighter as vectors, nose up around the origin of the current
// transformation, 54 units from wing tip to wing tip, and its outline as a
// path: for art at other sizes than the sprites'.
void paintPlayerPlane(cairo_t* cr);
void playerOutlinePath(cairo_t* cr);

// Ships and ground units (vehicles.cpp).
Picture drawShip(int sprite);
Picture drawGroundUnit(int sprite);
Picture drawBattleship(int state);  // 0 intact, 1 damaged, 2 wreck

// Shots and explosions (effects.cpp).
Picture drawPlayerBullet();
Picture drawEnemyShot(bool yellow);
Picture drawExplosion(int stage);  // 0 the first picture shown, 7 the last

// Frame, panel and the screens with lettering (screens.cpp).
Picture drawFrameStrip(int sprite);
Picture drawPanel();
Picture drawGaugeMarker();
Picture drawDigit(int digit);
Picture drawGetReady();
Picture drawGameOver();
Picture drawTitle();
Picture drawCredits();
Picture drawLevelComplete();

// What the game composes its own lettering from (screens.cpp): the start
// prompt's plate without its text, the glyph sheets of the prompt (sprite
// 77, an outline row under a fill row) and of the credits page's key names
// (78), each with its measures, and the credits page's controls without the
// key names, with a line for pausing.
Picture drawPromptPlate();
Picture drawGlyphSheet(int sprite);
std::vector<uint8_t> encodeGlyphMeasures(int sprite);
Picture drawCreditsControls();
