#include "core/text_file.h"
#include "core/ui/dialog_style.h"
#include "core/ui/testing/fake_calendar_host.h"
#include "prefs/pref_file.h"
#include "prefs/ui/t_prefs.h"

#include <QApplication>
#include <QCheckBox>
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

    void ResetMemos() override {
        FakeCalendarHost::ResetMemos();
        calls << QStringLiteral("ResetMemos");
    }
    void SetNoteFontFamily(const QString& family) override {
        FakeCalendarHost::SetNoteFontFamily(family);
        calls << QStringLiteral("SetNoteFontFamily");
    }
    void ApplyPreferences() override {
        FakeCalendarHost::ApplyPreferences();
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

template <typename T> T* Child(QWidget* dialog, const QString& name) {
    T* child = dialog->findChild<T*>(name);
    if (!child)
        qFatal("no control %s", qPrintable(name));
    return child;
}

QLineEdit* Edit(QWidget* dialog, int number) {
    return Child<QLineEdit>(dialog, QStringLiteral("Edit%1").arg(number));
}

bool Checked(QWidget* dialog, const char* name) {
    return Child<QAbstractButton>(dialog, QString::fromLatin1(name))->isChecked();
}

} // namespace

class TPrefsTest : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> dir_;
    std::unique_ptr<LoggingHost> host_;

    void WritePref(const std::vector<std::string>& lines) {
        QVERIFY(WriteFileAtomic(host_->state.data.pref(), Join(lines)).ok());
    }
    std::string PrefBytes() const { return ReadWholeFile(host_->state.data.pref()).bytes; }
    PrefLines PrefFile() const { return SplitLines(PrefBytes()); }
    QStringList Boxes() const { return host_->notes.texts(); }

    // A dialog created over the file and opened once.
    std::unique_ptr<TPrefs> Open() {
        auto dialog = std::make_unique<TPrefs>(*host_);
        dialog->Prepare();
        dialog->show();
        host_->calls.clear();
        host_->apply_preferences_calls = 0;
        return dialog;
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
        TPrefs dialog(*host_);
        QCOMPARE(host_->note_font_family, QStringLiteral("DejaVu Sans"));
        QCOMPARE(host_->state.prefs.CalendarFont, std::string("DejaVu Sans"));
        QVERIFY(dialog.DataBoldFontChecked());
        QVERIFY(Checked(&dialog, "CheckBox1"));
        QVERIFY(Checked(&dialog, "RadioButton7"));
        // Creation leaves the flags start-up took and touches nothing else of the main window.
        QCOMPARE(host_->state.prefs.OptionFlags, std::string("00100000000"));
        QCOMPARE(host_->apply_preferences_calls, 0);
        QCOMPARE(host_->reset_memos_calls, 0);
    }

    void windowAndControls() {
        TPrefs dialog(*host_);
        QCOMPARE(dialog.windowTitle(), QStringLiteral("User Preferences"));
        QCOMPARE(dialog.size(), QSize(462, 391));
        QCOMPARE(dialog.minimumSize(), dialog.maximumSize());
        QVERIFY(!(dialog.windowFlags() & Qt::WindowCloseButtonHint));
        const char* names[] = { "CheckBox1", "CheckBox3", "CheckBox4", "CheckBox5", "CheckBox6",
            "CheckBox7", "RadioButton1", "RadioButton2", "RadioButton3", "RadioButton4",
            "RadioButton5", "RadioButton6", "RadioButton7", "CurrencyEdit1", "CurrencyEdit2",
            "CurrencyEdit3", "FontComboBox1", "Edit20", "Button1", "Button2", "Button3" };
        for (const char* name : names)
            QVERIFY2(
                !Child<QWidget>(&dialog, QString::fromLatin1(name))->accessibleName().isEmpty(),
                name);
        for (int i = 1; i <= 19; ++i)
            QVERIFY(!Edit(&dialog, i)->accessibleName().isEmpty());
        QCOMPARE(Child<QPushButton>(&dialog, QStringLiteral("Button2"))->text(),
            QStringLiteral("Default Preferences"));
        QCOMPARE(Child<QPushButton>(&dialog, QStringLiteral("Button1"))->text(),
            QStringLiteral("User Preferences"));
        QCOMPARE(Child<QCheckBox>(&dialog, QStringLiteral("CheckBox3"))->text(),
            QStringLiteral("Display Sunrise / Sunset"));
        QCOMPARE(Child<QRadioButton>(&dialog, QStringLiteral("RadioButton7"))->accessibleName(),
            QStringLiteral("Pumpkin"));
        dialog.show();
        QVERIFY(!Child<QLineEdit>(&dialog, QStringLiteral("Edit20"))->isVisible());
        // The two radio groups are independent of each other.
        Child<QRadioButton>(&dialog, QStringLiteral("RadioButton1"))->setChecked(true);
        Child<QRadioButton>(&dialog, QStringLiteral("RadioButton4"))->setChecked(true);
        QVERIFY(Checked(&dialog, "RadioButton1"));
        QVERIFY(Checked(&dialog, "RadioButton4"));
    }

    void openingShowsTheFileAndReplacesTheFlags() {
        std::vector<std::string> lines = StandardLines();
        lines[0] = "11111101001";
        WritePref(lines);
        auto dialog = Open();
        // ClearSavedOnOpen clears PreferencesSaved in memory.
        QCOMPARE(host_->state.prefs.OptionFlags, std::string("11011101001"));
        QVERIFY(Checked(dialog.get(), "CheckBox1"));
        QVERIFY(Checked(dialog.get(), "CheckBox3"));
        QVERIFY(Checked(dialog.get(), "CheckBox4"));
        QVERIFY(!Checked(dialog.get(), "CheckBox5"));
        QVERIFY(Checked(dialog.get(), "RadioButton1"));
        QVERIFY(!Checked(dialog.get(), "CheckBox6"));
        QVERIFY(Checked(dialog.get(), "CheckBox7"));
        // "0" in CellColor selects no colour.
        for (int i = 3; i <= 7; ++i)
            QVERIFY(!Child<QRadioButton>(dialog.get(), QStringLiteral("RadioButton%1").arg(i))
                         ->isChecked());
        QCOMPARE(Edit(dialog.get(), 1)->text(), QStringLiteral("Sun"));
        QCOMPARE(Edit(dialog.get(), 8)->text(), QStringLiteral("Ene"));
        QCOMPARE(Edit(dialog.get(), 19)->text(), QStringLiteral("Dic"));
        QCOMPARE(Edit(dialog.get(), 20)->text(), QStringLiteral("csystem"));
        QCOMPARE(dialog->LoadedDataFilesPath(), QStringLiteral("csystem"));
        QCOMPARE(Child<QLineEdit>(dialog.get(), QStringLiteral("CurrencyEdit1"))->text(),
            QStringLiteral("-05.00"));
        QCOMPARE(Child<QLineEdit>(dialog.get(), QStringLiteral("CurrencyEdit2"))->text(),
            QStringLiteral("40.50"));
        QCOMPARE(Child<QLineEdit>(dialog.get(), QStringLiteral("CurrencyEdit3"))->text(),
            QStringLiteral("-6"));
        QVERIFY(Child<QLabel>(dialog.get(), QStringLiteral("LabelDayTitles"))->font().underline());

        // A cancelled change shows the file's value again at the next opening.
        Child<QCheckBox>(dialog.get(), QStringLiteral("CheckBox7"))->click();
        Child<QPushButton>(dialog.get(), QStringLiteral("Button3"))->click();
        QVERIFY(!dialog->isVisible());
        dialog->Prepare();
        QVERIFY(Checked(dialog.get(), "CheckBox7"));
    }

    void emptyDayTitlesRefuseBeforeMonthTitles() {
        auto dialog = Open();
        const std::string before = PrefBytes();
        Edit(dialog.get(), 2)->clear();
        Edit(dialog.get(), 6)->clear();
        Edit(dialog.get(), 8)->setText(QStringLiteral("En"));
        dialog->Button1Click();
        QCOMPARE(Boxes(), QStringList { QStringLiteral("Day Title missing.") });
        QVERIFY(IsMarkedError(Edit(dialog.get(), 2)));
        QVERIFY(IsMarkedError(Edit(dialog.get(), 6)));
        QVERIFY(!IsMarkedError(Edit(dialog.get(), 1)));
        QVERIFY(!IsMarkedError(Edit(dialog.get(), 8)));
        // A refusal touches nothing.
        QVERIFY(dialog->isVisible());
        QCOMPARE(PrefBytes(), before);
        QCOMPARE(host_->state.prefs.OptionFlags, std::string("10100110131"));
        QVERIFY(host_->calls.isEmpty());
        // The next opening clears the marks.
        dialog->Prepare();
        QVERIFY(!IsMarkedError(Edit(dialog.get(), 2)));
    }

    void shortMonthTitleIsMarkedUntilFixed() {
        auto dialog = Open();
        QLineEdit* january = Edit(dialog.get(), 8);
        january->setText(QStringLiteral("En"));
        dialog->Button2Click();
        QCOMPARE(Boxes(), QStringList { QStringLiteral("Month Title must be 3 characters.") });
        QVERIFY(IsMarkedError(january));
        QVERIFY(dialog->isVisible());
        // Clicking into the edit clears its mark.
        QTest::mouseClick(january, Qt::LeftButton);
        QVERIFY(!IsMarkedError(january));
        january->end(false);
        QTest::keyClicks(january, QStringLiteral("e"));
        QCOMPARE(january->text(), QStringLiteral("Ene"));
        dialog->Button1Click();
        QVERIFY(!dialog->isVisible());
        QCOMPARE(PrefFile().at(8), std::string("Ene"));
    }

    void titleEditsLimitTyping() {
        auto dialog = Open();
        QLineEdit* sunday = Edit(dialog.get(), 1);
        sunday->clear();
        QTest::keyClicks(sunday, QStringLiteral("Sunday-and-more-text"));
        QCOMPARE(sunday->text(), QStringLiteral("Sunday-and-more"));
        QLineEdit* june = Edit(dialog.get(), 13);
        june->clear();
        QTest::keyClicks(june, QStringLiteral("June"));
        QCOMPARE(june->text(), QStringLiteral("Jun"));
        // A character the file cannot hold is refused as it is typed.
        june->clear();
        QTest::keyClicks(june, QStringLiteral("J"));
        QKeyEvent omega(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(QChar(0x3a9)));
        QApplication::sendEvent(june, &omega);
        QTest::keyClicks(june, QStringLiteral("n"));
        QCOMPARE(june->text(), QStringLiteral("Jn"));
    }

    void overlongAndUnprintableTitlesFromTheFileAreShownWholeAndRefused() {
        std::vector<std::string> lines = StandardLines();
        lines[1] = "Sunday the first"; // 16 characters
        lines[9] = "Febr";
        lines[3] = "Tu\tes";
        WritePref(lines);
        auto dialog = Open();
        QLineEdit* sunday = Edit(dialog.get(), 1);
        QCOMPARE(sunday->text(), QStringLiteral("Sunday the first"));
        QCOMPARE(Edit(dialog.get(), 9)->text(), QStringLiteral("Febr"));
        QCOMPARE(Edit(dialog.get(), 3)->text(), QStringLiteral("Tu\tes"));
        // Typing cannot lengthen it further.
        sunday->end(false);
        QTest::keyClicks(sunday, QStringLiteral("x"));
        QCOMPARE(sunday->text(), QStringLiteral("Sunday the first"));

        const std::string before = PrefBytes();
        dialog->Button1Click();
        QCOMPARE(Boxes(),
            QStringList { QString::fromLatin1(kDayTitleTooLong) + QLatin1Char('\n')
                + QString::fromLatin1(kDayTitleUnwritable) });
        QVERIFY(IsMarkedError(sunday));
        QVERIFY(IsMarkedError(Edit(dialog.get(), 3)));
        QCOMPARE(PrefBytes(), before);

        // Shortened, the title may not grow again; the tab may be removed but not typed.
        QTest::keyClick(sunday, Qt::Key_Backspace);
        QTest::keyClicks(sunday, QStringLiteral("xy"));
        QCOMPARE(sunday->text(), QStringLiteral("Sunday the firs"));
        Edit(dialog.get(), 3)->setText(QStringLiteral("Tues"));
        host_->notes.clear();
        dialog->Button1Click();
        QCOMPARE(Boxes(), QStringList { QString::fromLatin1(kMonthTitleWrongLength) });
        QVERIFY(IsMarkedError(Edit(dialog.get(), 9)));
        Edit(dialog.get(), 9)->setText(QStringLiteral("Feb"));
        dialog->Button1Click();
        QVERIFY(!dialog->isVisible());
        QCOMPARE(PrefFile().at(1), std::string("Sunday the firs"));
    }

    void userPreferencesWritesFirstThenApplies() {
        auto dialog = Open();
        Edit(dialog.get(), 1)->setText(QStringLiteral("Domingo"));
        Edit(dialog.get(), 19)->setText(QString::fromUtf8("D\u00e9c"));
        Child<QCheckBox>(dialog.get(), QStringLiteral("CheckBox1"))->setChecked(true);
        Child<QCheckBox>(dialog.get(), QStringLiteral("CheckBox6"))->setChecked(false);
        Child<QRadioButton>(dialog.get(), QStringLiteral("RadioButton1"))->setChecked(true);
        QLineEdit* longitude = Child<QLineEdit>(dialog.get(), QStringLiteral("CurrencyEdit1"));
        longitude->clear();
        QTest::keyClicks(longitude, QStringLiteral("-90.5"));
        QLineEdit* offset = Child<QLineEdit>(dialog.get(), QStringLiteral("CurrencyEdit3"));
        offset->clear();
        QTest::keyClicks(offset, QStringLiteral("5"));
        Child<QLineEdit>(dialog.get(), QStringLiteral("CurrencyEdit2"))->clear();
        dialog->Button1Click();

        QVERIFY(!dialog->isVisible());
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
        const Preferences& prefs = host_->state.prefs;
        QCOMPARE(prefs.DayTitles[0], std::string("Domingo"));
        QCOMPARE(prefs.MonthTitles[0], std::string("Ene"));
        QCOMPARE(prefs.MonthTitles[11],
            std::string("D\xe9"
                        "c"));
        QCOMPARE(host_->note_font_family, QStringLiteral("DejaVu Sans"));
        QVERIFY(Child<QLabel>(dialog.get(), QStringLiteral("LabelDayTitles"))->font().underline());
    }

    void defaultPreferencesKeepsTypedTitlesInTheFileOnly() {
        host_->state.prefs.DayTitles[0] = "SUN";
        host_->state.prefs.MonthTitles[0] = "Jan";
        auto dialog = Open();
        Edit(dialog.get(), 1)->setText(QStringLiteral("Domingo"));
        Edit(dialog.get(), 8)->setText(QStringLiteral("ENE"));
        dialog->Button2Click();
        QVERIFY(!dialog->isVisible());
        const PrefLines file = PrefFile();
        QCOMPARE(file.at(0), std::string("00100110131"));
        QCOMPARE(file.at(1), std::string("Domingo"));
        QCOMPARE(file.at(8), std::string("ENE"));
        // CustomTitles "0": the main window shows the default titles; memory keeps its own.
        QCOMPARE(host_->state.prefs.OptionFlags, std::string("00100110131"));
        QCOMPARE(host_->state.prefs.DayTitles[0], std::string("SUN"));
        QCOMPARE(host_->state.prefs.MonthTitles[0], std::string("Jan"));
        QCOMPARE(host_->apply_preferences_calls, 1);
    }

    void fileWithoutLocationLinesShowsAndWritesZero() {
        std::vector<std::string> lines = StandardLines();
        lines.resize(21);
        WritePref(lines);
        auto dialog = Open();
        QCOMPARE(Child<QLineEdit>(dialog.get(), QStringLiteral("CurrencyEdit1"))->text(),
            QStringLiteral("00.00"));
        QCOMPARE(Child<QLineEdit>(dialog.get(), QStringLiteral("CurrencyEdit3"))->text(),
            QStringLiteral("0"));
        dialog->Button1Click();
        const PrefLines file = PrefFile();
        QCOMPARE(file.size(), std::size_t(25));
        QCOMPARE(file.at(21), std::string("00.00"));
        QCOMPARE(file.at(22), std::string("00.00"));
        QCOMPARE(file.at(23), std::string("0"));
        // No font line: none is picked from the list.
        QCOMPARE(file.at(24), std::string());
    }

    void numberFieldsShowTheFileFormatWhenLeft() {
        auto dialog = Open();
        QLineEdit* latitude = Child<QLineEdit>(dialog.get(), QStringLiteral("CurrencyEdit2"));
        latitude->clear();
        QTest::keyClicks(latitude, QStringLiteral("7,5x"));
        QCOMPARE(latitude->text(), QStringLiteral("7,5"));
        QTest::keyClick(latitude, Qt::Key_Return);
        QCOMPARE(latitude->text(), QStringLiteral("07.50"));
        QLineEdit* offset = Child<QLineEdit>(dialog.get(), QStringLiteral("CurrencyEdit3"));
        offset->clear();
        QTest::keyClicks(offset, QStringLiteral("5.5"));
        QTest::keyClick(offset, Qt::Key_Return);
        QCOMPARE(offset->text(), QStringLiteral("6"));
        QVERIFY(dialog->isVisible()); // Enter never saves
        dialog->Button1Click();
        QCOMPARE(PrefFile().at(22), std::string("07.50"));
        QCOMPARE(PrefFile().at(23), std::string("6"));
    }

    void failedWriteChangesNothing() {
        auto dialog = Open();
        Edit(dialog.get(), 1)->setText(QStringLiteral("Domingo"));
        Child<QCheckBox>(dialog.get(), QStringLiteral("CheckBox1"))->setChecked(true);
        Child<QComboBox>(dialog.get(), QStringLiteral("FontComboBox1"))->setCurrentIndex(0);
        const Preferences before = host_->state.prefs;
        const QString font_before = host_->note_font_family;
        host_->state.data.dir = host_->state.data.dir / "missing";
        dialog->Button1Click();
        QCOMPARE(Boxes().size(), 1);
        QCOMPARE(host_->notes.boxes.at(0).kind, Notifier::Kind::kError);
        QVERIFY(dialog->isVisible());
        QVERIFY(host_->calls.isEmpty());
        QCOMPARE(host_->note_font_family, font_before);
        QCOMPARE(host_->state.prefs.OptionFlags, before.OptionFlags);
        QCOMPARE(host_->state.prefs.DayTitles, before.DayTitles);
        QCOMPARE(host_->state.prefs.CalendarFont, before.CalendarFont);
        QVERIFY(!Child<QLabel>(dialog.get(), QStringLiteral("LabelDayTitles"))->font().underline());
    }

    void colourButtonActsAtOnceAndCancelKeepsTheFile() {
        auto dialog = Open();
        const std::string before = PrefBytes();
        QTest::mouseClick(
            Child<QRadioButton>(dialog.get(), QStringLiteral("RadioButton7")), Qt::LeftButton);
        QCOMPARE(host_->state.prefs.flag(Flag::CellColor), '5');
        QCOMPARE(host_->calls,
            (QStringList { QStringLiteral("ResetMemos"), QStringLiteral("ApplyPreferences") }));
        dialog->Button3Click();
        QVERIFY(!dialog->isVisible());
        QCOMPARE(PrefBytes(), before);
        QCOMPARE(host_->state.prefs.flag(Flag::CellColor), '5');
        // The next opening takes the file's colour back to the grid.
        host_->calls.clear();
        dialog->Prepare();
        QCOMPARE(host_->state.prefs.flag(Flag::CellColor), '3');
        QVERIFY(Checked(dialog.get(), "RadioButton5"));
        QCOMPARE(host_->calls.count(QStringLiteral("ApplyPreferences")), 1);
        // An opening that changes no colour or underline leaves the grid alone.
        host_->calls.clear();
        dialog->Prepare();
        QVERIFY(host_->calls.isEmpty());
    }

    void clearSavedOnOpenIsSetAgainBySaving() {
        std::vector<std::string> lines = StandardLines();
        lines[0] = "10110110131";
        WritePref(lines);
        auto dialog = Open();
        QCOMPARE(host_->state.prefs.flag(Flag::PreferencesSaved), '0');
        dialog->Button1Click();
        QCOMPARE(PrefFile().at(0), std::string("10110110131"));
        QCOMPARE(host_->state.prefs.OptionFlags, std::string("10110110131"));
    }

    void uninstalledFontIsKeptAndWrittenBack() {
        std::vector<std::string> lines = StandardLines();
        lines[24] = "No Such Font Xyz";
        WritePref(lines);
        auto dialog = Open();
        auto* fonts = Child<QComboBox>(dialog.get(), QStringLiteral("FontComboBox1"));
        QCOMPARE(fonts->currentText(), QStringLiteral("No Such Font Xyz"));
        QCOMPARE(host_->note_font_family, QStringLiteral("No Such Font Xyz"));
        const int count = fonts->count();
        dialog->Button1Click();
        QCOMPARE(PrefFile().at(24), std::string("No Such Font Xyz"));
        // Another opening with an installed font drops the stored-only name again.
        lines[24] = "DejaVu Sans";
        WritePref(lines);
        dialog->Prepare();
        QCOMPARE(fonts->currentText(), QStringLiteral("DejaVu Sans"));
        QCOMPARE(fonts->count(), count - 1);
        QCOMPARE(fonts->findText(QStringLiteral("No Such Font Xyz")), -1);
    }

    void changedDataFilesPathWarnsAboutRestart() {
        auto dialog = Open();
        Child<QLineEdit>(dialog.get(), QStringLiteral("Edit20"))
            ->setText(QStringLiteral("D:\\cal"));
        dialog->Button1Click();
        QCOMPARE(Boxes(), QStringList { QString::fromLatin1(kRestartForPathMessage) });
        QCOMPARE(host_->notes.boxes.at(0).kind, Notifier::Kind::kWarning);
        QCOMPARE(PrefFile().at(20), std::string("D:\\cal"));
        host_->notes.clear();
        dialog->Prepare();
        dialog->Button2Click();
        QVERIFY(Boxes().isEmpty());
        Child<QLineEdit>(dialog.get(), QStringLiteral("Edit20"))->setText(QStringLiteral("E:\\"));
        dialog->show();
        dialog->Button2Click();
        QCOMPARE(host_->notes.boxes.at(0).kind, Notifier::Kind::kInformation);
    }

    void unreadableFileIsReportedAndKeepsTheFlags() {
        auto dialog = Open();
        std::filesystem::remove(host_->state.data.pref());
        host_->state.prefs.OptionFlags = "10100110151";
        dialog->Prepare();
        QCOMPARE(Boxes().size(), 1);
        QCOMPARE(host_->state.prefs.OptionFlags, std::string("10100110151"));
        QCOMPARE(Edit(dialog.get(), 1)->text(), QStringLiteral("Sun"));
    }
};

QTEST_MAIN(TPrefsTest)
#include "t_prefs_test.moc"
