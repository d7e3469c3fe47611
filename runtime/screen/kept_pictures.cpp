#include "runtime/screen/kept_pictures.h"

#include "runtime/screen/pixel_rows.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <vector>

namespace {

// A picture is kept from this many pixels up: the comparisons every later
// write to the screen makes against it cost more than copying a small one.
constexpr int32_t KeptArea = 64 * 64;

struct KeptPicture {
    SDL_Surface* source = nullptr;   // nullptr: a free place
    SDL_Rect from{};                 // the part of the source shown...
    SDL_Rect to{};                   // ...and where, exactly as drawn
    std::vector<uint8_t> drawnOver;  // 1 for each row of `to` drawn over since
    uint64_t lastShown = 0;
};

struct KeptState {
    std::array<KeptPicture, 8> pictures;
    uint64_t displays = 0;
};

KeptState kept;

bool Meet(const SDL_Rect& a, const SDL_Rect& b)
{
    return a.x < b.x + b.w && b.x < a.x + a.w && a.y < b.y + b.h && b.y < a.y + a.h;
}

// Marks the rows of `drawn` that cross each kept picture but `except`.
void MarkDrawnOver(const SDL_Rect& drawn, const KeptPicture* except)
{
    for (KeptPicture& picture : kept.pictures) {
        if (&picture == except || picture.source == nullptr || !Meet(picture.to, drawn))
            continue;
        const int32_t first = std::max<int32_t>(drawn.y, picture.to.y) - picture.to.y;
        const int32_t last = std::min<int32_t>(drawn.y + drawn.h, picture.to.y + picture.to.h) - picture.to.y;
        std::fill(picture.drawnOver.begin() + first, picture.drawnOver.begin() + last, uint8_t{1});
    }
}

bool SameArea(const SDL_Rect& a, const SDL_Rect& b)
{
    return a.x == b.x && a.y == b.y && a.w == b.w && a.h == b.h;
}

KeptPicture* Find(const SDL_Surface* source, const SDL_Rect& from, const SDL_Rect& to)
{
    for (KeptPicture& picture : kept.pictures) {
        if (picture.source == source && SameArea(picture.from, from) && picture.to.x == to.x && picture.to.y == to.y)
            return &picture;
    }
    return nullptr;
}

// Copies again the runs of rows drawn over since the picture was shown.
int Restore(KeptPicture& picture, SDL_Surface* screen)
{
    int result = 0;
    const int32_t rows = picture.to.h;
    for (int32_t row = 0; row < rows;) {
        if (picture.drawnOver[static_cast<size_t>(row)] == 0) {
            ++row;
            continue;
        }
        int32_t end = row;
        while (end < rows && picture.drawnOver[static_cast<size_t>(end)] != 0)
            ++end;
        const SDL_Rect from{picture.from.x, static_cast<Sint16>(picture.from.y + row), picture.from.w,
                            static_cast<Uint16>(end - row)};
        SDL_Rect to{picture.to.x, static_cast<Sint16>(picture.to.y + row), 0, 0};
        if (QV_BlitOpaque(picture.source, from, screen, to) != 0)
            result = -1;
        MarkDrawnOver(to, &picture);
        row = end;
    }
    std::fill(picture.drawnOver.begin(), picture.drawnOver.end(), uint8_t{0});
    return result;
}

KeptPicture& FreestPlace()
{
    return *std::min_element(kept.pictures.begin(), kept.pictures.end(),
                             [](const KeptPicture& a, const KeptPicture& b) { return a.lastShown < b.lastShown; });
}

}  // namespace

int QV_DisplayKeptPicture(SDL_Surface* source, SDL_Rect from, SDL_Surface* screen, SDL_Rect& to)
{
    ++kept.displays;
    if (KeptPicture* picture = Find(source, from, to)) {
        picture->lastShown = kept.displays;
        to = picture->to;
        return Restore(*picture, screen);
    }
    const SDL_Rect asked{to.x, to.y, from.w, from.h};
    const int result = QV_BlitOpaque(source, from, screen, to);
    MarkDrawnOver(to, nullptr);
    // A picture clipped by the blit is not kept: its rows would not line up
    // with the source's.
    if (result != 0 || !SameArea(to, asked) || int32_t{to.w} * to.h < KeptArea)
        return result;
    KeptPicture& place = FreestPlace();
    place = {source, from, to, std::vector<uint8_t>(to.h, 0), kept.displays};
    return result;
}

void QV_NoteScreenDrawnOver(const SDL_Rect& drawn)
{
    MarkDrawnOver(drawn, nullptr);
}

void QV_ForgetKeptPictures()
{
    kept = KeptState{};
}
