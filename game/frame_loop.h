// Frame loop and game flow: the one pass that advances and draws everything
// in a fixed order, and the states it moves through: the attract (title and
// credits) pages, play, game over and the completed level.
#pragma once

#include <cstdint>

// ---- State ---------------------------------------------------------------

extern int32_t QuitFlag;           // 0 keep looping; 2 leave the loop (1: the options window's)
extern int32_t TitleMode;          // 1 while no plane is in play, 0 during play
extern int32_t TitlePage;          // while TitleMode is 1: 0 title, 1 credits, 2 game over
extern int32_t AttractRow;         // the attract pages change once MapRow > AttractRow + 5
extern int32_t TitleMusicPending;  // 1: start the title music in the next title frame
extern int32_t FrameParity;        // reaches 2 on every second frame: a scroll tick
extern int32_t FrameDamage;        // ramming damage taken in this frame
extern int32_t DamageGauge;        // damage as the x of its panel marker, 490 to 625

constexpr int32_t DamageGaugeStart = 490;
constexpr int32_t DamageGaugeEnd = 625;  // passing it destroys the plane

// ---- Operations ----------------------------------------------------------

// Reloads the bosses, parks the plane, puts the game onto the attract
// pages from map row 5 and reads the first enemy wave.
void NewGame();

// One pass of the frame loop, ending with the frame presented.
void RunFrame();

// Runs frames until QuitFlag is set (Escape released or the window closed).
void RunFrameLoop();
