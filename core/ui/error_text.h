// The one place where an Error becomes the text of a message box: paths are decoded as file names,
// the system's reasons in the user's language, and the program's own words from Windows-1252.
// Every failed file operation that becomes text is also logged to the category "orvane.files"
// (warnings are shown on standard error unless QT_LOGGING_RULES="orvane.files=false"; the
// category's information messages, such as the data folder in use, with
// QT_LOGGING_RULES="orvane.files.info=true"), so that a user can send what happened.
//
//   if (auto saved = SaveDayFile(path, store); !saved)
//       notifier.Error(ErrorText(saved.error()));
#pragma once

#include "core/result.h"

#include <QLoggingCategory>
#include <QString>
#include <filesystem>

namespace orvane {

Q_DECLARE_LOGGING_CATEGORY(FileLog)

// A path as the user's desktop names it.
QString PathText(const std::filesystem::path& path);

// "Could not read <path>: <reason>", then the error's note on lines of its own; a refusal is its
// note alone. A failed file operation is logged (LogFileError).
QString ErrorText(const Error& error);

// Why an operation failed without the path: the system's reason for a failed file operation, the
// note of a refusal. For a place too small for the whole message; nothing is logged.
QString ReasonText(const Error& error);

// Logs a failed file operation as a warning of "orvane.files"; a refusal is not a file failure
// and is not logged. For failures the program handles without telling the user.
void LogFileError(const Error& error);

} // namespace orvane
