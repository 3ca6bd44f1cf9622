#pragma once

#include <cstdio>
#include <cstdlib>

// A property of a fuzz target that must hold for every input: a failed one aborts, so
// libFuzzer keeps the input as a crash like any other.
#define FUZZ_CHECK(condition)                                                                                \
    do {                                                                                                     \
        if (!(condition)) {                                                                                  \
            std::fprintf(stderr, "%s:%d: property failed: %s\n", __FILE__, __LINE__, #condition);            \
            std::abort();                                                                                    \
        }                                                                                                    \
    } while (false)
