// Fuzzes the notes file notes.ovd: read as rich text or as plain text, as the notes window does,
// and written back as rich text, which must read back as the same document.
#include "fuzz/fuzz_check.h"
#include "tools/rtf.h"

namespace orvane::fuzz {
namespace {

// The document's own promises: no empty run, no two neighbours with one format, sizes in range.
void CheckDocument(const RtfDocument& document) {
    for (std::size_t i = 0; i < document.runs.size(); ++i) {
        const RtfRun& run = document.runs[i];
        ORVANE_FUZZ_CHECK(!run.text.empty());
        ORVANE_FUZZ_CHECK(run.text.find('\0') == std::string::npos);
        ORVANE_FUZZ_CHECK(
            run.format.half_points >= 1 && run.format.half_points <= kRtfMaxHalfPoints);
        if (i > 0)
            ORVANE_FUZZ_CHECK(!(document.runs[i - 1].format == run.format));
    }
}

// What "Save" writes opens again as the same document, and saving that writes the same bytes.
void CheckRoundTrip(const RtfDocument& document) {
    const std::string file = WriteRtf(document);
    ORVANE_FUZZ_CHECK(LooksLikeRtf(file));
    const RtfDocument again = ParseRtf(file);
    ORVANE_FUZZ_CHECK(again == document);
    ORVANE_FUZZ_CHECK(WriteRtf(again) == file);
}

} // namespace
} // namespace orvane::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace orvane;
    using namespace orvane::fuzz;
    const std::string_view bytes = Bytes(data, size);
    // The notes window reads RTF when the file opens as RTF and plain text otherwise; both
    // readers get every input, since a file can be either.
    const RtfDocument rich = ParseRtf(bytes);
    CheckDocument(rich);
    // Every character read takes at least one byte of the file, however deep its nesting or
    // large its numbers.
    ORVANE_FUZZ_CHECK(rich.PlainText().size() <= bytes.size());
    CheckRoundTrip(rich);
    const RtfDocument plain = PlainTextDocument(bytes);
    CheckDocument(plain);
    ORVANE_FUZZ_CHECK(plain.PlainText().size() <= bytes.size());
    CheckRoundTrip(plain);
    return 0;
}
