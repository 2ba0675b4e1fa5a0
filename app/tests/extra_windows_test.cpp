#include "app/ui/extra_windows.h"

#include "core/ui/error_text.h"
#include "core/ui/testing/fake_calendar_host.h"

#include <QApplication>
#include <QTemporaryDir>
#include <QTest>

namespace orvane {

class ExtraWindowsTest : public QObject {
    Q_OBJECT

private slots:
    // The program loads the module from lib/orvane beside its own folder and gets working windows.
    void theModuleBuildsThePrintWindowForTheMainWindow() {
        QTemporaryDir temp;
        FakeCalendarHost host(NonAsciiDataFolder(temp.path()));
        auto extras = LoadExtraWindows(
            ORVANE_BIN_DIR, { host.document, host, host.services(), &host.main_widget });
        QVERIFY2(extras.has_value(), qPrintable(extras ? QString() : ErrorText(extras.error())));
        (*extras)->OpenPrint();
        auto* pallet = host.main_widget.findChild<QWidget*>(QStringLiteral("TPallet"));
        QVERIFY(pallet);
        QVERIFY(pallet->isVisible());
        (*extras)->OpenPrint(); // built once, shown again
        QCOMPARE(host.main_widget.findChildren<QWidget*>(QStringLiteral("TPallet")).size(), 1);
        QVERIFY(host.notes.boxes.empty());
    }

    // A program folder without the module: an error that names the module, not a crash.
    void aMissingModuleIsAnErrorNamingIt() {
        QTemporaryDir temp;
        FakeCalendarHost host(NonAsciiDataFolder(temp.path()));
        const std::filesystem::path program_dir
            = (temp.path() + QStringLiteral("/bin")).toStdString();
        auto extras
            = LoadExtraWindows(program_dir, { host.document, host, host.services(), nullptr });
        QVERIFY(!extras);
        QVERIFY(ErrorText(extras.error()).contains(QString::fromLatin1(kExtraWindowsModuleName)));
    }
};

} // namespace orvane

QTEST_MAIN(orvane::ExtraWindowsTest)
#include "extra_windows_test.moc"
