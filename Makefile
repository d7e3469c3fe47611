# The two commands of the README, and a few for developers.
#   make play   install what is missing, build Release, start the game
#   make test   install what is missing, check the format, build with ASan and
#               UBSan, run every test, the game's suites again on sdl12-compat,
#               and the web version's checks in node
#   make bench  build Release with the benchmarks and run them
#   make web    install what is missing, build the web version into build/web
#               (the page) and build/web/node (the node build)
#   make assets regenerate the built-in pictures, sounds and level tables
#   make install    build Release and install under PREFIX (default /usr/local),
#                   staged under DESTDIR when given; make uninstall removes it
#   make deb        build the Debian package into build/deb
#   make package-check  build the package, lint it and run it unpacked

JOBS ?= $(shell nproc)
RELEASE := build/release
ASAN := build/asan
FUZZ := build/fuzz
DEB := build/deb
PREFIX ?= /usr/local
WEB := build/web
WEB_BUILD := build/web-build
WEB_DEPS := build/web-deps
# emcc's JavaScript optimiser finds its parser only among Debian's node modules.
export NODE_PATH := /usr/share/nodejs

.PHONY: play test bench assets deps build clean install uninstall deb package-check web

# Building and playing need the first group of scripts/install-deps; the
# tests, the benchmarks and the package add groups of their own.
deps:
	@scripts/install-deps

build: deps
	cmake -S . -B $(RELEASE) -DCMAKE_BUILD_TYPE=Release -DTERVANE_TESTS=OFF
	cmake --build $(RELEASE) -j $(JOBS)

play: build
	$(RELEASE)/tervane

test:
	@scripts/install-deps test
	scripts/check-format
	cmake -S . -B $(ASAN) -DCMAKE_BUILD_TYPE=Debug -DTERVANE_SANITIZE=ON
	cmake --build $(ASAN) -j $(JOBS)
	cmake -S . -B $(FUZZ) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTERVANE_FUZZ=ON \
		-DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++
	cmake --build $(FUZZ) -j $(JOBS)
	ctest --test-dir $(ASAN) --output-on-failure -j $(JOBS)
	scripts/test-sdl12-compat $(ASAN) $(JOBS)
	ctest --test-dir $(FUZZ) --output-on-failure
	$(MAKE) web
	cmake $(WEB_BUILD) -DTERVANE_DESKTOP_PROGRAM=$(abspath $(ASAN))/tervane
	ctest --test-dir $(WEB_BUILD) --output-on-failure -j $(JOBS)

bench:
	@scripts/install-deps bench
	cmake -S . -B $(RELEASE) -DCMAKE_BUILD_TYPE=Release -DTERVANE_TESTS=OFF -DTERVANE_BENCH=ON
	cmake --build $(RELEASE) -j $(JOBS)
	@for b in $(RELEASE)/bench/bench_*; do echo "== $$b"; SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy $$b || exit 1; done
# The frame pass again in a window, and both ways on sdl12-compat.
	@compat=$$(scripts/sdl12-compat-folder) && for lib in "" "$$compat"; do for screen in "" --window; do \
		[ -z "$$lib$$screen" ] && continue; \
		echo "== bench_frame $$screen on $${lib:-classic SDL 1.2}"; \
		LD_LIBRARY_PATH=$$lib SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy $(RELEASE)/bench/bench_frame $$screen || exit 1; \
	done; done

web:
	@scripts/install-deps web
	scripts/build-web-deps $(WEB_DEPS)
	emcmake cmake -S . -B $(WEB_BUILD) -DCMAKE_BUILD_TYPE=Release -DTERVANE_WEB_DEPS=$(abspath $(WEB_DEPS))/prefix \
		-DTERVANE_WEB_OUTPUT=$(abspath $(WEB))
	cmake --build $(WEB_BUILD) -j $(JOBS)

assets:
	@scripts/install-deps assets
	cmake -S tools/assetgen -B build/assetgen -DCMAKE_BUILD_TYPE=Release
	cmake --build build/assetgen -j $(JOBS)
	ctest --test-dir build/assetgen --output-on-failure
	build/assetgen/assetgen assets --preview build/assetgen/preview

install: build
	cmake -S . -B $(RELEASE) -DCMAKE_INSTALL_PREFIX=$(PREFIX)
	DESTDIR="$(DESTDIR)" cmake --install $(RELEASE)

uninstall:
	DESTDIR="$(DESTDIR)" cmake -D MANIFEST=$(RELEASE)/install_manifest.txt -P cmake/Uninstall.cmake

deb:
	@scripts/install-deps deb
	scripts/build-deb $(DEB)

package-check:
	@scripts/install-deps deb
	scripts/check-package $(DEB)

clean:
	rm -rf build
