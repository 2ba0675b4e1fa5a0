#include "core/ui/testing/fake_calendar_host.h"

#include "core/date_key.h"
#include "core/day_file.h"
#include "core/ui/dialog_style.h"
#include "core/ui/text_codec.h"

#include <algorithm>

namespace orvane {

std::filesystem::path NonAsciiDataFolder(const QString& temp_dir) {
    const std::filesystem::path folder
        = std::filesystem::path((temp_dir + QLatin1Char('/') + kNonAsciiFolder).toStdString())
        / "csystem";
    std::filesystem::create_directories(folder);
    return folder;
}

bool NamesDataFile(const QString& message, const char* file) {
    return message.contains(
        kNonAsciiFolder + QStringLiteral("/csystem/") + QString::fromLatin1(file));
}

FakeCalendarHost::FakeCalendarHost(const std::filesystem::path& data_dir, Date first)
    : document(DataFolder { data_dir })
    , fixed_clock(first) {
    DayStore store;
    NewCalendar(first, store);
    document.Adopt(std::move(store), DateKey(first));
    document.AddListener(this);
}

FakeCalendarHost::~FakeCalendarHost() {
    document.RemoveListener(this);
}

void FakeCalendarHost::SetDay(int slot, std::string text) {
    document.StoreNote(slot, std::move(text));
}

void FakeCalendarHost::AddToDay(int slot, const std::string& entries) {
    SetDay(slot, document.store()[slot] + entries);
}

void FakeCalendarHost::SetTopSlot(int top_slot) {
    document.MoveWindow(top_slot);
}

void FakeCalendarHost::SetFlags(const std::string& option_flags) {
    Preferences prefs = document.prefs();
    prefs.OptionFlags = option_flags;
    document.SetPreferences(prefs);
}

QRect FakeCalendarHost::SelectInNote(int slot, int position, int length, bool activate) {
    note_selections.push_back({ slot, position, length, activate });
    const int top = document.TopSlot();
    return slot >= top && slot < top + 35 ? note_rect : QRect();
}

int FakeCalendarHost::ReportsOf(OperationKind kind) const {
    return static_cast<int>(std::count_if(reports.begin(), reports.end(),
        [kind](const ChangeReport& report) { return report.kind == kind; }));
}

void FakeCalendarHost::BeforeChange(CalendarDocument&) {
    ++before_change_calls;
}

void FakeCalendarHost::Changed(const CalendarDocument&, const ChangeReport& report) {
    reports.push_back(report);
}

QFont FakeCalendarHost::ExpansionLabelFont() const {
    return ProgramFont(QStringLiteral("Verdana"), 11, document.prefs().on(Flag::DataBoldFont));
}

QFont FakeCalendarHost::NoteFont() const {
    return ExpansionLabelFont();
}

GridCellView FakeCalendarHost::Cell(int cell) const {
    GridCellView view;
    const int slot = document.TopSlot() + cell - 1;
    const std::string& day = document.store()[slot];
    view.header
        = FromCp1252(std::string_view(day).substr(0, std::min<std::size_t>(day.size(), 11)));
    for (const std::string& entry : Entries(day))
        view.lines << FromCp1252(entry);
    return view;
}

} // namespace orvane
