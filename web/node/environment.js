// The node build runs as the desktop game does: with the shell's
// environment (SDL_VIDEODRIVER, HOME for the settings file, ...), not
// emscripten's stand-in one.
Module['preRun'] = Module['preRun'] || [];
Module['preRun'].push(function () {
  Object.assign(ENV, process.env);
});
