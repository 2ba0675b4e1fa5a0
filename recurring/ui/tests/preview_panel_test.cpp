// The preview panel of the entry and delete dialogs: it follows every control, marks the full
// days, lists a delete's discontinued records, speaks to screen readers, and the days it marks
// are exactly the days OK then changes (random fields on a seeded random calendar).
#include "core/entry_limit.h"
#include "core/text_file.h"
#include "core/ui/text_codec.h"
#include "recurring/delete_entry.h"
#include "recurring/ui/preview_panel.h"
#include "recurring/ui/t_day_to_day.h"
#include "recurring/ui/t_del_entry.h"
#include "recurring/ui/t_mo_to_mo.h"
#include "recurring/ui/t_wk_to_wk.h"
#include "recurring/ui/t_yr_to_yr.h"
#include "recurring/ui/tests/dialog_test_bed.h"

#include <QAccessible>
#include <QSignalSpy>
#include <QTest>
#include <QtWidgets>
#include <algorithm>
#include <random>

using namespace orvane;
using namespace orvane::testing;

namespace {

// Twenty entries: a day the entry dialogs refuse.
std::string TwentyEntries() {
    std::string entries;
    for (int i = 0; i < kMaxEntries; ++i)
        entries += "Busy\a";
    return entries;
}

enum class Kind { kDaily, kWeekly, kMonthly, kYearly, kDelete };

} // namespace

class PreviewPanelTest : public QObject, DialogTestBed {
    Q_OBJECT

private:
    using DialogTestBed::Open;
    EntryDialog* Open(Kind kind, int active_note) {
        switch (kind) {
        case Kind::kDaily:
            return Open<TDayToDay>(active_note);
        case Kind::kWeekly:
            return Open<TWkToWk>(active_note);
        case Kind::kMonthly:
            return Open<TMoToMo>(active_note);
        case Kind::kYearly:
            return Open<TYrToYr>(active_note);
        case Kind::kDelete:
            break;
        }
        return Open<TDelEntry>(active_note);
    }
    void SetEntry(const char* text) { Child("Edit1")->setText(QString::fromLatin1(text)); }
    PreviewPanel* Panel() { return dialog_->Preview(); }
    const PlanPreview& Shown() { return Panel()->Shown(); }
    QString Summary() { return Panel()->Summary(); }
    Date SlotDate(int slot) { return *ParseDateKey(host_->Day(slot)); }

    static std::vector<std::string> Lines(std::string_view bytes) {
        std::vector<std::string> lines;
        std::size_t start = 0;
        while (start < bytes.size()) {
            std::size_t end = bytes.find_first_of("\r\n", start);
            if (end == std::string_view::npos)
                end = bytes.size();
            if (end > start)
                lines.emplace_back(bytes.substr(start, end - start));
            start = end + 1;
        }
        return lines;
    }

    // Sets the fields of the open dialog at random, as a user could.
    void RandomFields(Kind kind, std::mt19937& random) {
        const auto between
            = [&](int low, int high) { return std::uniform_int_distribution(low, high)(random); };
        const auto chance = [&](int percent) { return between(1, 100) <= percent; };
        static const char* const kTexts[] = { "Gym", "Rent", "Busy", "Tea time", "" };
        if (kind == Kind::kDaily) {
            const int interval = chance(10) ? between(0, 999) : chance(50) ? 1 : between(2, 40);
            Child("umNumberEdit1")->setText(QString::number(interval));
        }
        if (kind == Kind::kWeekly) {
            static const char* const kRadios[] = { "RadioButtonE", "RadioButton1", "RadioButton2",
                "RadioButton3", "RadioButton4", "RadioButton5", "RadioButtonL" };
            Child<QRadioButton>(kRadios[between(0, 6)])->click();
        }
        if (kind == Kind::kMonthly && chance(40))
            Child<QCheckBox>("CheckBox2")->click();
        const Date from = AddDays(SlotDate(1), chance(5) ? between(-10, -1) : between(0, 740));
        Pick("DateTimePicker1", from);
        // Unchecking "Automatic Update" opens To in the entry dialogs; in Delete Entry it decides
        // whether the records go too.
        if (chance(40))
            Child<QCheckBox>("CheckBox1")->click();
        if (kind == Kind::kWeekly && chance(50))
            Child<QCheckBox>("CheckBox2")->click(); // no effect while it is disabled
        if (kind != Kind::kYearly && Child<DatePicker>("DateTimePicker2")->isEnabled())
            Pick("DateTimePicker2", AddDays(from, between(-5, 500)));
        SetEntry(chance(5) ? kTexts[4] : kTexts[between(0, 3)]);
    }

    // Presses OK and checks that it did what the panel showed just before.
    void OkDoesWhatThePanelShowed(Kind kind, int round) {
        const PlanPreview shown = Shown();
        const std::size_t reports = host_->reports.size();
        const std::size_t boxes = host_->notes.boxes.size();
        const std::string fdat_before = ReadWholeFile(host_->data().fdat()).value_or("");
        const std::string context = "round " + std::to_string(round) + ": " + shown.summary;
        dialog_->Button1Click();

        std::vector<int> changed;
        for (std::size_t i = reports; i < host_->reports.size(); ++i) {
            const std::vector<int> touched = Slots(host_->reports[i]);
            changed.insert(changed.end(), touched.begin(), touched.end());
        }
        QVERIFY2(changed == shown.changed, context.c_str());
        if (shown.refused()) {
            QVERIFY2(dialog_->isVisible(), context.c_str());
            QCOMPARE(host_->notes.boxes.size(), boxes);
            return;
        }
        QVERIFY2(!dialog_->isVisible(), context.c_str());
        const std::string fdat_after = ReadWholeFile(host_->data().fdat()).value_or("");
        if (kind == Kind::kDelete) {
            // The records that went are exactly the ones listed, and nothing else went.
            std::vector<std::string> kept = Lines(fdat_before);
            for (const std::string& line : shown.discontinued) {
                const auto at = std::find(kept.begin(), kept.end(), line);
                QVERIFY2(at != kept.end(), line.c_str());
                kept.erase(at);
            }
            QVERIFY2(Lines(fdat_after) == kept, context.c_str());
            return;
        }
        // Each full day shown is one "Max entries exceeded" box, in order.
        QCOMPARE(host_->notes.boxes.size() - boxes, shown.full.size());
        for (std::size_t i = 0; i < shown.full.size(); ++i) {
            QCOMPARE(host_->notes.boxes[boxes + i].text,
                FromCp1252(MaxEntriesMessage(host_->Day(shown.full[i]))));
        }
        const bool record_shown = std::any_of(shown.details.begin(), shown.details.end(),
            [](const std::string& line) { return line.starts_with("Automatic Update adds"); });
        QVERIFY2((fdat_after.size() > fdat_before.size()) == record_shown, context.c_str());
    }

private slots:
    void init() { StartBed(); }
    void cleanup() { EndBed(); }

    void okChangesTheDaysThePanelMarks_data() {
        QTest::addColumn<int>("kind_number");
        QTest::newRow("daily") << static_cast<int>(Kind::kDaily);
        QTest::newRow("weekly") << static_cast<int>(Kind::kWeekly);
        QTest::newRow("monthly") << static_cast<int>(Kind::kMonthly);
        QTest::newRow("yearly") << static_cast<int>(Kind::kYearly);
        QTest::newRow("delete") << static_cast<int>(Kind::kDelete);
    }
    void okChangesTheDaysThePanelMarks() {
        QFETCH(int, kind_number);
        const auto kind = static_cast<Kind>(kind_number);
        std::mt19937 random(4242u + static_cast<unsigned>(kind_number));
        const auto between
            = [&](int low, int high) { return std::uniform_int_distribution(low, high)(random); };
        // Some full days, now and then a long run of them (more than 104 refusals).
        for (int slot = 1; slot <= kLastShownSlot; ++slot) {
            if (between(1, 100) <= 8 || (slot > 200 && slot < 330))
                host_->AddToDay(slot, TwentyEntries());
            else if (between(1, 100) <= 20)
                host_->AddToDay(slot, "Gym\aTea time with Ann\a");
        }
        // The rounds that saw days change, days refused as full (records discontinued, for a
        // delete), and fields OK refuses: each kind must come up, or the rounds prove little.
        int changed = 0;
        int full_or_records = 0;
        int refused = 0;
        for (int round = 0; round < 30; ++round) {
            if (kind == Kind::kDelete) {
                std::string records;
                for (const char* line : { "M5     Gym", "W1000  Rent", "MEM    Tea time",
                         "Y Jan/ 5Busy", "D Jan/07/2024001  Gym club" }) {
                    if (between(0, 1))
                        records += std::string(line) + "\r\n\r\n";
                }
                QVERIFY(WriteFileAtomic(host_->data().fdat(), records).has_value());
            }
            Open(kind, 2 * between(0, 20));
            RandomFields(kind, random);
            changed += !Shown().changed.empty();
            full_or_records += !Shown().full.empty() || !Shown().discontinued.empty();
            refused += Shown().refused();
            OkDoesWhatThePanelShowed(kind, round);
            if (QTest::currentTestFailed())
                return;
        }
        QVERIFY(changed > 0);
        QVERIFY(full_or_records > 0);
        QVERIFY(refused > 0);
    }

    void everyControlOfTheDailyDialogUpdatesThePanel() {
        Open<TDayToDay>();
        QCOMPARE(Summary(), QString::fromLatin1(kEmptyEntryProblem));
        SetEntry("Gym");
        QCOMPARE(Summary(), QStringLiteral("The entry goes into 735 days."));
        Child("umNumberEdit1")->setText(QStringLiteral("7"));
        QCOMPARE(Summary(), QStringLiteral("The entry goes into 105 days."));
        Child("umNumberEdit1")->setText(QStringLiteral("0"));
        QCOMPARE(Summary(), QString::fromLatin1(kIntervalProblem));
        QVERIFY(Panel()->Calendar()->MonthCount() == 0);
        Child("umNumberEdit1")->setText(QStringLiteral("7"));
        Pick("DateTimePicker1", D(2024, 1, 14));
        QCOMPARE(Summary(), QStringLiteral("The entry goes into 104 days."));
        Pick("DateTimePicker1", D(2023, 12, 1));
        QCOMPARE(Summary(), QStringLiteral("From date < calendar"));
        Pick("DateTimePicker1", D(2024, 1, 7));
        Child<QCheckBox>("CheckBox1")->click(); // To opens
        QVERIFY(Panel()->Details().contains(QStringLiteral("Automatic Update adds")) == false);
        Pick("DateTimePicker2", D(2024, 1, 31));
        QCOMPARE(Summary(), QStringLiteral("The entry goes into 4 days."));
        Pick("DateTimePicker2", D(2024, 1, 1));
        QCOMPARE(Summary(), QStringLiteral("From date  > To date"));
        SetEntry("");
        // What is wrong, in the order OK checks it.
        QCOMPARE(Panel()->Details(), QStringLiteral("From date  > To date\nEntry: empty"));
    }

    void everyControlOfTheOtherDialogsUpdatesThePanel() {
        Open<TWkToWk>(); // Sunday 7 January 2024
        SetEntry("Club");
        QCOMPARE(Summary(), QStringLiteral("The entry goes into 105 days."));
        Child<QRadioButton>("RadioButton1")->click(); // first Sunday of each month
        QCOMPARE(Shown().changed.size(), std::size_t { 25 }); // January 2024 to January 2026
        Child<QCheckBox>("CheckBox2")->click(); // in January only
        QCOMPARE(Summary(), QStringLiteral("The entry goes into 3 days."));
        QCOMPARE(Shown().changed, (std::vector<int> { 1, 365, 729 }));
        Child<QRadioButton>("RadioButtonL")->click(); // the last Sunday of January
        QCOMPARE(Shown().changed, (std::vector<int> { 22, 386 }));

        Open<TMoToMo>(6); // Tuesday 9 January 2024
        SetEntry("Rent");
        QCOMPARE(Summary(), QStringLiteral("The entry goes into 25 days."));
        QCOMPARE(Shown().changed.front(), 3);
        Child<QCheckBox>("CheckBox2")->click(); // last day of each month
        QCOMPARE(Shown().changed.front(), 25); // 31 January
        QCOMPARE(Shown().changed.size(), std::size_t { 24 });

        Open<TYrToYr>();
        SetEntry("Birthday");
        QCOMPARE(Shown().changed, (std::vector<int> { 1, 367, 732 }));
        Pick("DateTimePicker1", D(2023, 12, 31));
        QCOMPARE(Summary(), QString::fromLatin1(kBeginBeforeCalendar));
        Pick("DateTimePicker1", D(2024, 3, 1));
        QCOMPARE(Shown().changed, (std::vector<int> { 55, 420 }));
    }

    void fullDaysAreCountedNamedAndMarked() {
        for (int slot : { 3, 10, 17 })
            host_->AddToDay(slot, TwentyEntries());
        Open<TDayToDay>();
        SetEntry("Gym");
        QCOMPARE(Summary(), QStringLiteral("The entry goes into 732 days; 3 days are full."));
        QVERIFY(
            Panel()->Details().contains(QStringLiteral("3 days are full: Jan 9, Jan 16, Jan 23")));
        PreviewCalendar* calendar = Panel()->Calendar();
        QCOMPARE(calendar->MarkOf(D(2024, 1, 9)), std::optional(DayMark::kFull));
        QCOMPARE(calendar->MarkOf(D(2024, 1, 10)), std::optional(DayMark::kChanged));
        QCOMPARE(calendar->MarkOf(D(2024, 1, 6)), std::nullopt);
        // 25 months, from January 2024 to January 2026.
        QCOMPARE(calendar->MonthCount(), 25);

        // The painted calendar shows each mark in its own fill.
        QImage image(calendar->size(), QImage::Format_RGB32);
        calendar->render(&image);
        const auto fill_at = [&](const Date& date) {
            const QRect cell = calendar->DayRect(date);
            // Off the cross a full day carries when there is room for one.
            return QColor(image.pixel(cell.left() + 1, cell.top() + cell.height() / 2));
        };
        QCOMPARE(fill_at(D(2024, 1, 9)), PreviewCalendar::Fill(DayMark::kFull));
        QCOMPARE(fill_at(D(2024, 1, 10)), PreviewCalendar::Fill(DayMark::kChanged));
        QCOMPARE(fill_at(D(2024, 1, 1)), PreviewCalendar::OutsideFill());

        // Every other day: the full ones fall on other days and nothing is refused.
        Child("umNumberEdit1")->setText(QStringLiteral("2"));
        QCOMPARE(Summary(), QStringLiteral("The entry goes into 366 days; 2 days are full."));
        Child("umNumberEdit1")->setText(QStringLiteral("14"));
        QCOMPARE(Summary(), QStringLiteral("The entry goes into 53 days."));
        QCOMPARE(calendar->MarkOf(D(2024, 1, 9)), std::optional(DayMark::kInRange));
    }

    void theRecordRuleIsStatedBeforeOk() {
        for (int slot = 1; slot <= 105; ++slot)
            host_->AddToDay(slot, TwentyEntries());
        Open<TDayToDay>();
        SetEntry("Gym");
        QVERIFY(Summary().endsWith(
            QStringLiteral("More than 104 days are full: Automatic Update keeps no record.")));
        // Without Automatic Update no record is kept anyway: nothing to warn about.
        Child<QCheckBox>("CheckBox1")->click();
        QVERIFY(!Summary().contains(QStringLiteral("More than 104")));
        QCOMPARE(Summary(), QStringLiteral("The entry goes into 630 days; 105 days are full."));
    }

    void deleteListsTheDaysFoundAndTheRecordsInFull() {
        host_->AddToDay(3, "Dentist\a");
        host_->AddToDay(5, "Dentist visit\a");
        const std::string records
            = "M5     Dentist\r\n\r\nW1000  Gym\r\n\r\nMEM    Dentist visit\r\n\r\n";
        QVERIFY(WriteFileAtomic(host_->data().fdat(), records).has_value());
        Open<TDelEntry>();
        SetEntry("Dentist");
        QCOMPARE(
            Summary(), QStringLiteral("The entry goes from 1 day. 2 records are discontinued."));
        QCOMPARE(Panel()->Details(),
            QStringLiteral("Only inside longer entries, kept: Jan 11\n"
                           "Discontinued records of fdat.ovd:\n"
                           "M5     Dentist\n"
                           "MEM    Dentist visit\n"
                           "Loses the entry: Jan 9"));
        QCOMPARE(Panel()->Calendar()->MarkOf(D(2024, 1, 11)), std::optional(DayMark::kFoundKept));
        Child<QCheckBox>("CheckBox1")->click(); // the records stay
        QCOMPARE(Summary(), QStringLiteral("The entry goes from 1 day."));
        QVERIFY(!Panel()->Details().contains(QStringLiteral("fdat.ovd")));
        Pick("DateTimePicker1", D(2024, 1, 10));
        QCOMPARE(Summary(), QStringLiteral("No day holds the entry."));

        // An fdat.ovd that cannot be read: OK refuses, and the panel says why beforehand.
        QVERIFY(std::filesystem::remove(host_->data().fdat()));
        std::filesystem::create_directories(host_->data().fdat());
        Child<QCheckBox>("CheckBox1")->click();
        QVERIFY(Shown().refused());
        QVERIFY(NamesDataFile(Panel()->Details(), "fdat.ovd"));
        QCOMPARE(Panel()->Calendar()->MonthCount(), 0);
    }

    void summaryIsReadAndAnnouncedAndTheDaysAreListedInText() {
        host_->AddToDay(3, TwentyEntries());
        Open<TDayToDay>();
        QSignalSpy summaries(Panel(), &PreviewPanel::SummaryAnnounced);
        QSignalSpy days(Panel(), &PreviewPanel::MarkedDaysAnnounced);
        auto* summary = Panel()->findChild<QLabel*>(QStringLiteral("PreviewSummary"));
        QVERIFY(summary);
        Child("umNumberEdit1")->setText(QStringLiteral("100"));
        QTest::keyClicks(Child("Edit1"), QStringLiteral("Gym"));
        QAccessibleInterface* read = QAccessible::queryAccessibleInterface(summary);
        QVERIFY(read);
        QCOMPARE(read->text(QAccessible::Name), Summary());
        QCOMPARE(Summary(), QStringLiteral("The entry goes into 8 days."));
        // The first letter changes the summary; the others leave it as it was and are not
        // announced again.
        QCOMPARE(summaries.size(), 1);
        QCOMPARE(summaries.at(0).at(0).toString(), Summary());
        QCOMPARE(days.size(), 1);
        QCOMPARE(Panel()->Calendar()->accessibleDescription(),
            QStringLiteral("Gets the entry: Jan 7 2024, Apr 16 2024, Jul 25 2024, Nov 2 2024, "
                           "Feb 10 2025, May 21 2025, Aug 29 2025, Dec 7 2025."));
        QCOMPARE(QAccessible::queryAccessibleInterface(Panel()->Calendar())
                     ->text(QAccessible::Description),
            Panel()->Calendar()->accessibleDescription());
        Child("umNumberEdit1")->setText(QStringLiteral("2"));
        QVERIFY(
            Panel()->Calendar()->accessibleDescription().contains(QStringLiteral("Full: Jan 9.")));
        QCOMPARE(summaries.size(), 2);
        QCOMPARE(days.size(), 2);
    }
};

QTEST_MAIN(PreviewPanelTest)
#include "preview_panel_test.moc"
