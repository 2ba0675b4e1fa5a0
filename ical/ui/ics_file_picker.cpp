#include "ical/ui/ics_file_picker.h"

#include "core/ui/error_text.h"

#include <QFile>
#include <QFileDialog>
#include <QStandardPaths>

namespace orvane {

std::filesystem::path PathFromText(const QString& text) {
    return std::filesystem::path(QFile::encodeName(text).toStdString());
}

IcsFilePicker SystemIcsFilePicker() {
    return [](QWidget* parent, IcsFileRole role,
               const std::filesystem::path& start) -> std::optional<std::filesystem::path> {
        const bool saving = role == IcsFileRole::kExport;
        QString directory = start.empty()
            ? QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation)
            : PathText(start);
        if (saving && start.empty())
            directory += QStringLiteral("/orvane.ics");
        QFileDialog dialog(parent,
            saving ? QStringLiteral("Export iCalendar") : QStringLiteral("Import iCalendar"),
            directory,
            QStringLiteral("iCalendar files (*.ics *.ical *.ifb *.icalendar);;All files (*)"));
        dialog.setAcceptMode(saving ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
        dialog.setFileMode(saving ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
        if (saving)
            dialog.setDefaultSuffix(QStringLiteral("ics"));
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return std::nullopt;
        return PathFromText(dialog.selectedFiles().constFirst());
    };
}

} // namespace orvane
