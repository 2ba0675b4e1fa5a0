// The commands of the main window's File, Cal and Help menus, named by an enum rather than by
// strings: each with its item's object name, caption and shortcut, and the menu it is in.
#pragma once

#include <QKeySequence>
#include <array>

namespace orvane {

enum class Command {
    kSaveCalendar,
    kQuitNoSave,
    kArchives,
    kNotes,
    kErrorLog,
    kPreferences,
    kPrint,
    kCycleCalendar,
    kDailyEntry,
    kWeeklyEntry,
    kMonthlyEntry,
    kYearlyEntry,
    kDeleteEntry,
    kSearch,
    kInstructions,
    kAbout,
};

enum class MenuName { kFile, kCal, kHelp };

struct CommandItem {
    Command command;
    MenuName menu;
    const char* object_name; // the item's name in the program: "SaveCalendar1"
    const char* caption;
    QKeyCombination shortcut; // none: QKeyCombination()
};

// In menu order.
inline constexpr std::array<CommandItem, 16> kCommandItems = { {
    { Command::kSaveCalendar, MenuName::kFile, "SaveCalendar1", "Save Calendar",
        Qt::CTRL | Qt::Key_S },
    { Command::kQuitNoSave, MenuName::kFile, "MenuItem2", "Quit - No Save", {} },
    { Command::kArchives, MenuName::kFile, "Archives1", "Archives", {} },
    { Command::kNotes, MenuName::kFile, "Notes1", "Notes", {} },
    { Command::kErrorLog, MenuName::kFile, "ErrorLog1", "Error Log", {} },
    { Command::kPreferences, MenuName::kFile, "Preferences1", "Preferences...", {} },
    { Command::kPrint, MenuName::kFile, "Print1", "Print...", {} },
    { Command::kCycleCalendar, MenuName::kCal, "CycleCalendar1", "Cycle Calendar", {} },
    { Command::kDailyEntry, MenuName::kCal, "DailyEntry1", "Daily Entry", Qt::Key_F1 },
    { Command::kWeeklyEntry, MenuName::kCal, "WeeklyEntry1", "Weekly Entry", Qt::Key_F2 },
    { Command::kMonthlyEntry, MenuName::kCal, "MonthlyEntry1", "Monthly Entry", Qt::Key_F3 },
    { Command::kYearlyEntry, MenuName::kCal, "YearlyEntry1", "Yearly Entry", Qt::Key_F4 },
    { Command::kDeleteEntry, MenuName::kCal, "DeleteEntry1", "Delete Entry", {} },
    { Command::kSearch, MenuName::kCal, "Search1", "Search...", Qt::Key_F9 },
    { Command::kInstructions, MenuName::kHelp, "Instructions1", "Instructions", {} },
    { Command::kAbout, MenuName::kHelp, "About1", "About", {} },
} };

} // namespace orvane
