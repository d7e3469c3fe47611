#include "runtime/screen/kept_pictures.h"

#include "runtime/screen/pixel_rows.h"

#include <algorithm>
#include <array>
#include <cstdint>

namespace tervane::screen {
namespace {

// A picture is kept from this many pixels up: a frame strip, not a map tile
// or a digit, which cost less to copy whole again than to keep.
constexpr int32_t KeptArea = 64 * 64;

// A frame's large static pictures, with room to spare.
constexpr size_t KeptCapacity = 8;

// The rectangles last drawn on the screen: a few frames' worth.
constexpr uint64_t DrawnCapacity = 2048;

struct KeptPicture {
    SDL_Surface* source = nullptr;  // nullptr: a free place
    SDL_Rect from{};                // the part of the source shown...
    SDL_Rect to{};                  // ...and where, exactly as drawn
    uint64_t shownAt = 0;           // the writes to the screen until then
};

struct KeptState {
    SDL_Surface* screen = nullptr;
    std::array<KeptPicture, KeptCapacity> pictures{};
    std::array<SDL_Rect, DrawnCapacity> drawn{};
    uint64_t writes = 0;
};

KeptState kept;

// The part of `drawn` within `picture`; false when the two do not meet.
bool PartWithin(const SDL_Rect& picture, const SDL_Rect& drawn, SDL_Rect& part)
{
    const int32_t left = std::max(picture.x, drawn.x), right = std::min(picture.x + picture.w, drawn.x + drawn.w);
    if (left >= right)
        return false;
    const int32_t top = std::max(picture.y, drawn.y), bottom = std::min(picture.y + picture.h, drawn.y + drawn.h);
    part = {static_cast<Sint16>(left), static_cast<Sint16>(top), static_cast<Uint16>(right - left),
            static_cast<Uint16>(bottom - top)};
    return top < bottom;
}

// Where every write ends. A write elsewhere than on the screen may change a
// picture's pixels.
void Drew(const SDL_Surface* target, const SDL_Rect& drawn)
{
    if (target == kept.screen)
        kept.drawn[kept.writes++ % DrawnCapacity] = drawn;
    else
        ForgetKeptPictures();
}

bool ShownEarlier(const KeptPicture& one, const KeptPicture& other)
{
    return one.shownAt < other.shownAt;
}

KeptPicture* Find(const SDL_Surface* source, const SDL_Rect& from, const SDL_Rect& to)
{
    for (KeptPicture& picture : kept.pictures)
        if (picture.source == source && picture.from.x == from.x && picture.from.y == from.y &&
            picture.to.w == from.w && picture.to.h == from.h && picture.to.x == to.x && picture.to.y == to.y)
            return &picture;
    return nullptr;
}

// Copies `to`, a part of the picture on the screen, again.
int CopyAgain(const KeptPicture& picture, SDL_Rect to)
{
    const SDL_Rect from{static_cast<Sint16>(picture.from.x + to.x - picture.to.x),
                        static_cast<Sint16>(picture.from.y + to.y - picture.to.y), to.w, to.h};
    const int result = BlitOpaque(picture.source, from, kept.screen, to);
    Drew(kept.screen, to);
    return result;
}

// Copies again what was drawn over the picture since it was shown, or all of
// it when those writes are no longer all listed.
int Restore(KeptPicture& picture)
{
    const uint64_t until = kept.writes;
    const bool listed = until - picture.shownAt <= DrawnCapacity;
    int result = listed ? 0 : CopyAgain(picture, picture.to);
    SDL_Rect part;
    for (uint64_t write = picture.shownAt; listed && write < until; ++write)
        if (PartWithin(picture.to, kept.drawn[write % DrawnCapacity], part))
            result |= CopyAgain(picture, part);
    picture.shownAt = kept.writes;
    return result;
}

}  // namespace

void KeepPicturesOf(SDL_Surface* screen)
{
    ForgetKeptPictures();
    kept.screen = screen;
}

void ForgetKeptPictures()
{
    kept.pictures = {};
}

int DrawOpaque(SDL_Surface* source, SDL_Rect from, SDL_Surface* target, SDL_Rect& to)
{
    const bool keeps = target != nullptr && target == kept.screen && int32_t{from.w} * from.h >= KeptArea;
    if (KeptPicture* picture = keeps ? Find(source, from, to) : nullptr) {
        to = picture->to;
        return Restore(*picture);
    }
    const int result = BlitOpaque(source, from, target, to);
    Drew(target, to);
    // A picture clipped by the blit, which then draws less than `from`, is
    // not kept: its rows would not line up with the source's. It takes a
    // free place, shown before any write, or else the one shown longest ago.
    if (keeps && result == 0 && to.w == from.w && to.h == from.h)
        *std::min_element(kept.pictures.begin(), kept.pictures.end(), ShownEarlier) = {source, from, to, kept.writes};
    return result;
}

int DrawKeyed(SDL_Surface* source, SDL_Rect from, SDL_Surface* target, SDL_Rect& to)
{
    const int result = BlitKeyed(source, from, target, to);
    Drew(target, to);
    return result;
}

int FillWhole(SDL_Surface* target, Uint32 pixel)
{
    Drew(target, target->clip_rect);
    return FillSurface(target, pixel);
}

SDL_Surface* DrawAnywhere(SDL_Surface* target)
{
    if (target != nullptr)
        Drew(target, {0, 0, static_cast<Uint16>(target->w), static_cast<Uint16>(target->h)});
    return target;
}

}  // namespace tervane::screen
