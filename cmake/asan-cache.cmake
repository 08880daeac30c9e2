# Initial cache for the sanitizer build of the unit tests (cmake -C): the
# core and its tests under AddressSanitizer and UndefinedBehaviorSanitizer,
# stopping at the first finding of either.
set(CMAKE_BUILD_TYPE Debug CACHE STRING "")
set(CMAKE_CXX_FLAGS "-fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer" CACHE STRING "")
set(CMAKE_EXE_LINKER_FLAGS "-fsanitize=address,undefined" CACHE STRING "")
set(SNIPKIT_SANITIZE ON CACHE BOOL "Sanitizer build: no benchmarks, no registration of other builds' tests")
