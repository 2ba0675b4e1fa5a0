# Thin wrapper over the CMake presets; all build logic lives in CMake.
.PHONY: run test test-locale asan tidy bench deps build-release package format clean fuzz fuzz-corpus \
  fuzz-build

# Seconds each fuzz target runs under `make fuzz`.
FUZZ_SECONDS ?= 60

deps:
	@scripts/install-deps.sh

build-release: deps
	cmake --preset release
	cmake --build --preset release --target orvane

run: build-release
	@scripts/run.sh build/release/bin/orvane

# A Debian package of the Release build: build/release/orvane_<version>_<arch>.deb. CPack
# packages what is built (the program), not the tests and benchmarks the `package` target would
# build first.
package: build-release
	cd build/release && cpack

test: deps
	cmake --preset dev
	cmake --build --preset dev
	ctest --preset dev

# The same tests once more under a comma locale, where the C library reads and writes numbers
# with a decimal comma.
test-locale: deps
	cmake --preset dev
	cmake --build --preset dev
	LANG=de_DE.UTF-8 LC_ALL=de_DE.UTF-8 ctest --preset dev

# clang-tidy over the program's sources (checks in .clang-tidy); any warning fails.
tidy: deps
	cmake --preset dev
	cmake --build --preset dev
	scripts/tidy.sh build/dev

asan: deps
	cmake --preset asan
	cmake --build --preset asan
	ctest --preset asan

bench: build-release
	cmake --build --preset release --target orvane_bench orvane_floor
	build/release/bench/orvane_bench
	scripts/startup-bench.sh build/release

# The libFuzzer targets (Clang, sanitizers, model only): fuzz each for FUZZ_SECONDS, or replay
# the committed corpus once.
fuzz-build:
	@scripts/install-deps.sh fuzz
	cmake --preset fuzz
	cmake --build --preset fuzz

fuzz: fuzz-build
	scripts/fuzz.sh build/fuzz $(FUZZ_SECONDS)

fuzz-corpus: fuzz-build
	ctest --preset fuzz

format:
	clang-format -i $$(git ls-files '*.cpp' '*.h')

clean:
	rm -rf build
