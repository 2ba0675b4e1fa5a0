// The one place where an Error becomes the text of a message box: paths are decoded as file names,
// the system's reasons in the user's language, and the program's own words from Windows-1252.
//
//   if (Status saved = SaveDayFile(path, store); !saved)
//       notifier.Error(ErrorText(saved.error()));
#pragma once

#include "core/result.h"

#include <QString>
#include <filesystem>

namespace orvane {

// A path as the user's desktop names it.
QString PathText(const std::filesystem::path& path);

// "Could not read <path>: <reason>", then the error's note on lines of its own; a refusal is its
// note alone.
QString ErrorText(const Error& error);

} // namespace orvane
