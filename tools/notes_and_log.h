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

// How a file opened for editing: a missing file opens empty and is created on saving; a file
// that exists but cannot be read must not be saved over.
enum class EditLoad { kLoaded, kMissing, kUnreadable };

struct NotesLoad {
    EditLoad state = EditLoad::kLoaded;
    RtfDocument document;
    bool was_rtf = false;
    std::string error; // for kUnreadable: what to tell the user, naming the file
};

NotesLoad LoadNotes(const std::filesystem::path& path);

// The notes as RTF, replacing the file atomically.
Status SaveNotes(const std::filesystem::path& path, const RtfDocument& document);

struct ErrorLogLoad {
    EditLoad state = EditLoad::kLoaded;
    std::string text; // every line break a CR LF pair
    std::string error;
};

// The file's text with every line break (CR LF, lone CR, lone LF) made a CR LF pair; nothing
// else changes, so a final line without a line end stays without one.
std::string WithCrLfLineBreaks(std::string_view bytes);

ErrorLogLoad LoadErrorLog(const std::filesystem::path& path);

// Writes `text` unchanged, replacing the file atomically; an empty text leaves an empty file.
Status SaveErrorLog(const std::filesystem::path& path, std::string_view text);

} // namespace orvane
