// What a data file was, kept small: enough to tell later that its bytes changed without keeping
// them. The program takes one from the bytes it reads or writes, never from a second read.
#pragma once

#include <cstdint>
#include <string_view>

namespace orvane {

struct FileFingerprint {
    bool exists = false;
    std::uintmax_t size = 0;
    std::int64_t modified_ns = 0; // last modification, in nanoseconds of the file clock
    std::uint64_t hash = 0; // FNV-1a of the bytes
    friend bool operator==(const FileFingerprint&, const FileFingerprint&) = default;
};

// FNV-1a: a stable 64-bit hash, the same on every machine and in every build.
std::uint64_t Fnv1a(std::string_view bytes);
// Bytes the program holds (read or written); no time.
FileFingerprint FingerprintOfBytes(std::string_view bytes);
// Same bytes, whatever the times.
bool SameContent(const FileFingerprint& a, const FileFingerprint& b);

} // namespace orvane
