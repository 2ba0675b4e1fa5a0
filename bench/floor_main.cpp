// The start-up floor: a bare Qt window of the main window's size showing one text label. It pays
// what every window with text pays (libraries, QApplication, fonts), so the main window's start-up
// is judged against it.
#include "app/startup_probe.h"

#include <QApplication>
#include <QLabel>
#include <QWidget>

int main(int argc, char** argv) {
    orvane::bench::ReportStartupMoment("main");
    QApplication app(argc, argv);
    orvane::bench::ReportStartupMoment("app");
    QWidget window;
    window.setFixedSize(1264, 741);
    QLabel label(QStringLiteral("Orvane"), &window);
    label.move(10, 10);
    orvane::bench::InstallStartupProbe(&window);
    orvane::bench::ReportStartupMoment("show");
    window.show();
    return QApplication::exec();
}
