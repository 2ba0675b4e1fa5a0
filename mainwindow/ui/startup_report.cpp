#include "mainwindow/ui/startup_report.h"

#include "core/day_file.h"
#include "core/ui/desktop.h"
#include "core/ui/error_text.h"
#include "core/ui/notifier.h"
#include "prefs/pref_file.h"

#include <QDir>
#include <QGuiApplication>
#include <QScreen>

namespace orvane {

bool ReportStartup(const StartupOutcome& start, const std::filesystem::path& data_dir,
    const QString& program_dir, Services services) {
    Notifier& notifier = services.notifier;
    switch (start.kind) {
    case StartupOutcome::Kind::kNoPreferences:
        notifier.Error(QString::fromLatin1(kMissingPrefMessage)
                           .replace(QLatin1Char('\r'), QLatin1Char('\n'))
                           .arg(PathText(data_dir)));
        services.desktop.OpenDocument(QDir(program_dir).filePath(QStringLiteral("Error.doc")));
        return false;
    case StartupOutcome::Kind::kBadRecordCount:
        // The box's OK button lies 35 pixels below the centre of the desktop.
        if (const QScreen* screen = QGuiApplication::primaryScreen()) {
            const QRect desk = screen->geometry();
            services.desktop.MovePointer(QPoint(desk.center().x(), desk.center().y() + 35));
        }
        notifier.Warning(QString::fromLatin1(kBadRecordCountMessage));
        return false;
    case StartupOutcome::Kind::kDayFileUnreadable:
        notifier.Error(ErrorText(*start.error));
        return false;
    case StartupOutcome::Kind::kReady:
        break;
    }
    if (start.warning)
        notifier.Warning(ErrorText(*start.warning));
    return true;
}

} // namespace orvane
