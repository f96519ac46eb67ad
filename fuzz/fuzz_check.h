#pragma once

#include <cstdio>
#include <cstdlib>

// Properties must hold in the replay build too, where NDEBUG may be set, so
// this does not rely on assert().
#define FUZZ_CHECK(cond)                                                                                       \
    do {                                                                                                       \
        if (!(cond)) std::fprintf(stderr, "%s:%d: property failed: %s\n", __FILE__, __LINE__, #cond), std::abort(); \
    } while (0)
