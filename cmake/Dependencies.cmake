# Every outside library comes from a Debian package through pkg-config.
find_package(PkgConfig REQUIRED)
pkg_check_modules(SDL REQUIRED IMPORTED_TARGET sdl)
pkg_check_modules(SDL_GFX REQUIRED IMPORTED_TARGET SDL_gfx)
pkg_check_modules(GTK REQUIRED IMPORTED_TARGET gtk+-3.0)
pkg_check_modules(SOXR REQUIRED IMPORTED_TARGET soxr)
pkg_check_modules(XXHASH REQUIRED IMPORTED_TARGET libxxhash)
find_package(Threads REQUIRED)
