// A CalendarHost for window tests: owns a state, a recording notifier and desktop, a fixed clock,
// and counts the calls the windows make.
#pragma once

#include "core/clock.h"
#include "core/ui/calendar_host.h"
#include "core/ui/desktop.h"
#include "core/ui/notifier.h"

#include <QWidget>
#include <filesystem>
#include <memory>

namespace orvane {

// The name of a folder as a user might call it. Tests keep their data folders under it, so every
// message that names a file is checked with a path outside ASCII.
inline const QString kNonAsciiFolder = QStringLiteral("Tageb\u00fccher");

// <temp_dir>/Tagebücher/csystem, created.
std::filesystem::path NonAsciiDataFolder(const QString& temp_dir);

// True when `message` names `file` in a data folder made by NonAsciiDataFolder, spelled as the
// desktop spells it.
bool NamesDataFile(const QString& message, const char* file);

class FakeCalendarHost : public CalendarHost {
public:
    // A store of bare date keys from Sunday `first`, with its data folder at `data_dir`.
    explicit FakeCalendarHost(const std::filesystem::path& data_dir,
        Date first = Date { std::chrono::year(2024), std::chrono::January, std::chrono::day(7) });

    CalendarState& State() override { return state; }
    Notifier& notifier() override { return notes; }
    Desktop& desktop() override { return desk; }
    const Clock& clock() const override { return fixed_clock; }
    QWidget* MainWidget() override { return &main_widget; }

    void ResetMemos() override { ++reset_memos_calls; }
    void FillOutCalendar() override {
        ++fill_calls;
        stale = false;
    }
    void RadioButton1Click() override {
        ++refill_calls;
        FillOutCalendar();
    }
    void MarkGridStale() override { stale = true; }
    void FocusFirstNote() override { ++focus_first_note_calls; }
    QFont ExpansionLabelFont() const override;
    std::vector<MonthMenuItem> RebuildMonthMenu() override { return month_menu; }
    void Date1Click(int item) override { jumps.push_back(item); }
    QStringList DayTitleTexts() const override { return day_titles; }
    GridCellView Cell(int cell) const override;
    QFont NoteFont() const override;
    void ApplyPreferences() override { ++apply_preferences_calls; }
    void SetNoteFontFamily(const QString& family) override { note_font_family = family; }
    void ChildWindowClosed() override { ++child_closed_calls; }

    CalendarState state;
    RecordingNotifier notes;
    RecordingDesktop desk;
    FixedClock fixed_clock;
    QWidget main_widget;
    std::vector<MonthMenuItem> month_menu;
    std::vector<int> jumps;
    QStringList day_titles { "SUN", "MON", "TUE", "WED", "THU", "FRI", "SAT" };
    QString note_font_family;
    bool stale = false;
    int reset_memos_calls = 0;
    int fill_calls = 0;
    int refill_calls = 0;
    int focus_first_note_calls = 0;
    int apply_preferences_calls = 0;
    int child_closed_calls = 0;
};

} // namespace orvane
