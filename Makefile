# Front end of the CMake build. Every target installs what it needs first.
JOBS ?= $(shell nproc)
CMAKE_FLAGS ?=

.PHONY: all deps configure build test asan fuzz fuzz-run bench run install format clean
PREFIX ?= /usr/local

all: build

deps:
	@scripts/install-deps

configure: deps
	cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo $(CMAKE_FLAGS)

build: configure
	cmake --build build -j $(JOBS)

test: build
	scripts/with-xvfb ctest --test-dir build --output-on-failure -j $(JOBS)

asan: deps
	cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTOVA_SANITIZE=ON $(CMAKE_FLAGS)
	cmake --build build-asan -j $(JOBS)
	ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1 \
	  LSAN_OPTIONS=suppressions=$(CURDIR)/scripts/lsan.supp \
	  scripts/with-xvfb ctest --test-dir build-asan --output-on-failure -j $(JOBS)

fuzz: deps
	cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ -DTOVA_FUZZ=ON
	cmake --build build-fuzz -j $(JOBS)

# Runs every fuzz target for FUZZ_SECONDS each, from the seeds in fuzz/corpus;
# fails when one reports a crash, a leak or undefined behaviour (whole
# reports in build-fuzz/fuzz-logs, the inputs in build-fuzz/artifacts).
# FUZZ_SEED=N fixes the random seed (see scripts/run-fuzzers).
FUZZ_SECONDS ?= 600
fuzz-run: fuzz
	FUZZ_SEED=$(FUZZ_SEED) scripts/run-fuzzers build-fuzz $(FUZZ_SECONDS)

bench: build
	scripts/run-benchmarks build

# Builds only the two programs and the demo game, then plays it.
run: configure
	cmake --build build -j $(JOBS) --target tova tovaplayer demo
	scripts/run-demo build

# Installs tovaplayer and tova into $(PREFIX)/bin (DESTDIR honoured).
install: configure
	cmake --build build -j $(JOBS) --target tova tovaplayer
	DESTDIR=$(DESTDIR) cmake --install build --prefix $(PREFIX)

format:
	find src tools tests bench fuzz -name '*.cpp' -o -name '*.h' | xargs clang-format -i

clean:
	rm -rf build build-asan build-fuzz
