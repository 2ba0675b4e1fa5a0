#include "cycling/archive_file.h"

#include "core/date_key.h"
#include "core/text_file.h"

namespace orvane {

std::string ArchiveWeekBytes(const DayStore& store) {
    std::string bytes;
    for (int slot = 1; slot <= 7; ++slot) {
        const std::string& day = store[slot];
        if (day.size() <= kDateKeyLength)
            continue;
        std::string line = day.substr(0, kDateKeyLength);
        line += ' ';
        for (std::size_t i = kDateKeyLength; i < day.size(); ++i)
            line += day[i] == kEntrySeparator ? ' ' : day[i];
        bytes += line;
        bytes += "\r\n\r\n";
    }
    bytes += "\r\n";
    return bytes;
}

Status ArchiveTopWeek(const DataFolder& data, const DayStore& store) {
    return AppendToFile(data.archive(), ArchiveWeekBytes(store), /*create=*/true);
}

} // namespace orvane
