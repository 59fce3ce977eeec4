#pragma once
// An invariant of a fuzz target: when it does not hold, the input is reported as a crash.

#include <cstdio>
#include <cstdlib>

#define MT_FUZZ_CHECK(...)                                                            \
    do {                                                                              \
        if (!(__VA_ARGS__)) {                                                         \
            std::fprintf(stderr, "%s:%d: invariant failed: %s\n", __FILE__, __LINE__, \
                         #__VA_ARGS__);                                               \
            std::abort();                                                             \
        }                                                                             \
    } while (false)
