#include "core/text_file.h"
#include "core/ui/dialog_style.h"
#include "core/ui/testing/fake_calendar_host.h"
#include "prefs/pref_file.h"
#include "prefs/ui/t_prefs.h"

#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>

using namespace orvane;

namespace {

// Logs the order of the calls a save makes and what the file and the flags held at the refill.
class LoggingHost : public FakeCalendarHost {
public:
    using FakeCalendarHost::FakeCalendarHost;

    void ResetMemos() override { calls << QStringLiteral("ResetMemos"); }
    void SetNoteFontFamily(const QString& family) override {
        FakeCalendarHost::SetNoteFontFamily(family);
        calls << QStringLiteral("SetNoteFontFamily");
    }
    void ApplyPreferences() override {
        calls << QStringLiteral("ApplyPreferences");
        file_at_apply = ReadWholeFile(state.data.pref()).bytes;
        flags_at_apply = state.prefs.OptionFlags;
    }

    QStringList calls;
    std::string file_at_apply;
    std::string flags_at_apply;
};

std::vector<std::string> StandardLines() {
    return { "10100110131", "Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat", "Ene", "Feb", "Mar",
        "Abr", "May", "Jun", "Jul", "Ago", "Sep", "Oct", "Nov", "Dic", "csystem", "-05.00", "40.50",
        "-6", "DejaVu Sans" };
}

std::string Join(const std::vector<std::string>& lines) {
    std::string bytes;
    for (const std::string& line : lines)
        bytes += line + "\r\n";
    return bytes;
}

template <typename T = QWidget> T* Child(QWidget* dialog, const QString& name) {
    T* child = dialog->findChild<T*>(name);
    if (!child)
        qFatal("no control %s", qPrintable(name));
    return child;
}

} // namespace

class TPrefsTest : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> dir_;
    std::unique_ptr<LoggingHost> host_;
    std::unique_ptr<TPrefs> dialog_;

    void WritePref(const std::vector<std::string>& lines) {
        QVERIFY(WriteFileAtomic(host_->state.data.pref(), Join(lines)).ok());
    }
    std::string PrefBytes() const { return ReadWholeFile(host_->state.data.pref()).bytes; }
    std::string Line(std::size_t number) const { return SplitLines(PrefBytes()).at(number - 1); }
    QStringList Boxes() const { return host_->notes.texts(); }
    QLineEdit* Edit(const QString& name) const { return Child<QLineEdit>(dialog_.get(), name); }
    QLineEdit* Edit(int number) const { return Edit(QStringLiteral("Edit%1").arg(number)); }
    QAbstractButton* Button(const char* name) const {
        return Child<QAbstractButton>(dialog_.get(), QString::fromLatin1(name));
    }
    bool HeadingUnderlined() const {
        return Child<QLabel>(dialog_.get(), QStringLiteral("LabelDayTitles"))->font().underline();
    }

    // The dialog created over the file and opened once.
    void Open() {
        dialog_ = std::make_unique<TPrefs>(*host_);
        dialog_->Prepare();
        dialog_->show();
        host_->calls.clear();
    }

private slots:
    void init() {
        dir_ = std::make_unique<QTemporaryDir>();
        host_ = std::make_unique<LoggingHost>(dir_->path().toStdString());
        host_->state.prefs.OptionFlags = "10100110131";
        host_->state.ActiveNote = 10;
        WritePref(StandardLines());
    }

    void creationSetsTheFontAndTheCheckBoxesOnly() {
        std::vector<std::string> lines = StandardLines();
        lines[0] = "01011111150";
        WritePref(lines);
        host_->state.prefs.OptionFlags = "00100000000";
        dialog_ = std::make_unique<TPrefs>(*host_);
        QCOMPARE(host_->note_font_family, QStringLiteral("DejaVu Sans"));
        QVERIFY(dialog_->DataBoldFontChecked());
        QVERIFY(Button("CheckBox1")->isChecked());
        QVERIFY(Button("RadioButton7")->isChecked());
        // The flags start-up took stay; nothing else reaches the main window.
        QCOMPARE(host_->state.prefs.OptionFlags, std::string("00100000000"));
        QCOMPARE(host_->calls, QStringList { QStringLiteral("SetNoteFontFamily") });

        QCOMPARE(dialog_->size(), QSize(462, 391));
        QVERIFY(!(dialog_->windowFlags() & Qt::WindowCloseButtonHint));
        for (QWidget* control : dialog_->findChildren<QWidget*>()) {
            if (control->objectName().contains(QRegularExpression(QStringLiteral("[0-9]$"))))
                QVERIFY2(!control->accessibleName().isEmpty(), qPrintable(control->objectName()));
        }
    }

    void openingShowsTheFileAndReplacesTheFlags() {
        std::vector<std::string> lines = StandardLines();
        lines[0] = "11111101001";
        WritePref(lines);
        Open();
        // ClearSavedOnOpen clears PreferencesSaved in memory.
        QCOMPARE(host_->state.prefs.OptionFlags, std::string("11011101001"));
        for (const char* on :
            { "CheckBox1", "CheckBox3", "CheckBox4", "RadioButton1", "CheckBox7" })
            QVERIFY2(Button(on)->isChecked(), on);
        for (const char* off : { "CheckBox5", "CheckBox6", "RadioButton2", "RadioButton3",
                 "RadioButton4", "RadioButton5", "RadioButton6", "RadioButton7" })
            QVERIFY2(!Button(off)->isChecked(), off);
        QVERIFY(HeadingUnderlined());
        QCOMPARE(Edit(1)->text(), QStringLiteral("Sun"));
        QCOMPARE(Edit(19)->text(), QStringLiteral("Dic"));
        QCOMPARE(Edit(20)->text(), QStringLiteral("csystem"));
        QVERIFY(!Edit(20)->isVisible());
        QCOMPARE(Edit(QStringLiteral("CurrencyEdit1"))->text(), QStringLiteral("-05.00"));
        QCOMPARE(Edit(QStringLiteral("CurrencyEdit2"))->text(), QStringLiteral("40.50"));
        QCOMPARE(Edit(QStringLiteral("CurrencyEdit3"))->text(), QStringLiteral("-6"));

        // A cancelled change shows the file's value again at the next opening.
        Button("CheckBox7")->click();
        Button("Button3")->click();
        QVERIFY(!dialog_->isVisible());
        dialog_->Prepare();
        QVERIFY(Button("CheckBox7")->isChecked());
    }

    void emptyDayTitlesRefuseBeforeMonthTitles() {
        Open();
        const std::string before = PrefBytes();
        Edit(2)->clear();
        Edit(6)->clear();
        Edit(8)->setText(QStringLiteral("En"));
        dialog_->Button1Click();
        QCOMPARE(Boxes(), QStringList { QStringLiteral("Day Title missing.") });
        QVERIFY(IsMarkedError(Edit(2)) && IsMarkedError(Edit(6)));
        QVERIFY(!IsMarkedError(Edit(1)) && !IsMarkedError(Edit(8)));
        // A refusal touches nothing.
        QVERIFY(dialog_->isVisible());
        QCOMPARE(PrefBytes(), before);
        QCOMPARE(host_->state.prefs.OptionFlags, std::string("10100110131"));
        QVERIFY(host_->calls.isEmpty());
        dialog_->Prepare();
        QVERIFY(!IsMarkedError(Edit(2)));
    }

    void shortMonthTitleIsMarkedUntilFixed() {
        Open();
        QLineEdit* january = Edit(8);
        january->setText(QStringLiteral("En"));
        dialog_->Button2Click();
        QCOMPARE(Boxes(), QStringList { QStringLiteral("Month Title must be 3 characters.") });
        QVERIFY(IsMarkedError(january));
        QTest::mouseClick(january, Qt::LeftButton);
        QVERIFY(!IsMarkedError(january));
        january->end(false);
        QTest::keyClicks(january, QStringLiteral("ex"));
        QCOMPARE(january->text(), QStringLiteral("Ene"));
        dialog_->Button1Click();
        QVERIFY(!dialog_->isVisible());
        QCOMPARE(Line(9), std::string("Ene"));
    }

    void overlongAndUnprintableTitlesFromTheFileAreShownWholeAndRefused() {
        std::vector<std::string> lines = StandardLines();
        lines[1] = "Sunday the first"; // 16 characters
        lines[3] = "Tu\tes";
        lines[9] = "Febr";
        WritePref(lines);
        Open();
        QLineEdit* sunday = Edit(1);
        QCOMPARE(sunday->text(), QStringLiteral("Sunday the first"));
        QCOMPARE(Edit(3)->text(), QStringLiteral("Tu\tes"));
        QCOMPARE(Edit(9)->text(), QStringLiteral("Febr"));
        sunday->end(false);
        QTest::keyClicks(sunday, QStringLiteral("x"));
        QCOMPARE(sunday->text(), QStringLiteral("Sunday the first"));

        const std::string before = PrefBytes();
        dialog_->Button1Click();
        QCOMPARE(Boxes(),
            QStringList { QString::fromLatin1(kDayTitleTooLong) + QLatin1Char('\n')
                + QString::fromLatin1(kDayTitleUnwritable) });
        QVERIFY(IsMarkedError(sunday) && IsMarkedError(Edit(3)));
        QCOMPARE(PrefBytes(), before);

        // Shortened, the title cannot grow again.
        QTest::keyClick(sunday, Qt::Key_Backspace);
        QTest::keyClicks(sunday, QStringLiteral("xy"));
        QCOMPARE(sunday->text(), QStringLiteral("Sunday the firs"));
        Edit(3)->setText(QStringLiteral("Tues"));
        host_->notes.clear();
        dialog_->Button1Click();
        QCOMPARE(Boxes(), QStringList { QString::fromLatin1(kMonthTitleWrongLength) });
        Edit(9)->setText(QStringLiteral("Feb"));
        dialog_->Button1Click();
        QVERIFY(!dialog_->isVisible());
        QCOMPARE(Line(2), std::string("Sunday the firs"));
    }

    void typingIsLimitedToWhatTheFileCanHold() {
        Open();
        Edit(1)->clear();
        QTest::keyClicks(Edit(1), QStringLiteral("Sunday-and-more-text"));
        QCOMPARE(Edit(1)->text(), QStringLiteral("Sunday-and-more"));
        QLineEdit* june = Edit(13);
        june->clear();
        QTest::keyClicks(june, QStringLiteral("J"));
        QKeyEvent omega(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(QChar(0x3a9)));
        QApplication::sendEvent(june, &omega);
        QTest::keyClicks(june, QStringLiteral("unx"));
        QCOMPARE(june->text(), QStringLiteral("Jun"));
    }

    void userPreferencesWritesFirstThenApplies() {
        Open();
        Edit(1)->setText(QStringLiteral("Domingo"));
        Edit(19)->setText(QString::fromUtf8("D\u00e9c"));
        Button("CheckBox1")->setChecked(true);
        Button("CheckBox6")->setChecked(false);
        Button("RadioButton1")->setChecked(true);
        QLineEdit* longitude = Edit(QStringLiteral("CurrencyEdit1"));
        longitude->clear();
        QTest::keyClicks(longitude, QStringLiteral("-90,5x"));
        QTest::keyClick(longitude, Qt::Key_Return); // shows the file's format, never saves
        QCOMPARE(longitude->text(), QStringLiteral("-90.50"));
        Edit(QStringLiteral("CurrencyEdit2"))->clear();
        Edit(QStringLiteral("CurrencyEdit3"))->setText(QStringLiteral("5"));
        QVERIFY(dialog_->isVisible());
        dialog_->Button1Click();

        QVERIFY(!dialog_->isVisible());
        QVERIFY(Boxes().isEmpty());
        std::vector<std::string> expected = StandardLines();
        expected[0] = "11100111031";
        expected[1] = "Domingo";
        expected[19] = "D\xe9"
                       "c";
        expected[21] = "-90.50";
        expected[22] = "00.00";
        expected[23] = "5";
        QCOMPARE(PrefBytes(), Join(expected));
        // The note is stored before the font re-wraps it and the refill replaces it; the main
        // window applies settings the file already holds.
        QCOMPARE(host_->calls,
            (QStringList { QStringLiteral("ResetMemos"), QStringLiteral("SetNoteFontFamily"),
                QStringLiteral("ApplyPreferences") }));
        QCOMPARE(host_->file_at_apply, Join(expected));
        QCOMPARE(host_->flags_at_apply, expected[0]);
        QCOMPARE(host_->state.prefs.DayTitles[0], std::string("Domingo"));
        QCOMPARE(host_->state.prefs.MonthTitles[11], expected[19]);
        QVERIFY(HeadingUnderlined());
    }

    void defaultPreferencesKeepsTypedTitlesInTheFileOnly() {
        host_->state.prefs.DayTitles[0] = "SUN";
        Open();
        Edit(1)->setText(QStringLiteral("Domingo"));
        dialog_->Button2Click();
        QCOMPARE(Line(1), std::string("00100110131"));
        QCOMPARE(Line(2), std::string("Domingo"));
        // With CustomTitles "0" the main window shows the default titles; memory keeps its own.
        QCOMPARE(host_->flags_at_apply, std::string("00100110131"));
        QCOMPARE(host_->state.prefs.DayTitles[0], std::string("SUN"));
    }

    void fileWithoutLocationLinesShowsAndWritesZero() {
        std::vector<std::string> lines = StandardLines();
        lines.resize(21);
        WritePref(lines);
        Open();
        QCOMPARE(Edit(QStringLiteral("CurrencyEdit1"))->text(), QStringLiteral("00.00"));
        QCOMPARE(Edit(QStringLiteral("CurrencyEdit3"))->text(), QStringLiteral("0"));
        dialog_->Button1Click();
        QCOMPARE(PrefBytes().substr(PrefBytes().find("csystem")),
            std::string("csystem\r\n00.00\r\n00.00\r\n0\r\n\r\n"));
    }

    void failedWriteChangesNothing() {
        Open();
        Edit(1)->setText(QStringLiteral("Domingo"));
        Button("CheckBox1")->setChecked(true);
        Child<QComboBox>(dialog_.get(), QStringLiteral("FontComboBox1"))->setCurrentIndex(0);
        const Preferences before = host_->state.prefs;
        host_->state.data.dir = host_->state.data.dir / "missing";
        dialog_->Button1Click();
        QCOMPARE(host_->notes.boxes.size(), std::size_t(1));
        QCOMPARE(host_->notes.boxes.at(0).kind, Notifier::Kind::kError);
        QVERIFY(dialog_->isVisible());
        QVERIFY(host_->calls.isEmpty());
        QCOMPARE(host_->state.prefs.OptionFlags, before.OptionFlags);
        QCOMPARE(host_->state.prefs.DayTitles, before.DayTitles);
        QCOMPARE(host_->state.prefs.CalendarFont, before.CalendarFont);
        QVERIFY(!HeadingUnderlined());
    }

    void colourButtonActsAtOnceAndCancelKeepsTheFile() {
        Open();
        const std::string before = PrefBytes();
        QTest::mouseClick(Button("RadioButton7"), Qt::LeftButton);
        QCOMPARE(host_->state.prefs.flag(Flag::CellColor), '5');
        QCOMPARE(host_->calls,
            (QStringList { QStringLiteral("ResetMemos"), QStringLiteral("ApplyPreferences") }));
        dialog_->Button3Click();
        QCOMPARE(PrefBytes(), before);
        QCOMPARE(host_->state.prefs.flag(Flag::CellColor), '5');
        // The next opening takes the file's colour back to the grid; a further one changes nothing.
        host_->calls.clear();
        dialog_->Prepare();
        QCOMPARE(host_->state.prefs.flag(Flag::CellColor), '3');
        QVERIFY(Button("RadioButton5")->isChecked());
        QCOMPARE(host_->calls.count(QStringLiteral("ApplyPreferences")), 1);
        host_->calls.clear();
        dialog_->Prepare();
        QVERIFY(host_->calls.isEmpty());
    }

    void clearSavedOnOpenIsSetAgainBySaving() {
        std::vector<std::string> lines = StandardLines();
        lines[0] = "10110110131";
        WritePref(lines);
        Open();
        QCOMPARE(host_->state.prefs.flag(Flag::PreferencesSaved), '0');
        dialog_->Button1Click();
        QCOMPARE(Line(1), std::string("10110110131"));
        QCOMPARE(host_->state.prefs.OptionFlags, std::string("10110110131"));
    }

    void uninstalledFontIsKeptAndWrittenBack() {
        std::vector<std::string> lines = StandardLines();
        lines[24] = "No Such Font Xyz";
        WritePref(lines);
        Open();
        auto* fonts = Child<QComboBox>(dialog_.get(), QStringLiteral("FontComboBox1"));
        QCOMPARE(fonts->currentText(), QStringLiteral("No Such Font Xyz"));
        QCOMPARE(host_->note_font_family, QStringLiteral("No Such Font Xyz"));
        dialog_->Button1Click();
        QCOMPARE(Line(25), std::string("No Such Font Xyz"));
        // An opening with an installed font drops the stored-only name again.
        lines[24] = "DejaVu Sans";
        WritePref(lines);
        dialog_->Prepare();
        QCOMPARE(fonts->currentText(), QStringLiteral("DejaVu Sans"));
        QCOMPARE(fonts->findText(QStringLiteral("No Such Font Xyz")), -1);
    }

    void changedDataFilesPathWarnsAboutRestart() {
        Open();
        Edit(20)->setText(QStringLiteral("D:\\cal"));
        dialog_->Button1Click();
        QCOMPARE(Boxes(), QStringList { QString::fromLatin1(kRestartForPathMessage) });
        QCOMPARE(host_->notes.boxes.at(0).kind, Notifier::Kind::kWarning);
        QCOMPARE(Line(21), std::string("D:\\cal"));
        host_->notes.clear();
        dialog_->Prepare();
        dialog_->Button2Click();
        QVERIFY(Boxes().isEmpty());

        // "Default Preferences" gives the same warning in a plain box.
        dialog_->Prepare();
        Edit(20)->setText(QStringLiteral("E:\\cal"));
        dialog_->Button2Click();
        QCOMPARE(Boxes(), QStringList { QString::fromLatin1(kRestartForPathMessage) });
        QCOMPARE(host_->notes.boxes.at(0).kind, Notifier::Kind::kInformation);
        QCOMPARE(Line(21), std::string("E:\\cal"));
        QCOMPARE(Line(1).substr(0, 1), std::string("0"));
    }

    void unreadableFileIsReportedAndKeepsTheFlags() {
        Open();
        std::filesystem::remove(host_->state.data.pref());
        host_->state.prefs.OptionFlags = "10100110151";
        dialog_->Prepare();
        QCOMPARE(Boxes().size(), 1);
        QCOMPARE(host_->state.prefs.OptionFlags, std::string("10100110151"));
    }
};

QTEST_MAIN(TPrefsTest)
#include "t_prefs_test.moc"
