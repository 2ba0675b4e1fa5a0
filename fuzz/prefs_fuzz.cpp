// Fuzzes the preferences file pref.ovd: what start-up and the preferences dialog take from it,
// the file the dialog writes back from those values, and the sunrise and sunset the main window
// computes from its place lines.
#include "core/date_key.h"
#include "core/text_file.h"
#include "fuzz/fuzz_check.h"
#include "prefs/decimal_number.h"
#include "prefs/pref_file.h"
#include "sky/sun_times.h"

#include <algorithm>
#include <cmath>

namespace orvane::fuzz {
namespace {

bool AllDigits(std::string_view text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

int Number(std::string_view digits) {
    int value = 0;
    for (const char c : digits)
        value = value * 10 + (c - '0');
    return value;
}

// "HHMM" in 24-hour form, or "H:MMA" / "H:MMP" with the hour counted from noon as the scan
// counts it (it may be negative or 12).
void CheckCaption(const std::string& caption, bool military_time) {
    if (military_time) {
        ORVANE_FUZZ_CHECK(caption.size() == 4 && AllDigits(caption));
        ORVANE_FUZZ_CHECK(Number(caption.substr(0, 2)) < 24 && Number(caption.substr(2)) < 60);
        return;
    }
    ORVANE_FUZZ_CHECK(caption.size() >= 5 && caption.size() <= 7);
    ORVANE_FUZZ_CHECK(caption.back() == 'A' || caption.back() == 'P');
    const std::string_view minutes = std::string_view(caption).substr(caption.size() - 3, 2);
    ORVANE_FUZZ_CHECK(caption[caption.size() - 4] == ':' && AllDigits(minutes));
    ORVANE_FUZZ_CHECK(Number(minutes) < 60);
}

void CheckSunTimes(const PrefLines& lines, const Preferences& prefs, const Date& date) {
    const auto request = sky::SunRequestFromPreferences(lines, prefs, date);
    if (!request)
        return;
    ORVANE_FUZZ_CHECK(request->longitude != 0 && request->latitude != 0);
    ORVANE_FUZZ_CHECK(std::isfinite(request->zone));
    int event_kind = sky::kNoEvent;
    for (int run = 0; run < 3; ++run) {
        const sky::SunTimes times = sky::ComputeSunTimes(*request, event_kind);
        ORVANE_FUZZ_CHECK(times.event_kind >= sky::kNoEvent && times.event_kind <= sky::kSetEvent);
        ORVANE_FUZZ_CHECK(times.messages.size() <= 2);
        if (times.rise_caption)
            CheckCaption(*times.rise_caption, request->military_time);
        if (times.set_caption)
            CheckCaption(*times.set_caption, request->military_time);
        event_kind = times.event_kind;
    }
}

bool SameText(const PrefValues& a, const PrefValues& b) {
    return a.OptionFlags == b.OptionFlags && a.DayTitles == b.DayTitles
        && a.MonthTitles == b.MonthTitles && a.DataFilesPath == b.DataFilesPath
        && a.CalendarFont == b.CalendarFont;
}

} // namespace
} // namespace orvane::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace orvane;
    using namespace orvane::fuzz;
    const std::string_view bytes = Bytes(data, size);
    const PrefLines lines = SplitLines(bytes);

    // Start-up: the flags always have their 11 positions; titles only with CustomTitles.
    Preferences prefs;
    ApplyStartupLines(lines, prefs);
    ORVANE_FUZZ_CHECK(prefs.OptionFlags.size() == kOptionFlagCount);
    if (!prefs.on(Flag::CustomTitles)) {
        for (const std::string& title : prefs.MonthTitles)
            ORVANE_FUZZ_CHECK(title.empty());
    }

    // Every number the file holds is still a number once written as the file writes it, and
    // writing what was read back writes the same text again; a double, where there is one, is
    // finite.
    for (const std::string& line : lines) {
        if (const auto number = DecimalNumber::Parse(line)) {
            for (const std::string& text : { number->FormatFixed2(), number->FormatWhole() }) {
                const auto again = DecimalNumber::Parse(text);
                ORVANE_FUZZ_CHECK(again.has_value());
            }
            const auto fixed = DecimalNumber::Parse(number->FormatFixed2());
            ORVANE_FUZZ_CHECK(fixed->FormatFixed2() == number->FormatFixed2());
            if (const auto value = number->ToDouble())
                ORVANE_FUZZ_CHECK(std::isfinite(*value));
        }
    }
    const auto place = PrefPlace(lines);
    ORVANE_FUZZ_CHECK(place.has_value()
        == (PrefNumber(lines, kLongitudeLine) && PrefNumber(lines, kLatitudeLine)
            && PrefNumber(lines, kGmtOffsetLine)));

    // The dialog: its values, its flags, and the file it writes from them, which reads back as
    // the same values and writes the same bytes again.
    const PrefValues values = PrefValuesFromLines(lines);
    ORVANE_FUZZ_CHECK(values.OptionFlags == prefs.OptionFlags);
    const std::string opened = OpenedOptionFlags(PrefLine(lines, 1).value_or(""));
    ORVANE_FUZZ_CHECK(opened.size() == kOptionFlagCount);
    const PrefChoices choices = ChoicesFromFlags(opened);
    for (const bool custom : { false, true }) {
        const std::string saved = SavedOptionFlags(opened, choices, custom);
        ORVANE_FUZZ_CHECK(saved.size() == kOptionFlagCount);
        ORVANE_FUZZ_CHECK(saved[0] == (custom ? '1' : '0') && saved[2] == '1');
        ORVANE_FUZZ_CHECK(ChoicesFromFlags(saved) == choices);
    }
    const std::string file = FormatPrefFile(values);
    const PrefLines written = SplitLines(file);
    ORVANE_FUZZ_CHECK(written.size() == static_cast<std::size_t>(kPrefLineCount));
    const PrefValues reread = PrefValuesFromLines(written);
    ORVANE_FUZZ_CHECK(SameText(reread, values));
    ORVANE_FUZZ_CHECK(PrefPlace(written).has_value());
    ORVANE_FUZZ_CHECK(FormatPrefFile(reread) == file);

    // Sunrise and sunset on the main window's activation, for a spread of days.
    const std::uint64_t hash = InputHash(bytes);
    const Date dates[] = { MakeDate(1901, 1, 1), MakeDate(2024, 6, 21), MakeDate(2024, 12, 21),
        MakeDate(2099, 12, 31), MakeDate(1600, 2, 29),
        AddDays(MakeDate(1901, 1, 1), static_cast<int>(hash % 72683)) };
    for (const Date& date : dates)
        CheckSunTimes(lines, prefs, date);
    return 0;
}
