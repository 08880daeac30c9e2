# Front for the three CMake builds. `make run` and `make test` set up a fresh
# Debian machine on their own (missing packages are installed with apt).
BUILD   ?= build
JOBS    ?= $(shell nproc)
CMAKE   ?= cmake
NATIVE  := $(BUILD)/native
WIN64   := $(BUILD)/win64
WIN32   := $(BUILD)/win32

.PHONY: all deps native win64 win32 test run clean

all: native win64 win32

deps:
	@bash tools/install-deps.sh

native: deps win64
	$(CMAKE) -S . -B $(NATIVE) -DCMAKE_BUILD_TYPE=Release -DSNIPKIT_WIN_BUILD_DIR=$(abspath $(WIN64))
	$(CMAKE) --build $(NATIVE) -j $(JOBS)

win64: deps
	$(CMAKE) -S . -B $(WIN64) -DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE=$(abspath cmake/toolchain-mingw-x86_64.cmake)
	$(CMAKE) --build $(WIN64) -j $(JOBS)

win32: deps
	$(CMAKE) -S . -B $(WIN32) -DCMAKE_BUILD_TYPE=MinSizeRel -DCMAKE_TOOLCHAIN_FILE=$(abspath cmake/toolchain-mingw-i686.cmake)
	$(CMAKE) --build $(WIN32) -j $(JOBS)

test: native win64 win32
	cd $(NATIVE) && ctest --output-on-failure -j $(JOBS)

run: win64
	@bash tools/run.sh $(abspath $(WIN64)) $(abspath $(BUILD))/demo

clean:
	rm -rf $(BUILD)
