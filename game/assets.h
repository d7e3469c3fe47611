// The pictures, sounds and level tables built into the executable: the
// number of every picture and sound the game shows or plays, named here and
// nowhere else; where each block lies, found through the data image's table;
// the read position that walks the level tables; and the loading step of
// start-up that hands every picture and sound to the runtime.
#pragma once

#include <cstdint>
#include <vector>

// ---- Picture numbers -----------------------------------------------------

constexpr int32_t TileStripSprite = 0;  // the 63 map tiles side by side
constexpr int32_t TopStripSprite = 1;   // the frame strips around the playfield
constexpr int32_t BottomStripSprite = 2;
constexpr int32_t LeftStripSprite = 3;
constexpr int32_t RightStripSprite = 4;
constexpr int32_t PlaneSprite = 5;        // the plane's frames 1 to 4 are 5 to 8
constexpr int32_t PlaneShadowSprite = 9;  // and their shadows 9 to 12
constexpr int32_t BulletSprite = 13;

// An enemy's type is the number of its first picture: a flying enemy's
// shadow, whose two animation frames follow it, or a ground enemy's only one.
constexpr int32_t RaiderType = 14;
constexpr int32_t DiverType = 17;
constexpr int32_t StrikerType = 23;
constexpr int32_t InterceptorType = 26;  // the last of the flying types
constexpr int32_t GunboatWestType = 29;
constexpr int32_t GunboatEastType = 31;
constexpr int32_t TankWestType = 32;  // the first of the small ground types

constexpr int32_t EnemyShotSprite = 37;  // shot kind k shows 37 + k: 0 red, 1 yellow
constexpr int32_t ExplosionSprite = 39;  // an explosion with n frames left shows 39 + n
constexpr int32_t GetReadyBanner = 49;
constexpr int32_t GameOverBanner = 50;
constexpr int32_t PanelSprite = 51;
constexpr int32_t MarkerSprite = 52;  // the progress and damage markers
constexpr int32_t CreditsPicture = 53;
constexpr int32_t TitlePicture = 54;
constexpr int32_t DigitSprite = 60;  // digit d is 60 + d
constexpr int32_t LevelCompletePicture = 75;
// What the game composes its own lettering from (lettering.h): the start
// prompt's plate without text, the glyph sheets of the prompt and of the
// credits page's key names, and the credits page's controls without their
// key names.
constexpr int32_t PromptPlate = 76;
constexpr int32_t PromptGlyphs = 77;
constexpr int32_t CreditsKeyGlyphs = 78;
constexpr int32_t CreditsControls = 79;
// The bosses' pictures are numbered in the boss table.

// ---- Sound numbers -------------------------------------------------------

constexpr int32_t BuiltInSoundCount = 10;  // sounds 0 to 9

constexpr int32_t EnemyHitSound = 0;  // a bullet hits an enemy, or an enemy rams the plane
constexpr int32_t GunSound = 1;
constexpr int32_t ExplosionSound = 2;
constexpr int32_t EnemyFireSound = 3;  // an enemy or a boss fires
constexpr int32_t PlayerDestroyedSound = 4;
constexpr int32_t BossDestroyedSound = 5;
constexpr int32_t PlayingMusic = 6;  // while the plane is in play
constexpr int32_t BossMusicLow = 7;  // the two layers of the boss music
constexpr int32_t TitleMusic = 8;
constexpr int32_t BossMusicHigh = 9;

// The music; every other sound is an effect.
constexpr bool IsMusic(int32_t sound)
{
    return sound == PlayingMusic || sound == BossMusicLow || sound == TitleMusic || sound == BossMusicHigh;
}

// ---- Level data ----------------------------------------------------------

// Sizes of the three level blocks, which lie back to back in this order.
constexpr int32_t LevelMapBytes = 20852;    // 401 rows x 13 tiles, row 400 first
constexpr int32_t BossTableBytes = 108;     // 3 records of 9 integers
constexpr int32_t WaveStreamBytes = 12400;  // three waves of 10-integer records

// Byte offsets, within the wave stream, of the waves read after bosses 1 and 2.
constexpr int32_t Wave2Offset = 3120;
constexpr int32_t Wave3Offset = 6800;

const uint8_t* LevelMapStart();
const uint8_t* BossTableStart();
const uint8_t* WaveStreamStart();

// The read position in the level data, moved by the two calls below alone.
extern const uint8_t* DataCursor;

// Puts DataCursor at `position` (a block's start, plus a wave offset).
void StartReading(const uint8_t* position);

// Returns the signed 32-bit little-endian integer at DataCursor and moves
// DataCursor 4 bytes on.
int32_t ReadDataInteger();

// The signed 32-bit little-endian integer at `position`, as the built-in
// data stores them.
int32_t IntegerAt(const uint8_t* position);

// ---- Pictures and sounds -------------------------------------------------

// A file image inside the executable: a BMP picture or a RIFF WAVE sound.
struct BuiltInFile {
    const uint8_t* address;
    int32_t size;
};

// The picture the data image holds for a sprite number; {nullptr, 0} for a
// number it holds none for.
BuiltInFile SpritePicture(int32_t sprite);

// The WAVE image of a sound number; {nullptr, 0} for a number without one.
BuiltInFile SoundWave(int32_t sound);

// The measures of the glyph sheet in sprite `sheet` (data_image.h);
// {nullptr, 0} for a sprite that is no glyph sheet.
BuiltInFile GlyphMeasures(int32_t sheet);

// ---- Start-up ------------------------------------------------------------

// Loads every picture of the data image into its sprite number, in storage
// order; the screen must be open.
void LoadBuiltInPictures();

// A sound of the data image and its number.
struct BuiltInSound {
    int32_t number;
    BuiltInFile file;
};

// Every sound of the data image, in storage order.
std::vector<BuiltInSound> BuiltInSounds();
