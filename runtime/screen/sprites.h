// The sprite store: numbered pictures in the screen's pixel format, each with
// a clip rectangle, drawn opaque or colour-keyed onto the display target,
// tested for collision by their rectangles, and freed.
//
// Sprite numbers are small non-negative integers chosen by the caller. Loading
// grows the table to take the number, as far as memory allows; every other
// operation ignores a number outside the table.
#pragma once

#include <SDL.h>

#include <cstddef>
#include <cstdint>

struct QV_SpriteRecord {
    SDL_Surface* surface;     // the sprite's pixels, colour-keyed; 0 = empty slot
    int16_t displayedWidth;   // the clip rectangle's size, which display,
    int16_t displayedHeight;  //   collision and the size queries use
    int16_t fullWidth;        // the whole surface
    int16_t fullHeight;
    int16_t clipX;  // the clip rectangle's origin in the surface
    int16_t clipY;
    uint32_t colorKey;  // the transparent pixel value
    // The same pixels without a colour key, for opaque display: toggling the
    // key around each blit would make SDL rebuild the surface's blit mapping.
    SDL_Surface* opaqueView;
};

// The table, QV_Sprite_ObjectsNumber records indexed by sprite number.
extern QV_SpriteRecord* QV_Sprite_ObjectsArea;
extern int32_t QV_Sprite_ObjectsNumber;
// The transparent pixel value given to sprites as they load: 0, black.
extern uint32_t QV_Sprite_ColorKey;

// Starts SDL video if needed and creates a table of 50 empty records.
// Returns the table, or 0 when SDL video cannot be started.
QV_SpriteRecord* QV_InitSprite();

// Grows the table to sprite + 50 records when `sprite` lies beyond it.
// Returns 1 when the number is valid afterwards, 0 (old table kept) when it
// is negative or the table cannot grow.
int32_t QV_Sprite_CheckReAlloc(int32_t sprite);

// Returns the record of `sprite`, or 0 for a number outside the table.
QV_SpriteRecord* QV_SpriteRecordOf(int32_t sprite);

// Loads the picture of `size` bytes at `memory` (a BMP picture or one a
// registered decoder accepts) into slot `sprite`, replacing what was there.
// Needs an open screen, whose pixel format the sprite takes. Returns the
// sprite's surface, or 0 with the slot left empty (left as it was when no
// screen is open). QV_CatchSprite2's mode is not used.
SDL_Surface* QV_CatchSprite(int32_t sprite, const void* memory, size_t size);
SDL_Surface* QV_CatchSprite2(int32_t sprite, const void* memory, size_t size, int32_t mode);

// Copies the width x height area of the screen at x, y (the part of it on
// the screen; the rest stays black) into sprite `sprite`, as a picture in the
// screen's format that outlives the screen itself, so a frame can be shown
// again on a screen opened anew. Returns the sprite's surface, or 0 with the
// slot empty when there is no screen, the size is not positive or memory runs
// out.
SDL_Surface* QV_GrabSprite(int32_t sprite, int32_t x, int32_t y, int32_t width, int32_t height);

// Shows only the part (x, y, width, height) of the sprite, trimmed to its
// right and bottom edges; x = -1 shows the whole sprite again.
void QV_ClipSprite(int32_t sprite, int32_t x, int32_t y, int32_t width, int32_t height);

// Draws the sprite's clip rectangle with its top-left corner at (x, y) of the
// display target; QV_DisplayTransparentSprite leaves out pixels equal to the
// colour key. Whatever falls outside the target is not drawn.
void QV_DisplaySprite(int32_t sprite, int32_t x, int32_t y);
void QV_DisplayTransparentSprite(int32_t sprite, int32_t x, int32_t y);

// 1 when the two sprites' clip rectangles at the given positions meet, edges
// touching included, else 0. Pixels are not examined; the two are the same.
int32_t QV_SpriteCollision(int32_t sprite1, int32_t x1, int32_t y1, int32_t sprite2, int32_t x2, int32_t y2);
int32_t QV_SpritePixelCollision(int32_t sprite1, int32_t x1, int32_t y1, int32_t sprite2, int32_t x2, int32_t y2);

// The size of the sprite's clip rectangle (kept after the sprite is freed).
int32_t QV_SpriteWidth(int32_t sprite);
int32_t QV_SpriteHeight(int32_t sprite);

// Makes sprite `sprite`, or the screen for -1, the display target; an empty
// or unknown sprite changes nothing. Returns the display target.
SDL_Surface* QV_UseBuffer(int32_t sprite);

// Frees the sprite's pixels; its sizes stay in the record.
void QV_FreeSprite(int32_t sprite);

// Frees every sprite and the table, and shuts SDL down as a whole (screen,
// audio and joystick with it) when the runtime started it.
void QV_FreeSprites();
