# The two commands of the README, and a few for developers.
#   make play   install what is missing, build Release, start the game
#   make test   install what is missing, build with ASan and UBSan, run every test
#   make bench  build Release with the benchmarks and run them
#   make assets regenerate the built-in pictures, sounds and level tables

JOBS ?= $(shell nproc)
RELEASE := build/release
ASAN := build/asan
FUZZ := build/fuzz

.PHONY: play test bench assets deps build clean

deps:
	@scripts/install-deps

build: deps
	cmake -S . -B $(RELEASE) -DCMAKE_BUILD_TYPE=Release -DTERVANE_TESTS=OFF
	cmake --build $(RELEASE) -j $(JOBS)

play: build
	$(RELEASE)/tervane

test: deps
	cmake -S . -B $(ASAN) -DCMAKE_BUILD_TYPE=Debug -DTERVANE_SANITIZE=ON
	cmake --build $(ASAN) -j $(JOBS)
	cmake -S . -B $(FUZZ) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTERVANE_FUZZ=ON \
		-DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++
	cmake --build $(FUZZ) -j $(JOBS)
	ctest --test-dir $(ASAN) --output-on-failure -j $(JOBS)
	ctest --test-dir $(FUZZ) --output-on-failure

bench: deps
	cmake -S . -B $(RELEASE) -DCMAKE_BUILD_TYPE=Release -DTERVANE_TESTS=OFF -DTERVANE_BENCH=ON
	cmake --build $(RELEASE) -j $(JOBS)
	@for b in $(RELEASE)/bench/bench_*; do echo "== $$b"; SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy $$b || exit 1; done

assets:
	@scripts/install-deps assets
	cmake -S tools/assetgen -B build/assetgen -DCMAKE_BUILD_TYPE=Release
	cmake --build build/assetgen -j $(JOBS)
	ctest --test-dir build/assetgen --output-on-failure
	build/assetgen/assetgen assets --preview build/assetgen/preview

clean:
	rm -rf build
