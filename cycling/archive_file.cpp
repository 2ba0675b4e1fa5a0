#include "cycling/archive_file.h"

#include "core/date_key.h"
#include "core/text_file.h"

#include <algorithm>

namespace orvane {

std::string ArchiveWeekBytes(const DayStore& store) {
    std::string bytes;
    for (int slot = 1; slot <= 7; ++slot) {
        const std::string& day = store[slot];
        if (day.size() <= kDateKeyLength)
            continue;
        // Every separator becomes a blank, one in a damaged date key too: the archive is text.
        std::string line = day;
        std::replace(line.begin(), line.end(), kEntrySeparator, ' ');
        line.insert(kDateKeyLength, 1, ' ');
        bytes += line;
        bytes += "\r\n\r\n";
    }
    bytes += "\r\n";
    return bytes;
}

Status ArchiveTopWeek(DocumentEdit& edit) {
    return edit.AppendFile(edit.data().archive(), ArchiveWeekBytes(edit.store()), /*create=*/true);
}

Result<std::string> LoadArchive(const DataFolder& data) {
    return ReadWholeFile(data.archive());
}

std::string ArchiveTextFromBytes(std::string_view bytes) {
    std::string text;
    text.reserve(bytes.size());
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const char c = bytes[i];
        if (c == '\r') {
            text += '\n';
            if (i + 1 < bytes.size() && bytes[i + 1] == '\n')
                ++i;
        } else {
            text += c;
        }
    }
    return text;
}

std::string ArchiveBytesFromText(std::string_view text) {
    std::string bytes;
    bytes.reserve(text.size() + text.size() / 16);
    for (const char c : text) {
        if (c == '\n')
            bytes += "\r\n";
        else
            bytes += c;
    }
    return bytes;
}

Status SaveArchive(const DataFolder& data, std::string_view text) {
    return WriteFileAtomic(data.archive(), ArchiveBytesFromText(text));
}

} // namespace orvane
