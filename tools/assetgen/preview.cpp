#include "preview.h"

#include "canvas.h"
#include "catalogue.h"

#include <cmath>
#include <stdexcept>

namespace {

bool keyed(int sprite)
{
    for (const PictureEntry& entry : Pictures)
        if (entry.sprite == sprite)
            return entry.keyed;
    return false;
}

// Draws sprite `sprite` at (x, y), or just its part (clipX, clipY, w, h).
void blit(cairo_t* cr, const std::map<int, Picture>& pictures, int sprite, double x, double y, double scale = 1.0)
{
    const Picture& picture = pictures.at(sprite);
    cairo_surface_t* surface = surfaceOf(picture, keyed(sprite));
    cairo_save(cr);
    cairo_translate(cr, x, y);
    cairo_scale(cr, scale, scale);
    cairo_set_source_surface(cr, surface, 0, 0);
    cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_NEAREST);
    cairo_rectangle(cr, 0, 0, picture.width(), picture.height());
    cairo_fill(cr);
    cairo_restore(cr);
    cairo_surface_destroy(surface);
}

void tile(cairo_t* cr, const std::map<int, Picture>& pictures, int number, double x, double y, double scale = 1.0)
{
    cairo_save(cr);
    cairo_rectangle(cr, x, y, 32 * scale, 32 * scale);
    cairo_clip(cr);
    blit(cr, pictures, 0, x - (number - 1) * 32 * scale, y, scale);
    cairo_restore(cr);
}

void save(Canvas& canvas, const std::string& path)
{
    if (cairo_surface_write_to_png(canvas.surface(), path.c_str()) != CAIRO_STATUS_SUCCESS)
        throw std::runtime_error("cannot write " + path);
}

}  // namespace

void writeContactSheet(const std::map<int, Picture>& pictures, const std::string& path)
{
    const int width = 1100, margin = 12;
    // Lay out row by row; keyed pictures over grey so their shape shows.
    struct Place {
        int sprite;
        double x, y, scale;
    };
    std::vector<Place> places;
    double x = margin, y = margin + 14, rowHeight = 0;
    for (const auto& [sprite, picture] : pictures) {
        const double scale = picture.width() <= 16 ? 4.0 : picture.width() <= 64 ? 2.0 : 1.0;
        const double w = picture.width() * scale, h = picture.height() * scale;
        if (sprite == 0)
            continue;  // the tile strip gets rows of its own at the end
        if (x + w > width - margin) {
            x = margin;
            y += rowHeight + 22;
            rowHeight = 0;
        }
        places.push_back({sprite, x, y, scale});
        x += w + margin;
        rowHeight = std::max(rowHeight, h);
    }
    y += rowHeight + 30;
    const double tilesY = y;
    Canvas canvas(width, int(tilesY + 4 * (64 + 22) + margin));
    cairo_t* cr = canvas.cr();
    cairo_set_source_rgb(cr, 0.45, 0.47, 0.5);
    cairo_paint(cr);
    selectFace(cr, Face::Sans, 11);
    for (const Place& p : places) {
        blit(cr, pictures, p.sprite, p.x, p.y, p.scale);
        cairo_move_to(cr, p.x, p.y - 3);
        cairo_set_source_rgb(cr, 1, 1, 1);
        cairo_show_text(cr, std::to_string(p.sprite).c_str());
    }
    for (int t = 1; t <= 63; ++t) {
        const double tx = margin + ((t - 1) % 16) * 68, ty = tilesY + ((t - 1) / 16) * (64 + 22);
        tile(cr, pictures, t, tx, ty, 2.0);
        cairo_move_to(cr, tx, ty - 3);
        cairo_set_source_rgb(cr, 1, 1, 1);
        cairo_show_text(cr, std::to_string(t).c_str());
    }
    save(canvas, path);
}

void writeMapOverview(const std::map<int, Picture>& pictures, const LevelMap& map, const std::string& path)
{
    // Four columns of rows, far end at the top of each, at half size.
    const int rowsPerColumn = 101, columnWidth = 13 * 16 + 40;
    Canvas canvas(4 * columnWidth, rowsPerColumn * 16 + 20);
    cairo_t* cr = canvas.cr();
    cairo_set_source_rgb(cr, 0.1, 0.1, 0.1);
    cairo_paint(cr);
    selectFace(cr, Face::Sans, 9);
    for (int row = 0; row < MapRows; ++row) {
        const int column = row / rowsPerColumn;
        const double y = 10 + (rowsPerColumn - 1 - row % rowsPerColumn) * 16;
        const double x = column * columnWidth + 34;
        for (int c = 0; c < MapColumns; ++c)
            tile(cr, pictures, map.tiles[row][c], x + c * 16, y, 0.5);
        if (row % 5 == 0) {
            cairo_move_to(cr, x - 30, y + 12);
            cairo_set_source_rgb(cr, 1, 1, 1);
            cairo_show_text(cr, std::to_string(row).c_str());
        }
    }
    save(canvas, path);
}

void writeScene(const std::map<int, Picture>& pictures, const LevelMap& map, const std::array<Wave, 3>& waves,
                const std::string& path)
{
    (void)waves;
    Canvas canvas(640, 480);
    cairo_t* cr = canvas.cr();
    cairo_set_source_rgb(cr, 0, 0, 0);
    cairo_paint(cr);
    // The map as the game draws it, bottom row `mapRow` at y `scrollY`.
    const int mapRow = 141, scrollY = 430;
    for (int r = mapRow, y = scrollY; r <= mapRow + 14; ++r, y -= 32)
        for (int c = 0; c < MapColumns; ++c)
            tile(cr, pictures, map.tiles[r][c], 32 + c * 32, y);
    // A gunboat on the river, planes with their shadows, shots and bullets.
    blit(cr, pictures, 30, 230, 60);
    blit(cr, pictures, 34, 60, 120);
    const int planes[][3] = {{20, 110, 70}, {20, 300, 40}, {17, 330, 170}, {26, 60, 230}};
    for (auto [type, x, y] : planes) {
        blit(cr, pictures, type, x + 40, y + 50);
        blit(cr, pictures, type + 1, x, y);
    }
    blit(cr, pictures, 43, 160, 150);
    blit(cr, pictures, 46, 300, 230);
    const int shots[][3] = {{38, 140, 150}, {38, 150, 160}, {37, 250, 140}, {38, 360, 250}};
    for (auto [sprite, x, y] : shots)
        blit(cr, pictures, sprite, x, y);
    const int playerX = 200, playerY = 320;
    blit(cr, pictures, 9, playerX + 40, playerY + 50);
    blit(cr, pictures, 5, playerX, playerY);
    for (int b = 0; b < 4; ++b)
        blit(cr, pictures, 13, playerX + (b % 2 ? 34 : 24), playerY - 10 - b * 36);
    // Frame, panel, gauges and digits where the game puts them.
    blit(cr, pictures, 51, 480, 0);
    blit(cr, pictures, 1, 0, 0);
    blit(cr, pictures, 2, 0, 448);
    blit(cr, pictures, 3, 0, 32);
    blit(cr, pictures, 4, 448, 32);
    blit(cr, pictures, 52, 490 + int(std::lround(mapRow * 134.0 / 387.0)), 248);
    blit(cr, pictures, 52, 540, 281);
    const char* score = "012345";
    const char* hiScore = "048210";
    for (int i = 0; i < 6; ++i) {
        blit(cr, pictures, 60 + (score[i] - '0'), 512 + 16 * i, 204);
        blit(cr, pictures, 60 + (hiScore[i] - '0'), 512 + 16 * i, 399);
    }
    save(canvas, path);
}
