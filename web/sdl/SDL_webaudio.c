/* SDL 1.2's audio driver for a web page: Web Audio asks for each buffer and
   SDL's callback fills it, on the page's one thread. SDL 1.2 knows such
   drivers as interrupt driven: OpenAudio answers 1 and no audio thread
   starts. The device plays 16-bit samples at the page's own rate; SDL
   converts when the program asked for another format without taking the
   device's. */
#include "SDL_config.h"

#include "SDL_audio.h"
#include "SDL_audio_c.h"
#include "SDL_audiomem.h"
#include "SDL_sysaudio.h"

#include <emscripten.h>

/* SDL's drivers take their device as `this`. */
#undef _THIS
#define _THIS SDL_AudioDevice* this

#define WEBAUD_DRIVER_NAME "web"

/* Web Audio's script processor takes powers of two from 256 to 16384
   frames; below 1024 the page's thread, busy with the game's frames, comes
   back too late and the sound breaks up. */
enum { FewestFrames = 1024, MostFrames = 16384 };

struct SDL_PrivateAudioData {
    Uint8* buffer; /* the device's buffer, spec.size bytes */
};

static SDL_AudioDevice* playing; /* the open device, or NULL */

/* The page's side, in JavaScript; kept as written, not as C is formatted. */
// clang-format off
EM_JS(int, WEB_HasWebAudio, (void), {
    return typeof window !== 'undefined' && (window.AudioContext || window.webkitAudioContext) ? 1 : 0;
});

EM_JS(int, WEB_AudioRate, (void), {
    var Context = window.AudioContext || window.webkitAudioContext;
    Module['webAudio'] = new Context();
    return Module['webAudio'].sampleRate;
});

/* The processor turns each buffer's 16-bit samples, channels interleaved,
   into Web Audio's floats. A page may start sound only after the player
   touches it: the first key or click resumes the context. */
EM_JS(void, WEB_StartProcessor, (int frames, int channels), {
    var context = Module['webAudio'];
    var processor = context.createScriptProcessor(frames, 0, channels);
    processor.onaudioprocess = function (e) {
        var buffer = Module['_WEB_FillAudio']() >> 1;
        for (var c = 0; c < channels; c++) {
            var out = e.outputBuffer.getChannelData(c);
            for (var i = 0; i < frames; i++) out[i] = buffer ? HEAP16[buffer + i * channels + c] / 32768 : 0;
        }
    };
    processor.connect(context.destination);
    var resume = function () { if (context.state !== 'running') context.resume(); };
    window.addEventListener('keydown', resume);
    window.addEventListener('mousedown', resume);
    Module['webAudioProcessor'] = processor;
    Module['webAudioResume'] = resume;
});

EM_JS(void, WEB_StopProcessor, (void), {
    var processor = Module['webAudioProcessor'];
    if (processor) {
        processor.onaudioprocess = null;
        processor.disconnect();
        window.removeEventListener('keydown', Module['webAudioResume']);
        window.removeEventListener('mousedown', Module['webAudioResume']);
        Module['webAudio'].close();
    }
    Module['webAudioProcessor'] = Module['webAudio'] = null;
});
// clang-format on

/* Called by the page for every buffer: the next one, or NULL for silence. */
EMSCRIPTEN_KEEPALIVE Uint8* WEB_FillAudio(void)
{
    SDL_AudioDevice* this = playing;
    SDL_AudioCVT* convert;
    if (this == NULL)
        return NULL;
    SDL_memset(this->hidden->buffer, this->spec.silence, this->spec.size);
    if (!this->enabled || this->paused)
        return this->hidden->buffer;
    convert = &this->convert;
    if (!convert->needed) {
        this->spec.callback(this->spec.userdata, this->hidden->buffer, (int)this->spec.size);
        return this->hidden->buffer;
    }
    SDL_memset(convert->buf, this->spec.silence, (size_t)convert->len);
    this->spec.callback(this->spec.userdata, convert->buf, convert->len);
    SDL_ConvertAudio(convert);
    SDL_memcpy(this->hidden->buffer, convert->buf,
               convert->len_cvt < (int)this->spec.size ? (size_t)convert->len_cvt : this->spec.size);
    return this->hidden->buffer;
}

static int WEBAUD_OpenAudio(_THIS, SDL_AudioSpec* spec)
{
    const int rate = WEB_AudioRate();
    Uint16 frames = FewestFrames;
    while (frames < spec->samples && frames < MostFrames)
        frames *= 2;
    spec->freq = rate;
    spec->format = AUDIO_S16SYS;
    spec->channels = spec->channels > 1 ? 2 : 1;
    spec->samples = frames;
    SDL_CalculateAudioSpec(spec);
    this->hidden->buffer = SDL_AllocAudioMem(spec->size);
    if (this->hidden->buffer == NULL) {
        SDL_OutOfMemory();
        return -1;
    }
    SDL_memset(this->hidden->buffer, spec->silence, spec->size);
    playing = this;
    WEB_StartProcessor(spec->samples, spec->channels);
    return 1;
}

static void WEBAUD_CloseAudio(_THIS)
{
    WEB_StopProcessor();
    playing = NULL;
    SDL_FreeAudioMem(this->hidden->buffer);
    this->hidden->buffer = NULL;
}

static int WEBAUD_Available(void)
{
    return WEB_HasWebAudio();
}

static void WEBAUD_DeleteDevice(SDL_AudioDevice* device)
{
    SDL_free(device->hidden);
    SDL_free(device);
}

static SDL_AudioDevice* WEBAUD_CreateDevice(int devindex)
{
    SDL_AudioDevice* device = SDL_calloc(1, sizeof *device);
    if (device != NULL)
        device->hidden = SDL_calloc(1, sizeof *device->hidden);
    if (device == NULL || device->hidden == NULL) {
        SDL_free(device);
        SDL_OutOfMemory();
        return NULL;
    }
    device->OpenAudio = WEBAUD_OpenAudio;
    device->CloseAudio = WEBAUD_CloseAudio;
    device->free = WEBAUD_DeleteDevice;
    return device;
}

AudioBootStrap WEBAUD_bootstrap = {WEBAUD_DRIVER_NAME, "SDL web page audio driver", WEBAUD_Available,
                                   WEBAUD_CreateDevice};
