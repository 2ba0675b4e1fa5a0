// For model tests: a fresh folder for each test, a typed note stored as the grid stores it, and
// the whole state that undo and restore must give back (the data files byte for byte, the backup
// folder aside, every day and the window), to compare in one assertion.
#pragma once

#include "core/calendar_document.h"
#include "core/text_file.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <optional>
#include <string>
#include <unistd.h>
#include <vector>

namespace orvane {

// dir_ is an empty folder named after the running test, removed when the test ends.
class FolderTest : public ::testing::Test {
protected:
    FolderTest() {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        std::string name = std::string(info->test_suite_name()) + "_" + info->name();
        std::replace(name.begin(), name.end(), '/', '_'); // a parameterised test's name
        dir_ = std::filesystem::temp_directory_path()
            / ("orvane_" + std::to_string(::getpid()) + "_" + name);
        std::filesystem::remove_all(dir_);
        std::filesystem::create_directories(dir_);
    }
    ~FolderTest() override { std::filesystem::remove_all(dir_); }

    std::filesystem::path dir_;
};

// A grid holding a typed note that it stores before any operation, as the day grid does.
class TypedNote : public DocumentListener {
public:
    void BeforeChange(CalendarDocument& document) override {
        if (pending) {
            auto [slot, text] = *pending;
            pending.reset();
            document.StoreNote(slot, text);
        }
    }
    std::optional<std::pair<int, std::string>> pending;
};

struct Snapshot {
    std::map<std::string, std::string> files;
    std::vector<std::string> days;
    int top = 0;
    friend bool operator==(const Snapshot&, const Snapshot&) = default;
};

inline Snapshot Take(const CalendarDocument& document) {
    Snapshot snapshot;
    for (const auto& entry : std::filesystem::directory_iterator(document.data().dir)) {
        if (entry.is_regular_file())
            snapshot.files[entry.path().filename().string()] = *ReadWholeFile(entry.path());
    }
    for (int slot = 1; slot <= kSlotCount; ++slot)
        snapshot.days.push_back(document.store()[slot]);
    snapshot.top = document.TopSlot();
    return snapshot;
}

} // namespace orvane
