#include "art.h"
#include "terrain.h"

#include <stdexcept>
#include <string>

Picture drawPicture(int sprite)
{
    switch (sprite) {
    case 0: return drawTileStrip();
    case 1:
    case 2:
    case 3:
    case 4: return drawFrameStrip(sprite);
    case 5:
    case 6:
    case 7:
    case 8: return drawPlayer(sprite - 5);
    case 9:
    case 10:
    case 11:
    case 12: return drawPlayerShadow(sprite - 9);
    case 13: return drawPlayerBullet();
    case 14:
    case 17:
    case 20:
    case 23:
    case 26: return drawEnemyShadow(sprite);
    case 15:
    case 18:
    case 21:
    case 24:
    case 27: return drawEnemyPlane(sprite - 1, 0);
    case 16:
    case 19:
    case 22:
    case 25:
    case 28: return drawEnemyPlane(sprite - 2, 1);
    case 29:
    case 30:
    case 31: return drawShip(sprite);
    case 32:
    case 33:
    case 34:
    case 35:
    case 36: return drawGroundUnit(sprite);
    case 37: return drawEnemyShot(false);
    case 38: return drawEnemyShot(true);
    case 40:
    case 41:
    case 42:
    case 43:
    case 44:
    case 45:
    case 46:
    case 47: return drawExplosion(47 - sprite);
    case 49: return drawGetReady();
    case 50: return drawGameOver();
    case 51: return drawPanel();
    case 52: return drawGaugeMarker();
    case 53: return drawCredits();
    case 54: return drawTitle();
    case 55:
    case 56:
    case 57: return drawBomber(sprite - 55);
    case 60:
    case 61:
    case 62:
    case 63:
    case 64:
    case 65:
    case 66:
    case 67:
    case 68:
    case 69: return drawDigit(sprite - 60);
    case 70:
    case 71:
    case 72: return drawBattleship(sprite - 70);
    case 75: return drawLevelComplete();
    case 76: return drawPromptPlate();
    case 77:
    case 78: return drawGlyphSheet(sprite);
    case 79: return drawCreditsControls();
    }
    throw std::invalid_argument("no picture for sprite " + std::to_string(sprite));
}
