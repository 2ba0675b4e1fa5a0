#include "tools/notes_and_log.h"

#include "core/text_file.h"

namespace orvane {

Result<NotesLoad> LoadNotes(const std::filesystem::path& path) {
    Result<std::string> read = ReadWholeFile(path);
    NotesLoad load;
    if (!read) {
        if (!IsMissingFile(read.error()))
            return std::move(read).error();
        load.missing = true;
        return load;
    }
    load.was_rtf = LooksLikeRtf(*read);
    load.document = load.was_rtf ? ParseRtf(*read) : PlainTextDocument(*read);
    return load;
}

Status SaveNotes(const std::filesystem::path& path, const RtfDocument& document) {
    return WriteFileAtomic(path, WriteRtf(document));
}

std::string WithCrLfLineBreaks(std::string_view bytes) {
    std::string text;
    text.reserve(bytes.size() + bytes.size() / 16);
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const char c = bytes[i];
        if (c == '\r' || c == '\n') {
            text += "\r\n";
            if (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n')
                ++i;
        } else {
            text += c;
        }
    }
    return text;
}

Result<std::string> LoadErrorLog(const std::filesystem::path& path) {
    Result<std::string> read = ReadWholeFile(path);
    if (!read) {
        if (!IsMissingFile(read.error()))
            return std::move(read).error();
        return std::string();
    }
    return WithCrLfLineBreaks(*read);
}

Status SaveErrorLog(const std::filesystem::path& path, std::string_view text) {
    return WriteFileAtomic(path, text);
}

} // namespace orvane
