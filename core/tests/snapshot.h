// For tests: the whole state undo and restore must give back, the data files byte for byte (the
// backup folder aside), every day and the window, to compare in one assertion.
#pragma once

#include "core/calendar_document.h"
#include "core/text_file.h"

#include <map>
#include <string>
#include <vector>

namespace orvane {

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
