/* Our SDL 1.2 drivers for a web page (web/sdl), run in node on the fake
   page of fake_page.js: the screen reaches the canvas as it was drawn, the
   page's keys arrive as SDL's symbols, Web Audio plays what the callback
   mixed, and SDL_Delay lets the page run. */
#include <SDL.h>
#include <emscripten.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

static int failures;

#define CHECK(condition)                                                                                               \
    do {                                                                                                               \
        if (!(condition)) {                                                                                            \
            fprintf(stderr, "%s:%d: failed: %s\n", __FILE__, __LINE__, #condition);                                    \
            ++failures;                                                                                                \
        }                                                                                                              \
    } while (0)

/* The canvas pixel at x, y as 0xRRGGBBAA. */
static unsigned CanvasPixel(int x, int y)
{
    return (unsigned)EM_ASM_DOUBLE(
        {
            var p = Module.canvas.pixels;
            var at = ($1 * Module.canvas.width + $0) * 4;
            return p ? ((p[at] << 24) >>> 0) + (p[at + 1] << 16) + (p[at + 2] << 8) + p[at + 3] : 0;
        },
        x, y);
}

static void ScreenReachesTheCanvas(void)
{
    SDL_Surface* screen = SDL_SetVideoMode(4, 3, 0, SDL_SWSURFACE);
    CHECK(screen != NULL && screen->format->BitsPerPixel == 32);
    CHECK(EM_ASM_INT({ return Module.canvas.width * 10 + Module.canvas.height; }) == 43);
    ((Uint32*)((Uint8*)screen->pixels + 2 * screen->pitch))[1] = SDL_MapRGB(screen->format, 0x12, 0x34, 0x56);
    ((Uint32*)screen->pixels)[3] = SDL_MapRGB(screen->format, 0xFF, 0x80, 0x01);
    /* Only the rectangle updated reaches the canvas. */
    SDL_UpdateRect(screen, 1, 2, 1, 1);
    CHECK(CanvasPixel(1, 2) == 0x123456FFu);
    CHECK(CanvasPixel(3, 0) == 0);
    SDL_Flip(screen);
    CHECK(CanvasPixel(3, 0) == 0xFF8001FFu);
    CHECK(CanvasPixel(0, 0) == 0x000000FFu);

    /* Another depth is drawn on a shadow and converted as it is shown
       (red's 5 bits to 8). */
    screen = SDL_SetVideoMode(2, 2, 16, SDL_SWSURFACE);
    CHECK(screen != NULL && screen->format->BitsPerPixel == 16);
    SDL_FillRect(screen, NULL, SDL_MapRGB(screen->format, 0xFF, 0, 0));
    SDL_Flip(screen);
    CHECK(CanvasPixel(1, 1) == 0xF80000FFu);
}

/* The next event's type and key symbol, as type * 1000 + symbol; 0 for none. */
static int NextKey(void)
{
    SDL_Event event;
    if (!SDL_PollEvent(&event))
        return 0;
    if (event.type == SDL_ACTIVEEVENT)
        return SDL_ACTIVEEVENT * 1000 + event.active.gain;
    return event.type * 1000 + event.key.keysym.sym;
}

static int Press(const char* type, const char* key, const char* code, int location, int repeat)
{
    // clang-format off
    return EM_ASM_INT({
        return Module.fakeEvent(UTF8ToString($0), {key: UTF8ToString($1), code: UTF8ToString($2), location: $3, repeat: !!$4});
    }, type, key, code, location, repeat);
    // clang-format on
}

static void KeysArriveAsSymbols(void)
{
    SDL_Event setting;
    while (SDL_PollEvent(&setting)) {}
    static const struct {
        const char *key, *code;
        int location;
        SDLKey symbol;
    } keys[] = {
        {"s", "KeyS", 0, SDLK_s},
        {"S", "KeyS", 0, SDLK_s},
        {" ", "Space", 0, SDLK_SPACE},
        {"ArrowUp", "ArrowUp", 0, SDLK_UP},
        {"Escape", "Escape", 0, SDLK_ESCAPE},
        {"F12", "F12", 0, SDLK_F12},
        {"Shift", "ShiftRight", 2, SDLK_RSHIFT},
        {"5", "Numpad5", 3, SDLK_KP5},
        {"Enter", "NumpadEnter", 3, SDLK_KP_ENTER},
    };
    size_t i;
    for (i = 0; i < sizeof keys / sizeof keys[0]; ++i) {
        CHECK(Press("keydown", keys[i].key, keys[i].code, keys[i].location, 0));
        CHECK(Press("keyup", keys[i].key, keys[i].code, keys[i].location, 0));
        CHECK(NextKey() == SDL_KEYDOWN * 1000 + (int)keys[i].symbol);
        CHECK(NextKey() == SDL_KEYUP * 1000 + (int)keys[i].symbol);
    }
    /* A held key's repeats and the keys SDL has no symbol for stay quiet;
       only the game's keys are kept from the page. */
    CHECK(Press("keydown", "p", "KeyP", 0, 0));
    CHECK(Press("keydown", "p", "KeyP", 0, 1));
    CHECK(!Press("keydown", "Dead", "BracketLeft", 0, 0));
    CHECK(NextKey() == SDL_KEYDOWN * 1000 + SDLK_p);
    CHECK(NextKey() == 0);
    /* Leaving the page is a loss of input focus. */
    EM_ASM({ Module.fakeEvent('blur', {}); });
    CHECK(NextKey() == SDL_ACTIVEEVENT * 1000 + 0);
}

static void Ramp(void* unused, Uint8* stream, int length)
{
    Sint16* samples = (Sint16*)stream;
    int i;
    for (i = 0; i < length / 2; ++i)
        samples[i] = (Sint16)i;
}

static void ThreeQuarters(void* unused, Uint8* stream, int length)
{
    memset(stream, 0xC0, (size_t)length);
}

static double Sample(int channel, int frame)
{
    return EM_ASM_DOUBLE({ return Module.fakeAudioBuffer()[$0][$1] * 32768; }, channel, frame);
}

static void AudioPlaysTheCallbacksSamples(void)
{
    SDL_AudioSpec wanted = {0}, obtained;
    wanted.freq = 44100;
    wanted.format = AUDIO_S16LSB;
    wanted.channels = 2;
    wanted.samples = 512;
    wanted.callback = Ramp;
    CHECK(SDL_OpenAudio(&wanted, &obtained) == 0);
    /* The page's rate, and a buffer the page's thread can keep up with. */
    CHECK(obtained.freq == 48000 && obtained.samples == 1024 && obtained.channels == 2);
    CHECK(Sample(0, 5) == 0);
    SDL_PauseAudio(0);
    CHECK(Sample(0, 5) == 10 && Sample(1, 5) == 11);
    SDL_PauseAudio(1);
    CHECK(Sample(1, 5) == 0);
    SDL_CloseAudio();

    /* Without the obtained format SDL converts: unsigned 8-bit 0xC0 is a
       quarter of the way up, 16384 in 16 bits. */
    wanted.format = AUDIO_U8;
    wanted.channels = 1;
    wanted.freq = 24000;
    wanted.callback = ThreeQuarters;
    CHECK(SDL_OpenAudio(&wanted, NULL) == 0);
    SDL_PauseAudio(0);
    CHECK(Sample(0, 100) == 16384);
    SDL_CloseAudio();
}

static void DelayLetsThePageRun(void)
{
    // clang-format off
    EM_ASM({
        Module.ticked = false;
        setTimeout(function () { Module.ticked = true; }, 0);
    });
    // clang-format on
    SDL_Delay(5);
    CHECK(EM_ASM_INT({ return Module.ticked; }));
}

int main(void)
{
    CHECK(SDL_Init(SDL_INIT_VIDEO | SDL_INIT_AUDIO) == 0);
    char driver[16];
    CHECK(SDL_VideoDriverName(driver, sizeof driver) != NULL && strcmp(driver, "web") == 0);
    /* As the game has it: SDL would draw its own pointer on the screen. */
    SDL_ShowCursor(SDL_DISABLE);
    ScreenReachesTheCanvas();
    KeysArriveAsSymbols();
    AudioPlaysTheCallbacksSamples();
    DelayLetsThePageRun();
    SDL_Quit();
    /* Gone with the video: the page's keys are the page's again. */
    CHECK(!Press("keydown", "s", "KeyS", 0, 0));
    if (failures == 0)
        puts("all checks passed");
    /* main's return after a sleep is not the program's exit status. */
    exit(failures == 0 ? 0 : 1);
}
