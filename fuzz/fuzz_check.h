// A failed property stops the fuzzer with the input that broke it: abort()
// is what libFuzzer records as a crash, whatever the build's NDEBUG.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <vector>

#define FUZZ_CHECK(condition)                                                              \
    do {                                                                                   \
        if (!(condition)) {                                                                \
            std::fprintf(stderr, "%s:%d: property failed: %s\n", __FILE__, __LINE__, #condition); \
            std::abort();                                                                  \
        }                                                                                  \
    } while (false)

// Inputs of up to n bytes, for rules that scan the text in 4096-byte windows:
// libFuzzer's default length is one window, so it never tries a line break
// across a window edge. The flag goes in front of the given ones, so that a
// -max_len on the command line still wins, and it holds however the target
// is started (fuzz/run.sh, the fuzz.* tests, by hand).
#define FUZZ_MAX_LEN(n)                                              \
    extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {   \
        static char flag[] = "-max_len=" #n;                         \
        static std::vector<char*> args;                              \
        args.assign(*argv, *argv + *argc);                           \
        args.insert(args.begin() + 1, flag);                         \
        args.push_back(nullptr);                                     \
        *argv = args.data();                                         \
        ++*argc;                                                     \
        return 0;                                                    \
    }
