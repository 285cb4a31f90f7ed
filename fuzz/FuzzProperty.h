#pragma once

#include <cstdio>
#include <cstdlib>

// A property of the program that an input broke stops the fuzzer, naming the part of the run
// (phase) it belongs to.
inline const char* phase = "";

[[noreturn]] inline void fail(const char* what)
{
    std::fprintf(stderr, "property violated (%s): %s\n", phase, what);
    std::abort();
}

inline void check(bool holds, const char* what)
{
    if (!holds)
        fail(what);
}
