#include "tools/notes_and_log.h"

#include "core/text_file.h"

#include <gtest/gtest.h>

namespace orvane {
namespace {

class NotesAndLogTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = std::filesystem::temp_directory_path()
            / ("orvane_tools_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed())
                + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(dir_);
        std::filesystem::create_directories(dir_);
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }

    static std::string Fixture(const char* name) {
        return ReadWholeFile(std::filesystem::path(ORVANE_TEST_DATA) / name).bytes;
    }

    std::filesystem::path dir_;
};

TEST_F(NotesAndLogTest, ErrorLogLineBreaksBecomeCrLf) {
    EXPECT_EQ(WithCrLfLineBreaks("a\nb\rc\r\nd\n\re"), "a\r\nb\r\nc\r\nd\r\n\r\ne");
    EXPECT_EQ(WithCrLfLineBreaks("\r"), "\r\n");
    EXPECT_EQ(WithCrLfLineBreaks(""), "");
}

TEST_F(NotesAndLogTest, MissingFilesOpenEmptyAndUnreadableOnesSaySo) {
    const ErrorLogLoad log = LoadErrorLog(dir_ / "rdat.ovd");
    EXPECT_EQ(log.state, EditLoad::kMissing);
    EXPECT_EQ(log.text, "");
    const NotesLoad notes = LoadNotes(dir_ / "notes.ovd");
    EXPECT_EQ(notes.state, EditLoad::kMissing);
    EXPECT_TRUE(notes.document.runs.empty());

    // A folder where the file should be cannot be read, and the message names it.
    std::filesystem::create_directories(dir_ / "blocked" / "notes.ovd");
    const NotesLoad blocked = LoadNotes(dir_ / "blocked" / "notes.ovd");
    EXPECT_EQ(blocked.state, EditLoad::kUnreadable);
    EXPECT_NE(blocked.error.find("notes.ovd"), std::string::npos);
    EXPECT_EQ(LoadErrorLog(dir_ / "blocked" / "notes.ovd").state, EditLoad::kUnreadable);
}

TEST_F(NotesAndLogTest, PlainNotesAreStoredAsRichTextAfterSaving) {
    const auto path = dir_ / "notes.ovd";
    ASSERT_TRUE(WriteFileAtomic(path, Fixture("plain_notes.ovd")));
    const NotesLoad plain = LoadNotes(path);
    ASSERT_EQ(plain.state, EditLoad::kLoaded);
    EXPECT_FALSE(plain.was_rtf);
    ASSERT_TRUE(SaveNotes(path, plain.document));
    EXPECT_TRUE(LooksLikeRtf(ReadWholeFile(path).bytes));
    const NotesLoad rich = LoadNotes(path);
    EXPECT_TRUE(rich.was_rtf);
    EXPECT_EQ(rich.document, plain.document);

    EXPECT_FALSE(SaveNotes(dir_ / "no-folder" / "notes.ovd", plain.document));
}

} // namespace
} // namespace orvane
