// FUZZ_CHECK: a property of a fuzz target. Unlike assert() it stays on in optimised builds, and a
// failure aborts, which libFuzzer and the corpus replay both report as a finding.
#pragma once

#include <cstdio>
#include <cstdlib>

#define FUZZ_CHECK(condition)                                                              \
    do {                                                                                   \
        if (!(condition)) {                                                                \
            std::fprintf(stderr, "%s:%d: property failed: %s\n", __FILE__, __LINE__, #condition); \
            std::abort();                                                                  \
        }                                                                                  \
    } while (0)
