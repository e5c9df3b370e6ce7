// The fuzz targets' check: a failed condition printed, then an abort for libFuzzer to report.
#pragma once

#include <cstdio>
#include <cstdlib>

// Unlike assert, stays on in release builds; the abort is what libFuzzer reports.
#define FUZZ_CHECK(condition)                                                                      \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #condition);     \
            std::abort();                                                                          \
        }                                                                                          \
    } while (false)
