#include "runtime/screen/screen.h"

#include "runtime/screen/sprites.h"
#include "runtime/sdl/sdl_lifetime.h"

#include <cerrno>
#include <ctime>

SDL_Surface* QV_Screen_Current = nullptr;
int32_t QV_Screen_RealWidth = 0;
int32_t QV_Screen_RealHeight = 0;
int32_t QV_Screen_Width = 0;
int32_t QV_Screen_Height = 0;
SDL_Surface* QV_Sprite_CurrentBitmap = nullptr;

namespace {

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

int64_t MonotonicNow()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return now.tv_sec * NanosecondsPerSecond + now.tv_nsec;
}

void SleepUntil(int64_t deadline)
{
    const timespec until{static_cast<time_t>(deadline / NanosecondsPerSecond), static_cast<long>(deadline % NanosecondsPerSecond)};
    while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &until, nullptr) == EINTR) {
    }
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

SDL_Surface* AdoptScreen(SDL_Surface* screen, int32_t width, int32_t height)
{
    QV_Screen_Current = screen;
    if (screen == nullptr)
        return nullptr;
    QV_Screen_Width = QV_Screen_RealWidth = width;
    QV_Screen_Height = QV_Screen_RealHeight = height;
    SDL_ShowCursor(SDL_DISABLE);
    return screen;
}

}  // namespace

SDL_Surface* QV_OpenScreen(int32_t width, int32_t height, int32_t depth)
{
    QV_CloseScreen();
    if (QV_StartSDLVideo() == 0)
        return nullptr;
    return AdoptScreen(SDL_SetVideoMode(width, height, depth, SDL_FULLSCREEN | SDL_DOUBLEBUF | SDL_HWSURFACE), width, height);
}

SDL_Surface* QV_OpenWindowedScreen(void*, int32_t, int32_t, int32_t width, int32_t height)
{
    // SDL_SetVideoMode would start video by itself, behind the flags' back,
    // when a closed screen took it down.
    if (QV_StartSDLVideo() == 0)
        return nullptr;
    SDL_WM_SetCaption(WindowTitle, WindowTitle);
    return AdoptScreen(SDL_SetVideoMode(width, height, 0, SDL_DOUBLEBUF | SDL_HWSURFACE), width, height);
}

void QV_CloseScreen()
{
    if (QV_Screen_Current == nullptr)
        return;
    // SDL releases the screen surface with the subsystem: a display target
    // left pointing at it would be drawn into after it is gone.
    if (QV_Sprite_CurrentBitmap == QV_Screen_Current)
        QV_Sprite_CurrentBitmap = nullptr;
    QV_StopSDLVideo();
    QV_Screen_Current = nullptr;
}

void QV_FlipBuffers()
{
    if (QV_Screen_Current == nullptr)
        return;
    QV_UseBuffer(-1);
    WaitForFrameDeadline();
    SDL_Flip(QV_Screen_Current);
}

void QV_ClearScreen(int32_t red, int32_t green, int32_t blue)
{
    if (QV_Screen_Current == nullptr)
        return;
    const Uint32 colour = SDL_MapRGB(QV_Screen_Current->format, static_cast<Uint8>(red), static_cast<Uint8>(green), static_cast<Uint8>(blue));
    SDL_FillRect(QV_Screen_Current, nullptr, colour);
}

SDL_Surface* QV_UseBuffer(int32_t sprite)
{
    if (sprite == -1) {
        QV_Sprite_CurrentBitmap = QV_Screen_Current;
        QV_Screen_Width = QV_Screen_RealWidth;
        QV_Screen_Height = QV_Screen_RealHeight;
        return QV_Sprite_CurrentBitmap;
    }
    const QV_SpriteRecord* record = QV_SpriteRecordOf(sprite);
    if (record != nullptr && record->surface != nullptr) {
        QV_Sprite_CurrentBitmap = record->surface;
        QV_Screen_Width = record->fullWidth;
        QV_Screen_Height = record->fullHeight;
    }
    return QV_Sprite_CurrentBitmap;
}

SDL_Surface* QV_ScreenID()
{
    return QV_Screen_Current;
}

void QV_SetFrameRate(int32_t rate)
{
    pacing = {rate > 0 ? NanosecondsPerSecond / rate : 0, 0, false};
}

void QV_SetRefreshRate(int32_t)
{
}
