// The seam through which the iCalendar windows ask for a file: production shows the desktop's file
// dialog, tests hand in a function that answers at once, so no test ever waits on a dialog.
#pragma once

#include <QString>
#include <filesystem>
#include <functional>
#include <optional>

class QWidget;

namespace orvane {

enum class IcsFileRole {
    kExport, // a file to write: the dialog asks before it replaces one
    kImport, // a file to read
};

// The chosen file, or nothing when the user cancelled. `start` is the file or folder the dialog
// opens on (empty: the user's documents folder).
using IcsFilePicker = std::function<std::optional<std::filesystem::path>(
    QWidget* parent, IcsFileRole role, const std::filesystem::path& start)>;

// The desktop's file dialog, for .ics files; a file to write gets ".ics" when it has no suffix.
IcsFilePicker SystemIcsFilePicker();

// A path typed or chosen in a window, as the file system spells it.
std::filesystem::path PathFromText(const QString& text);

} // namespace orvane
