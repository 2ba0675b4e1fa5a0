// The archive file archive.ovd: the days a cycle removes from the calendar, kept as plain text
// for the user to read and prune. A cycle appends; only the archive window rewrites it whole.
//
//   "Mar/14/2024 Dentist Call Bob " CR LF CR LF   for a day with two entries
//   CR LF                                          after each week
#pragma once

#include "core/calendar_document.h"
#include "core/day_store.h"
#include "core/result.h"
#include "core/text_file.h"

#include <string>
#include <string_view>

namespace orvane {

// What one cycle appends for the top week (slots 1-7): each day with entries as its key, a blank
// and every entry followed by a blank, then an empty line; then one more empty line.
std::string ArchiveWeekBytes(const DayStore& store);

// Appends the top week to archive.ovd as part of a cycle, creating the file when it is missing.
Status ArchiveTopWeek(DocumentEdit& edit);

// archive.ovd as read, byte for byte; the window shows it as ArchiveTextFromBytes.
Result<std::string> LoadArchive(const DataFolder& data);

// The archive's text as the window holds it: every line break of the file (CR LF, a lone CR or a
// lone LF) becomes one '\n'; every other byte stays as it is.
std::string ArchiveTextFromBytes(std::string_view bytes);

// The bytes a saved text is written as: each '\n' becomes CR LF, nothing else changes. After one
// load and save every line break of the file is a CR LF pair, and further rounds change nothing.
std::string ArchiveBytesFromText(std::string_view text);

// Replaces archive.ovd with the text the user edited, as ArchiveBytesFromText writes it.
Status SaveArchive(const DataFolder& data, std::string_view text);

} // namespace orvane
