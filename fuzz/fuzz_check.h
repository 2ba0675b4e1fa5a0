// What every fuzz target shares: the libFuzzer entry point and a check that stops the run with a
// trap when an invariant of the program's file handling does not hold, so that libFuzzer (or the
// plain corpus replay) reports the input that broke it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

#define ORVANE_FUZZ_CHECK(condition)                                                               \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #condition);     \
            std::fflush(stderr);                                                                   \
            __builtin_trap();                                                                      \
        }                                                                                          \
    } while (false)

namespace orvane::fuzz {

inline std::string_view Bytes(const std::uint8_t* data, std::size_t size) {
    return std::string_view(reinterpret_cast<const char*>(data), size);
}

// A number drawn from the whole input (FNV-1a), so that the choices a target makes (a date, a
// slot) vary from input to input.
inline std::uint64_t InputHash(std::string_view bytes) {
    std::uint64_t hash = 1469598103934665603ULL;
    for (const char c : bytes) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 1099511628211ULL;
    }
    return hash;
}

} // namespace orvane::fuzz
