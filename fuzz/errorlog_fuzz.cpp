// Fuzzes the error log rdat.ovd as the Error Log window loads it: every line break becomes a
// CR LF pair, nothing else changes, and loading what was loaded changes nothing.
#include "core/text_file.h"
#include "fuzz/fuzz_check.h"
#include "tools/notes_and_log.h"

#include <algorithm>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace orvane;
    using namespace orvane::fuzz;
    const std::string_view bytes = Bytes(data, size);
    const std::string text = WithCrLfLineBreaks(bytes);
    ORVANE_FUZZ_CHECK(WithCrLfLineBreaks(text) == text);
    std::string kept_bytes(bytes);
    std::erase_if(kept_bytes, [](char c) { return c == '\r' || c == '\n'; });
    std::string kept_text = text;
    std::erase_if(kept_text, [](char c) { return c == '\r' || c == '\n'; });
    ORVANE_FUZZ_CHECK(kept_text == kept_bytes);
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r')
            ORVANE_FUZZ_CHECK(i + 1 < text.size() && text[i + 1] == '\n');
        if (text[i] == '\n')
            ORVANE_FUZZ_CHECK(i > 0 && text[i - 1] == '\r');
    }
    // One CR LF pair per line break of the file: as many as it has lines, but an unended last one.
    const bool unended = !bytes.empty() && bytes.back() != '\r' && bytes.back() != '\n';
    const auto pairs = static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
    ORVANE_FUZZ_CHECK(pairs == SplitLines(bytes).size() - (unended ? 1 : 0));
    return 0;
}
