#pragma once

#include <cstdio>
#include <cstdlib>

namespace tilava::fuzz {

// A property every input must keep does not hold: libFuzzer saves the input that broke it.
[[noreturn]] inline void Broken(const char* what) {
    std::fprintf(stderr, "property broken: %s\n", what);
    std::abort();
}

} // namespace tilava::fuzz
