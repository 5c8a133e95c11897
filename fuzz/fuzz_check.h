// A property that does not hold ends the run the way a crash does, so that libFuzzer keeps the
// input that broke it.
#pragma once

#include <cstdio>
#include <cstdlib>

#define FUZZ_CHECK(condition) \
    ((condition) ? void(0) : ::daybrook_fuzz::broken(#condition, __FILE__, __LINE__))

namespace daybrook_fuzz {

[[noreturn]] inline void broken(const char* property, const char* file, int line) {
    std::fprintf(stderr, "%s:%d: property does not hold: %s\n", file, line, property);
    std::abort();
}

}  // namespace daybrook_fuzz
