#include "runtime/screen/sprites.h"

#include "runtime/core/strings.h"
#include "runtime/screen/image_decoders.h"
#include "runtime/screen/kept_pictures.h"
#include "runtime/screen/pixel_rows.h"
#include "runtime/screen/screen.h"
#include "runtime/sdl/sdl_lifetime.h"

#include <algorithm>
#include <climits>

QV_SpriteRecord* QV_Sprite_ObjectsArea = nullptr;
int32_t QV_Sprite_ObjectsNumber = 0;
uint32_t QV_Sprite_ColorKey = 0;

namespace {

constexpr int32_t TableGrowth = 50;

// The table's byte size goes through the runtime's 32-bit allocation sizes.
bool TableSizeFits(int64_t records)
{
    return records * static_cast<int64_t>(sizeof(QV_SpriteRecord)) <= INT32_MAX;
}

// Decodes a picture into a 24-bit surface, red in each pixel's first byte.
// The BMP reader is asked first, then the registered decoders.
SDL_Surface* DecodePicture(const void* memory, size_t size)
{
    const bool isBmp = QV_BMP_Check(nullptr, memory, size) != 0;
    if (!isBmp && QV_ImageDecoder_Check(nullptr, memory, size) == 0)
        return nullptr;
    const int32_t width = isBmp ? QV_BMP_GetWidth() : QV_ImageDecoder_GetWidth();
    const int32_t height = isBmp ? QV_BMP_GetHeight() : QV_ImageDecoder_GetHeight();
    // The record keeps sizes in 16 bits.
    if (width <= 0 || height <= 0 || width > INT16_MAX || height > INT16_MAX)
        return nullptr;

    SDL_Surface* surface =
        SDL_CreateRGBSurface(SDL_SWSURFACE, width, height, 24, 0x000000FF, 0x0000FF00, 0x00FF0000, 0);
    if (surface == nullptr)
        return nullptr;
    // A fresh software surface has rows of 3 x width bytes rounded up to
    // whole words, the layout the decoders write; they fill it in place.
    if (isBmp)
        QV_BMP_Decode(surface->pixels, surface->pitch);
    else
        QV_ImageDecoder_Decode(surface->pixels, surface->pitch, 0);
    return surface;
}

// Converts to the screen's pixel format once, so that every blit of the
// sprite is a same-format blit. A software surface keeps its pixels
// addressable for the opaque view; if conversion fails the 24-bit surface
// serves, converted by SDL at each blit.
SDL_Surface* ConvertToScreenFormat(SDL_Surface* surface)
{
    SDL_Surface* converted = tervane::screen::ConvertRgb24(surface, QV_Screen_Current->format);
    if (converted == nullptr)
        return surface;
    SDL_FreeSurface(surface);
    return converted;
}

// A second surface over the same pixels with no colour key.
SDL_Surface* MakeOpaqueView(SDL_Surface* surface)
{
    const SDL_PixelFormat* format = surface->format;
    SDL_Surface* view =
        SDL_CreateRGBSurfaceFrom(surface->pixels, surface->w, surface->h, format->BitsPerPixel, surface->pitch,
                                 format->Rmask, format->Gmask, format->Bmask, format->Amask);
    if (view != nullptr && format->palette != nullptr)
        SDL_SetPalette(view, SDL_LOGPAL, format->palette->colors, 0, format->palette->ncolors);
    return view;
}

void ReleaseSurfaces(QV_SpriteRecord& record)
{
    if (record.surface == nullptr)
        return;
    tervane::screen::ForgetKeptPictures();
    if (QV_Sprite_CurrentBitmap == record.surface)
        QV_Sprite_CurrentBitmap = nullptr;
    SDL_FreeSurface(record.opaqueView);
    SDL_FreeSurface(record.surface);
    record.surface = nullptr;
    record.opaqueView = nullptr;
}

void ReleaseTable()
{
    for (int32_t i = 0; i < QV_Sprite_ObjectsNumber; ++i)
        ReleaseSurfaces(QV_Sprite_ObjectsArea[i]);
    SYS_FreeMemoryWithSize(QV_Sprite_ObjectsArea);
    QV_Sprite_ObjectsArea = nullptr;
    QV_Sprite_ObjectsNumber = 0;
}

// The part of the clip rectangle drawn at (x, y) that lies on the display
// target: where it comes from in the sprite and where it goes. False when
// nothing of it is on the target.
bool ClipToTarget(const QV_SpriteRecord& record, int32_t x, int32_t y, SDL_Rect& from, SDL_Rect& to)
{
    int32_t width = record.displayedWidth;
    int32_t height = record.displayedHeight;
    if (x >= QV_Screen_Width || y >= QV_Screen_Height || x <= -width || y <= -height)
        return false;
    width = std::min(width, QV_Screen_Width - x);
    height = std::min(height, QV_Screen_Height - y);

    int32_t left = record.clipX;
    int32_t top = record.clipY;
    if (x < 0) {
        left -= x;
        width += x;
        x = 0;
    }
    if (y < 0) {
        top -= y;
        height += y;
        y = 0;
    }
    from = {static_cast<Sint16>(left), static_cast<Sint16>(top), static_cast<Uint16>(width),
            static_cast<Uint16>(height)};
    to = {static_cast<Sint16>(x), static_cast<Sint16>(y), 0, 0};
    return true;
}

const QV_SpriteRecord* DrawableSprite(int32_t sprite)
{
    const QV_SpriteRecord* record = QV_SpriteRecordOf(sprite);
    if (QV_Sprite_CurrentBitmap == nullptr || record == nullptr || record->surface == nullptr)
        return nullptr;
    return record;
}

}  // namespace

QV_SpriteRecord* QV_InitSprite()
{
    ReleaseTable();
    QV_Sprite_ColorKey = 0;
    if (QV_StartSDLVideo() == 0)
        return nullptr;
    QV_Sprite_ObjectsArea =
        static_cast<QV_SpriteRecord*>(SYS_AllocateMemoryWithSize(TableGrowth * sizeof(QV_SpriteRecord)));
    if (QV_Sprite_ObjectsArea != nullptr)
        QV_Sprite_ObjectsNumber = TableGrowth;
    return QV_Sprite_ObjectsArea;
}

int32_t QV_Sprite_CheckReAlloc(int32_t sprite)
{
    if (sprite < 0)
        return 0;
    if (sprite < QV_Sprite_ObjectsNumber)
        return 1;
    const int64_t records = int64_t{sprite} + TableGrowth;
    if (!TableSizeFits(records))
        return 0;
    void* grown =
        SYS_ReAllocateMemoryWithSize(QV_Sprite_ObjectsArea, static_cast<int32_t>(records * sizeof(QV_SpriteRecord)));
    if (grown == nullptr)
        return 0;
    QV_Sprite_ObjectsArea = static_cast<QV_SpriteRecord*>(grown);
    QV_Sprite_ObjectsNumber = static_cast<int32_t>(records);
    return 1;
}

QV_SpriteRecord* QV_SpriteRecordOf(int32_t sprite)
{
    if (sprite < 0 || sprite >= QV_Sprite_ObjectsNumber)
        return nullptr;
    return &QV_Sprite_ObjectsArea[sprite];
}

SDL_Surface* QV_CatchSprite(int32_t sprite, const void* memory, size_t size)
{
    return QV_CatchSprite2(sprite, memory, size, 0);
}

namespace {

// Gives `record` the pixels of `surface`, which it takes over, keyed and with
// an opaque view; 0 (surface freed, record empty) when no view can be made.
SDL_Surface* AdoptSurface(QV_SpriteRecord& record, SDL_Surface* surface)
{
    SDL_SetColorKey(surface, SDL_SRCCOLORKEY, QV_Sprite_ColorKey);
    SDL_Surface* opaqueView = MakeOpaqueView(surface);
    if (opaqueView == nullptr) {
        SDL_FreeSurface(surface);
        return nullptr;
    }

    record.surface = surface;
    record.opaqueView = opaqueView;
    record.displayedWidth = record.fullWidth = static_cast<int16_t>(surface->w);
    record.displayedHeight = record.fullHeight = static_cast<int16_t>(surface->h);
    record.clipX = record.clipY = 0;
    record.colorKey = QV_Sprite_ColorKey;
    return surface;
}

}  // namespace

SDL_Surface* QV_CatchSprite2(int32_t sprite, const void* memory, size_t size, int32_t)
{
    // The sprite takes the screen's pixel format, so it needs a screen.
    if (QV_Screen_Current == nullptr || QV_Sprite_CheckReAlloc(sprite) == 0)
        return nullptr;
    QV_SpriteRecord& record = QV_Sprite_ObjectsArea[sprite];
    ReleaseSurfaces(record);

    SDL_Surface* decoded = DecodePicture(memory, size);
    if (decoded == nullptr)
        return nullptr;
    return AdoptSurface(record, ConvertToScreenFormat(decoded));
}

SDL_Surface* QV_GrabSprite(int32_t sprite, int32_t x, int32_t y, int32_t width, int32_t height)
{
    if (QV_Screen_Current == nullptr || width <= 0 || height <= 0 || width > INT16_MAX || height > INT16_MAX ||
        QV_Sprite_CheckReAlloc(sprite) == 0)
        return nullptr;
    QV_SpriteRecord& record = QV_Sprite_ObjectsArea[sprite];
    ReleaseSurfaces(record);

    const SDL_PixelFormat* format = QV_Screen_Current->format;
    SDL_Surface* surface = SDL_CreateRGBSurface(SDL_SWSURFACE, width, height, format->BitsPerPixel, format->Rmask,
                                                format->Gmask, format->Bmask, format->Amask);
    if (surface == nullptr)
        return nullptr;
    if (format->palette != nullptr)
        SDL_SetColors(surface, format->palette->colors, 0, format->palette->ncolors);
    SDL_Rect from{static_cast<Sint16>(x), static_cast<Sint16>(y), static_cast<Uint16>(width),
                  static_cast<Uint16>(height)};
    SDL_Rect to{0, 0, 0, 0};
    tervane::screen::DrawOpaque(QV_Screen_Current, from, surface, to);
    return AdoptSurface(record, surface);
}

void QV_ClipSprite(int32_t sprite, int32_t x, int32_t y, int32_t width, int32_t height)
{
    QV_SpriteRecord* record = QV_SpriteRecordOf(sprite);
    if (record == nullptr || record->surface == nullptr)
        return;
    if (x == -1) {
        record->clipX = record->clipY = 0;
        record->displayedWidth = record->fullWidth;
        record->displayedHeight = record->fullHeight;
        return;
    }
    // Only the right and bottom edges are trimmed to the sprite.
    record->clipX = static_cast<int16_t>(x);
    record->clipY = static_cast<int16_t>(y);
    record->displayedWidth = static_cast<int16_t>(std::min<int64_t>(width, int64_t{record->fullWidth} - x));
    record->displayedHeight = static_cast<int16_t>(std::min<int64_t>(height, int64_t{record->fullHeight} - y));
}

void QV_DisplaySprite(int32_t sprite, int32_t x, int32_t y)
{
    const QV_SpriteRecord* record = DrawableSprite(sprite);
    SDL_Rect from, to;
    if (record != nullptr && ClipToTarget(*record, x, y, from, to))
        tervane::screen::DrawOpaque(record->opaqueView, from, QV_Sprite_CurrentBitmap, to);
}

void QV_DisplayTransparentSprite(int32_t sprite, int32_t x, int32_t y)
{
    const QV_SpriteRecord* record = DrawableSprite(sprite);
    SDL_Rect from, to;
    if (record != nullptr && ClipToTarget(*record, x, y, from, to))
        tervane::screen::DrawKeyed(record->surface, from, QV_Sprite_CurrentBitmap, to);
}

int32_t QV_SpriteCollision(int32_t sprite1, int32_t x1, int32_t y1, int32_t sprite2, int32_t x2, int32_t y2)
{
    const QV_SpriteRecord* first = QV_SpriteRecordOf(sprite1);
    const QV_SpriteRecord* second = QV_SpriteRecordOf(sprite2);
    if (first == nullptr || second == nullptr)
        return 0;
    // Edges that only touch count as a hit; 64 bits keep far positions exact.
    const int64_t left1 = x1, top1 = y1, left2 = x2, top2 = y2;
    if (left2 > left1 + first->displayedWidth || left2 + second->displayedWidth < left1)
        return 0;
    if (top2 + second->displayedHeight < top1 || top2 > top1 + first->displayedHeight)
        return 0;
    return 1;
}

int32_t QV_SpritePixelCollision(int32_t sprite1, int32_t x1, int32_t y1, int32_t sprite2, int32_t x2, int32_t y2)
{
    return QV_SpriteCollision(sprite1, x1, y1, sprite2, x2, y2);
}

int32_t QV_SpriteWidth(int32_t sprite)
{
    const QV_SpriteRecord* record = QV_SpriteRecordOf(sprite);
    return record != nullptr ? record->displayedWidth : 0;
}

int32_t QV_SpriteHeight(int32_t sprite)
{
    const QV_SpriteRecord* record = QV_SpriteRecordOf(sprite);
    return record != nullptr ? record->displayedHeight : 0;
}

SDL_Surface* QV_UseBuffer(int32_t sprite)
{
    if (sprite == -1)
        return QV_UseScreen();
    const QV_SpriteRecord* record = QV_SpriteRecordOf(sprite);
    if (record != nullptr && record->surface != nullptr) {
        QV_Sprite_CurrentBitmap = record->surface;
        QV_Screen_Width = record->fullWidth;
        QV_Screen_Height = record->fullHeight;
    }
    return QV_Sprite_CurrentBitmap;
}

void QV_FreeSprite(int32_t sprite)
{
    if (QV_SpriteRecord* record = QV_SpriteRecordOf(sprite))
        ReleaseSurfaces(*record);
}

void QV_FreeSprites()
{
    ReleaseTable();
    if (QV_SDL_State == 0)
        return;
    // SDL_Quit takes the screen with it.
    QV_CloseScreen();
    QV_QuitSDL();
}
