#include "runtime/screen/drawing.h"

#include "runtime/screen/drawing_primitives.h"
#include "runtime/screen/kept_pictures.h"
#include "runtime/screen/screen.h"
#include "runtime/screen/surface_pixels.h"

#include <SDL.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

QV_DrawingState QV_Drawing;

namespace {

namespace primitives = tervane::primitives;

constexpr uint32_t Opaque = 0xFF;

// 0xRRGGBBAA from components, unmasked as they come.
uint32_t ComponentsColor(int32_t red, int32_t green, int32_t blue)
{
    return (static_cast<uint32_t>(red) << 24) | (static_cast<uint32_t>(green) << 16) |
        (static_cast<uint32_t>(blue) << 8) | Opaque;
}

// 0xRRGGBBAA from the runtime's RGB value (red in the low byte).
uint32_t RgbColor(int32_t rgb)
{
    const auto value = static_cast<uint32_t>(rgb);
    return ComponentsColor(static_cast<int32_t>(value & 0xFF), static_cast<int32_t>((value >> 8) & 0xFF),
                           static_cast<int32_t>((value >> 16) & 0xFF));
}

constexpr int64_t Int32Max = std::numeric_limits<int32_t>::max();
constexpr int64_t CoordinateMin = std::numeric_limits<Sint16>::min();
constexpr int64_t CoordinateMax = std::numeric_limits<Sint16>::max();

// SDL_gfx takes coordinates and sizes as 16-bit values. No surface reaches
// beyond that range, so a value outside it is moved to its edge, where it
// draws what it would have drawn: nothing.
Sint16 Coordinate(int64_t value)
{
    return static_cast<Sint16>(std::clamp(value, CoordinateMin, CoordinateMax));
}

// A line's ends, in reach of any 32-bit coordinate plus a 32-bit size.
struct Segment {
    int64_t x1, y1, x2, y2;
};

// Cuts the segment to the 16-bit range along its own direction, so that the
// part left keeps its slope (moving each end to the edge on its own would
// bend it). False when nothing of it lies inside the range.
bool ClipToCoordinates(Segment& segment)
{
    const double dx = static_cast<double>(segment.x2 - segment.x1);
    const double dy = static_cast<double>(segment.y2 - segment.y1);
    // Per edge: how fast the line moves out across it, and how far inside it starts.
    const double outward[] = {-dx, dx, -dy, dy};
    const double inside[] = {
        static_cast<double>(segment.x1 - CoordinateMin), static_cast<double>(CoordinateMax - segment.x1),
        static_cast<double>(segment.y1 - CoordinateMin), static_cast<double>(CoordinateMax - segment.y1)};
    double enter = 0.0;
    double leave = 1.0;
    for (int edge = 0; edge < 4; ++edge) {
        if (outward[edge] == 0.0) {
            if (inside[edge] < 0.0)
                return false;
            continue;
        }
        const double crossing = inside[edge] / outward[edge];
        if (outward[edge] < 0.0)
            enter = std::max(enter, crossing);
        else
            leave = std::min(leave, crossing);
    }
    if (enter > leave)
        return false;
    const Segment whole = segment;
    segment = {whole.x1 + std::llround(enter * dx), whole.y1 + std::llround(enter * dy),
               whole.x1 + std::llround(leave * dx), whole.y1 + std::llround(leave * dy)};
    return true;
}

// The screen output follows the screen, which SDL releases when it closes.
SDL_Surface* BoundSurface()
{
    return QV_Drawing.onScreen ? QV_Screen_Current : QV_Drawing.surface;
}

// The bound surface, to draw on: all of it counts as drawn over.
SDL_Surface* Surface()
{
    return tervane::screen::DrawAnywhere(BoundSurface());
}

// The lock that start took is let go around a primitive and taken back after
// it: text is drawn by blitting glyphs, which SDL refuses onto a locked
// surface, and SDL_gfx's opaque circle unlocks the surface once more than it
// locked it, which would leave the next pixel access without pixels.
template <class Draw>
int32_t WithStartLockReleased(SDL_Surface* surface, Draw draw)
{
    const bool startLocked = SDL_MUSTLOCK(surface) && surface->locked != 0;
    if (startLocked)
        SDL_UnlockSurface(surface);
    const int32_t result = draw();
    if (startLocked)
        SDL_LockSurface(surface);
    return result;
}

// ---- The screen output's operations ------------------------------------------
// Each does nothing and returns 0 while no surface is bound.

int32_t FillBox(int64_t x, int64_t y, int64_t width, int64_t height, uint32_t color)
{
    return Surface() ? primitives::boxColor(Surface(), Coordinate(x), Coordinate(y), Coordinate(x + width),
                                            Coordinate(y + height), color)
                     : 0;
}

int32_t DrawCircle(int32_t x, int32_t y, int32_t radius, uint32_t color)
{
    SDL_Surface* const surface = Surface();
    if (!surface)
        return 0;
    return WithStartLockReleased(surface, [&] {
        return primitives::circleColor(surface, Coordinate(x), Coordinate(y), Coordinate(radius), color);
    });
}

int32_t DrawEllipse(int32_t x, int32_t y, int32_t radiusX, int32_t radiusY, uint32_t color)
{
    return Surface() ? primitives::ellipseColor(Surface(), Coordinate(x), Coordinate(y), Coordinate(radiusX),
                                                Coordinate(radiusY), color)
                     : 0;
}

int32_t DrawLine(Segment segment, uint32_t color)
{
    if (!Surface() || !ClipToCoordinates(segment))
        return 0;
    return primitives::lineColor(Surface(), Coordinate(segment.x1), Coordinate(segment.y1), Coordinate(segment.x2),
                                 Coordinate(segment.y2), color);
}

int32_t DrawPixel(int32_t x, int32_t y, uint32_t color)
{
    return Surface() ? primitives::pixelColor(Surface(), Coordinate(x), Coordinate(y), color) : 0;
}

int32_t ScreenBackColor(int32_t red, int32_t green, int32_t blue)
{
    QV_Drawing.backColor = ComponentsColor(red, green, blue);
    return 0;
}

int32_t ScreenFrontColor(int32_t red, int32_t green, int32_t blue)
{
    QV_Drawing.frontColor = ComponentsColor(red, green, blue);
    return 0;
}

int32_t ScreenBox(int32_t x, int32_t y, int32_t width, int32_t height)
{
    return FillBox(x, y, width, height, QV_Drawing.frontColor);
}

int32_t ScreenBox2(int32_t x, int32_t y, int32_t width, int32_t height, int32_t color)
{
    return FillBox(x, y, width, height, RgbColor(color));
}

int32_t ScreenCircle(int32_t x, int32_t y, int32_t radius)
{
    return DrawCircle(x, y, radius, QV_Drawing.frontColor);
}

int32_t ScreenCircle2(int32_t x, int32_t y, int32_t radius, int32_t color)
{
    return DrawCircle(x, y, radius, RgbColor(color));
}

int32_t ScreenEllipse(int32_t x, int32_t y, int32_t radiusX, int32_t radiusY)
{
    return DrawEllipse(x, y, radiusX, radiusY, QV_Drawing.frontColor);
}

int32_t ScreenEllipse2(int32_t x, int32_t y, int32_t radiusX, int32_t radiusY, int32_t color)
{
    return DrawEllipse(x, y, radiusX, radiusY, RgbColor(color));
}

int32_t ScreenLine(int32_t x, int32_t y, int32_t width, int32_t height)
{
    return DrawLine({x, y, int64_t{x} + width, int64_t{y} + height}, QV_Drawing.frontColor);
}

int32_t ScreenLine2(int32_t x, int32_t y, int32_t width, int32_t height, int32_t color)
{
    return DrawLine({x, y, int64_t{x} + width, int64_t{y} + height}, RgbColor(color));
}

int32_t ScreenLineXY(int32_t x1, int32_t y1, int32_t x2, int32_t y2)
{
    return DrawLine({x1, y1, x2, y2}, QV_Drawing.frontColor);
}

int32_t ScreenLineXY2(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t color)
{
    return DrawLine({x1, y1, x2, y2}, RgbColor(color));
}

int32_t ScreenPlot(int32_t x, int32_t y)
{
    return DrawPixel(x, y, QV_Drawing.frontColor);
}

int32_t ScreenPlot2(int32_t x, int32_t y, int32_t color)
{
    return DrawPixel(x, y, RgbColor(color));
}

// The pixel at x, y as stored, except that a 32-bit pixel has its lowest and
// third bytes exchanged, so that a 0x00RRGGBB pixel gives red in the low
// byte; 0 outside the surface or for an unknown pixel size.
int32_t ScreenPoint(int32_t x, int32_t y)
{
    const SDL_Surface* const surface = BoundSurface();
    if (!surface || x < 0 || y < 0 || x >= surface->w || y >= surface->h)
        return 0;
    const uint8_t bytesPerPixel = surface->format->BytesPerPixel;
    const uint32_t value = tervane::screen::StoredPixel(tervane::screen::PixelAddress(surface, x, y), bytesPerPixel);
    if (bytesPerPixel != 4)
        return static_cast<int32_t>(value);
    return static_cast<int32_t>((value & 0xFF00FF00u) | ((value & 0xFFu) << 16) | ((value >> 16) & 0xFFu));
}

// Text: SDL_gfx's built-in 8 x 8 font in the front colour.
int32_t ScreenTextLength(const char* text)
{
    if (!text)
        return 0;
    return static_cast<int32_t>(std::min<size_t>(std::strlen(text) * QV_DrawingCharacterSize, Int32Max));
}

int32_t ScreenDrawText(const char* text)
{
    SDL_Surface* const surface = Surface();
    if (!surface || !text)
        return 0;
    const int32_t result = WithStartLockReleased(surface, [&] {
        return primitives::stringColor(surface, Coordinate(QV_Drawing.textX), Coordinate(QV_Drawing.textY), text,
                                       QV_Drawing.frontColor);
    });
    QV_Drawing.textX = static_cast<int32_t>(std::min(int64_t{QV_Drawing.textX} + ScreenTextLength(text), Int32Max));
    return result;
}

int32_t ScreenLocate(int32_t x, int32_t y)
{
    QV_Drawing.textX = x;
    QV_Drawing.textY = y;
    return 0;
}

// One font and one mode only.
int32_t ScreenDrawingFont(void*)
{
    return 0;
}

int32_t ScreenDrawingMode(int32_t)
{
    return 0;
}

void* ScreenDrawingBuffer()
{
    return Surface() ? Surface()->pixels : nullptr;
}

int32_t ScreenDrawingBufferPitch()
{
    return BoundSurface() ? BoundSurface()->pitch : 0;
}

int32_t ScreenDrawingBufferPixelFormat()
{
    return BoundSurface() ? BoundSurface()->format->BitsPerPixel : 0;
}

// SDL refuses to blit to or flip a locked surface, hence the pairing.
void* ScreenStart(QV_DrawingOutput*)
{
    if (BoundSurface() && SDL_MUSTLOCK(BoundSurface()))
        SDL_LockSurface(BoundSurface());
    return BoundSurface();
}

int32_t ScreenStop()
{
    if (BoundSurface() && SDL_MUSTLOCK(BoundSurface()))
        SDL_UnlockSurface(BoundSurface());
    return 0;
}

// Calls `slot` of the current output; 0 when it has none.
template <class Slot, class... Arguments>
auto Dispatch(Slot QV_DrawingOutput::*slot, Arguments... arguments)
{
    using Result = decltype((QV_Drawing.current.*slot)(arguments...));
    const Slot operation = QV_Drawing.current.*slot;
    return operation ? operation(arguments...) : Result{};
}

}  // namespace

void QV_Init2DDrawing()
{
    QV_Drawing = QV_DrawingState{};
}

QV_DrawingOutput* QV_ScreenOutput()
{
    QV_2DDrawing_UseSDLFunctions(&QV_Drawing.screenOutput, QV_Screen_Current);
    return &QV_Drawing.screenOutput;
}

void QV_2DDrawing_UseSDLFunctions(QV_DrawingOutput* output, SDL_Surface* surface)
{
    // The screen cannot draw images: drawImage is left as it was.
    output->backColor = ScreenBackColor;
    output->box = ScreenBox;
    output->box2 = ScreenBox2;
    output->circle = ScreenCircle;
    output->circle2 = ScreenCircle2;
    output->drawText = ScreenDrawText;
    output->drawingBuffer = ScreenDrawingBuffer;
    output->drawingBufferPitch = ScreenDrawingBufferPitch;
    output->drawingBufferPixelFormat = ScreenDrawingBufferPixelFormat;
    output->drawingFont = ScreenDrawingFont;
    output->drawingMode = ScreenDrawingMode;
    output->ellipse = ScreenEllipse;
    output->ellipse2 = ScreenEllipse2;
    output->frontColor = ScreenFrontColor;
    output->line = ScreenLine;
    output->line2 = ScreenLine2;
    output->lineXY = ScreenLineXY;
    output->lineXY2 = ScreenLineXY2;
    output->locate = ScreenLocate;
    output->plot = ScreenPlot;
    output->plot2 = ScreenPlot2;
    output->point = ScreenPoint;
    output->start = ScreenStart;
    output->stop = ScreenStop;
    output->textLength = ScreenTextLength;
    QV_Drawing.onScreen = surface != nullptr && surface == QV_Screen_Current;
    QV_Drawing.surface = QV_Drawing.onScreen ? nullptr : surface;
}

void* QV_StartDrawing(const QV_DrawingOutput* output)
{
    if (!output)
        return nullptr;
    QV_Drawing.current = *output;
    return QV_Drawing.current.start ? QV_Drawing.current.start(&QV_Drawing.current) : nullptr;
}

int32_t QV_StopDrawing()
{
    return Dispatch(&QV_DrawingOutput::stop);
}

int32_t QV_BackColor(int32_t red, int32_t green, int32_t blue)
{
    return Dispatch(&QV_DrawingOutput::backColor, red, green, blue);
}

int32_t QV_Box(int32_t x, int32_t y, int32_t width, int32_t height)
{
    return Dispatch(&QV_DrawingOutput::box, x, y, width, height);
}

int32_t QV_Box2(int32_t x, int32_t y, int32_t width, int32_t height, int32_t color)
{
    return Dispatch(&QV_DrawingOutput::box2, x, y, width, height, color);
}

int32_t QV_Circle(int32_t x, int32_t y, int32_t radius)
{
    return Dispatch(&QV_DrawingOutput::circle, x, y, radius);
}

int32_t QV_Circle2(int32_t x, int32_t y, int32_t radius, int32_t color)
{
    return Dispatch(&QV_DrawingOutput::circle2, x, y, radius, color);
}

int32_t QV_DrawImage(void* image, int32_t x, int32_t y)
{
    return Dispatch(&QV_DrawingOutput::drawImage, image, x, y);
}

int32_t QV_DrawText(const char* text)
{
    return Dispatch(&QV_DrawingOutput::drawText, text);
}

void* QV_DrawingBuffer()
{
    return Dispatch(&QV_DrawingOutput::drawingBuffer);
}

int32_t QV_DrawingBufferPitch()
{
    return Dispatch(&QV_DrawingOutput::drawingBufferPitch);
}

int32_t QV_DrawingBufferPixelFormat()
{
    return Dispatch(&QV_DrawingOutput::drawingBufferPixelFormat);
}

int32_t QV_DrawingFont(void* font)
{
    return Dispatch(&QV_DrawingOutput::drawingFont, font);
}

int32_t QV_DrawingMode(int32_t mode)
{
    return Dispatch(&QV_DrawingOutput::drawingMode, mode);
}

int32_t QV_Ellipse(int32_t x, int32_t y, int32_t radiusX, int32_t radiusY)
{
    return Dispatch(&QV_DrawingOutput::ellipse, x, y, radiusX, radiusY);
}

int32_t QV_Ellipse2(int32_t x, int32_t y, int32_t radiusX, int32_t radiusY, int32_t color)
{
    return Dispatch(&QV_DrawingOutput::ellipse2, x, y, radiusX, radiusY, color);
}

int32_t QV_FrontColor(int32_t red, int32_t green, int32_t blue)
{
    return Dispatch(&QV_DrawingOutput::frontColor, red, green, blue);
}

int32_t QV_Line(int32_t x, int32_t y, int32_t width, int32_t height)
{
    return Dispatch(&QV_DrawingOutput::line, x, y, width, height);
}

int32_t QV_Line2(int32_t x, int32_t y, int32_t width, int32_t height, int32_t color)
{
    return Dispatch(&QV_DrawingOutput::line2, x, y, width, height, color);
}

int32_t QV_LineXY(int32_t x1, int32_t y1, int32_t x2, int32_t y2)
{
    return Dispatch(&QV_DrawingOutput::lineXY, x1, y1, x2, y2);
}

int32_t QV_LineXY2(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t color)
{
    return Dispatch(&QV_DrawingOutput::lineXY2, x1, y1, x2, y2, color);
}

int32_t QV_Locate(int32_t x, int32_t y)
{
    return Dispatch(&QV_DrawingOutput::locate, x, y);
}

int32_t QV_Plot(int32_t x, int32_t y)
{
    return Dispatch(&QV_DrawingOutput::plot, x, y);
}

int32_t QV_Plot2(int32_t x, int32_t y, int32_t color)
{
    return Dispatch(&QV_DrawingOutput::plot2, x, y, color);
}

int32_t QV_Point(int32_t x, int32_t y)
{
    return Dispatch(&QV_DrawingOutput::point, x, y);
}

int32_t QV_TextLength(const char* text)
{
    return Dispatch(&QV_DrawingOutput::textLength, text);
}
