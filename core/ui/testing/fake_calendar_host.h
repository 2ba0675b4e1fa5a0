// A test bed for windows: a calendar document on a data folder, recording services (notifier,
// desktop) and a fixed clock, and a CalendarHost that counts what the windows ask of the grid.
// Every report the document makes is kept, so a test can check what an operation changed.
#pragma once

#include "core/calendar_document.h"
#include "core/clock.h"
#include "core/file_backups.h"
#include "core/ui/calendar_host.h"
#include "core/ui/desktop.h"
#include "core/ui/notifier.h"
#include "core/ui/services.h"

#include <QWidget>
#include <filesystem>
#include <string>
#include <vector>

namespace orvane {

// The name of a folder as a user might call it. Tests keep their data folders under it, so every
// message that names a file is checked with a path outside ASCII.
inline const QString kNonAsciiFolder = QStringLiteral("Tageb\u00fccher");

// <temp_dir>/Tagebücher/csystem, created.
std::filesystem::path NonAsciiDataFolder(const QString& temp_dir);

// True when `message` names `file` in a data folder made by NonAsciiDataFolder, spelled as the
// desktop spells it.
bool NamesDataFile(const QString& message, const char* file);

class FakeCalendarHost : public CalendarHost, public DocumentListener {
public:
    // A store of bare date keys from Sunday `first` (today is `first` too), with its data folder
    // at `data_dir`.
    explicit FakeCalendarHost(const std::filesystem::path& data_dir,
        Date first = Date { std::chrono::year(2024), std::chrono::January, std::chrono::day(7) });
    ~FakeCalendarHost() override;

    Services services() { return Services { notes, fixed_clock, desk }; }
    const DataFolder& data() const { return document.data(); }
    const DayStore& store() const { return document.store(); }
    const std::string& Day(int slot) const { return document.store()[slot]; }
    // Changes the document as the user or an operation would, each through an operation.
    void SetDay(int slot, std::string text);
    void AddToDay(int slot, const std::string& entries);
    void SetTopSlot(int top_slot);
    void SetFlags(const std::string& option_flags);
    // The reports of one kind made since the test bed was built (or `reports` was cleared).
    int ReportsOf(OperationKind kind) const;

    // CalendarHost
    QWidget* MainWidget() override { return &main_widget; }
    GridCellView Cell(int cell) const override;
    QStringList DayTitleTexts() const override { return day_titles; }
    QFont NoteFont() const override;
    QFont ExpansionLabelFont() const override;
    void SetNoteFontFamily(const QString& family) override { note_font_family = family; }
    void FocusFirstNote() override { ++focus_first_note_calls; }
    // Records the request; returns `note_rect` when the day is among the five weeks shown.
    QRect SelectInNote(int slot, int position, int length, bool activate) override;
    void ChildWindowClosed() override { ++child_closed_calls; }

    CalendarDocument document;
    RecordingNotifier notes;
    RecordingDesktop desk;
    FixedClock fixed_clock;
    // The program's backups of the data folder, named by the fixed clock.
    FileBackups backups { document.data().dir, fixed_clock };
    QWidget main_widget;
    QStringList day_titles { "SUN", "MON", "TUE", "WED", "THU", "FRI", "SAT" };
    QString note_font_family;
    std::vector<ChangeReport> reports;
    int before_change_calls = 0; // operations asked the grid to store its pending edit
    int focus_first_note_calls = 0;
    struct NoteSelection {
        int slot = 0;
        int position = 0;
        int length = 0;
        bool activate = false;
        friend bool operator==(const NoteSelection&, const NoteSelection&) = default;
    };
    std::vector<NoteSelection> note_selections;
    QRect note_rect { 100, 100, 182, 140 };
    int child_closed_calls = 0;

private:
    void BeforeChange(CalendarDocument& document) override;
    void Changed(const CalendarDocument& document, const ChangeReport& report) override;
};

} // namespace orvane
