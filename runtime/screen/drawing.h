// 2D drawing: plotting, lines, boxes, circles, ellipses, colours and text on a
// drawing output.
//
// A drawing output is a record of operations. QV_StartDrawing copies the
// record it is given into the current one, and every drawing command calls
// its operation in the current record until the next QV_StartDrawing; a
// command before the first QV_StartDrawing does nothing and returns 0. The
// one output of this system is the screen's, from QV_ScreenOutput, which
// draws straight into the screen's back buffer. Pair every QV_StartDrawing
// with a QV_StopDrawing before the next sprite display or flip: the screen
// surface may stay locked in between.
//
// Colours: QV_FrontColor and QV_BackColor take red, green and blue; the
// commands with an explicit colour take the runtime's RGB value, red in bits
// 0 to 7, green in 8 to 15, blue in 16 to 23. Drawing is always opaque.
//
// Text is drawn in the front colour with a fixed 8 x 8 font; QV_Locate sets
// where the next text starts (its top-left corner), and each text moves that
// position to its own end.
#pragma once

#include <cstdint>

struct SDL_Surface;
struct QV_DrawingOutput;

// Width and height of one character of text, in pixels.
inline constexpr int32_t QV_DrawingCharacterSize = 8;

// The operations of a drawing output, in the alphabetical order of their
// commands; sizes are relative to x, y and far corners inclusive.
struct QV_DrawingOutput {
    intptr_t reserved[4];
    int32_t (*backColor)(int32_t red, int32_t green, int32_t blue);
    int32_t (*box)(int32_t x, int32_t y, int32_t width, int32_t height);
    int32_t (*box2)(int32_t x, int32_t y, int32_t width, int32_t height, int32_t color);
    int32_t (*circle)(int32_t x, int32_t y, int32_t radius);
    int32_t (*circle2)(int32_t x, int32_t y, int32_t radius, int32_t color);
    int32_t (*drawImage)(void* image, int32_t x, int32_t y);
    int32_t (*drawText)(const char* text);
    void* (*drawingBuffer)();
    int32_t (*drawingBufferPitch)();
    int32_t (*drawingBufferPixelFormat)();
    int32_t (*drawingFont)(void* font);
    int32_t (*drawingMode)(int32_t mode);
    int32_t (*ellipse)(int32_t x, int32_t y, int32_t radiusX, int32_t radiusY);
    int32_t (*ellipse2)(int32_t x, int32_t y, int32_t radiusX, int32_t radiusY, int32_t color);
    int32_t (*frontColor)(int32_t red, int32_t green, int32_t blue);
    int32_t (*line)(int32_t x, int32_t y, int32_t width, int32_t height);
    int32_t (*line2)(int32_t x, int32_t y, int32_t width, int32_t height, int32_t color);
    int32_t (*lineXY)(int32_t x1, int32_t y1, int32_t x2, int32_t y2);
    int32_t (*lineXY2)(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t color);
    int32_t (*locate)(int32_t x, int32_t y);
    int32_t (*plot)(int32_t x, int32_t y);
    int32_t (*plot2)(int32_t x, int32_t y, int32_t color);
    int32_t (*point)(int32_t x, int32_t y);
    void* (*start)(QV_DrawingOutput* current);
    int32_t (*stop)();
    int32_t (*textLength)(const char* text);
};

// The layer's process-wide state.
struct QV_DrawingState {
    QV_DrawingOutput current{};        // copy of the output last started
    QV_DrawingOutput screenOutput{};   // the screen's output record
    SDL_Surface* surface = nullptr;    // what the screen output draws on, unless onScreen
    bool onScreen = false;             // draws on the open screen; on nothing while none is open
    uint32_t frontColor = 0x000000FF;  // 0xRRGGBBAA
    uint32_t backColor = 0x000000FF;   // 0xRRGGBBAA
    int32_t textX = 0;                 // where the next text starts
    int32_t textY = 0;
};
extern QV_DrawingState QV_Drawing;

// Puts the layer in its starting state: no output started, no surface bound,
// both colours opaque black. Called first thing at start-up.
void QV_Init2DDrawing();

// Binds the screen output to the open screen and returns it.
QV_DrawingOutput* QV_ScreenOutput();
// Fills `output` with the operations that draw on `surface` and makes
// `surface` the one they draw on. Bound to the screen, they follow it: once
// it is closed they draw nothing and return 0.
void QV_2DDrawing_UseSDLFunctions(QV_DrawingOutput* output, SDL_Surface* surface);

// Makes `output` current and starts drawing on it (the screen output locks
// the screen surface when SDL requires it). Returns what its start gives.
void* QV_StartDrawing(const QV_DrawingOutput* output);
// Ends drawing on the current output.
int32_t QV_StopDrawing();

// The drawing commands; each returns what the current output's operation
// returns. Coordinates and their sums with sizes may take any 32-bit value:
// what lies beyond SDL_gfx's 16-bit range is clipped away.
int32_t QV_BackColor(int32_t red, int32_t green, int32_t blue);
int32_t QV_Box(int32_t x, int32_t y, int32_t width, int32_t height);
int32_t QV_Box2(int32_t x, int32_t y, int32_t width, int32_t height, int32_t color);
int32_t QV_Circle(int32_t x, int32_t y, int32_t radius);
int32_t QV_Circle2(int32_t x, int32_t y, int32_t radius, int32_t color);
int32_t QV_DrawImage(void* image, int32_t x, int32_t y);
int32_t QV_DrawText(const char* text);
void* QV_DrawingBuffer();
int32_t QV_DrawingBufferPitch();
int32_t QV_DrawingBufferPixelFormat();
int32_t QV_DrawingFont(void* font);
int32_t QV_DrawingMode(int32_t mode);
int32_t QV_Ellipse(int32_t x, int32_t y, int32_t radiusX, int32_t radiusY);
int32_t QV_Ellipse2(int32_t x, int32_t y, int32_t radiusX, int32_t radiusY, int32_t color);
int32_t QV_FrontColor(int32_t red, int32_t green, int32_t blue);
int32_t QV_Line(int32_t x, int32_t y, int32_t width, int32_t height);
int32_t QV_Line2(int32_t x, int32_t y, int32_t width, int32_t height, int32_t color);
int32_t QV_LineXY(int32_t x1, int32_t y1, int32_t x2, int32_t y2);
int32_t QV_LineXY2(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t color);
int32_t QV_Locate(int32_t x, int32_t y);
int32_t QV_Plot(int32_t x, int32_t y);
int32_t QV_Plot2(int32_t x, int32_t y, int32_t color);
// The pixel value at x, y (red in the low byte on 32-bit surfaces); 0 outside
// the surface.
int32_t QV_Point(int32_t x, int32_t y);
int32_t QV_TextLength(const char* text);
