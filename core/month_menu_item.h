// One item of the "Dates " month menu: its caption and the English month and year it stands for,
// kept beside the caption so a jump never depends on what the caption says.
#pragma once

#include <string>

namespace orvane {

struct MonthMenuItem {
    std::string caption; // as shown, with its blank padding; empty for an unused item
    int year = 0; // 0 for an unused item
    int month = 0; // 1-12
    int slot = 0; // the slot of the month's first day (or of the first slot for the first item)
    bool visible = false;
};

} // namespace orvane
