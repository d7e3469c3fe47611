#include "runtime/screen/screen_picture.h"

// A web page has no libpng: there the page itself takes pictures of its
// canvas, and the runtime reports that it writes none.
#ifdef __EMSCRIPTEN__

int QV_WriteScreenPng(std::FILE*)
{
    return 0;
}

#else

#include "runtime/screen/frame_digest.h"
#include "runtime/screen/screen.h"

#include <png.h>

#include <csetjmp>
#include <vector>

namespace {

// libpng reports its errors by longjmp; nothing with a destructor may live
// between the setjmp and the calls that jump, so the rows are made by the
// caller.
bool EncodeRows(std::FILE* file, SDL_Surface* screen, std::vector<uint32_t>& colours, std::vector<png_byte>& row)
{
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    if (png == nullptr)
        return false;
    png_infop info = png_create_info_struct(png);
    if (info == nullptr || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_init_io(png, file);
    png_set_IHDR(png, info, static_cast<png_uint_32>(screen->w), static_cast<png_uint_32>(screen->h), 8,
                 PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < screen->h; ++y) {
        QV_ScreenRowColours(screen, y, colours.data());
        for (size_t x = 0; x < colours.size(); ++x) {
            row[3 * x] = static_cast<png_byte>(colours[x] >> 16);
            row[3 * x + 1] = static_cast<png_byte>(colours[x] >> 8);
            row[3 * x + 2] = static_cast<png_byte>(colours[x]);
        }
        png_write_row(png, row.data());
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return std::fflush(file) == 0 && std::ferror(file) == 0;
}

}  // namespace

int QV_WriteScreenPng(std::FILE* file)
{
    SDL_Surface* screen = QV_Screen_Current;
    if (screen == nullptr || file == nullptr)
        return 0;
    std::vector<uint32_t> colours(static_cast<size_t>(screen->w));
    std::vector<png_byte> row(colours.size() * 3);
    if (SDL_LockSurface(screen) != 0)
        return 0;
    const bool written = EncodeRows(file, screen, colours, row);
    SDL_UnlockSurface(screen);
    return written ? 1 : 0;
}

#endif
