// Frame loop and game flow: the one pass that advances and draws everything
// in a fixed order, and the phases the game moves through: the attract
// (title and credits) pages, play, game over and the completed level. Every
// change of phase happens here.
#pragma once

#include "runtime/input/keyboard.h"

#include <cstdint>

// Where the game is.
enum class GamePhase : int32_t {
    Title,               // attract page: the title picture
    Credits,             // attract page: the credits picture
    GameOver,            // the game-over banner, until the attract pages resume
    GameOverAtLevelEnd,  // a game lost at the level's end: the banner and the
                         // level-complete picture, until 's' starts play
    Play,                // the plane in play, under the get-ready banner for its first rows
    LevelComplete,       // the level-complete picture, the plane still in play
};

struct FlowState {
    GamePhase Phase = GamePhase::Title;
    // The attract page that was showing when play began: a new game after a
    // completed level shows it again.
    GamePhase StartPage = GamePhase::Title;
    int32_t QuitFlag = 0;           // 0 keep looping; 2 leave the loop
    int32_t AttractRow = 0;         // the attract pages change once MapRow > AttractRow + 5
    int32_t TitleMusicPending = 0;  // 1: start the title music in the next frame of an attract page
    bool WatchLast = false;         // the loop ended on R, to watch the last run
    // What the pages that ask for the start key have seen of it.
    QV_KeyRelease StartRelease;
};

// Written by this module alone; the rest of the game reads it.
extern FlowState Flow;

// True while the plane is in play (play and the completed level).
bool PlaneInPlay();

// True while the level-complete picture shows: the scroll stopped at the
// level's end, with the plane in play or lost there.
bool AtLevelEnd();

// Reloads the bosses, parks the plane, puts the game onto the attract page
// that play last began from (the title page at first), from map row 5, and
// reads the first enemy wave.
void NewGame();

// One pass of the frame loop, ending with the frame presented.
void RunFrame();

// Runs frames until QuitFlag is set (Escape released or the window closed).
void RunFrameLoop();
