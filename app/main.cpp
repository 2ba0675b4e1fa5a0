// Program entry: creates every window once, in the program's fixed order, wires the menus to
// them and runs the event loop until the main window closes.
#include "core/clock.h"
#include "core/ui/desktop.h"
#include "core/ui/notifier.h"
#include "mainwindow/ui/t_form1.h"

#include <QApplication>
#include <QDir>
#include <cstdio>
#include <cstdlib>

namespace {

bool DisplayAvailable() {
    const char* platform = std::getenv("QT_QPA_PLATFORM");
    if (platform && *platform)
        return true;
    return (std::getenv("DISPLAY") && *std::getenv("DISPLAY"))
        || (std::getenv("WAYLAND_DISPLAY") && *std::getenv("WAYLAND_DISPLAY"));
}

} // namespace

int main(int argc, char** argv) {
    if (!DisplayAvailable()) {
        std::fprintf(stderr,
            "No display available: Orvane is a desktop program; start it from a desktop session "
            "(or under xvfb-run).\n");
        return 1;
    }
    QApplication app(argc, argv);
    const QString program_dir = QCoreApplication::applicationDirPath();
    const QString title = orvane::ApplicationTitle(QCoreApplication::applicationFilePath());
    QApplication::setApplicationName(QStringLiteral("Orvane"));
    QApplication::setOrganizationName(QStringLiteral("Marrowby"));

    orvane::SystemClock clock;
    orvane::SystemDesktop desktop;
    orvane::MessageBoxNotifier notifier;

    orvane::StartupOptions options;
    options.program_dir = program_dir;
    options.data_dir = QDir(program_dir).filePath(QStringLiteral("csystem")).toStdString();
    options.application_title = title;

    orvane::TForm1 form(options, notifier, desktop, clock);
    if (!form.FormCreate())
        return 0;
    form.SetNoteFontFamily(QString::fromStdString(form.State().prefs.CalendarFont));
    form.show();
    return QApplication::exec();
}
