#include "runtime/screen/kept_pictures.h"

#include "runtime/screen/pixel_rows.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <numeric>
#include <span>
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

// What was drawn over a picture since it was shown, as a few rectangles of
// the screen within it. Marks that line up join into one: the digits of a
// number, or the two parts of a tile's last place that the map's next tiles
// cover. Past that, a mark joins the rectangle it enlarges least, so that
// restoring copies little more than was drawn over: a row of digits on a
// tall panel, not every row they cross.
struct DrawnOver {
    std::array<SDL_Rect, 4> marks{};
    uint8_t count = 0;
};

struct KeptPicture {
    SDL_Surface* source = nullptr;  // nullptr: a free place
    SDL_Rect from{};                // the part of the source shown...
    SDL_Rect to{};                  // ...and where, exactly as drawn
    DrawnOver drawnOver;
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
struct alignas(QV_CacheLine) Cell {
    std::array<Listed, 6> listed;
    uint16_t count = 0;

    Listed* begin() { return listed.data(); }
    Listed* end() { return listed.data() + count; }
};
static_assert(sizeof(Cell) == QV_CacheLine);

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
    QV_PixelsReader newPicturesReader = QV_PixelsReader::ThisProcess;
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

void Unlist(Place place)
{
    ForEachCell(kept.pictures[place].to, [place](Cell& cell, int32_t, int32_t) {
        Listed* listed =
            std::find_if(cell.begin(), cell.end(), [place](const Listed& other) { return other.place == place; });
        *listed = cell.listed[--cell.count];
    });
}

void Drop(Place place)
{
    Unlist(place);
    kept.pictures[place].source = nullptr;
    kept.freePlaces.push_back(place);
}

SDL_Rect Union(const SDL_Rect& a, const SDL_Rect& b)
{
    const int32_t left = std::min(a.x, b.x), top = std::min(a.y, b.y);
    const int32_t right = std::max(a.x + a.w, b.x + b.w), bottom = std::max(a.y + a.h, b.y + b.h);
    return {static_cast<Sint16>(left), static_cast<Sint16>(top), static_cast<Uint16>(right - left),
            static_cast<Uint16>(bottom - top)};
}

// Of two rectangles that meet.
SDL_Rect Intersection(const SDL_Rect& a, const SDL_Rect& b)
{
    const int32_t left = std::max(a.x, b.x), top = std::max(a.y, b.y);
    const int32_t right = std::min(a.x + a.w, b.x + b.w), bottom = std::min(a.y + a.h, b.y + b.h);
    return {static_cast<Sint16>(left), static_cast<Sint16>(top), static_cast<Uint16>(right - left),
            static_cast<Uint16>(bottom - top)};
}

int64_t Area(const SDL_Rect& rect)
{
    return int64_t{rect.w} * rect.h;
}

// Whether the union of the two is exactly the area they cover together.
bool Joinable(const SDL_Rect& a, const SDL_Rect& b)
{
    const SDL_Rect both = Union(a, b);
    const bool across = a.y == b.y && a.h == b.h && both.w <= a.w + b.w;
    const bool down = a.x == b.x && a.w == b.w && both.h <= a.h + b.h;
    return across || down || SameArea(both, a) || SameArea(both, b);
}

// Marks the part of `drawn` that crosses the picture; true when the marks
// then cover all of it.
bool MarkArea(KeptPicture& picture, const SDL_Rect& drawn)
{
    const SDL_Rect& whole = picture.to;
    const SDL_Rect mark = Intersection(drawn, whole);
    DrawnOver& over = picture.drawnOver;
    SDL_Rect* const first = over.marks.data();
    SDL_Rect* const last = first + over.count;
    SDL_Rect* joined = std::find_if(first, last, [&](const SDL_Rect& other) { return Joinable(other, mark); });
    if (joined == last && over.count < over.marks.size())
        joined = &(over.marks[over.count++] = mark);
    else if (joined == last)
        joined = std::min_element(first, last, [&](const SDL_Rect& a, const SDL_Rect& b) {
            return Area(Union(a, mark)) - Area(a) < Area(Union(b, mark)) - Area(b);
        });
    *joined = Union(*joined, mark);
    return SameArea(*joined, whole);
}

// Marks what `drawn` covers of each kept picture but `except`. A
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
            if (&picture != except && MarkArea(picture, drawn) && displacing)
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

// Copies again what was drawn over since the picture was shown.
int Restore(KeptPicture& picture, SDL_Surface* screen)
{
    int result = 0;
    const DrawnOver over = std::exchange(picture.drawnOver, {});
    for (const SDL_Rect& mark : std::span(over.marks).first(over.count)) {
        const SDL_Rect from{static_cast<Sint16>(picture.from.x + mark.x - picture.to.x),
                            static_cast<Sint16>(picture.from.y + mark.y - picture.to.y), mark.w, mark.h};
        SDL_Rect to = mark;
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

// Keeps the picture at `place` as just drawn whole at `to`.
void List(Place place, const SDL_Rect& to)
{
    KeptPicture& picture = kept.pictures[place];
    picture.to = to;
    picture.drawnOver = {};
    picture.lastShown = kept.displays;
    ForEachCell(to, [&](Cell& cell, int32_t, int32_t) {
        MakeRoom(cell);
        cell.listed[cell.count++] = {to, place};
    });
}

void Keep(SDL_Surface* source, const SDL_Rect& from, const SDL_Rect& to)
{
    const Place place = FreestPlace();
    kept.pictures[place].source = source;
    kept.pictures[place].from = from;
    List(place, to);
}

// The same picture kept at a place that `to` meets, listed where `to`
// begins: a tile of a map that has moved on a pixel. Drawn whole at `to`,
// it is kept there instead, rather than marked over and dropped while
// another place is taken.
KeptPicture* FindMoved(const SDL_Surface* source, const SDL_Rect& from, const SDL_Rect& to)
{
    for (const Listed& listed : CellAt(CellOf(to.x), CellOf(to.y))) {
        if (!Meet(listed.to, to))
            continue;
        KeptPicture& picture = kept.pictures[listed.place];
        if (picture.source == source && SameArea(picture.from, from))
            return &picture;
    }
    return nullptr;
}

void Move(KeptPicture& picture, const SDL_Rect& to)
{
    const auto place = static_cast<Place>(&picture - kept.pictures.data());
    Unlist(place);
    List(place, to);
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
    KeptPicture* moved = FindMoved(source, from, asked);
    // Sprites drawn over a picture's last place are likely drawn over the
    // next one too, and they read what they cover.
    const QV_PixelsReader reader =
        moved != nullptr && moved->drawnOver.count != 0 ? QV_PixelsReader::ThisProcess : kept.newPicturesReader;
    const int result = QV_BlitOpaque(source, from, screen, to, reader);
    // A picture clipped by the blit is not kept: its rows would not line up
    // with the source's.
    if (result != 0 || !SameArea(to, asked) || int32_t{to.w} * to.h < KeptArea) {
        MarkDrawnOver(to, nullptr, true);
        return result;
    }
    MarkDrawnOver(to, moved, true);
    if (moved != nullptr)
        Move(*moved, to);
    else
        Keep(source, from, to);
    return result;
}

void QV_FetchKeptPicturesAhead(const SDL_Surface* screen)
{
    for (int32_t row = 0; row <= CellOf(screen->h - 1); ++row)
        for (int32_t column = 0; column <= CellOf(screen->w - 1); ++column)
            __builtin_prefetch(&CellAt(column, row));
    const auto* const first = reinterpret_cast<const char*>(kept.pictures.data());
    const auto* const end = reinterpret_cast<const char*>(kept.pictures.data() + kept.pictures.size());
    for (const char* line = first; line < end; line += QV_CacheLine)
        __builtin_prefetch(line);
}

void QV_SetNewKeptPicturesReader(QV_PixelsReader reader)
{
    kept.newPicturesReader = reader;
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
