# Every outside library comes from a Debian package through pkg-config.
find_package(PkgConfig REQUIRED)
pkg_check_modules(SDL REQUIRED IMPORTED_TARGET sdl)
# Without SDL_gfx the runtime draws with primitives of its own; the tests
# still need SDL_gfx, to compare them with it.
if(TERVANE_SDL_GFX OR TERVANE_TESTS)
    pkg_check_modules(SDL_GFX REQUIRED IMPORTED_TARGET SDL_gfx)
endif()
pkg_check_modules(GTK REQUIRED IMPORTED_TARGET gtk+-3.0)
pkg_check_modules(X11 REQUIRED IMPORTED_TARGET x11)
pkg_check_modules(SOXR REQUIRED IMPORTED_TARGET soxr)
pkg_check_modules(XXHASH REQUIRED IMPORTED_TARGET libxxhash)
find_package(Threads REQUIRED)
