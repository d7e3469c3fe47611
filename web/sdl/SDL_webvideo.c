/* SDL 1.2's video driver for a web page: the screen is an SDL surface of
   32-bit pixels (0x00RRGGBB) in the program's memory, copied to the page's
   canvas (Module.canvas) at every update, and the page's keys arrive as SDL
   key events. Built into Debian's SDL 1.2 source (web-drivers.patch lists
   it); the program draws exactly as it does on the desktop, so its frames
   are the same. */
#include "SDL_config.h"

#include "SDL_events_c.h"
#include "SDL_pixels_c.h"
#include "SDL_sysvideo.h"
#include "SDL_video.h"

#include <emscripten.h>

/* SDL's drivers take their device as `this`. */
#undef _THIS
#define _THIS SDL_VideoDevice* this

#define WEBVID_DRIVER_NAME "web"

/* The keys queue holds one number an event: the SDL key symbol pressed,
   with ReleasedKey added when it was released; or a change of focus. */
enum { ReleasedKey = 0x10000, FocusLost = 0x20000, FocusGained = 0x40000 };

struct SDL_PrivateVideoData {
    Uint8* canvasBytes; /* the screen as the canvas takes it: R, G, B, A */
};

/* The page's side, in JavaScript; kept as written, not as C is formatted. */
// clang-format off
EM_JS(int, WEB_HasCanvas, (void), {
    return typeof Module !== 'undefined' && Module['canvas'] ? 1 : 0;
});

EM_JS(void, WEB_SizeCanvas, (int width, int height), {
    Module['canvas'].width = width;
    Module['canvas'].height = height;
});

/* The canvas takes the rectangle x, y, w, h of the screen's bytes. */
EM_JS(void, WEB_PutRectangle, (const Uint8 *bytes, int width, int height, int x, int y, int w, int h), {
    var canvas = Module['canvas'];
    var context = canvas.webContext || (canvas.webContext = canvas.getContext('2d'));
    var image = new ImageData(new Uint8ClampedArray(HEAPU8.buffer, bytes, width * height * 4), width, height);
    context.putImageData(image, 0, 0, x, y, w, h);
});

/* SDL's key symbols for the page's keys: an ASCII character is its own
   symbol in lower case, as SDL has it on the desktop; the others by name. */
EM_JS(void, WEB_ListenToKeys, (void), {
    var queue = Module['webKeys'] = [];
    var numpad = {Numpad0: 256, Numpad1: 257, Numpad2: 258, Numpad3: 259, Numpad4: 260, Numpad5: 261,
                  Numpad6: 262, Numpad7: 263, Numpad8: 264, Numpad9: 265, NumpadDecimal: 266,
                  NumpadDivide: 267, NumpadMultiply: 268, NumpadSubtract: 269, NumpadAdd: 270,
                  NumpadEnter: 271, NumpadEqual: 272};
    var sided = {Shift: [304, 303], Control: [306, 305], Alt: [308, 307], AltGraph: [313, 313], Meta: [310, 309]};
    var named = {Backspace: 8, Tab: 9, Clear: 12, Enter: 13, Pause: 19, Escape: 27, Delete: 127,
                 ArrowUp: 273, ArrowDown: 274, ArrowRight: 275, ArrowLeft: 276, Insert: 277, Home: 278,
                 End: 279, PageUp: 280, PageDown: 281, NumLock: 300, CapsLock: 301, ScrollLock: 302,
                 PrintScreen: 316, ContextMenu: 319};
    function symbol(e) {
        var k = e.key || '';
        if (numpad[e.code]) return numpad[e.code];
        if (sided[k]) return sided[k][e.location === 2 ? 1 : 0];
        if (named[k]) return named[k];
        var f = /^F([1-9]|1[0-5])$/.exec(k);
        if (f) return 281 + Number(f[1]);
        if (k.length === 1 && k.charCodeAt(0) >= 32 && k.charCodeAt(0) < 127)
            return k.toLowerCase().charCodeAt(0);
        return 0;
    }
    function key(e, released) {
        var sym = symbol(e);
        if (!sym) return;
        /* The game's keys are not the page's: no scrolling, no finding. */
        e.preventDefault();
        if (!e.repeat) queue.push(released ? sym + 65536 : sym);
    }
    var listeners = Module['webKeyListeners'] = {
        keydown: function (e) { key(e, false); },
        keyup: function (e) { key(e, true); },
        blur: function () { queue.push(131072); },
        focus: function () { queue.push(262144); }
    };
    for (var type in listeners) window.addEventListener(type, listeners[type]);
});

EM_JS(void, WEB_StopListening, (void), {
    var listeners = Module['webKeyListeners'];
    for (var type in listeners) window.removeEventListener(type, listeners[type]);
    Module['webKeyListeners'] = null;
});

EM_JS(int, WEB_NextKey, (void), {
    var queue = Module['webKeys'];
    return queue && queue.length ? queue.shift() : 0;
});
// clang-format on

static int WEB_VideoInit(_THIS, SDL_PixelFormat* vformat)
{
    vformat->BitsPerPixel = 32;
    vformat->BytesPerPixel = 4;
    vformat->Rmask = 0x00FF0000;
    vformat->Gmask = 0x0000FF00;
    vformat->Bmask = 0x000000FF;
    WEB_ListenToKeys();
    return 0;
}

static SDL_Rect** WEB_ListModes(_THIS, SDL_PixelFormat* format, Uint32 flags)
{
    /* Any size: the canvas takes the screen's. */
    return (SDL_Rect**)-1;
}

/* Every screen is 32-bit: SDL converts another depth through a shadow. */
static SDL_Surface* WEB_SetVideoMode(_THIS, SDL_Surface* current, int width, int height, int bpp, Uint32 flags)
{
    const size_t bytes = (size_t)width * (size_t)height * 4;
    Uint8* pixels = SDL_malloc(bytes);
    Uint8* canvasBytes = SDL_malloc(bytes);
    if (pixels == NULL || canvasBytes == NULL) {
        SDL_free(pixels);
        SDL_free(canvasBytes);
        SDL_OutOfMemory();
        return NULL;
    }
    if (!SDL_ReallocFormat(current, 32, 0x00FF0000, 0x0000FF00, 0x000000FF, 0)) {
        SDL_free(pixels);
        SDL_free(canvasBytes);
        return NULL;
    }
    SDL_free(current->pixels);
    SDL_free(this->hidden->canvasBytes);
    SDL_memset(pixels, 0, bytes);
    SDL_memset(canvasBytes, 0, bytes);
    this->hidden->canvasBytes = canvasBytes;
    current->flags = flags & SDL_FULLSCREEN;
    current->w = width;
    current->h = height;
    current->pitch = (Uint16)(width * 4);
    current->pixels = pixels;
    WEB_SizeCanvas(width, height);
    return current;
}

static int WEB_AllocHWSurface(_THIS, SDL_Surface* surface)
{
    return -1;
}

static void WEB_FreeHWSurface(_THIS, SDL_Surface* surface) {}

static int WEB_LockHWSurface(_THIS, SDL_Surface* surface)
{
    return 0;
}

static void WEB_UnlockHWSurface(_THIS, SDL_Surface* surface) {}

static void WEB_UpdateRects(_THIS, int numrects, SDL_Rect* rects)
{
    SDL_Surface* screen = this->screen;
    int i;
    if (screen == NULL || screen->pixels == NULL)
        return;
    for (i = 0; i < numrects; ++i) {
        const SDL_Rect* rect = &rects[i];
        int row;
        for (row = rect->y; row < rect->y + rect->h; ++row) {
            const Uint32* from = (const Uint32*)((const Uint8*)screen->pixels + row * screen->pitch) + rect->x;
            Uint8* to = this->hidden->canvasBytes + ((size_t)row * screen->w + rect->x) * 4;
            int column;
            for (column = 0; column < rect->w; ++column, to += 4) {
                const Uint32 pixel = from[column];
                to[0] = (Uint8)(pixel >> 16);
                to[1] = (Uint8)(pixel >> 8);
                to[2] = (Uint8)pixel;
                to[3] = 0xFF;
            }
        }
        WEB_PutRectangle(this->hidden->canvasBytes, screen->w, screen->h, rect->x, rect->y, rect->w, rect->h);
    }
}

static int WEB_SetColors(_THIS, int firstcolor, int ncolors, SDL_Color* colors)
{
    return 1;
}

static void WEB_VideoQuit(_THIS)
{
    WEB_StopListening();
    SDL_free(this->hidden->canvasBytes);
    this->hidden->canvasBytes = NULL;
    if (this->screen != NULL) {
        SDL_free(this->screen->pixels);
        this->screen->pixels = NULL;
    }
}

static void WEB_InitOSKeymap(_THIS) {}

static void WEB_PumpEvents(_THIS)
{
    int code;
    while ((code = WEB_NextKey()) != 0) {
        if (code == FocusLost || code == FocusGained) {
            SDL_PrivateAppActive(code == FocusGained, SDL_APPINPUTFOCUS);
        } else {
            SDL_keysym keysym;
            SDL_memset(&keysym, 0, sizeof keysym);
            keysym.sym = (SDLKey)(code & (ReleasedKey - 1));
            SDL_PrivateKeyboard((code & ReleasedKey) ? SDL_RELEASED : SDL_PRESSED, &keysym);
        }
    }
}

static int WEB_Available(void)
{
    return WEB_HasCanvas();
}

static void WEB_DeleteDevice(SDL_VideoDevice* device)
{
    SDL_free(device->hidden);
    SDL_free(device);
}

static SDL_VideoDevice* WEB_CreateDevice(int devindex)
{
    SDL_VideoDevice* device = SDL_calloc(1, sizeof *device);
    if (device != NULL)
        device->hidden = SDL_calloc(1, sizeof *device->hidden);
    if (device == NULL || device->hidden == NULL) {
        SDL_free(device);
        SDL_OutOfMemory();
        return NULL;
    }
    device->VideoInit = WEB_VideoInit;
    device->ListModes = WEB_ListModes;
    device->SetVideoMode = WEB_SetVideoMode;
    device->SetColors = WEB_SetColors;
    device->UpdateRects = WEB_UpdateRects;
    device->VideoQuit = WEB_VideoQuit;
    device->AllocHWSurface = WEB_AllocHWSurface;
    device->LockHWSurface = WEB_LockHWSurface;
    device->UnlockHWSurface = WEB_UnlockHWSurface;
    device->FreeHWSurface = WEB_FreeHWSurface;
    device->InitOSKeymap = WEB_InitOSKeymap;
    device->PumpEvents = WEB_PumpEvents;
    device->free = WEB_DeleteDevice;
    return device;
}

VideoBootStrap WEB_bootstrap = {WEBVID_DRIVER_NAME, "SDL web page video driver", WEB_Available, WEB_CreateDevice};
