# Every outside library comes from a Debian package through pkg-config.
find_package(PkgConfig REQUIRED)
if(EMSCRIPTEN)
    # The web version's come from Debian's source packages, built with emcc
    # by scripts/build-web-deps into one prefix, and only from there.
    set(TERVANE_WEB_DEPS ${PROJECT_SOURCE_DIR}/build/web-deps/prefix CACHE PATH
        "Where scripts/build-web-deps put the web version's libraries")
    set(ENV{PKG_CONFIG_LIBDIR} ${TERVANE_WEB_DEPS}/lib/pkgconfig)
    set(ENV{PKG_CONFIG_PATH} "")
    list(APPEND CMAKE_FIND_ROOT_PATH ${TERVANE_WEB_DEPS})
endif()
pkg_check_modules(SDL REQUIRED IMPORTED_TARGET sdl)
# Without SDL_gfx the runtime draws with primitives of its own; the tests
# still need SDL_gfx, to compare them with it. The web version's checks
# (web/tests) do not.
if(TERVANE_SDL_GFX OR (TERVANE_TESTS AND NOT EMSCRIPTEN))
    pkg_check_modules(SDL_GFX REQUIRED IMPORTED_TARGET SDL_gfx)
endif()
# A web page has no GTK and no X display: the web version is built without
# the toolkit module and watches no display connection.
if(NOT EMSCRIPTEN)
    pkg_check_modules(GTK REQUIRED IMPORTED_TARGET gtk+-3.0)
    pkg_check_modules(X11 REQUIRED IMPORTED_TARGET x11)
endif()
pkg_check_modules(SOXR REQUIRED IMPORTED_TARGET soxr)
pkg_check_modules(XXHASH REQUIRED IMPORTED_TARGET libxxhash)
if(NOT EMSCRIPTEN)
    pkg_check_modules(PNG REQUIRED IMPORTED_TARGET libpng)
endif()
find_package(Threads REQUIRED)
