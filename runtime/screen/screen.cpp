#include "runtime/screen/screen.h"

#include "runtime/screen/kept_pictures.h"
#include "runtime/screen/pixel_scaling.h"
#include "runtime/sdl/sdl_library.h"
#include "runtime/sdl/sdl_lifetime.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <ctime>
#ifdef __EMSCRIPTEN__
#include <emscripten.h>
#endif

SDL_Surface* QV_Screen_Current = nullptr;
int32_t QV_Screen_RealWidth = 0;
int32_t QV_Screen_RealHeight = 0;
int32_t QV_Screen_Width = 0;
int32_t QV_Screen_Height = 0;
SDL_Surface* QV_Sprite_CurrentBitmap = nullptr;

namespace {

using tervane::screen::PixelsReader;

constexpr const char* WindowTitle = "Tervane";
constexpr int64_t NanosecondsPerSecond = 1'000'000'000;

// Frames are held to absolute deadlines on the monotonic clock, so the time
// spent drawing a frame counts towards its interval and sleeps never add up
// their wake-up delays.
struct FramePacing {
    int64_t interval;  // nanoseconds per frame; 0 when unpaced
    int64_t deadline;  // when the last frame was due
    bool started;      // whether a frame has been presented at this rate
};

FramePacing pacing;

constexpr Uint32 FullScreenFlags = SDL_FULLSCREEN | SDL_DOUBLEBUF | SDL_HWSURFACE;

// A screen shown enlarged: a window at a scale above 1, or full screen on a
// larger desktop. The game draws its frame, at the size it asked for, on a
// back buffer of this layer's own (QV_Screen_Current), so everything it
// computes and every digest taken of the screen is the same however it is
// shown; presenting enlarges that buffer into SDL's surface at left, top.
struct Enlargement {
    SDL_Surface* window;  // SDL's; nullptr when the screen is shown as drawn
    int32_t scale;
    int32_t left;
    int32_t top;
    PixelsReader reader;  // who reads the enlarged pixels
};

constexpr Enlargement NotEnlarged{nullptr, 1, 0, 0, PixelsReader::ThisProcess};

Enlargement enlargement = NotEnlarged;

QV_ScreenSize desktop{0, 0};

int64_t MonotonicNow()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return now.tv_sec * NanosecondsPerSecond + now.tv_nsec;
}

void SleepUntil(int64_t deadline)
{
#ifdef __EMSCRIPTEN__
    // A web page's one thread must not block, or the page freezes and no
    // key or sound comes: the wait hands the browser its turn (ASYNCIFY),
    // in whole milliseconds, the finest it has.
    const int64_t wait = deadline - MonotonicNow();
    constexpr int64_t NanosecondsPerMillisecond = 1'000'000;
    emscripten_sleep(
        wait > 0 ? static_cast<unsigned>((wait + NanosecondsPerMillisecond - 1) / NanosecondsPerMillisecond) : 0);
#else
    const timespec until{static_cast<time_t>(deadline / NanosecondsPerSecond),
                         static_cast<long>(deadline % NanosecondsPerSecond)};
    while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &until, nullptr) == EINTR) {}
#endif
}

// A frame that runs late moves the schedule to now instead of letting the
// following frames rush to catch up.
void WaitForFrameDeadline()
{
    if (pacing.interval == 0)
        return;
    const int64_t now = MonotonicNow();
    if (!pacing.started) {
        pacing.started = true;
        pacing.deadline = now;
        return;
    }
    pacing.deadline += pacing.interval;
    if (pacing.deadline <= now)
        pacing.deadline = now;
    else
        SleepUntil(pacing.deadline);
}

// A screen that flips between two buffers shows the other one after each
// flip, so it does not keep what it showed.
bool KeepsPixels(const SDL_Surface* screen)
{
    constexpr Uint32 Flipping = SDL_DOUBLEBUF | SDL_HWSURFACE;
    return screen != nullptr && (screen->flags & Flipping) != Flipping;
}

SDL_Surface* AdoptScreen(SDL_Surface* screen, int32_t width, int32_t height)
{
    tervane::screen::KeepPicturesOf(KeepsPixels(screen) ? screen : nullptr);
    QV_Screen_Current = screen;
    if (screen == nullptr)
        return nullptr;
    QV_Screen_Width = QV_Screen_RealWidth = width;
    QV_Screen_Height = QV_Screen_RealHeight = height;
    SDL_ShowCursor(SDL_DISABLE);
    return screen;
}

// Who reads SDL's screen surface once it is presented: sdl12-compat
// converts it in this process for SDL 2; classic SDL 1.2 hands it to the
// display server as it is.
PixelsReader ReaderOfShownSurface()
{
    return QV_RunsOnSDL2() ? PixelsReader::ThisProcess : PixelsReader::DisplayServer;
}

// The back buffer takes the window's pixel format, so sprites converted to
// the screen's format and the enlargement both copy pixels unchanged.
SDL_Surface* BackBufferFor(const SDL_Surface* window, int32_t width, int32_t height)
{
    const SDL_PixelFormat* format = window->format;
    SDL_Surface* back = SDL_CreateRGBSurface(SDL_SWSURFACE, width, height, format->BitsPerPixel, format->Rmask,
                                             format->Gmask, format->Bmask, format->Amask);
    if (back != nullptr && format->palette != nullptr)
        SDL_SetColors(back, format->palette->colors, 0, format->palette->ncolors);
    return back;
}

// A display target left pointing at a released screen would be drawn into
// after it is gone.
void ForgetScreen()
{
    tervane::screen::KeepPicturesOf(nullptr);
    if (QV_Sprite_CurrentBitmap == QV_Screen_Current)
        QV_Sprite_CurrentBitmap = nullptr;
    QV_Screen_Current = nullptr;
}

void ReleaseBackBuffer()
{
    if (enlargement.window == nullptr)
        return;
    SDL_Surface* const back = QV_Screen_Current;
    ForgetScreen();
    SDL_FreeSurface(back);
    enlargement = NotEnlarged;
}

// The game gets a back buffer of width x height, which presenting enlarges
// by `scale` into the middle of `shown`. The border around it is painted
// black and shown once, in each buffer of a surface that has two, as
// nothing else ever draws there.
SDL_Surface* ShowEnlarged(SDL_Surface* shown, int32_t width, int32_t height, int32_t scale)
{
    SDL_Surface* back = BackBufferFor(shown, width, height);
    if (back != nullptr) {
        enlargement = {shown, scale, (shown->w - width * scale) / 2, (shown->h - height * scale) / 2,
                       ReaderOfShownSurface()};
        const int buffers = (shown->flags & SDL_DOUBLEBUF) != 0 ? 2 : 1;
        for (int buffer = 0; buffer < buffers; ++buffer) {
            SDL_FillRect(shown, nullptr, SDL_MapRGB(shown->format, 0, 0, 0));
            SDL_Flip(shown);
        }
    }
    return AdoptScreen(back, width, height);
}

// Whether `area` holds a width x height screen with room to spare.
bool HasRoomAround(QV_ScreenSize area, int32_t width, int32_t height)
{
    return area.width >= width && area.height >= height && (area.width > width || area.height > height);
}

bool IsWindowScale(int32_t width, int32_t height, int32_t scale)
{
    return scale >= 1 && scale <= QV_MAX_WINDOW_SCALE && static_cast<int64_t>(width) * scale <= INT_MAX &&
        static_cast<int64_t>(height) * scale <= INT_MAX;
}

// Where SDL copies the surface to the display, only the picture is copied:
// the border round it never changes, and a desktop-sized surface is several
// times the picture. A surface that flips between two buffers is flipped.
void ShowPicture(SDL_Surface* shown)
{
    if ((shown->flags & SDL_DOUBLEBUF) != 0) {
        SDL_Flip(shown);
        return;
    }
    SDL_UpdateRect(shown, enlargement.left, enlargement.top,
                   static_cast<Uint32>(QV_Screen_Current->w * enlargement.scale),
                   static_cast<Uint32>(QV_Screen_Current->h * enlargement.scale));
}

void PresentEnlarged()
{
    SDL_Surface* const shown = enlargement.window;
    if (SDL_LockSurface(shown) == 0) {
        SDL_LockSurface(QV_Screen_Current);
        tervane::screen::ScalePixels(QV_Screen_Current, shown, enlargement.scale, enlargement.left, enlargement.top,
                                     enlargement.reader);
        SDL_UnlockSurface(QV_Screen_Current);
        SDL_UnlockSurface(shown);
    }
    ShowPicture(shown);
}

}  // namespace

QV_ScreenSize QV_DesktopSize()
{
    // Once a mode is set, classic SDL 1.2 reports the mode's size instead.
    if (SDL_GetVideoSurface() == nullptr) {
        const SDL_VideoInfo* info = SDL_GetVideoInfo();
        desktop = info != nullptr ? QV_ScreenSize{info->current_w, info->current_h} : QV_ScreenSize{0, 0};
    }
    return desktop;
}

int32_t QV_LargestScaleWithin(int32_t width, int32_t height, QV_ScreenSize area)
{
    if (width <= 0 || height <= 0)
        return 0;
    return std::min({area.width / width, area.height / height, QV_MAX_WINDOW_SCALE});
}

SDL_Surface* QV_OpenScreen(int32_t width, int32_t height, int32_t depth)
{
    QV_CloseScreen();
    if (QV_StartSDLVideo() == 0)
        return nullptr;
    const QV_ScreenSize area = QV_DesktopSize();
    if (!HasRoomAround(area, width, height))
        return AdoptScreen(SDL_SetVideoMode(width, height, depth, FullScreenFlags), width, height);
    // Classic SDL 1.2 hands its full screen back to the window manager as
    // a window while another window has the focus.
    SDL_WM_SetCaption(WindowTitle, WindowTitle);
    SDL_Surface* shown = SDL_SetVideoMode(area.width, area.height, depth, FullScreenFlags);
    if (shown == nullptr)
        return nullptr;
    return ShowEnlarged(shown, width, height, QV_LargestScaleWithin(width, height, {shown->w, shown->h}));
}

SDL_Surface* QV_OpenWindowedScreen(void*, int32_t, int32_t, int32_t width, int32_t height, int32_t scale)
{
    if (!IsWindowScale(width, height, scale))
        return nullptr;
    // SDL_SetVideoMode would start video by itself, behind the flags' back,
    // when a closed screen took it down.
    if (QV_StartSDLVideo() == 0)
        return nullptr;
    SDL_WM_SetCaption(WindowTitle, WindowTitle);
    ReleaseBackBuffer();
    SDL_Surface* window = SDL_SetVideoMode(width * scale, height * scale, 0, SDL_DOUBLEBUF | SDL_HWSURFACE);
    if (window == nullptr || scale == 1)
        return AdoptScreen(window, width, height);
    return ShowEnlarged(window, width, height, scale);
}

void QV_CloseScreen()
{
    if (QV_Screen_Current == nullptr)
        return;
    ReleaseBackBuffer();
    // SDL releases the screen surface with the subsystem.
    ForgetScreen();
    QV_StopSDLVideo();
}

void QV_FlipBuffers()
{
    if (QV_Screen_Current == nullptr)
        return;
    QV_UseScreen();
    WaitForFrameDeadline();
    if (enlargement.window == nullptr)
        SDL_Flip(QV_Screen_Current);
    else
        PresentEnlarged();
}

void QV_ShowScreenAgain()
{
    if (QV_Screen_Current == nullptr)
        return;
    // An enlarged screen's SDL surface still holds the last enlargement, and
    // its border.
    SDL_UpdateRect(enlargement.window != nullptr ? enlargement.window : QV_Screen_Current, 0, 0, 0, 0);
}

void QV_ClearScreen(int32_t red, int32_t green, int32_t blue)
{
    if (QV_Screen_Current == nullptr)
        return;
    const Uint32 colour = SDL_MapRGB(QV_Screen_Current->format, static_cast<Uint8>(red), static_cast<Uint8>(green),
                                     static_cast<Uint8>(blue));
    tervane::screen::FillWhole(QV_Screen_Current, colour);
}

SDL_Surface* QV_UseScreen()
{
    QV_Sprite_CurrentBitmap = QV_Screen_Current;
    QV_Screen_Width = QV_Screen_RealWidth;
    QV_Screen_Height = QV_Screen_RealHeight;
    return QV_Sprite_CurrentBitmap;
}

void QV_BlankScreen()
{
    QV_ClearScreen(0, 0, 0);
    QV_Sprite_CurrentBitmap = nullptr;
}

SDL_Surface* QV_ScreenID()
{
    return QV_Screen_Current;
}

void QV_SetFrameRate(int32_t rate)
{
    pacing = {rate > 0 ? NanosecondsPerSecond / rate : 0, 0, false};
}

void QV_SetRefreshRate(int32_t) {}
