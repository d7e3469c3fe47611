#include "runtime/screen/kept_pictures.h"

#include "runtime/screen/pixel_rows.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <numeric>
#include <utility>
#include <vector>

namespace {

// A picture is kept from this many pixels up, half a map tile: a smaller one
// costs less to copy again than to look up.
constexpr int32_t KeptArea = 32 * 16;

// A screenful of tiles and the large pictures round them.
constexpr size_t KeptCapacity = 512;

// The screen is indexed in square cells, each listing the pictures that meet
// it, so that finding a picture and marking what a write drew over look only
// at the pictures near it. Places past the grid share its last cells.
constexpr int32_t CellShift = 5;  // 32 pixels a side
constexpr int32_t GridSide = 32;

struct KeptPicture {
    SDL_Surface* source = nullptr;  // nullptr: a free place
    SDL_Rect from{};                // the part of the source shown...
    SDL_Rect to{};                  // ...and where, exactly as drawn
    uint64_t drawnOver = 0;         // a bit for each group of rows drawn over since
    uint64_t lastShown = 0;
};

using Place = uint16_t;

// A picture as the cells list it: where it lies is read without reading the
// picture itself.
struct Listed {
    SDL_Rect to;
    Place place;
};

// A cell lists its pictures in one cache line, read straight after a pause
// in which the screen's pixels have pushed the lists out of the cache. A
// cell of the map meets two tiles, three or four while the map moves on; a
// picture more than a cell can list drops the one there shown longest ago.
struct alignas(64) Cell {
    std::array<Listed, 6> listed;
    uint16_t count = 0;

    Listed* begin() { return listed.data(); }
    Listed* end() { return listed.data() + count; }
};
static_assert(sizeof(Cell) == 64);

std::vector<Place> EveryPlace()
{
    std::vector<Place> places(KeptCapacity);
    std::iota(places.rbegin(), places.rend(), Place{0});
    return places;
}

struct KeptState {
    std::vector<KeptPicture> pictures = std::vector<KeptPicture>(KeptCapacity);
    std::vector<Place> freePlaces = EveryPlace();
    std::array<Cell, GridSide * GridSide> cells;
    std::vector<Place> whollyDrawnOver;  // found by the marking under way
    uint64_t displays = 0;
};

KeptState kept;

int32_t CellOf(int32_t pixel)
{
    return std::clamp(pixel >> CellShift, 0, GridSide - 1);
}

Cell& CellAt(int32_t column, int32_t row)
{
    return kept.cells[static_cast<size_t>(row * GridSide + column)];
}

// Calls `visit` with each cell `rect` meets, and its column and row.
template <typename Visit>
void ForEachCell(const SDL_Rect& rect, Visit visit)
{
    if (rect.w == 0 || rect.h == 0)
        return;
    const int32_t right = CellOf(rect.x + rect.w - 1);
    const int32_t bottom = CellOf(rect.y + rect.h - 1);
    for (int32_t row = CellOf(rect.y); row <= bottom; ++row)
        for (int32_t column = CellOf(rect.x); column <= right; ++column)
            visit(CellAt(column, row), column, row);
}

bool Meet(const SDL_Rect& a, const SDL_Rect& b)
{
    return a.x < b.x + b.w && b.x < a.x + a.w && a.y < b.y + b.h && b.y < a.y + a.h;
}

bool SameArea(const SDL_Rect& a, const SDL_Rect& b)
{
    return a.x == b.x && a.y == b.y && a.w == b.w && a.h == b.h;
}

void Drop(Place place)
{
    KeptPicture& picture = kept.pictures[place];
    ForEachCell(picture.to, [place](Cell& cell, int32_t, int32_t) {
        Listed* listed =
            std::find_if(cell.begin(), cell.end(), [place](const Listed& other) { return other.place == place; });
        *listed = cell.listed[--cell.count];
    });
    picture.source = nullptr;
    kept.freePlaces.push_back(place);
}

// The rows of a picture are marked in 64 groups at most: one row to a group
// up to 64 rows high, as many as it takes above. A group drawn over on any
// row is copied again whole.
int32_t RowsPerGroup(const KeptPicture& picture)
{
    return (picture.to.h + 63) / 64;
}

uint64_t GroupsBelow(int32_t group)
{
    return group >= 64 ? ~uint64_t{0} : (uint64_t{1} << group) - 1;
}

// Marks the groups of rows of `drawn` that cross the picture; true when
// that leaves every group of it marked.
bool MarkRows(KeptPicture& picture, const SDL_Rect& drawn)
{
    const int32_t first = std::max<int32_t>(drawn.y, picture.to.y) - picture.to.y;
    const int32_t last = std::min<int32_t>(drawn.y + drawn.h, picture.to.y + picture.to.h) - picture.to.y;
    const int32_t rows = RowsPerGroup(picture);
    picture.drawnOver |= GroupsBelow((last - 1) / rows + 1) & ~GroupsBelow(first / rows);
    return picture.drawnOver == GroupsBelow((picture.to.h - 1) / rows + 1);
}

// Marks the rows of `drawn` that cross each kept picture but `except`. A
// picture that an opaque one, `displacing`, leaves marked wholly, such as a
// map tile's last place once the map has moved on, is dropped: shown again,
// it would be copied whole anyway. One under a keyed sprite stays, as its
// place is likely shown again next frame.
void MarkDrawnOver(const SDL_Rect& drawn, const KeptPicture* except, bool displacing)
{
    const int32_t left = CellOf(drawn.x), top = CellOf(drawn.y);
    ForEachCell(drawn, [&](Cell& cell, int32_t column, int32_t row) {
        for (const Listed& listed : cell) {
            // Met in several cells, a picture is marked in the first of them.
            if (!Meet(listed.to, drawn) || (column != left && column != CellOf(listed.to.x)) ||
                (row != top && row != CellOf(listed.to.y)))
                continue;
            KeptPicture& picture = kept.pictures[listed.place];
            if (&picture != except && MarkRows(picture, drawn) && displacing)
                kept.whollyDrawnOver.push_back(listed.place);
        }
    });
    for (const Place place : kept.whollyDrawnOver)
        Drop(place);
    kept.whollyDrawnOver.clear();
}

// Every picture meets the cell of its top left corner.
KeptPicture* Find(const SDL_Surface* source, const SDL_Rect& from, const SDL_Rect& to)
{
    for (const Listed& listed : CellAt(CellOf(to.x), CellOf(to.y))) {
        if (listed.to.x != to.x || listed.to.y != to.y)
            continue;
        KeptPicture& picture = kept.pictures[listed.place];
        if (picture.source == source && SameArea(picture.from, from))
            return &picture;
    }
    return nullptr;
}

// Copies again the runs of rows drawn over since the picture was shown.
int Restore(KeptPicture& picture, SDL_Surface* screen)
{
    int result = 0;
    const int32_t rows = RowsPerGroup(picture);
    for (uint64_t left = std::exchange(picture.drawnOver, 0); left != 0;) {
        const int32_t group = std::countr_zero(left);
        const int32_t end = group + std::countr_one(left >> group);
        left &= ~GroupsBelow(end);
        const int32_t top = group * rows;
        const int32_t bottom = std::min<int32_t>(end * rows, picture.to.h);
        const SDL_Rect from{picture.from.x, static_cast<Sint16>(picture.from.y + top), picture.from.w,
                            static_cast<Uint16>(bottom - top)};
        SDL_Rect to{picture.to.x, static_cast<Sint16>(picture.to.y + top), 0, 0};
        if (QV_BlitOpaque(picture.source, from, screen, to) != 0)
            result = -1;
        MarkDrawnOver(to, &picture, true);
    }
    return result;
}

// A free place, or else the one shown longest ago.
Place FreestPlace()
{
    if (kept.freePlaces.empty()) {
        const auto oldest =
            std::min_element(kept.pictures.begin(), kept.pictures.end(),
                             [](const KeptPicture& a, const KeptPicture& b) { return a.lastShown < b.lastShown; });
        Drop(static_cast<Place>(oldest - kept.pictures.begin()));
    }
    const Place place = kept.freePlaces.back();
    kept.freePlaces.pop_back();
    return place;
}

void MakeRoom(Cell& cell)
{
    if (cell.count < cell.listed.size())
        return;
    const Listed* oldest = std::min_element(cell.begin(), cell.end(), [](const Listed& a, const Listed& b) {
        return kept.pictures[a.place].lastShown < kept.pictures[b.place].lastShown;
    });
    Drop(oldest->place);
}

void Keep(SDL_Surface* source, const SDL_Rect& from, const SDL_Rect& to)
{
    const Place place = FreestPlace();
    KeptPicture& picture = kept.pictures[place];
    picture.source = source;
    picture.from = from;
    picture.to = to;
    picture.drawnOver = 0;
    picture.lastShown = kept.displays;
    ForEachCell(to, [&](Cell& cell, int32_t, int32_t) {
        MakeRoom(cell);
        cell.listed[cell.count++] = {to, place};
    });
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
    MarkDrawnOver(to, nullptr, true);
    // A picture clipped by the blit is not kept: its rows would not line up
    // with the source's.
    if (result == 0 && SameArea(to, asked) && int32_t{to.w} * to.h >= KeptArea)
        Keep(source, from, to);
    return result;
}

void QV_NoteScreenDrawnOver(const SDL_Rect& drawn)
{
    MarkDrawnOver(drawn, nullptr, false);
}

void QV_ForgetKeptPictures()
{
    for (KeptPicture& picture : kept.pictures)
        picture.source = nullptr;
    for (Cell& cell : kept.cells)
        cell.count = 0;
    kept.freePlaces = EveryPlace();
}
