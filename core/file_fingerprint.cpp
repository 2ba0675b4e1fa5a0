#include "core/file_fingerprint.h"

namespace orvane {

std::uint64_t Fnv1a(std::string_view bytes) {
    std::uint64_t hash = 14695981039346656037ULL;
    for (const char c : bytes) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 1099511628211ULL;
    }
    return hash;
}

FileFingerprint FingerprintOfBytes(std::string_view bytes) {
    FileFingerprint print;
    print.exists = true;
    print.size = bytes.size();
    print.hash = Fnv1a(bytes);
    return print;
}

bool SameContent(const FileFingerprint& a, const FileFingerprint& b) {
    return a.exists == b.exists && a.size == b.size && a.hash == b.hash;
}

} // namespace orvane
