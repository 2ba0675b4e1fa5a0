#include "tools/notes_and_log.h"

#include "core/text_file.h"

namespace orvane {

namespace {

EditLoad LoadState(FileRead::State state) {
    switch (state) {
    case FileRead::State::kOk:
        return EditLoad::kLoaded;
    case FileRead::State::kMissing:
        return EditLoad::kMissing;
    case FileRead::State::kUnreadable:
        break;
    }
    return EditLoad::kUnreadable;
}

} // namespace

NotesLoad LoadNotes(const std::filesystem::path& path) {
    FileRead read = ReadWholeFile(path);
    NotesLoad load;
    load.state = LoadState(read.state);
    if (load.state == EditLoad::kUnreadable) {
        load.error = std::move(read.error);
        return load;
    }
    load.was_rtf = LooksLikeRtf(read.bytes);
    load.document = load.was_rtf ? ParseRtf(read.bytes) : PlainTextDocument(read.bytes);
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

ErrorLogLoad LoadErrorLog(const std::filesystem::path& path) {
    FileRead read = ReadWholeFile(path);
    ErrorLogLoad load;
    load.state = LoadState(read.state);
    if (load.state == EditLoad::kUnreadable)
        load.error = std::move(read.error);
    else
        load.text = WithCrLfLineBreaks(read.bytes);
    return load;
}

Status SaveErrorLog(const std::filesystem::path& path, std::string_view text) {
    return WriteFileAtomic(path, text);
}

} // namespace orvane
