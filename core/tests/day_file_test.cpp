#include "core/day_file.h"

#include "core/tests/fixtures.h"
#include "core/text_file.h"

#include <gtest/gtest.h>

namespace orvane {
namespace {

constexpr auto D = MakeDate;

// A day file of `lines` lines, each ended by CR LF; line n holds "L<n>".
std::string FileOfLines(int lines) {
    std::string bytes;
    for (int i = 1; i <= lines; ++i)
        bytes += "L" + std::to_string(i) + "\r\n";
    return bytes;
}

// 0 lines read means a new calendar; 738 to 741 a calendar; any other count is refused and the
// store is left as it was.
TEST(DayFile, DecidesByTheLinesRead) {
    for (const auto& [lines, read] : std::vector<std::pair<int, int>> {
             { 1, 0 }, { 737, -1 }, { 738, 738 }, { 741, 741 }, { 742, -1 } }) {
        SCOPED_TRACE(lines);
        DayStore store;
        store[1] = "untouched";
        const auto parse = ParseDayFile(FileOfLines(lines), store);
        EXPECT_EQ(parse.value_or(-1), read);
        if (!parse) {
            EXPECT_EQ(parse.error().note, kBadRecordCountMessage);
        }
        EXPECT_EQ(store.loaded(), read > 0);
        EXPECT_EQ(store[1], read > 0 ? "L1" : "untouched");
    }
    // A last line without its line end is kept; empty lines after the last slot are not lines.
    DayStore store;
    EXPECT_EQ(ParseDayFile(FileOfLines(738) + "L739", store).value_or(0), 739);
    EXPECT_EQ(store[739], "L739");
    EXPECT_EQ(ParseDayFile(FileOfLines(739) + "\r\n\r\n\n\r\n", store).value_or(0), 739);
}

TEST(DayFile, SaveWritesExactly739LinesByteForByte) {
    DayStore store;
    std::string all_bytes;
    for (int b = 0; b < 256; ++b) {
        if (b != '\r' && b != '\n')
            all_bytes += static_cast<char>(b);
    }
    for (int slot = 1; slot <= 738; ++slot)
        store[slot] = "Jan/1 /2024" + std::to_string(slot);
    store[5] += all_bytes;
    const std::string bytes = FormatDayFile(store);
    EXPECT_EQ(SplitLines(bytes).size(), 739U);
    EXPECT_EQ(bytes.substr(bytes.size() - 4), "\r\n\r\n");
    DayStore again;
    ASSERT_EQ(ParseDayFile(bytes, again).value_or(0), 739);
    EXPECT_EQ(FormatDayFile(again), bytes);
}

TEST(DayFile, NewCalendarStartsOnTheSundayOfThisWeek) {
    DayStore store;
    const std::string bytes = NewCalendar(D(2024, 3, 16), store); // a Saturday
    EXPECT_EQ(store[1], "Mar/10/2024");
    EXPECT_EQ(store[738], DateKey(AddDays(D(2024, 3, 10), 737)));
    EXPECT_EQ(bytes.substr(0, 13), "Mar/10/2024\r\n");
    NewCalendar(D(2024, 3, 10), store); // a Sunday is its own week's start
    EXPECT_EQ(store[1], "Mar/10/2024");
}

using DayFileDisk = FolderTest;

TEST_F(DayFileDisk, LoadsANewCalendarAFullOneAndRefusesABadCount) {
    const auto path = dir_ / "cdat.ovd";
    ASSERT_TRUE(WriteFileAtomic(path, ""));
    DayStore store;
    auto load = LoadDayFile(path, D(2024, 3, 14), store);
    ASSERT_TRUE(load);
    EXPECT_TRUE(load->created);
    EXPECT_EQ(load->current_slot, 739);
    EXPECT_EQ(SplitLines(ReadWholeFile(path).value_or("")).size(), 738U);

    ASSERT_TRUE(WriteFileAtomic(path, FileOfLines(739)));
    load = LoadDayFile(path, D(2024, 3, 14), store);
    ASSERT_TRUE(load);
    EXPECT_FALSE(load->created);
    EXPECT_EQ(load->current_slot, 740);
    EXPECT_EQ(store[739], "L739");

    // A bad count and a missing file leave everything untouched, and what did not load is never
    // saved.
    ASSERT_TRUE(WriteFileAtomic(path, FileOfLines(500)));
    DayStore refused;
    load = LoadDayFile(path, D(2024, 3, 14), refused);
    ASSERT_FALSE(load);
    EXPECT_EQ(load.error().kind, ErrorKind::kBadRecordCount);
    EXPECT_EQ(ReadWholeFile(path).value_or(""), FileOfLines(500));

    load = LoadDayFile(dir_ / "none.ovd", D(2024, 3, 14), refused);
    ASSERT_FALSE(load);
    EXPECT_TRUE(IsMissingFile(load.error()));
    EXPECT_NE(load.error().note.find("bdat.ovd"), std::string::npos);
    EXPECT_FALSE(SaveDayFile(dir_ / "none.ovd", refused));
    EXPECT_FALSE(std::filesystem::exists(dir_ / "none.ovd"));
}

} // namespace
} // namespace orvane
