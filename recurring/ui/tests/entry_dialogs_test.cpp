#include "core/entry_limit.h"
#include "core/text_file.h"
#include "core/ui/dialog_style.h"
#include "core/ui/testing/fake_calendar_host.h"
#include "recurring/ui/date_picker.h"
#include "recurring/ui/t_day_to_day.h"
#include "recurring/ui/t_del_entry.h"
#include "recurring/ui/t_mo_to_mo.h"
#include "recurring/ui/t_wk_to_wk.h"
#include "recurring/ui/t_yr_to_yr.h"

#include <QCheckBox>
#include <QClipboard>
#include <QFontMetrics>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>

using namespace orvane;

namespace {

Date D(int y, unsigned m, unsigned d) {
    return Date { std::chrono::year(y), std::chrono::month(m), std::chrono::day(d) };
}

// Records, for each box, whether the grid had been marked stale when it was shown.
class StaleCheckingHost : public FakeCalendarHost {
public:
    using FakeCalendarHost::FakeCalendarHost;

    class Checking final : public Notifier {
    public:
        explicit Checking(StaleCheckingHost& host)
            : host_(host) { }
        void Show(Kind kind, const QString& text, const QString& title) override {
            host_.stale_at_box.push_back(host_.stale);
            host_.notes.Show(kind, text, title);
        }
        bool Confirm(const QString& text, const QString& title) override {
            return host_.notes.Confirm(text, title);
        }
        void Beep() override { host_.notes.Beep(); }

    private:
        StaleCheckingHost& host_;
    };

    Notifier& notifier() override { return checking; }

    Checking checking { *this };
    std::vector<bool> stale_at_box;
};

template <typename T> T* Child(QWidget* dialog, const char* name) {
    T* child = dialog->findChild<T*>(QString::fromLatin1(name));
    if (!child)
        qFatal("no control %s", name);
    return child;
}

QString Messages(QWidget* dialog) {
    return Child<QPlainTextEdit>(dialog, "Memo1")->toPlainText();
}

void SetPicker(QWidget* dialog, const char* name, const Date& date) {
    Child<DatePicker>(dialog, name)->setDate(ToQDate(date));
}

std::string Full(const std::string& key) {
    return key + std::string(20, kEntrySeparator);
}

} // namespace

class EntryDialogsTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir dir_;
    std::unique_ptr<StaleCheckingHost> host_;

    std::string Fdat() const { return ReadWholeFile(host_->state.data.fdat()).bytes; }
    std::string& Day(int slot) { return host_->state.store[slot]; }

private slots:
    void init() {
        host_ = std::make_unique<StaleCheckingHost>(dir_.path().toStdString());
        std::filesystem::remove(host_->state.data.fdat());
        std::filesystem::remove(host_->state.data.rdat());
        std::filesystem::remove(host_->state.data.wdat());
    }

    void openingProposesTheLastEnteredDayAndChecksDates() {
        TDayToDay dialog(*host_);
        host_->state.TopSlot = 8;
        host_->state.ActiveNote = 6; // third cell: slot 6 / 2 + 8 - 1 = 10
        dialog.Prepare();
        dialog.show();
        QCOMPARE(dialog.InitialFromDate(), D(2024, 1, 16));
        QCOMPARE(dialog.LastCalendarDay(), *ParseDateKey(Day(kLastShownSlot)));
        QCOMPARE(Child<DatePicker>(&dialog, "DateTimePicker1")->date(), QDate(2024, 1, 16));
        QVERIFY(!Child<DatePicker>(&dialog, "DateTimePicker2")->isEnabled());
        QVERIFY(Child<QCheckBox>(&dialog, "CheckBox1")->isChecked());
        QCOMPARE(Child<QLineEdit>(&dialog, "umNumberEdit1")->text(), QStringLiteral("1"));
        QCOMPARE(host_->reset_memos_calls, 1);

        host_->state.ActiveNote = 0;
        dialog.Prepare();
        QCOMPARE(dialog.InitialFromDate(), D(2024, 1, 7));
    }

    void dateChecksShowTheirMessagesAndBlockOk() {
        TDayToDay dialog(*host_);
        host_->state.ActiveNote = 4; // slot 2
        dialog.Prepare();
        dialog.show();
        auto* from = Child<DatePicker>(&dialog, "DateTimePicker1");
        auto* to = Child<DatePicker>(&dialog, "DateTimePicker2");

        SetPicker(&dialog, "DateTimePicker1", D(2024, 1, 7));
        QCOMPARE(Messages(&dialog), QStringLiteral("From date < calendar"));
        QVERIFY(IsMarkedError(from));
        QVERIFY(dialog.FromTooEarly());
        SetPicker(&dialog, "DateTimePicker1", D(2024, 1, 6));
        QCOMPARE(Messages(&dialog), QStringLiteral("From date < calendar\nFrom date < calendar"));

        Child<QLineEdit>(&dialog, "Edit1")->setText(QStringLiteral("Gym"));
        dialog.Button1Click();
        QVERIFY(dialog.isVisible());
        QCOMPARE(Day(2), std::string("Jan/8 /2024"));
        QCOMPARE(host_->refill_calls, 0);

        SetPicker(&dialog, "DateTimePicker1", AddDays(dialog.LastCalendarDay(), 1));
        QCOMPARE(Messages(&dialog), QStringLiteral("From date > calendar"));
        QVERIFY(!dialog.FromTooEarly());
        QVERIFY(dialog.FromTooLate());

        SetPicker(&dialog, "DateTimePicker1", D(2024, 3, 1));
        QVERIFY(!IsMarkedError(from));
        QVERIFY(Messages(&dialog).isEmpty());
        Child<QCheckBox>(&dialog, "CheckBox1")->click();
        QVERIFY(to->isEnabled());
        SetPicker(&dialog, "DateTimePicker2", D(2024, 2, 1));
        QCOMPARE(Messages(&dialog), QStringLiteral("From date  > To date"));
        QVERIFY(IsMarkedError(to));
        SetPicker(&dialog, "DateTimePicker2", AddDays(dialog.LastCalendarDay(), 2));
        QCOMPARE(Messages(&dialog), QStringLiteral("To date > calendar"));
        QVERIFY(dialog.ToTooLate());
        QVERIFY(!dialog.FromAfterTo());

        // Checking "Automatic Update" puts the To date back on the last day and clears its error.
        Child<QCheckBox>(&dialog, "CheckBox1")->click();
        QVERIFY(!to->isEnabled());
        QCOMPARE(to->date(), ToQDate(dialog.LastCalendarDay()));
        QVERIFY(!dialog.ToTooLate());
        QVERIFY(!IsMarkedError(to));
    }

    void intervalOutOfRangeAndEmptyEntryAreYellow() {
        TDayToDay dialog(*host_);
        dialog.Prepare();
        dialog.show();
        auto* interval = Child<QLineEdit>(&dialog, "umNumberEdit1");
        auto* entry = Child<QLineEdit>(&dialog, "Edit1");
        dialog.Button1Click();
        QVERIFY(IsMarkedError(entry));
        interval->setText(QStringLiteral("731"));
        QVERIFY(dialog.IntervalError());
        QVERIFY(IsMarkedError(interval));
        QVERIFY(!IsMarkedError(entry));
        entry->setText(QStringLiteral("Gym"));
        dialog.Button1Click();
        QVERIFY(dialog.isVisible());
        interval->setText(QStringLiteral("0"));
        QVERIFY(dialog.IntervalError());
        interval->setText(QStringLiteral("730"));
        QVERIFY(!dialog.IntervalError());
        QVERIFY(!IsMarkedError(interval));
    }

    void dailyOkWritesDaysAndRecordAndClosesToTheGrid() {
        TDayToDay dialog(*host_);
        host_->state.ActiveNote = 4; // Monday 8 January 2024, slot 2
        dialog.Prepare();
        dialog.show();
        Child<QLineEdit>(&dialog, "umNumberEdit1")->setText(QStringLiteral("7"));
        QTest::keyClicks(Child<QLineEdit>(&dialog, "Edit1"), QStringLiteral("Gym"));
        Day(9) = Full(Day(9).substr(0, 11));
        dialog.Button1Click();
        QVERIFY(!dialog.isVisible());
        QCOMPARE(Day(2), std::string("Jan/8 /2024Gym\a"));
        QCOMPARE(EntryCount(Day(9)), 20);
        QCOMPARE(Day(16), std::string("Jan/22/2024Gym\a"));
        QCOMPARE(host_->notes.texts(),
            QStringList {
                QStringLiteral("Jan/15/2024 already has maximum entries - see Error Log") });
        QCOMPARE(host_->stale_at_box, std::vector<bool> { true });
        QCOMPARE(ReadWholeFile(host_->state.data.rdat()).bytes,
            std::string("Jan/15/2024 Gym  (Error - Date NOT Updated)\r\n"));
        QCOMPARE(host_->refill_calls, 1);
        QCOMPARE(host_->focus_first_note_calls, 1);
        const int last_monday = 2 + 7 * ((kLastShownSlot - 2) / 7);
        QCOMPARE(Fdat(), "D" + Day(last_monday).substr(0, 11) + "007  Gym\r\n\r\n");
    }

    void enterRunsOkOnceOnThePress() {
        TYrToYr dialog(*host_);
        host_->state.ActiveNote = 2;
        dialog.Prepare();
        dialog.show();
        Day(1) = Full("Jan/7 /2024");
        auto* entry = Child<QLineEdit>(&dialog, "Edit1");
        QTest::keyClicks(entry, QStringLiteral("Party"));
        QTest::keyPress(entry, Qt::Key_Enter);
        QCOMPARE(host_->notes.boxes.size(), std::size_t { 1 });
        QVERIFY(!dialog.isVisible());
        // The release that follows the box must not run OK again.
        QTest::keyRelease(entry, Qt::Key_Enter);
        QTest::keyClick(entry, Qt::Key_Return);
        QCOMPARE(host_->notes.boxes.size(), std::size_t { 1 });
        QCOMPARE(Fdat(), std::string("YJan/7 Party\r\n\r\n"));
        QCOMPARE(Day(367), std::string("Jan/7 /2025Party\a")); // 2024 has 366 days
    }

    void widthRuleTakesOneCharacterPerKeyRelease() {
        TDelEntry dialog(*host_);
        dialog.Prepare();
        dialog.show();
        auto* entry = Child<QLineEdit>(&dialog, "Edit1");
        const QFontMetrics metrics(host_->ExpansionLabelFont());
        QString text;
        while (metrics.horizontalAdvance(text + QLatin1Char('W')) <= kEntryWidthLimit)
            text += QLatin1Char('W');
        entry->setText(text);
        QTest::keyClick(entry, Qt::Key_W);
        QCOMPARE(entry->text(), text); // the typed character went again
        // A pasted long text loses only its last character per release.
        entry->setText(text + QStringLiteral("WWW"));
        QTest::keyRelease(entry, Qt::Key_Control);
        QCOMPARE(entry->text(), text + QStringLiteral("WW"));
        QTest::keyRelease(entry, Qt::Key_Shift);
        QCOMPARE(entry->text(), text + QStringLiteral("W"));

        host_->state.prefs.set_flag(Flag::DataBoldFont, '1');
        const QFontMetrics bold(host_->ExpansionLabelFont());
        QVERIFY(bold.horizontalAdvance(text) > kEntryWidthLimitBold);
        entry->setText(text);
        QTest::keyRelease(entry, Qt::Key_Shift);
        QCOMPARE(entry->text(), text.chopped(1));
    }

    void entryBoxRefusesControlAndForeignCharacters() {
        TDayToDay dialog(*host_);
        dialog.Prepare();
        dialog.show();
        auto* entry = Child<QLineEdit>(&dialog, "Edit1");
        QTest::keyClicks(entry, QStringLiteral("ab"));
        QTest::keyClick(entry, Qt::Key_Tab);
        entry->setFocus();
        entry->insert(QString(QChar(7)));
        entry->insert(QStringLiteral("\u0141"));
        QGuiApplication::clipboard()->setText(QStringLiteral("x\ty"));
        entry->paste();
        QCOMPARE(entry->text(), QStringLiteral("ab"));
        entry->insert(QStringLiteral("\u20ac"));
        QCOMPARE(entry->text(), QStringLiteral("ab\u20ac"));
    }

    void cancelChangesNothing() {
        TMoToMo dialog(*host_);
        dialog.Prepare();
        dialog.show();
        const std::string before = Day(10);
        QTest::keyClicks(Child<QLineEdit>(&dialog, "Edit1"), QStringLiteral("Rent"));
        Child<QPushButton>(&dialog, "Button2")->click();
        QVERIFY(!dialog.isVisible());
        QCOMPARE(Day(10), before);
        QVERIFY(!std::filesystem::exists(host_->state.data.fdat()));
        QCOMPARE(host_->refill_calls, 0);
        QCOMPARE(host_->focus_first_note_calls, 1);
    }

    void weeklyControlStates() {
        TWkToWk dialog(*host_);
        host_->state.ActiveNote = 10; // Thursday 11 January 2024
        dialog.Prepare();
        dialog.show();
        auto* month_only = Child<QCheckBox>(&dialog, "CheckBox2");
        auto* label = Child<QLabel>(&dialog, "Label2");
        auto* automatic = Child<QCheckBox>(&dialog, "CheckBox1");
        QCOMPARE(Child<QLineEdit>(&dialog, "Edit2")->text(), QStringLiteral(" Thr"));
        QVERIFY(Child<QRadioButton>(&dialog, "RadioButtonE")->isChecked());
        QVERIFY(!month_only->isEnabled());
        QVERIFY(!label->isEnabled());
        QVERIFY(label->font().italic());

        Child<QRadioButton>(&dialog, "RadioButton1")->click();
        QCOMPARE(dialog.Occurrence(), 1);
        QVERIFY(month_only->isEnabled());
        QVERIFY(!label->font().italic());
        month_only->click();
        QVERIFY(month_only->isChecked());

        automatic->click(); // unchecked
        QVERIFY(!month_only->isEnabled());
        QVERIFY(!month_only->isChecked());
        QVERIFY(label->font().italic());
        Child<QRadioButton>(&dialog, "RadioButton2")->click();
        QVERIFY(!month_only->isEnabled());
        automatic->click(); // checked again, "2nd" selected
        QVERIFY(month_only->isEnabled());

        Child<QRadioButton>(&dialog, "RadioButtonE")->click();
        QVERIFY(!month_only->isEnabled());
        QVERIFY(!month_only->isChecked());
        automatic->click();
        automatic->click();
        QVERIFY(!month_only->isEnabled()); // "Every" keeps it closed

        SetPicker(&dialog, "DateTimePicker1", D(2024, 1, 13));
        QCOMPARE(Child<QLineEdit>(&dialog, "Edit2")->text(), QStringLiteral(" Sat"));
    }

    void weeklyOkWritesTheSelectedOccurrence() {
        TWkToWk dialog(*host_);
        host_->state.ActiveNote = 2;
        dialog.Prepare();
        dialog.show();
        SetPicker(&dialog, "DateTimePicker1", D(2024, 3, 8)); // second Friday of March
        Child<QRadioButton>(&dialog, "RadioButton2")->click();
        Child<QCheckBox>(&dialog, "CheckBox2")->click();
        QTest::keyClicks(Child<QLineEdit>(&dialog, "Edit1"), QStringLiteral("Club"));
        dialog.Button1Click();
        QVERIFY(!dialog.isVisible());
        QCOMPARE(Fdat(), std::string("W6203  Club\r\n\r\n"));
        QCOMPARE(
            Day(*FindSlot(host_->state.store, D(2024, 3, 8))), std::string("Mar/8 /2024Club\a"));
        QCOMPARE(
            Day(*FindSlot(host_->state.store, D(2025, 3, 14))), std::string("Mar/14/2025Club\a"));
        QCOMPARE(Day(*FindSlot(host_->state.store, D(2024, 4, 12))), std::string("Apr/12/2024"));
    }

    void monthlyDayDisplayAndLastDayBox() {
        TMoToMo dialog(*host_);
        dialog.Prepare();
        dialog.show();
        QCOMPARE(DayWithSuffix(1), QStringLiteral(" 1 st"));
        QCOMPARE(DayWithSuffix(5), QStringLiteral(" 5 th"));
        QCOMPARE(DayWithSuffix(11), QStringLiteral("11 th"));
        QCOMPARE(DayWithSuffix(12), QStringLiteral("12 th"));
        QCOMPARE(DayWithSuffix(13), QStringLiteral("13 th"));
        QCOMPARE(DayWithSuffix(22), QStringLiteral("22 nd"));
        QCOMPARE(DayWithSuffix(23), QStringLiteral("23 rd"));
        QCOMPARE(DayWithSuffix(31), QStringLiteral("31 st"));
        auto* day = Child<QLineEdit>(&dialog, "Edit2");
        QCOMPARE(day->text(), QStringLiteral(" 7 th"));
        SetPicker(&dialog, "DateTimePicker1", D(2024, 3, 15));
        QCOMPARE(day->text(), QStringLiteral("15 th"));
        Child<QCheckBox>(&dialog, "CheckBox2")->click();
        QVERIFY(!day->isEnabled());
        QVERIFY(day->font().italic());
        QVERIFY(!Child<QLabel>(&dialog, "Label1")->isEnabled());
        QCOMPARE(Child<DatePicker>(&dialog, "DateTimePicker1")->date(), QDate(2024, 3, 15));
        QTest::keyClicks(Child<QLineEdit>(&dialog, "Edit1"), QStringLiteral("Rent"));
        dialog.Button1Click();
        QCOMPARE(Fdat(), std::string("MEM    Rent\r\n\r\n"));
        QCOMPARE(
            Day(*FindSlot(host_->state.store, D(2024, 3, 31))), std::string("Mar/31/2024Rent\a"));
        QCOMPARE(Day(*FindSlot(host_->state.store, D(2024, 3, 15))), std::string("Mar/15/2024"));
    }

    void monthlyFromDoubleClickGoesBackToTheProposedDay() {
        TMoToMo dialog(*host_);
        host_->state.ActiveNote = 8;
        dialog.Prepare();
        dialog.show();
        SetPicker(&dialog, "DateTimePicker1", D(2024, 1, 8));
        QVERIFY(dialog.FromTooEarly());
        QTest::mouseDClick(Child<QGroupBox>(&dialog, "GroupBoxFrom"), Qt::LeftButton);
        QCOMPARE(Child<DatePicker>(&dialog, "DateTimePicker1")->date(), QDate(2024, 1, 10));
        QVERIFY(!dialog.FromTooEarly());
        QVERIFY(Messages(&dialog).isEmpty());
    }

    void yearlyBeginOutsideTheCalendarTurnsYellow() {
        TYrToYr dialog(*host_);
        dialog.Prepare();
        dialog.show();
        auto* begin = Child<DatePicker>(&dialog, "DateTimePicker1");
        SetPicker(&dialog, "DateTimePicker1", D(2023, 12, 25));
        QTest::keyClicks(Child<QLineEdit>(&dialog, "Edit1"), QStringLiteral("Xmas"));
        dialog.Button1Click();
        QVERIFY(dialog.isVisible());
        QVERIFY(IsMarkedError(begin));
        QVERIFY(!std::filesystem::exists(host_->state.data.fdat()));
        SetPicker(&dialog, "DateTimePicker1", D(2024, 12, 25));
        QVERIFY(!IsMarkedError(begin));
        Child<QCheckBox>(&dialog, "CheckBox1")->click(); // no record, every year still written
        dialog.Button1Click();
        QVERIFY(!dialog.isVisible());
        QCOMPARE(
            Day(*FindSlot(host_->state.store, D(2025, 12, 25))), std::string("Dec/25/2025Xmas\a"));
        QVERIFY(!std::filesystem::exists(host_->state.data.fdat()));
    }

    void failedRecordFileKeepsTheDialogOpenAndTheDaysUnchanged() {
        std::filesystem::create_directories(host_->state.data.fdat());
        TDayToDay dialog(*host_);
        dialog.Prepare();
        dialog.show();
        QTest::keyClicks(Child<QLineEdit>(&dialog, "Edit1"), QStringLiteral("Gym"));
        dialog.Button1Click();
        QVERIFY(dialog.isVisible());
        QCOMPARE(Day(1), std::string("Jan/7 /2024"));
        QCOMPARE(host_->notes.boxes.size(), std::size_t { 1 });
        QCOMPARE(host_->notes.boxes[0].kind, Notifier::Kind::kError);
        QCOMPARE(Child<QLineEdit>(&dialog, "Edit1")->text(), QStringLiteral("Gym"));
        std::filesystem::remove(host_->state.data.fdat());
    }

    void deleteRemovesEntriesAndRecords() {
        Day(5) += "Dentist\aDentist\aGym\a";
        QVERIFY(
            WriteFileAtomic(host_->state.data.fdat(), "M5     Dentist\r\n\r\nW1000  Gym\r\n\r\n")
                .ok());
        TDelEntry dialog(*host_);
        dialog.Prepare();
        dialog.show();
        QVERIFY(Child<DatePicker>(&dialog, "DateTimePicker2")->isEnabled());
        QCOMPARE(Child<QCheckBox>(&dialog, "CheckBox1")->text(),
            QStringLiteral("Also Discontinue Automatic Update"));
        QTest::keyClicks(Child<QLineEdit>(&dialog, "Edit1"), QStringLiteral("Dentist"));
        QTest::keyClick(Child<QLineEdit>(&dialog, "Edit1"), Qt::Key_Return);
        QVERIFY(!dialog.isVisible());
        QCOMPARE(Day(5), std::string("Jan/11/2024Gym\a"));
        QCOMPARE(Fdat(), std::string("W1000  Gym\r\n\r"));
        QCOMPARE(host_->refill_calls, 1);
        QVERIFY(!host_->stale);
    }

    void deleteRefusesAFromDateAfterTheCalendar() {
        TDelEntry dialog(*host_);
        dialog.Prepare();
        dialog.show();
        SetPicker(&dialog, "DateTimePicker1", AddDays(dialog.LastCalendarDay(), 1));
        QCOMPARE(Messages(&dialog), QStringLiteral("From date > calendar"));
        QTest::keyClicks(Child<QLineEdit>(&dialog, "Edit1"), QStringLiteral("x"));
        dialog.Button1Click();
        QVERIFY(dialog.isVisible());
        QVERIFY(!std::filesystem::exists(host_->state.data.wdat()));
    }

    void twoDigitYearsStayNearTheCalendar() {
        DatePicker picker;
        picker.SetCenturyPivot(2025);
        picker.setDate(QDate(2099, 3, 13));
        QCOMPARE(picker.date(), QDate(1999, 3, 13));
        picker.setDate(QDate(1925, 3, 13));
        QCOMPARE(picker.date(), QDate(2025, 3, 13));
        picker.setDate(QDate(2001, 3, 13));
        QCOMPARE(picker.date(), QDate(2001, 3, 13));
        QCOMPARE(picker.displayFormat(), QStringLiteral("M/d/yy"));
        // Typing a two-digit year over a date of the calendar.
        picker.setDate(QDate(2024, 5, 5));
        picker.show();
        picker.setFocus();
        picker.setCurrentSection(QDateTimeEdit::MonthSection);
        QTest::keyClicks(&picker, QStringLiteral("5/5/99"));
        QCOMPARE(picker.date().year(), 1999);
        picker.setCurrentSection(QDateTimeEdit::MonthSection);
        QTest::keyClicks(&picker, QStringLiteral("5/5/26"));
        QCOMPARE(picker.date().year(), 2026);
    }
};

QTEST_MAIN(EntryDialogsTest)
#include "entry_dialogs_test.moc"
