// Fuzzes the archive file archive.ovd as the archive window loads and saves it: the bytes become
// the window's text and the text is written back; after one such round the file is stable.
#include "cycling/archive_file.h"
#include "fuzz/fuzz_check.h"

#include <algorithm>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace orvane;
    using namespace orvane::fuzz;
    const std::string_view bytes = Bytes(data, size);
    const std::string text = ArchiveTextFromBytes(bytes);
    ORVANE_FUZZ_CHECK(text.find('\r') == std::string::npos);
    ORVANE_FUZZ_CHECK(text.size() <= bytes.size());
    const std::string saved = ArchiveBytesFromText(text);
    // Only line breaks change: every other byte is kept, in order.
    std::string kept_bytes(bytes);
    std::erase_if(kept_bytes, [](char c) { return c == '\r' || c == '\n'; });
    std::string kept_saved = saved;
    std::erase_if(kept_saved, [](char c) { return c == '\r' || c == '\n'; });
    ORVANE_FUZZ_CHECK(kept_saved == kept_bytes);
    // Every CR of the saved file opens a CR LF pair, and each pair is one line of the text.
    for (std::size_t i = 0; i < saved.size(); ++i) {
        if (saved[i] == '\r')
            ORVANE_FUZZ_CHECK(i + 1 < saved.size() && saved[i + 1] == '\n');
        if (saved[i] == '\n')
            ORVANE_FUZZ_CHECK(i > 0 && saved[i - 1] == '\r');
    }
    ORVANE_FUZZ_CHECK(ArchiveTextFromBytes(saved) == text);
    ORVANE_FUZZ_CHECK(ArchiveBytesFromText(ArchiveTextFromBytes(saved)) == saved);
    return 0;
}
