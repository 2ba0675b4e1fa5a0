#include "core/entry_limit.h"
#include "core/text_file.h"
#include "core/ui/dialog_style.h"
#include "core/ui/testing/input_checks.h"
#include "recurring/ui/t_day_to_day.h"
#include "recurring/ui/t_del_entry.h"
#include "recurring/ui/t_mo_to_mo.h"
#include "recurring/ui/t_wk_to_wk.h"
#include "recurring/ui/t_yr_to_yr.h"
#include "recurring/ui/tests/dialog_test_bed.h"

#include <QTest>
#include <QtWidgets>

using namespace orvane;
using namespace orvane::testing;

namespace {

// Records, for each box, how many reports the document had made when it was shown, and passes the
// box on to the test bed's notifier.
class ReportCountingNotifier final : public Notifier {
public:
    explicit ReportCountingNotifier(FakeCalendarHost& host)
        : host_(host) { }
    void Show(Kind kind, const QString& text, const QString& title) override {
        reports_at_box.push_back(host_.reports.size());
        host_.notes.Show(kind, text, title);
    }
    bool Confirm(const QString& t, const QString& ti) override {
        return host_.notes.Confirm(t, ti);
    }
    SaveChoice AskToSave(const QString& t) override { return host_.notes.AskToSave(t); }
    int Choose(const QString& t, const QStringList& b, int e) override {
        return host_.notes.Choose(t, b, e);
    }
    void Beep() override { host_.notes.Beep(); }

    std::vector<std::size_t> reports_at_box;

private:
    FakeCalendarHost& host_;
};

} // namespace

class EntryDialogsTest : public QObject, DialogTestBed {
    Q_OBJECT

private:
    std::unique_ptr<ReportCountingNotifier> boxes_;

    Services DialogServices() override {
        return Services { *boxes_, host_->fixed_clock, host_->desk };
    }
    void Type(const char* text) { QTest::keyClicks(Child("Edit1"), QString::fromLatin1(text)); }
    QString Messages() { return Child<QPlainTextEdit>("Memo1")->toPlainText(); }
    std::string Fdat() { return ReadWholeFile(host_->data().fdat()).value_or(""); }
    const std::string& Day(int slot) { return host_->Day(slot); }

private slots:
    void init() {
        StartBed();
        boxes_ = std::make_unique<ReportCountingNotifier>(*host_);
    }
    void cleanup() {
        dialog_.reset();
        boxes_.reset();
        EndBed();
    }

    void dailyOpeningDateChecksAndYellowControls() {
        host_->SetTopSlot(8);
        auto* dialog = Open<TDayToDay>(6); // third cell: slot 6 / 2 + 8 - 1 = 10
        auto* from = Child<DatePicker>("DateTimePicker1");
        auto* to = Child<DatePicker>("DateTimePicker2");
        auto* interval = Child("umNumberEdit1");
        QCOMPARE(from->date(), QDate(2024, 1, 16));
        QVERIFY(!to->isEnabled());
        QCOMPARE(host_->before_change_calls, 1);
        dialog->Button1Click();
        QVERIFY(IsMarkedError(Child("Edit1"))); // empty entry

        Pick("DateTimePicker1", D(2024, 1, 7));
        QVERIFY(IsMarkedError(from));
        Pick("DateTimePicker1", D(2024, 1, 6));
        QCOMPARE(Messages(), QStringLiteral("From date < calendar\nFrom date < calendar"));
        Type("Gym");
        dialog->Button1Click();
        QVERIFY(dialog->isVisible());
        Pick("DateTimePicker1", AddDays(dialog->LastCalendarDay(), 1));
        QCOMPARE(Messages(), QStringLiteral("From date > calendar"));
        Pick("DateTimePicker1", D(2024, 3, 1));
        QVERIFY(!IsMarkedError(from));
        QVERIFY(Messages().isEmpty());
        Child<QCheckBox>("CheckBox1")->click();
        Pick("DateTimePicker2", D(2024, 2, 1));
        QCOMPARE(Messages(), QStringLiteral("From date  > To date"));
        QVERIFY(IsMarkedError(to));
        Pick("DateTimePicker2", AddDays(dialog->LastCalendarDay(), 2));
        QCOMPARE(Messages(), QStringLiteral("To date > calendar"));
        // Checking "Automatic Update" again puts To back on the last day and clears its error.
        Child<QCheckBox>("CheckBox1")->click();
        QVERIFY(!to->isEnabled());
        QCOMPARE(to->date(), QDate(2026, 1, 10)); // slot 735
        QVERIFY(!IsMarkedError(to));

        for (const char* bad : { "731", "0" }) {
            interval->setText(QString::fromLatin1(bad));
            QVERIFY(IsMarkedError(interval));
        }
        dialog->Button1Click();
        QVERIFY(dialog->isVisible());
        interval->setText(QStringLiteral("730"));
        QVERIFY(!IsMarkedError(interval));
        QCOMPARE(host_->ReportsOf(OperationKind::kApplyEntry), 0);
    }

    void dailyOkKeepsTheEntryWhenTheRecordFileFailsAndReportsAFullDay() {
        auto* dialog = Open<TDayToDay>(4); // Monday 8 January 2024, slot 2
        Child("umNumberEdit1")->setText(QStringLiteral("7"));
        Type("Gym");
        host_->AddToDay(9, std::string(20, kEntrySeparator));
        host_->reports.clear();
        std::filesystem::create_directories(host_->data().fdat());
        dialog->Button1Click();
        std::filesystem::remove(host_->data().fdat());
        QVERIFY(dialog->isVisible());
        QCOMPARE(Day(2), std::string("Jan/8 /2024"));
        QCOMPARE(host_->notes.boxes.at(0).kind, Notifier::Kind::kError);
        QVERIFY(NamesDataFile(host_->notes.boxes.at(0).text, "fdat.ovd"));
        QCOMPARE(Child("Edit1")->text(), QStringLiteral("Gym"));

        host_->notes.clear();
        dialog->Button1Click();
        QVERIFY(!dialog->isVisible());
        QCOMPARE(Day(2), std::string("Jan/8 /2024Gym\a"));
        QCOMPARE(host_->notes.texts(),
            QStringList {
                QStringLiteral("Jan/15/2024 already has maximum entries - see Error Log") });
        // Each OK was one operation, and its boxes came after it: the failed one changed
        // nothing; the good one changed every Monday but the full one.
        QCOMPARE(boxes_->reports_at_box, (std::vector<std::size_t> { 1, 2 }));
        QCOMPARE(host_->ReportsOf(OperationKind::kApplyEntry), 2);
        QVERIFY(host_->reports[0].empty());
        const ChangeReport& done = host_->reports[1];
        QCOMPARE(done.name, std::string("Daily Entry 'Gym'"));
        std::vector<int> mondays;
        for (int slot = 2; slot <= kLastShownSlot; slot += 7) {
            if (slot != 9)
                mondays.push_back(slot);
        }
        QCOMPARE(Slots(done), mondays);
        QCOMPARE(done.files.back().appended, Fdat());
    }

    void yearlyBeginOutsideTheCalendarAndEnterRunningOkOnce() {
        auto* dialog = Open<TYrToYr>(2);
        auto* entry = Child("Edit1");
        Pick("DateTimePicker1", D(2023, 12, 25));
        Type("Party");
        dialog->Button1Click();
        QVERIFY(dialog->isVisible());
        QVERIFY(IsMarkedError(Child<DatePicker>("DateTimePicker1")));
        Pick("DateTimePicker1", D(2024, 1, 7));
        QVERIFY(!IsMarkedError(Child<DatePicker>("DateTimePicker1")));
        host_->AddToDay(1, std::string(20, kEntrySeparator));
        QTest::keyPress(entry, Qt::Key_Enter);
        QVERIFY(!dialog->isVisible());
        // The release that follows the box must not run OK again.
        QTest::keyRelease(entry, Qt::Key_Enter);
        QTest::keyClick(entry, Qt::Key_Return);
        QCOMPARE(host_->notes.boxes.size(), std::size_t { 1 });
        QCOMPARE(Fdat(), std::string("YJan/7 Party\r\n\r\n"));
    }

    void entryBoxWidthRuleRefusedCharactersAndCancel() {
        auto* dialog = Open<TDelEntry>();
        auto* entry = Child("Edit1");
        QString text;
        while (QFontMetrics(host_->ExpansionLabelFont()).horizontalAdvance(text + 'W')
            <= kEntryWidthLimit)
            text += QLatin1Char('W');
        entry->setText(text);
        QTest::keyClick(entry, Qt::Key_W);
        QCOMPARE(entry->text(), text); // the typed character went again
        entry->setText(text + QStringLiteral("WWW")); // pasted: one character per key release
        QTest::keyRelease(entry, Qt::Key_Control);
        QCOMPARE(entry->text(), text + QStringLiteral("WW"));
        Preferences bold = host_->document.prefs();
        bold.set_flag(Flag::DataBoldFont, '1');
        host_->document.SetPreferences(bold);
        entry->setText(text);
        QTest::keyRelease(entry, Qt::Key_Shift);
        QCOMPARE(entry->text(), text.chopped(1));

        entry->setText(QStringLiteral("ab"));
        QTest::keyClick(entry, Qt::Key_Tab);
        entry->setFocus();
        entry->insert(QString(QChar(7)));
        entry->insert(QStringLiteral("\u0141"));
        QGuiApplication::clipboard()->setText(QStringLiteral("x\ty"));
        entry->paste();
        entry->insert(QStringLiteral("\u20ac"));
        QCOMPARE(entry->text(), QStringLiteral("ab\u20ac"));

        Child<QPushButton>("Button2")->click(); // Cancel changes nothing
        QVERIFY(!dialog->isVisible());
        QVERIFY(!std::filesystem::exists(host_->data().wdat()));
        QCOMPARE(host_->ReportsOf(OperationKind::kDeleteEntries), 0);
        QCOMPARE(host_->focus_first_note_calls, 1);
    }

    // Every field the user types into refuses text outside Windows-1252 however it arrives; a
    // non-breaking space in an entry reaches the day and the record file as 0xA0.
    void entryFieldsRefuseUnstorableTextAndKeepNonBreakingSpaces() {
        const std::vector<std::pair<std::function<void()>, const char*>> dialogs {
            { [this] { Open<TDayToDay>(); }, "TDayToDay" },
            { [this] { Open<TWkToWk>(); }, "TWkToWk" },
            { [this] { Open<TMoToMo>(); }, "TMoToMo" },
            { [this] { Open<TYrToYr>(); }, "TYrToYr" },
            { [this] { Open<TDelEntry>(); }, "TDelEntry" },
        };
        for (const auto& [open, name] : dialogs) {
            open();
            const QString failure = CheckInputFilter(Child("Edit1"), host_->notes, "é");
            QVERIFY2(failure.isEmpty(), qPrintable(name + (": " + failure)));
        }
        Open<TDayToDay>();
        const QString failure = CheckInputFilter(Child("umNumberEdit1"), host_->notes, "7");
        QVERIFY2(failure.isEmpty(), qPrintable(failure));

        auto* dialog = Open<TYrToYr>(2);
        Pick("DateTimePicker1", D(2024, 1, 7));
        SendText(Child("Edit1"), QStringLiteral("Tea\u00a0at 5"), InputRoute::kCommit);
        dialog->Button1Click();
        QVERIFY(!dialog->isVisible());
        QCOMPARE(Day(1),
            std::string("Jan/7 /2024Tea\xa0"
                        "at 5\a"));
        QCOMPARE(Fdat(),
            std::string("YJan/7 Tea\xa0"
                        "at 5\r\n\r\n"));
    }

    void weeklyControlStatesAndOk() {
        auto* dialog = Open<TWkToWk>(10); // Thursday 11 January 2024
        auto* month_only = Child<QCheckBox>("CheckBox2");
        auto* label = Child<QLabel>("Label2");
        auto* automatic = Child<QCheckBox>("CheckBox1");
        const auto radio = [this](const char* name) { Child<QRadioButton>(name)->click(); };
        QCOMPARE(Child("Edit2")->text(), QStringLiteral(" Thr"));
        QVERIFY(!month_only->isEnabled());
        QVERIFY(!label->isEnabled());
        radio("RadioButton1");
        QVERIFY(month_only->isEnabled());
        QVERIFY(label->isEnabled());
        month_only->click();
        automatic->click(); // unchecked
        QVERIFY(!month_only->isEnabled());
        QVERIFY(!month_only->isChecked());
        radio("RadioButton2");
        QVERIFY(!month_only->isEnabled());
        automatic->click(); // checked again, "2nd" selected
        QVERIFY(month_only->isEnabled());
        radio("RadioButtonE");
        QVERIFY(!month_only->isEnabled());

        Pick("DateTimePicker1", D(2024, 3, 8)); // second Friday of March
        radio("RadioButton2");
        month_only->click();
        Type("Club");
        dialog->Button1Click();
        QCOMPARE(Fdat(), std::string("W6203  Club\r\n\r\n"));
    }

    void monthlyDayDisplayAndLastDayBox() {
        QCOMPARE(DayWithSuffix(1) + DayWithSuffix(11) + DayWithSuffix(12) + DayWithSuffix(22)
                + DayWithSuffix(23) + DayWithSuffix(31),
            QStringLiteral(" 1 st11 th12 th22 nd23 rd31 st"));
        auto* dialog = Open<TMoToMo>(8); // 10 January 2024
        auto* day = Child("Edit2");
        QCOMPARE(day->text(), QStringLiteral("10 th"));
        Pick("DateTimePicker1", D(2024, 3, 15));
        Child<QCheckBox>("CheckBox2")->click();
        QVERIFY(!day->isEnabled());
        QVERIFY(!Child<QLabel>("Label1")->isEnabled());
        Type("Rent");
        dialog->Button1Click();
        QCOMPARE(Fdat(), std::string("MEM    Rent\r\n\r\n"));
    }

    void deleteRemovesEntriesAndRecords() {
        host_->AddToDay(5, "Dentist\aDentist\aGym\a");
        const std::string records = "M5     Dentist\r\n\r\nW1000  Gym\r\n\r\n";
        auto* dialog = Open<TDelEntry>();
        QVERIFY(Child<DatePicker>("DateTimePicker2")->isEnabled());
        Type("Dentist");
        // An unreadable fdat.ovd refuses the delete before any operation.
        std::filesystem::create_directories(host_->data().fdat());
        dialog->Button1Click();
        QVERIFY(dialog->isVisible());
        QCOMPARE(host_->ReportsOf(OperationKind::kDeleteEntries), 0);
        QCOMPARE(host_->notes.boxes.size(), std::size_t { 1 });
        QVERIFY(NamesDataFile(host_->notes.boxes[0].text, "fdat.ovd"));
        QVERIFY(host_->notes.boxes[0].text.contains(QStringLiteral("No day was changed.")));
        std::filesystem::remove(host_->data().fdat());

        QVERIFY(WriteFileAtomic(host_->data().fdat(), records).has_value());
        QTest::keyClick(Child("Edit1"), Qt::Key_Return);
        QVERIFY(!dialog->isVisible());
        QCOMPARE(Day(5), std::string("Jan/11/2024Gym\a"));
        QCOMPARE(Fdat(), std::string("W1000  Gym\r\n\r"));
        // One operation with the day and both record files.
        QCOMPARE(host_->ReportsOf(OperationKind::kDeleteEntries), 1);
        const ChangeReport& done = host_->reports.back();
        QCOMPARE(done.name, std::string("Delete Entry 'Dentist'"));
        QCOMPARE(Slots(done), std::vector<int> { 5 });
        QCOMPARE(done.files.size(), std::size_t { 2 });
        QCOMPARE(done.files[0].path, host_->data().wdat());
        QCOMPARE(done.files[1].path, host_->data().fdat());
        QCOMPARE(done.files[1].before, std::optional<std::string>(records));
    }

    void twoDigitYearsStayNearTheCalendar() {
        DatePicker picker;
        picker.SetCenturyPivot(2025);
        QCOMPARE(picker.displayFormat(), QStringLiteral("M/d/yy"));
        for (const auto& [typed, year] : { std::pair { "5/5/99", 1999 }, { "5/5/26", 2026 } }) {
            picker.setCurrentSection(QDateTimeEdit::MonthSection);
            QTest::keyClicks(&picker, QString::fromLatin1(typed));
            QCOMPARE(picker.date().year(), year);
        }
    }
};

QTEST_MAIN(EntryDialogsTest)
#include "entry_dialogs_test.moc"
