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

// Draws sprite `sprite` at (x, y), enlarged by `scale`.
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

namespace {

// One page of pictures side by side in rows, each under its sprite number;
// keyed pictures over grey so their shapes show.
void writePage(const std::map<int, Picture>& pictures, const std::vector<int>& sprites, double scale, int width,
               const std::string& path)
{
    const int margin = 12, label = 16;
    struct Place {
        int sprite;
        double x, y;
    };
    std::vector<Place> places;
    double x = margin, y = margin + label, rowHeight = 0;
    for (int sprite : sprites) {
        const Picture& picture = pictures.at(sprite);
        const double w = picture.width() * scale, h = picture.height() * scale;
        if (x + w > width - margin && x > margin) {
            x = margin;
            y += rowHeight + label + margin;
            rowHeight = 0;
        }
        places.push_back({sprite, x, y});
        x += w + margin;
        rowHeight = std::max(rowHeight, h);
    }
    Canvas canvas(width, int(y + rowHeight + margin));
    cairo_t* cr = canvas.cr();
    cairo_set_source_rgb(cr, 0.45, 0.47, 0.5);
    cairo_paint(cr);
    selectFace(cr, Face::Sans, 12);
    for (const Place& p : places) {
        blit(cr, pictures, p.sprite, p.x, p.y, scale);
        cairo_move_to(cr, p.x, p.y - 4);
        cairo_set_source_rgb(cr, 1, 1, 1);
        cairo_show_text(cr, std::to_string(p.sprite).c_str());
    }
    save(canvas, path);
}

// The tile strip cut into its 63 numbered tiles.
void writeTilePage(const std::map<int, Picture>& pictures, double scale, const std::string& path)
{
    const int perRow = 16, cell = int(32 * scale) + 8, label = 16;
    Canvas canvas(perRow * cell + 8, 4 * (cell + label) + 8);
    cairo_t* cr = canvas.cr();
    cairo_set_source_rgb(cr, 0.45, 0.47, 0.5);
    cairo_paint(cr);
    selectFace(cr, Face::Sans, 12);
    for (int t = 1; t <= 63; ++t) {
        const double tx = 8 + ((t - 1) % perRow) * cell, ty = label + 4 + ((t - 1) / perRow) * (cell + label);
        tile(cr, pictures, t, tx, ty, scale);
        cairo_move_to(cr, tx, ty - 4);
        cairo_set_source_rgb(cr, 1, 1, 1);
        cairo_show_text(cr, std::to_string(t).c_str());
    }
    save(canvas, path);
}

}  // namespace

void writeContactSheets(const std::map<int, Picture>& pictures, const std::string& dir)
{
    std::vector<int> small, large;
    for (const auto& [sprite, picture] : pictures)
        if (sprite != 0)
            (picture.width() <= 100 && picture.height() <= 100 ? small : large).push_back(sprite);
    writePage(pictures, small, 3.0, 1500, dir + "/contact_sprites.png");
    writePage(pictures, large, 1.0, 1500, dir + "/contact_screens.png");
    writeTilePage(pictures, 3.0, dir + "/contact_tiles.png");
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

void writeScene(const std::map<int, Picture>& pictures, const LevelMap& map, const std::string& path)
{
    Canvas canvas(640, 480);
    cairo_t* cr = canvas.cr();
    cairo_set_source_rgb(cr, 0, 0, 0);
    cairo_paint(cr);
    // The map as the game draws it, bottom row `mapRow` at y `scrollY`.
    const int mapRow = 141, scrollY = 430;
    for (int r = mapRow, y = scrollY; r <= mapRow + 14; ++r, y -= 32)
        for (int c = 0; c < MapColumns; ++c)
            tile(cr, pictures, map.tiles[r][c], 32 + c * 32, y);
    // A corvette on the river, a tank on the bank, planes with their
    // shadows, shots and bullets.
    blit(cr, pictures, 30, 350, 250);
    blit(cr, pictures, 34, 48, 140);
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
    blit(cr, pictures, 52, ProgressMarkerX(mapRow), 248);
    blit(cr, pictures, 52, 540, 281);
    const char* score = "012345";
    const char* hiScore = "048210";
    for (int i = 0; i < 6; ++i) {
        blit(cr, pictures, 60 + (score[i] - '0'), 512 + 16 * i, 204);
        blit(cr, pictures, 60 + (hiScore[i] - '0'), 512 + 16 * i, 399);
    }
    save(canvas, path);
}
