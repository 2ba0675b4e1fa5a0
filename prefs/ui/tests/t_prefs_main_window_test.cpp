// The preferences dialog working on the real main window: what a save or a colour button changes
// on the grid, and that a typed note survives the refill.
#include "core/clock.h"
#include "core/text_file.h"
#include "core/ui/desktop.h"
#include "core/ui/notifier.h"
#include "mainwindow/ui/note_editor.h"
#include "mainwindow/ui/t_form1.h"
#include "prefs/ui/t_prefs.h"

#include <QAction>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>

using namespace orvane;

namespace {

const char* kPref
    = "11100001010\r\nDom\r\nLun\r\nMar\r\nMie\r\nJue\r\nVie\r\nSab\r\nEne\r\nFeb\r\n"
      "Mzo\r\nAbr\r\nMay\r\nJun\r\nJul\r\nAgo\r\nSep\r\nOct\r\nNov\r\nDic\r\ncsystem\r\n"
      "00.00\r\n00.00\r\n0\r\nDejaVu Sans\r\n";

struct Harness {
    Harness()
        : clock(LocalTime {
            Date { std::chrono::year(2024), std::chrono::March, std::chrono::day(14) }, 9, 0, 0 }) {
        data = std::filesystem::path(dir.path().toStdString()) / "csystem";
        std::filesystem::create_directories(data);
        WriteFileAtomic(data / "pref.ovd", kPref);
        WriteFileAtomic(data / "cdat.ovd", "");
        options.program_dir = dir.path();
        options.data_dir = data;
        options.application_title = QStringLiteral("Orvane");
        options.lock_dir = dir.path();
        form = std::make_unique<TForm1>(options, notes, desk, clock);
        if (!form->FormCreate())
            qFatal("start-up failed");
        prefs = std::make_unique<TPrefs>(*form);
        prefs->Prepare();
        prefs->show();
    }

    QLineEdit* Edit(int number) const {
        return prefs->findChild<QLineEdit*>(QStringLiteral("Edit%1").arg(number));
    }
    QColor NoteColour(int cell) const { return form->note(cell)->palette().color(QPalette::Base); }
    std::string Read(const char* name) const { return ReadWholeFile(data / name).bytes; }

    QTemporaryDir dir;
    std::filesystem::path data;
    StartupOptions options;
    RecordingNotifier notes;
    RecordingDesktop desk;
    FixedClock clock;
    std::unique_ptr<TForm1> form;
    std::unique_ptr<TPrefs> prefs;
};

} // namespace

class TPrefsMainWindowTest : public QObject {
    Q_OBJECT
private slots:
    void userPreferencesReachTheGridAtOnce() {
        Harness h;
        QCOMPARE(h.form->DayTitleTexts().at(0), QStringLiteral("Dom"));
        QCOMPARE(h.form->Cell(1).header, QStringLiteral("Mzo 10, 2024"));
        h.Edit(1)->setText(QStringLiteral("Domingo"));
        h.Edit(10)->setText(QStringLiteral("MAR"));
        h.prefs->findChild<QRadioButton*>(QStringLiteral("RadioButton6"))->setChecked(true);
        h.prefs->Button1Click();
        QVERIFY(!h.prefs->isVisible());
        QCOMPARE(h.form->DayTitleTexts().at(0), QStringLiteral("Domingo"));
        QCOMPARE(h.form->Cell(1).header, QStringLiteral("MAR 10, 2024"));
        QCOMPARE(h.NoteColour(1), QColor(245, 223, 165));
        QCOMPARE(h.form->NoteFont().family(), QStringLiteral("DejaVu Sans"));
    }

    void defaultPreferencesShowTheDefaultTitles() {
        Harness h;
        h.Edit(2)->setText(QStringLiteral("Lunes"));
        h.prefs->Button2Click();
        QCOMPARE(h.form->DayTitleTexts(),
            (QStringList { "SUN", "MON", "TUE", "WED", "THU", "FRI", "SAT" }));
        QCOMPARE(h.form->Cell(1).header, QStringLiteral("Mar 10, 2024"));
        QVERIFY(h.Read("pref.ovd").find("\r\nLunes\r\n") != std::string::npos);
        QVERIFY(h.form->action(QStringLiteral("SaveCalendar1"))->isEnabled());
    }

    void colourButtonRecoloursTheGridUntilTheNextOpening() {
        Harness h;
        QCOMPARE(h.NoteColour(1), QColor(Qt::white));
        QTest::mouseClick(
            h.prefs->findChild<QRadioButton*>(QStringLiteral("RadioButton7")), Qt::LeftButton);
        QCOMPARE(h.NoteColour(1), QColor(255, 153, 0));
        h.prefs->Button3Click();
        QCOMPARE(h.NoteColour(1), QColor(255, 153, 0));
        h.prefs->Prepare();
        QCOMPARE(h.NoteColour(1), QColor(Qt::white));
    }

    void noteBeingEditedSurvivesTheRefill() {
        Harness h;
        h.form->MemoEnter(4);
        QTest::keyClicks(h.form->note(2), QStringLiteral("keep me"));
        h.prefs->Button1Click();
        QCOMPARE(h.form->Cell(2).lines, QStringList { QStringLiteral("keep me") });
        QVERIFY(h.form->State().store[2].find("keep me") != std::string::npos);
        QVERIFY(h.notes.boxes.empty());
    }

    void failedSaveLeavesTheMainWindowAlone() {
        Harness h;
        h.Edit(1)->setText(QStringLiteral("Domingo"));
        h.prefs->findChild<QRadioButton*>(QStringLiteral("RadioButton6"))->setChecked(true);
        h.form->State().data.dir = h.data / "missing";
        h.prefs->Button1Click();
        QVERIFY(h.prefs->isVisible());
        QCOMPARE(h.notes.boxes.size(), std::size_t(1));
        QCOMPARE(h.form->DayTitleTexts().at(0), QStringLiteral("Dom"));
        QCOMPARE(h.NoteColour(1), QColor(Qt::white));
        QCOMPARE(h.form->State().prefs.flag(Flag::CellColor), '1');
    }
};

QTEST_MAIN(TPrefsMainWindowTest)
#include "t_prefs_main_window_test.moc"
