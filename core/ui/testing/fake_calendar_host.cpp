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
    : fixed_clock(first) {
    state.data.dir = data_dir;
    NewCalendar(first, state.store);
    state.TodayKey = DateKey(first);
}

QFont FakeCalendarHost::ExpansionLabelFont() const {
    return ProgramFont(QStringLiteral("Verdana"), 11, state.prefs.on(Flag::DataBoldFont));
}

QFont FakeCalendarHost::NoteFont() const {
    return ExpansionLabelFont();
}

GridCellView FakeCalendarHost::Cell(int cell) const {
    GridCellView view;
    const int slot = state.TopSlot + cell - 1;
    const std::string& day = state.store[slot];
    view.header
        = FromCp1252(std::string_view(day).substr(0, std::min<std::size_t>(day.size(), 11)));
    for (const std::string& entry : Entries(day))
        view.lines << FromCp1252(entry);
    return view;
}

} // namespace orvane
