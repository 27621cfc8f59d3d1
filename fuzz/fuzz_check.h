// FUZZ_CHECK: an invariant of the code under test. When it does not hold, the message goes
// to stderr and the process aborts, so libFuzzer keeps the input as a crash and a replay
// of the corpus fails.
#pragma once

#include <cstdio>
#include <cstdlib>

#define FUZZ_CHECK(condition, what)                                                          \
    do {                                                                                     \
        if (!(condition)) {                                                                  \
            std::fprintf(stderr, "%s:%d: invariant broken: %s\n", __FILE__, __LINE__, what); \
            std::abort();                                                                    \
        }                                                                                    \
    } while (false)
