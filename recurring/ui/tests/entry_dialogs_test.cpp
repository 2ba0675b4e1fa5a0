// The entry and delete dialogs on a calendar document: the fields reach the date checks and the
// preview panel, OK does what the panel showed, failed files are reported after the operation,
// and the entry box keeps to what a day's note can show and a file can hold.
#include "core/entry_limit.h"
#include "core/text_file.h"
#include "core/ui/dialog_style.h"
#include "core/ui/testing/fake_calendar_host.h"
#include "core/ui/testing/input_checks.h"
#include "recurring/ui/date_picker.h"
#include "recurring/ui/preview_panel.h"
#include "recurring/ui/t_day_to_day.h"
#include "recurring/ui/t_del_entry.h"
#include "recurring/ui/t_mo_to_mo.h"
#include "recurring/ui/t_wk_to_wk.h"
#include "recurring/ui/t_yr_to_yr.h"

#include <QAccessible>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QtWidgets>
#include <functional>

using namespace orvane;

namespace {

constexpr auto D = MakeDate;
const std::string kFullDay(kMaxEntries, kEntrySeparator);

std::vector<int> Slots(const ChangeReport& report) {
    std::vector<int> changed;
    for (const DayChange& day : report.days)
        changed.push_back(day.slot);
    return changed;
}

} // namespace

class EntryDialogsTest : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> dir_;
    std::unique_ptr<FakeCalendarHost> host_;
    std::unique_ptr<EntryDialog> dialog_;

    // A dialog prepared for one showing with the given note active, and shown; the calls to store
    // pending edits are counted from its opening.
    template <typename T> T* Open(int active_note = 0) {
        host_->document.SetActiveNote(active_note);
        host_->before_change_calls = 0;
        dialog_ = std::make_unique<T>(host_->document, *host_, host_->services());
        dialog_->Prepare();
        dialog_->show();
        return static_cast<T*>(dialog_.get());
    }
    template <typename T = QLineEdit> T* Child(const char* name) {
        T* child = dialog_->findChild<T*>(QString::fromLatin1(name));
        if (!child)
            qFatal("no control %s", name);
        return child;
    }
    void Pick(const char* name, const Date& d) { Child<DatePicker>(name)->setDate(ToQDate(d)); }
    void Type(const char* text) { QTest::keyClicks(Child("Edit1"), QString::fromLatin1(text)); }
    void Click(const char* name) { Child<QAbstractButton>(name)->click(); }
    QString Messages() { return Child<QPlainTextEdit>("Memo1")->toPlainText(); }
    std::string Fdat() { return ReadWholeFile(host_->data().fdat()).value_or(""); }
    PreviewPanel* Panel() { return dialog_->Preview(); }

private slots:
    void init() {
        dir_ = std::make_unique<QTemporaryDir>();
        host_ = std::make_unique<FakeCalendarHost>(NonAsciiDataFolder(dir_->path()));
    }
    void cleanup() {
        dialog_.reset();
        host_.reset();
    }

    void dateChecksMarkTheFieldsAndHoldOk() {
        host_->SetTopSlot(8);
        auto* dialog = Open<TDayToDay>(6); // third cell: slot 6 / 2 + 8 - 1 = 10
        auto* from = Child<DatePicker>("DateTimePicker1");
        auto* to = Child<DatePicker>("DateTimePicker2");
        QCOMPARE(from->date(), QDate(2024, 1, 16));
        QVERIFY(!to->isEnabled());
        QCOMPARE(host_->before_change_calls, 1);
        Type("Gym");
        Pick("DateTimePicker1", D(2024, 1, 6));
        QVERIFY(IsMarkedError(from));
        QCOMPARE(Messages(), QStringLiteral("From date < calendar"));
        QCOMPARE(Panel()->Summary(), QStringLiteral("From date < calendar"));
        dialog->Button1Click();
        QVERIFY(dialog->isVisible());
        Pick("DateTimePicker1", D(2024, 3, 1));
        QVERIFY(!IsMarkedError(from));
        QVERIFY(Messages().isEmpty());
        Click("CheckBox1");
        Pick("DateTimePicker2", AddDays(dialog->LastCalendarDay(), 2));
        QCOMPARE(Messages(), QStringLiteral("To date > calendar"));
        QVERIFY(IsMarkedError(to));
        // Checking "Automatic Update" again puts To back on the last day and clears its error.
        Click("CheckBox1");
        QCOMPARE(to->date(), QDate(2026, 1, 10));
        QVERIFY(!IsMarkedError(to));
        Child("umNumberEdit1")->setText(QStringLiteral("0"));
        QVERIFY(IsMarkedError(Child("umNumberEdit1")));
        QCOMPARE(Panel()->Summary(), QString::fromLatin1(kIntervalProblem));
        QCOMPARE(Panel()->Calendar()->MonthCount(), 0);
        dialog->Button1Click();
        QVERIFY(dialog->isVisible());
        QCOMPARE(host_->ReportsOf(OperationKind::kApplyEntry), 0);
    }

    // Each dialog with one of its own controls changed after the entry: OK changes exactly the
    // days the panel showed, with one box for each full day it showed.
    void okDoesWhatThePanelShowed() {
        host_->AddToDay(15, kFullDay); // Sunday 21 January 2024
        const std::vector<std::function<void()>> dialogs = {
            [this] {
                Open<TDayToDay>();
                Type("Gym");
                Click("CheckBox1");
                Pick("DateTimePicker2", D(2024, 2, 1));
            },
            [this] {
                Open<TWkToWk>();
                Type("Gym");
                Click("RadioButton2");
                Click("CheckBox2");
            },
            [this] {
                Open<TMoToMo>();
                Type("Gym");
                Click("CheckBox2");
            },
            [this] {
                Open<TYrToYr>();
                Type("Gym");
                Pick("DateTimePicker1", D(2024, 3, 1));
            },
            [this] {
                Open<TDelEntry>();
                Type("Gym");
                Pick("DateTimePicker1", D(2024, 1, 10));
            },
        };
        for (const auto& open : dialogs) {
            open();
            const PlanPreview shown = Panel()->Shown();
            const std::size_t reports = host_->reports.size();
            const std::size_t boxes = host_->notes.boxes.size();
            dialog_->Button1Click();
            QVERIFY2(!dialog_->isVisible(), shown.summary.c_str());
            QCOMPARE(host_->reports.size(), reports + 1);
            QVERIFY(!shown.changed.empty());
            QCOMPARE(Slots(host_->reports.back()), shown.changed);
            QCOMPARE(host_->notes.boxes.size() - boxes, shown.full.size());
        }
        // The records of the three entries with Automatic Update went with the delete.
        QCOMPARE(Panel()->Shown().discontinued.size(), std::size_t { 3 });
        QCOMPARE(Fdat(), std::string("\r"));
    }

    void okKeepsTheEntryWhenTheRecordFileFailsAndReportsAFullDayAfterwards() {
        auto* dialog = Open<TDayToDay>(4); // Monday 8 January 2024, slot 2
        Child("umNumberEdit1")->setText(QStringLiteral("7"));
        Type("Gym");
        host_->AddToDay(9, kFullDay);
        host_->reports.clear();
        std::filesystem::create_directories(host_->data().fdat());
        dialog->Button1Click();
        std::filesystem::remove(host_->data().fdat());
        QVERIFY(dialog->isVisible());
        QCOMPARE(host_->Day(2), std::string("Jan/8 /2024"));
        QCOMPARE(host_->notes.boxes.at(0).kind, Notifier::Kind::kError);
        QVERIFY(NamesDataFile(host_->notes.boxes.at(0).text, "fdat.ovd"));
        QCOMPARE(Child("Edit1")->text(), QStringLiteral("Gym"));

        host_->notes.clear();
        dialog->Button1Click();
        QVERIFY(!dialog->isVisible());
        QCOMPARE(host_->Day(2), std::string("Jan/8 /2024Gym\a"));
        QCOMPARE(host_->notes.texts(),
            QStringList {
                QStringLiteral("Jan/15/2024 already has maximum entries - see Error Log") });
        // Each OK was one operation: the failed one changed nothing.
        QCOMPARE(host_->reports.size(), std::size_t { 2 });
        QVERIFY(host_->reports[0].empty());
        QCOMPARE(host_->reports[1].name, std::string("Daily Entry 'Gym'"));
        QCOMPARE(host_->reports[1].files.back().appended, Fdat());
    }

    void enterRunsOkOnce() {
        auto* dialog = Open<TYrToYr>(2);
        auto* entry = Child("Edit1");
        Type("Party");
        host_->AddToDay(1, kFullDay);
        QTest::keyPress(entry, Qt::Key_Enter);
        QVERIFY(!dialog->isVisible());
        // The release that follows the box must not run OK again.
        QTest::keyRelease(entry, Qt::Key_Enter);
        QTest::keyClick(entry, Qt::Key_Return);
        QCOMPARE(host_->notes.boxes.size(), std::size_t { 1 });
        QCOMPARE(Fdat(), std::string("YJan/7 Party\r\n\r\n"));
    }

    void entryBoxKeepsToTheNoteWidthAndCancelChangesNothing() {
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

        Click("Button2"); // Cancel
        QVERIFY(!dialog->isVisible());
        QCOMPARE(host_->ReportsOf(OperationKind::kDeleteEntries), 0);
        QCOMPARE(host_->focus_first_note_calls, 1);
    }

    // The fields the user types into refuse text outside Windows-1252 however it arrives; a
    // non-breaking space in an entry reaches the day and the record file as 0xA0.
    void fieldsRefuseUnstorableTextAndKeepNonBreakingSpaces() {
        Open<TDayToDay>();
        for (const auto& [name, typed] : { std::pair { "Edit1", "é" }, { "umNumberEdit1", "7" } }) {
            const QString failure = CheckInputFilter(Child(name), host_->notes, typed);
            QVERIFY2(failure.isEmpty(), qPrintable(name + (": " + failure)));
        }
        auto* dialog = Open<TYrToYr>(2);
        SendText(Child("Edit1"), QStringLiteral("Tea\u00a0at 5"), InputRoute::kCommit);
        dialog->Button1Click();
        QVERIFY(!dialog->isVisible());
        QCOMPARE(host_->Day(1),
            std::string("Jan/7 /2024Tea\xa0"
                        "at 5\a"));
        QCOMPARE(Fdat(),
            std::string("YJan/7 Tea\xa0"
                        "at 5\r\n\r\n"));
    }

    // The month filter needs an n-th weekday and a record to filter; the last day of the month
    // needs no day.
    void weeklyAndMonthlyFieldsFollowTheirChoices() {
        Open<TWkToWk>(10); // Thursday 11 January 2024
        auto* month_only = Child<QCheckBox>("CheckBox2");
        QCOMPARE(Child("Edit2")->text(), QStringLiteral(" Thr"));
        QVERIFY(!month_only->isEnabled()); // every week
        Click("RadioButton1");
        QVERIFY(month_only->isEnabled());
        Click("CheckBox1"); // no Automatic Update
        QVERIFY(!month_only->isEnabled());

        QCOMPARE(DayWithSuffix(1) + DayWithSuffix(11) + DayWithSuffix(22) + DayWithSuffix(23),
            QStringLiteral(" 1 st11 th22 nd23 rd"));
        Open<TMoToMo>(8); // 10 January 2024
        QCOMPARE(Child("Edit2")->text(), QStringLiteral("10 th"));
        Click("CheckBox2");
        QVERIFY(!Child("Edit2")->isEnabled());
    }

    // An unreadable fdat.ovd: the panel says so beforehand and OK refuses before any operation.
    void deleteRefusesWhileTheRecordFileCannotBeRead() {
        host_->AddToDay(5, "Dentist\aDentist\aGym\a");
        std::filesystem::create_directories(host_->data().fdat());
        auto* dialog = Open<TDelEntry>();
        Type("Dentist");
        QVERIFY(Panel()->Shown().refused());
        QVERIFY(NamesDataFile(Panel()->Details(), "fdat.ovd"));
        dialog->Button1Click();
        QVERIFY(dialog->isVisible());
        QCOMPARE(host_->ReportsOf(OperationKind::kDeleteEntries), 0);
        QCOMPARE(host_->notes.boxes.size(), std::size_t { 1 });
        QVERIFY(NamesDataFile(host_->notes.boxes[0].text, "fdat.ovd"));
        QVERIFY(host_->notes.boxes[0].text.contains(QStringLiteral("No day was changed.")));

        std::filesystem::remove(host_->data().fdat());
        QVERIFY(WriteFileAtomic(host_->data().fdat(), "M5     Dentist\r\n\r\nW1000  Gym\r\n\r\n"));
        QTest::keyClick(Child("Edit1"), Qt::Key_Return);
        QVERIFY(!dialog->isVisible());
        QCOMPARE(host_->Day(5), std::string("Jan/11/2024Gym\a"));
        QCOMPARE(Fdat(), std::string("W1000  Gym\r\n\r"));
        QCOMPARE(host_->reports.back().name, std::string("Delete Entry 'Dentist'"));
    }

    // Full, changed and outside days each have their own mark and fill.
    void thePanelPaintsEachMark() {
        host_->AddToDay(3, kFullDay);
        Open<TDayToDay>();
        Type("Gym");
        PreviewCalendar* calendar = Panel()->Calendar();
        QCOMPARE(calendar->MarkOf(D(2024, 1, 9)), std::optional(DayMark::kFull));
        QCOMPARE(calendar->MarkOf(D(2024, 1, 10)), std::optional(DayMark::kChanged));
        QCOMPARE(calendar->MarkOf(D(2024, 1, 6)), std::nullopt);
        QCOMPARE(calendar->MonthCount(), 25); // January 2024 to January 2026
        QImage image(calendar->size(), QImage::Format_RGB32);
        calendar->render(&image);
        const QRect cell = calendar->DayRect(D(2024, 1, 10));
        QCOMPARE(QColor(image.pixel(cell.center())), PreviewCalendar::Fill(DayMark::kChanged));
    }

    void theSummaryIsReadAndAnnouncedOncePerChange() {
        Open<TDayToDay>();
        QSignalSpy summaries(Panel(), &PreviewPanel::SummaryAnnounced);
        QSignalSpy days(Panel(), &PreviewPanel::MarkedDaysAnnounced);
        Child("umNumberEdit1")->setText(QStringLiteral("100"));
        Type("Gym");
        auto* summary = Panel()->findChild<QLabel*>(QStringLiteral("PreviewSummary"));
        QVERIFY(summary);
        QCOMPARE(QAccessible::queryAccessibleInterface(summary)->text(QAccessible::Name),
            QStringLiteral("The entry goes into 8 days."));
        // The first letter changes the summary; the others leave it and are not announced again.
        QCOMPARE(summaries.size(), 1);
        QCOMPARE(days.size(), 1);
        QVERIFY(QAccessible::queryAccessibleInterface(Panel()->Calendar())
                    ->text(QAccessible::Description)
                    .startsWith(QStringLiteral("Gets the entry: Jan 7 2024, Apr 16 2024, ")));
    }

    void twoDigitYearsStayNearTheCalendar() {
        DatePicker picker;
        picker.SetCenturyPivot(2025);
        for (const auto& [typed, year] : { std::pair { "5/5/99", 1999 }, { "5/5/26", 2026 } }) {
            picker.setCurrentSection(QDateTimeEdit::MonthSection);
            QTest::keyClicks(&picker, QString::fromLatin1(typed));
            QCOMPARE(picker.date().year(), year);
        }
    }
};

QTEST_MAIN(EntryDialogsTest)
#include "entry_dialogs_test.moc"
