// The commands of the main window's File, Cal and Help menus, named by an enum rather than by
// strings: each with its item's object name, caption, shortcut and mnemonic, and the menu it is in.
#pragma once

#include <QKeySequence>
#include <QString>
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
    kExportICalendar,
    kImportICalendar,
    kRestore,
    kUndo,
    kRedo,
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
    // The letter of the caption that chooses the item while its menu is open (underlined), so that
    // Alt+F, Alt+C or Alt+H and one letter reach every item; unique within its menu.
    char mnemonic;
};

// The caption with the mnemonic marked for Qt ("&Save Calendar"); the caption itself stays as the
// program shows it.
QString MenuText(const CommandItem& item);

// In menu order.
inline constexpr std::array<CommandItem, 21> kCommandItems = { {
    { Command::kSaveCalendar, MenuName::kFile, "SaveCalendar1", "Save Calendar",
        Qt::CTRL | Qt::Key_S, 'S' },
    { Command::kQuitNoSave, MenuName::kFile, "MenuItem2", "Quit - No Save", {}, 'Q' },
    { Command::kArchives, MenuName::kFile, "Archives1", "Archives", {}, 'A' },
    { Command::kNotes, MenuName::kFile, "Notes1", "Notes", {}, 'N' },
    { Command::kErrorLog, MenuName::kFile, "ErrorLog1", "Error Log", {}, 'E' },
    { Command::kPreferences, MenuName::kFile, "Preferences1", "Preferences...", {}, 'P' },
    { Command::kPrint, MenuName::kFile, "Print1", "Print...", {}, 'r' },
    { Command::kExportICalendar, MenuName::kFile, "ExportICalendar1", "Export iCalendar...", {},
        'x' },
    { Command::kImportICalendar, MenuName::kFile, "ImportICalendar1", "Import iCalendar...", {},
        'I' },
    { Command::kRestore, MenuName::kFile, "Restore1", "Restore...", {}, 't' },
    // The two items' captions name the step they take back or make again: "Undo Weekly Entry
    // 'Church'"; Redo also answers Ctrl+Y.
    { Command::kUndo, MenuName::kCal, "Undo1", "Undo", Qt::CTRL | Qt::Key_Z, 'U' },
    { Command::kRedo, MenuName::kCal, "Redo1", "Redo", Qt::CTRL | Qt::SHIFT | Qt::Key_Z, 'R' },
    { Command::kCycleCalendar, MenuName::kCal, "CycleCalendar1", "Cycle Calendar", {}, 'C' },
    { Command::kDailyEntry, MenuName::kCal, "DailyEntry1", "Daily Entry", Qt::Key_F1, 'D' },
    { Command::kWeeklyEntry, MenuName::kCal, "WeeklyEntry1", "Weekly Entry", Qt::Key_F2, 'W' },
    { Command::kMonthlyEntry, MenuName::kCal, "MonthlyEntry1", "Monthly Entry", Qt::Key_F3, 'M' },
    { Command::kYearlyEntry, MenuName::kCal, "YearlyEntry1", "Yearly Entry", Qt::Key_F4, 'Y' },
    { Command::kDeleteEntry, MenuName::kCal, "DeleteEntry1", "Delete Entry", {}, 'e' },
    { Command::kSearch, MenuName::kCal, "Search1", "Search...", Qt::Key_F9, 'S' },
    { Command::kInstructions, MenuName::kHelp, "Instructions1", "Instructions", {}, 'I' },
    { Command::kAbout, MenuName::kHelp, "About1", "About", {}, 'A' },
} };

} // namespace orvane
