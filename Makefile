# Front for the three CMake builds. `make run` and `make test` set up a fresh
# Debian machine on their own (missing packages are installed with apt).
BUILD   ?= build
JOBS    ?= $(shell nproc)
CMAKE   ?= cmake
NATIVE  := $(BUILD)/native
WIN64   := $(BUILD)/win64
WIN32   := $(BUILD)/win32
ASAN    := $(BUILD)/asan
FUZZ    := $(BUILD)/fuzz
# Seconds per target for `make fuzz`; `make test` runs each a few seconds.
FUZZ_SECONDS ?= 60

# The native build also registers the tests that run the programs of the
# sanitizer builds (asan.*, fuzz.*), so it is told where they are.
NATIVE_CONFIGURE = $(CMAKE) -S . -B $(NATIVE) -DCMAKE_BUILD_TYPE=Release \
	-DSNIPKIT_WIN_BUILD_DIR=$(abspath $(WIN64)) \
	-DSNIPKIT_ASAN_BUILD_DIR=$(abspath $(ASAN)) -DSNIPKIT_FUZZ_BUILD_DIR=$(abspath $(FUZZ))

.PHONY: all deps native win64 win32 asan fuzz-build test run fuzz bench bench-core dist clean e2e-soak

all: native win64 win32

deps:
	@bash tools/install-deps.sh

native: deps win64
	$(NATIVE_CONFIGURE)
	$(CMAKE) --build $(NATIVE) -j $(JOBS)

win64: deps
	$(CMAKE) -S . -B $(WIN64) -DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE=$(abspath cmake/toolchain-mingw-x86_64.cmake)
	$(CMAKE) --build $(WIN64) -j $(JOBS)

win32: deps
	$(CMAKE) -S . -B $(WIN32) -DCMAKE_BUILD_TYPE=MinSizeRel -DCMAKE_TOOLCHAIN_FILE=$(abspath cmake/toolchain-mingw-i686.cmake)
	$(CMAKE) --build $(WIN32) -j $(JOBS)

# The unit tests under AddressSanitizer and UndefinedBehaviorSanitizer.
asan: deps
	$(CMAKE) -S . -B $(ASAN) -C $(abspath cmake/asan-cache.cmake)
	$(CMAKE) --build $(ASAN) -j $(JOBS) --target snipkit_unit_tests snipkit_text_tests

# The libFuzzer targets, built with clang.
fuzz-build: deps
	$(CMAKE) -S fuzz -B $(FUZZ) -DCMAKE_CXX_COMPILER=clang++
	$(CMAKE) --build $(FUZZ) -j $(JOBS)

test: native win64 win32 asan fuzz-build
	cd $(NATIVE) && ctest --output-on-failure -j $(JOBS)

# Every fuzz target for FUZZ_SECONDS; new inputs collect in build/fuzz/corpus.
fuzz: fuzz-build
	bash fuzz/run.sh $(FUZZ) $(FUZZ_SECONDS)

# The whole end-to-end suite ROUNDS times, each round with a new Wine prefix,
# every second round with every core busy; a table of group by round.
ROUNDS ?= 5
e2e-soak: win64
	bash tools/e2e_soak.sh $(WIN64) $(ROUNDS) $(BUILD)/e2e-soak

# snipkit-text against cat and against tr, sed or printf on ~100 MB, one
# table of every rule (writes README's performance section), then the
# editing cycle and start-up under Wine.
bench: deps
	$(NATIVE_CONFIGURE)
	$(CMAKE) --build $(NATIVE) -j $(JOBS) --target snipkit-text snipkit_pipe_bench
	$(NATIVE)/bench/snipkit_pipe_bench --tool $(abspath $(NATIVE))/tools/snipkit-text/snipkit-text \
		--work $(BUILD)/bench --readme README.md
	bash bench/e2e_cycle.sh $(BUILD)

# The core's rules under Google Benchmark on 5, 10 and 20 MB, then each
# rule's peak allocation on a 10 MiB selection (fails above twice the selection).
bench-core: deps
	$(NATIVE_CONFIGURE)
	$(CMAKE) --build $(NATIVE) -j $(JOBS) --target snipkit_core_bench
	$(NATIVE)/bench/snipkit_core_bench

run: win64
	@bash tools/run.sh $(abspath $(WIN64)) $(abspath $(BUILD))/demo

# The Windows release from the 32-bit build: dist/snipkit-<version>-win32.zip.
dist: win32
	@bash tools/dist.sh $(WIN32) dist

clean:
	rm -rf $(BUILD)
