#include "core/day_file.h"
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

enum class Parsed { kLoaded, kNewCalendar, kBadRecordCount };

struct CountCase {
    int lines;
    Parsed outcome;
};

Parsed OutcomeOf(const Result<int>& parse) {
    if (!parse) {
        EXPECT_EQ(parse.error().kind, ErrorKind::kBadRecordCount);
        EXPECT_EQ(parse.error().note, kBadRecordCountMessage);
        return Parsed::kBadRecordCount;
    }
    return *parse == 0 ? Parsed::kNewCalendar : Parsed::kLoaded;
}

class DayFileLineCount : public ::testing::TestWithParam<CountCase> { };

TEST_P(DayFileLineCount, DecidesByTheLinesRead) {
    DayStore store;
    store[1] = "untouched";
    const auto parse = ParseDayFile(FileOfLines(GetParam().lines), store);
    EXPECT_EQ(OutcomeOf(parse), GetParam().outcome);
    if (OutcomeOf(parse) == Parsed::kLoaded) {
        EXPECT_EQ(*parse, GetParam().lines);
        EXPECT_TRUE(store.loaded());
        EXPECT_EQ(store[1], "L1");
        EXPECT_EQ(store[GetParam().lines], "L" + std::to_string(GetParam().lines));
    } else {
        EXPECT_FALSE(store.loaded());
        EXPECT_EQ(store[1], "untouched");
    }
}

INSTANTIATE_TEST_SUITE_P(Counts, DayFileLineCount,
    ::testing::Values(CountCase { 0, Parsed::kNewCalendar }, CountCase { 1, Parsed::kNewCalendar },
        CountCase { 2, Parsed::kBadRecordCount }, CountCase { 737, Parsed::kBadRecordCount },
        CountCase { 738, Parsed::kLoaded }, CountCase { 739, Parsed::kLoaded },
        CountCase { 741, Parsed::kLoaded }, CountCase { 742, Parsed::kBadRecordCount }));

TEST(DayFile, LastLineWithoutLineEndIsKept) {
    std::string bytes = FileOfLines(738);
    bytes += "L739";
    DayStore store;
    ASSERT_EQ(ParseDayFile(bytes, store).value_or(0), 739);
    EXPECT_EQ(store[739], "L739");
}

TEST(DayFile, EmptyLinesAfterTheLastSlotAreIgnored) {
    std::string bytes = FileOfLines(739) + "\r\n\r\n\n\r\n";
    DayStore store;
    EXPECT_EQ(ParseDayFile(bytes, store).value_or(0), 739);
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
    EXPECT_EQ(again[5], store[5]);
}

TEST(DayFile, NewCalendarStartsOnTheSundayOfThisWeek) {
    DayStore store;
    const std::string bytes = NewCalendar(D(2024, 3, 14), store); // a Thursday
    EXPECT_EQ(store[1], "Mar/10/2024");
    EXPECT_EQ(store[7], "Mar/16/2024");
    EXPECT_EQ(store[738], DateKey(AddDays(D(2024, 3, 10), 737)));
    EXPECT_EQ(store[739], "");
    EXPECT_EQ(SplitLines(bytes).size(), 738U);
    EXPECT_EQ(bytes.substr(0, 13), "Mar/10/2024\r\n");

    NewCalendar(D(2024, 3, 10), store); // a Sunday is its own week's start
    EXPECT_EQ(store[1], "Mar/10/2024");
    NewCalendar(D(2024, 3, 16), store);
    EXPECT_EQ(store[1], "Mar/10/2024");
}

class DayFileDisk : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = std::filesystem::temp_directory_path()
            / ("orvane_day_file_"
                + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        std::filesystem::remove_all(dir_);
        std::filesystem::create_directories(dir_);
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }
    std::filesystem::path dir_;
};

TEST_F(DayFileDisk, EmptyFileBecomesANewCalendarOnDisk) {
    const auto path = dir_ / "cdat.ovd";
    ASSERT_TRUE(WriteFileAtomic(path, ""));
    DayStore store;
    const auto load = LoadDayFile(path, D(2024, 3, 14), store);
    ASSERT_TRUE(load);
    EXPECT_TRUE(load->created);
    EXPECT_FALSE(load->not_written);
    EXPECT_EQ(load->current_slot, 739);
    EXPECT_EQ(SplitLines(ReadWholeFile(path).value_or("")).size(), 738U);
}

TEST_F(DayFileDisk, BadCountAndMissingFileLeaveEverythingUntouched) {
    const auto path = dir_ / "cdat.ovd";
    const std::string damaged = FileOfLines(500);
    ASSERT_TRUE(WriteFileAtomic(path, damaged));
    DayStore store;
    auto load = LoadDayFile(path, D(2024, 3, 14), store);
    ASSERT_FALSE(load);
    EXPECT_EQ(load.error().kind, ErrorKind::kBadRecordCount);
    EXPECT_EQ(load.error().note, kBadRecordCountMessage);
    EXPECT_EQ(ReadWholeFile(path).value_or(""), damaged);

    load = LoadDayFile(dir_ / "none.ovd", D(2024, 3, 14), store);
    ASSERT_FALSE(load);
    EXPECT_EQ(load.error().kind, ErrorKind::kFile);
    EXPECT_TRUE(IsMissingFile(load.error()));
    EXPECT_EQ(load.error().io->path, dir_ / "none.ovd");
    EXPECT_NE(load.error().note.find("bdat.ovd"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(dir_ / "none.ovd"));
    EXPECT_FALSE(SaveDayFile(dir_ / "none.ovd", store));
    EXPECT_FALSE(std::filesystem::exists(dir_ / "none.ovd"));
}

TEST_F(DayFileDisk, LoadedCalendarSavesBack) {
    const auto path = dir_ / "cdat.ovd";
    ASSERT_TRUE(WriteFileAtomic(path, FileOfLines(739)));
    DayStore store;
    const auto load = LoadDayFile(path, D(2024, 3, 14), store);
    ASSERT_TRUE(load);
    EXPECT_FALSE(load->created);
    EXPECT_EQ(load->current_slot, 740);
    store[2] += "Dentist\a";
    ASSERT_TRUE(SaveDayFile(path, store));
    EXPECT_EQ(ReadWholeFile(path)->substr(0, 20), "L1\r\nL2Dentist\a\r\nL3\r\n");
}

} // namespace
} // namespace orvane
