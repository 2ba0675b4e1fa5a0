// The preferences dialog on the real main window: what its buttons change on the grid at once.
#include "core/clock.h"
#include "core/text_file.h"
#include "core/ui/desktop.h"
#include "core/ui/notifier.h"
#include "mainwindow/ui/day_grid.h"
#include "mainwindow/ui/note_editor.h"
#include "mainwindow/ui/t_form1.h"
#include "prefs/ui/t_prefs.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>

using namespace orvane;

class TPrefsMainWindowTest : public QObject {
    Q_OBJECT
private slots:
    void savesReachTheGridAtOnceAndKeepTheTypedNote() {
        QTemporaryDir dir;
        const auto data = std::filesystem::path(dir.path().toStdString()) / "csystem";
        std::filesystem::create_directories(data);
        // Custom titles, underlined, and preferences never saved.
        QVERIFY(WriteFileAtomic(data / "pref.ovd",
            "11000001010\r\nDom\r\nLun\r\nMar\r\nMie\r\nJue\r\nVie\r\nSab\r\nEne\r\nFeb\r\nMzo\r\n"
            "Abr\r\nMay\r\nJun\r\nJul\r\nAgo\r\nSep\r\nOct\r\nNov\r\nDic\r\ncsystem\r\n00.00\r\n"
            "00.00\r\n0\r\nDejaVu Sans\r\n")
                    .has_value());
        QVERIFY(WriteFileAtomic(data / "cdat.ovd", "").has_value());
        RecordingNotifier notes;
        RecordingDesktop desk;
        const FixedClock clock(LocalTime {
            Date { std::chrono::year(2024), std::chrono::March, std::chrono::day(14) }, 9, 0, 0 });
        const Services services { notes, clock, desk };
        TForm1 form(StartupOptions { dir.path(), data, QStringLiteral("Orvane") }, services);
        QVERIFY(form.FormCreate());
        QVERIFY(!form.action(Command::kSaveCalendar)->isEnabled());
        TPrefs prefs(form.document(), form, services);
        prefs.Prepare();
        prefs.show();
        // The user is typing in the second cell when the preferences are saved.
        form.document().SetActiveNote(4);
        QTest::keyClicks(form.note(2), QStringLiteral("keep me"));
        prefs.findChild<QLineEdit*>(QStringLiteral("Edit1"))->setText(QStringLiteral("Domingo"));
        prefs.findChild<QLineEdit*>(QStringLiteral("Edit10"))->setText(QStringLiteral("MAR"));
        prefs.Button1Click();
        QVERIFY(!prefs.isVisible() && notes.boxes.empty());
        QCOMPARE(form.DayTitleTexts().at(0), QStringLiteral("Domingo"));
        QVERIFY(form.findChild<QLabel*>(QStringLiteral("Label1"))->font().underline());
        QCOMPARE(form.Cell(1).header, QStringLiteral("MAR 10, 2024"));
        QVERIFY(form.document().store()[2].find("keep me") != std::string::npos);
        QCOMPARE(form.note(2)->toPlainText(), QStringLiteral("keep me"));
        QVERIFY(form.action(Command::kSaveCalendar)->isEnabled()); // saved preferences
    }
};

QTEST_MAIN(TPrefsMainWindowTest)
#include "t_prefs_main_window_test.moc"
