// Loading and saving the two files the user edits in place: the free notes (notes.ovd, rich
// text, or plain text when it is not RTF) and the error log of refused entries (rdat.ovd,
// plain CR LF lines written back exactly as edited).
#pragma once

#include "core/result.h"
#include "tools/rtf.h"

#include <filesystem>
#include <string>
#include <string_view>

namespace orvane {

// A missing file opens empty and is created on saving; a file that exists but cannot be read is
// an error, and the window must not save over it.
struct NotesLoad {
    RtfDocument document;
    bool was_rtf = false;
    bool missing = false;
};

Result<NotesLoad> LoadNotes(const std::filesystem::path& path);
// The same from what a read of the file gave (ReadWholeFile).
Result<NotesLoad> NotesFromRead(const Result<std::string>& read);

// The bytes SaveNotes writes.
std::string NotesBytes(const RtfDocument& document);

// The notes as RTF, replacing the file atomically.
Status SaveNotes(const std::filesystem::path& path, const RtfDocument& document);

// The file's text with every line break (CR LF, lone CR, lone LF) made a CR LF pair; nothing
// else changes, so a final line without a line end stays without one.
std::string WithCrLfLineBreaks(std::string_view bytes);

// The log's text, every line break a CR LF pair; a missing file reads as an empty log.
Result<std::string> LoadErrorLog(const std::filesystem::path& path);
// The same from what a read of the file gave (ReadWholeFile).
Result<std::string> ErrorLogFromRead(const Result<std::string>& read);

// Writes `text` unchanged, replacing the file atomically; an empty text leaves an empty file.
Status SaveErrorLog(const std::filesystem::path& path, std::string_view text);

} // namespace orvane
