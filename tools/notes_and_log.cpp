#include "tools/notes_and_log.h"

#include "core/text_file.h"

namespace orvane {

Result<NotesLoad> LoadNotes(const std::filesystem::path& path) {
    return NotesFromRead(ReadWholeFile(path));
}

Result<NotesLoad> NotesFromRead(const Result<std::string>& read) {
    NotesLoad load;
    if (!read) {
        if (!IsMissingFile(read.error()))
            return read.error();
        load.missing = true;
        return load;
    }
    load.was_rtf = LooksLikeRtf(*read);
    load.document = load.was_rtf ? ParseRtf(*read) : PlainTextDocument(*read);
    return load;
}

std::string NotesBytes(const RtfDocument& document) {
    return WriteRtf(document);
}

Status SaveNotes(const std::filesystem::path& path, const RtfDocument& document) {
    return WriteFileAtomic(path, NotesBytes(document));
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
    return ErrorLogFromRead(ReadWholeFile(path));
}

Result<std::string> ErrorLogFromRead(const Result<std::string>& read) {
    if (!read) {
        if (!IsMissingFile(read.error()))
            return read.error();
        return std::string();
    }
    return WithCrLfLineBreaks(*read);
}

Status SaveErrorLog(const std::filesystem::path& path, std::string_view text) {
    return WriteFileAtomic(path, text);
}

} // namespace orvane
