#include "core/entry_limit.h"
#include "core/text_file.h"
#include "core/ui/dialog_style.h"
#include "core/ui/error_text.h"
#include "core/ui/testing/fake_calendar_host.h"
#include "core/ui/text_codec.h"
#include "ical/ical_export.h"
#include "ical/ical_import.h"
#include "ical/ical_summary.h"
#include "ical/ui/t_export_ical.h"
#include "ical/ui/t_import_ical.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <set>

using namespace orvane;

Q_DECLARE_METATYPE(std::string)

namespace {

template <typename T = QPushButton> T* Child(QWidget* window, const char* name) {
    return window->findChild<T*>(QLatin1String(name)); // a missing control crashes the test
}

std::string Fixture(const std::string& name) {
    return ReadWholeFile(std::string(ORVANE_TEST_DATA) + "/" + name).value_or("");
}

std::filesystem::path FixturePath(const std::string& name) {
    return std::filesystem::path(ORVANE_TEST_DATA) / name;
}

std::string Twenty() {
    std::string entries;
    for (int k = 1; k <= kMaxEntries; ++k)
        entries += "Full " + std::to_string(k) + '\a';
    return entries;
}

// The days whose text differs between two stores.
std::vector<int> Differences(const DayStore& a, const DayStore& b) {
    std::vector<int> differ;
    for (int slot = 1; slot <= kSlotCount; ++slot) {
        if (a[slot] != b[slot])
            differ.push_back(slot);
    }
    return differ;
}

// The plan the import window should show: made by the model from the same bytes and days.
ImportPlan ModelPlan(const std::string& bytes, const DayStore& store) {
    ImportOptions options;
    options.zone = "UTC";
    Result<ImportPlan> plan = PlanImport(bytes, store, options);
    return plan ? *plan : ImportPlan {};
}

} // namespace

class IcalWindowsTest : public QObject {
    Q_OBJECT
    std::unique_ptr<QTemporaryDir> dir_;
    std::unique_ptr<FakeCalendarHost> host_;
    std::optional<std::filesystem::path> answer_; // what the file dialog answers
    std::vector<IcsFileRole> asked_; // the file dialogs shown

    IcsFilePicker Picker() {
        return [this](QWidget*, IcsFileRole role, const std::filesystem::path&) {
            asked_.push_back(role);
            return answer_;
        };
    }
    std::filesystem::path Out(const char* name) const {
        return std::filesystem::path(dir_->path().toStdString()) / name;
    }
    // An export window prepared for one showing and shown.
    std::unique_ptr<TExportICal> ExportWindow() {
        auto window = std::make_unique<TExportICal>(host_->document, host_->services(), Picker());
        window->Prepare();
        window->show();
        return window;
    }
    // An import window whose preview answers by clicking `button`, and counts its showings.
    std::unique_ptr<TImportICal> ImportWindow(const char* button, int* shown) {
        auto window = std::make_unique<TImportICal>(host_->document, host_->services(), Picker(),
            &host_->main_widget, [button, shown](TImportICal& preview) {
                ++*shown;
                preview.show();
                Child(&preview, button)->click();
            });
        window->options().zone = "UTC";
        return window;
    }

private slots:
    void init() {
        dir_ = std::make_unique<QTemporaryDir>();
        host_ = std::make_unique<FakeCalendarHost>(NonAsciiDataFolder(dir_->path()));
        answer_.reset();
        asked_.clear();
    }
    void cleanup() { host_.reset(); }

    // The file is exactly what the model gives for the days, the records and (when asked) the
    // archive at the clock's moment, written through the file dialog's choice; the box names
    // the file and what it holds.
    void exportWritesTheModelsFile_data() {
        QTest::addColumn<bool>("with_archive");
        QTest::newRow("days and records") << false;
        QTest::newRow("with the archive") << true;
    }
    void exportWritesTheModelsFile() {
        QFETCH(bool, with_archive);
        host_->AddToDay(3, "Dentist\aCall Bob\a");
        host_->AddToDay(40, "Caf\xe9\a");
        QVERIFY(WriteFileAtomic(host_->data().fdat(), "W2  Sun  Church\r\n").has_value());
        QVERIFY(WriteFileAtomic(host_->data().archive(), "Dec/31/2023Old year\a\r\n").has_value());
        answer_ = Out("work \xc3\xa9.ics");
        const auto export_window = ExportWindow();
        TExportICal& window = *export_window;
        Child<QCheckBox>(&window, "CheckBox1")->setChecked(with_archive);
        Child(&window, "Button3")->click();
        QCOMPARE(asked_, std::vector<IcsFileRole> { IcsFileRole::kExport });
        QCOMPARE(Child<QLineEdit>(&window, "Edit1")->text(), PathText(*answer_));
        Child(&window, "Button1")->click();

        const Result<IcsExport> expected = ExportCalendarFiles(
            host_->data(), host_->store(), with_archive, StampOf(host_->fixed_clock.Now()));
        QVERIFY(expected.has_value());
        QCOMPARE(ReadWholeFile(*answer_).value_or(""), expected->ics);
        QVERIFY(expected->day_events >= 3);
        QCOMPARE(expected->archive_events, with_archive ? 1 : 0);
        QCOMPARE(host_->notes.boxes.size(), std::size_t { 1 });
        const QString box = host_->notes.boxes[0].text;
        QCOMPARE(host_->notes.boxes[0].kind, Notifier::Kind::kInformation);
        QVERIFY2(box.contains(PathText(*answer_)), qPrintable(box));
        QVERIFY2(box.contains(FromCp1252(ExportSummaryLines(*expected, with_archive)[0])),
            qPrintable(box));
        QCOMPARE(window.result(), int(QDialog::Accepted));
    }

    // A typed file that exists is replaced only when the user agrees; an empty field or a folder
    // is refused at once; a file that cannot be written is reported and the window stays open.
    void exportRefusesAndAsks() {
        const auto export_window = ExportWindow();
        TExportICal& window = *export_window;
        auto* edit = Child<QLineEdit>(&window, "Edit1");
        Child(&window, "Button1")->click();
        QVERIFY(IsMarkedError(edit));
        QVERIFY(host_->notes.boxes.empty());

        const std::filesystem::path existing = Out("old.ics");
        QVERIFY(WriteFileAtomic(existing, "keep me").has_value());
        edit->setText(PathText(existing));
        host_->notes.answers = { false };
        Child(&window, "Button1")->click();
        QCOMPARE(ReadWholeFile(existing).value_or(""), std::string("keep me"));
        QCOMPARE(host_->notes.boxes.size(), std::size_t { 1 });
        QVERIFY(host_->notes.boxes[0].text.contains(QStringLiteral("already exists")));
        host_->notes.clear();
        host_->notes.answers = { true };
        Child(&window, "Button1")->click();
        QVERIFY(ReadWholeFile(existing).value_or("").starts_with("BEGIN:VCALENDAR\r\n"));
        QCOMPARE(window.result(), int(QDialog::Accepted));
        host_->notes.clear();
        window.Prepare();
        window.show();

        edit->setText(dir_->path());
        Child(&window, "Button1")->click();
        QVERIFY(IsMarkedError(edit));
        QCOMPARE(host_->notes.boxes.size(), std::size_t { 1 });
        QCOMPARE(host_->notes.boxes[0].kind, Notifier::Kind::kError);
        host_->notes.clear();

        const std::filesystem::path nowhere = Out("no such folder/cal.ics");
        edit->setText(PathText(nowhere));
        Child(&window, "Button1")->click();
        QCOMPARE(host_->notes.boxes.size(), std::size_t { 1 });
        QCOMPARE(host_->notes.boxes[0].kind, Notifier::Kind::kError);
        QVERIFY2(host_->notes.boxes[0].text.contains(QStringLiteral("not exported")),
            qPrintable(host_->notes.boxes[0].text));
        QVERIFY(!std::filesystem::exists(nowhere));
        QVERIFY(window.isVisible());
    }

    // The preview shows the plan's figures: entries and days, the full day by its date key,
    // every problem with its line, the zone; nothing changes before Import.
    void importPreviewShowsThePlan() {
        host_->AddToDay(70, Twenty()); // Mar/16/2024, a day of broken.ics
        host_->reports.clear();
        const DayStore before = host_->store();
        auto window = ImportWindow("Button2", nullptr);
        QVERIFY(window->Preview(FixturePath("broken.ics")));
        const ImportPlan expected = ModelPlan(Fixture("broken.ics"), before);
        QVERIFY(window->plan().has_value());
        QCOMPARE(window->plan()->items.size(), expected.items.size());
        QCOMPARE(expected.FullDays(), std::vector<int> { 70 });
        QVERIFY(!expected.problems.empty());

        const QString shown = Child<QPlainTextEdit>(window.get(), "Memo1")->toPlainText();
        QStringList lines;
        for (const std::string& line : ImportPreviewLines(expected, before))
            lines += FromCp1252(line);
        QCOMPARE(shown, lines.join(QLatin1Char('\n')));
        QVERIFY2(shown.contains(QStringLiteral("%1 entries go into %2 days.")
                                    .arg(expected.InsertCount())
                                    .arg(expected.DayCount())),
            qPrintable(shown));
        QVERIFY(shown.contains(QStringLiteral("Mar/16/2024")));
        for (const ImportProblem& problem : expected.problems)
            QVERIFY2(
                shown.contains(QStringLiteral("Line %1: ").arg(problem.line)), qPrintable(shown));
        QVERIFY(shown.contains(QStringLiteral("time zone UTC")));
        QVERIFY(
            Child<QLabel>(window.get(), "Label1")->text().contains(QStringLiteral("broken.ics")));
        QVERIFY(Child(window.get(), "Button1")->isEnabled());
        QCOMPARE(Differences(host_->store(), before), std::vector<int> {});
        QCOMPARE(host_->ReportsOf(OperationKind::kImport), 0);
    }

    // Characters Windows-1252 cannot hold are counted in the preview.
    void importPreviewCountsReplacedCharacters() {
        auto window = ImportWindow("Button2", nullptr);
        QVERIFY(window->Preview(FixturePath("text.ics")));
        const ImportPlan expected = ModelPlan(Fixture("text.ics"), host_->store());
        QVERIFY(expected.substituted > 0);
        QVERIFY(Child<QPlainTextEdit>(window.get(), "Memo1")
                    ->toPlainText()
                    .contains(QStringLiteral("%1 characters that Windows-1252 cannot hold")
                                  .arg(expected.substituted)));
    }

    // Import is one operation, named after the file, that changes exactly the days the plan
    // fills, each with its entries first in the plan's order; the full day is unchanged, its
    // refusal is logged in rdat.ovd and shown once.
    void importChangesExactlyThePlannedDays() {
        host_->AddToDay(70, Twenty());
        host_->AddToDay(68, "Mine\a");
        host_->reports.clear();
        const DayStore before = host_->store();
        const ImportPlan expected = ModelPlan(Fixture("broken.ics"), before);
        answer_ = FixturePath("broken.ics");
        int shown = 0;
        auto window = ImportWindow("Button1", &shown);
        window->ImportICalendar1Click();
        QCOMPARE(shown, 1);
        QCOMPARE(asked_, std::vector<IcsFileRole> { IcsFileRole::kImport });

        QCOMPARE(host_->ReportsOf(OperationKind::kImport), 1);
        QCOMPARE(host_->reports.size(), std::size_t { 1 });
        const ChangeReport& report = host_->reports[0];
        QCOMPARE(report.name, std::string("Import 'broken.ics'"));
        DayStore wanted = before;
        std::map<int, std::vector<std::string>> added;
        std::string log;
        for (const ImportItem& item : expected.items) {
            if (item.refused)
                log += ErrorLogLine(before[item.slot], item.text);
            else
                added[item.slot].push_back(item.text);
        }
        std::set<int> changed;
        for (const auto& [slot, texts] : added) {
            for (auto it = texts.rbegin(); it != texts.rend(); ++it)
                InsertFirstEntry(wanted[slot], *it);
            changed.insert(slot);
        }
        QCOMPARE(Differences(host_->store(), wanted), std::vector<int> {});
        std::set<int> reported;
        for (const DayChange& day : report.days) {
            reported.insert(day.slot);
            QCOMPARE(day.before, before[day.slot]);
        }
        QCOMPARE(reported, changed);
        QVERIFY(!changed.contains(70));
        QCOMPARE(ReadWholeFile(host_->data().rdat()).value_or(""), log);
        QCOMPARE(host_->notes.texts(), QStringList { FromCp1252(MaxEntriesMessage(before[70])) });
    }

    // A day filled after the preview refuses too when Import comes: the plan is checked again.
    void aDayFilledSinceThePreviewRefuses() {
        auto window = ImportWindow("Button2", nullptr);
        QVERIFY(window->Preview(FixturePath("broken.ics")));
        host_->AddToDay(68, Twenty()); // Mar/14/2024, "Good one"
        host_->reports.clear();
        Child(window.get(), "Button1")->click();
        QCOMPARE(host_->ReportsOf(OperationKind::kImport), 1);
        QVERIFY(!host_->reports[0].Touches(68));
        QCOMPARE(ReadWholeFile(host_->data().rdat()).value_or(""),
            ErrorLogLine(host_->Day(68), "Good one"));
        QCOMPARE(
            host_->notes.texts(), QStringList { FromCp1252(MaxEntriesMessage(host_->Day(68))) });
    }

    // A file that cannot be imported shows the model's message, opens no preview and changes
    // nothing.
    void badFilesChangeNothing_data() {
        QTest::addColumn<std::string>("file");
        QTest::addColumn<std::size_t>("max_bytes");
        QTest::newRow("not iCalendar") << std::string("not_ical.ics") << kMaxIcsBytes;
        QTest::newRow("truncated") << std::string("truncated.ics") << kMaxIcsBytes;
        QTest::newRow("no events") << std::string("empty.ics") << kMaxIcsBytes;
        QTest::newRow("too large") << std::string("broken.ics") << std::size_t { 100 };
        QTest::newRow("missing") << std::string("no_such_file.ics") << kMaxIcsBytes;
    }
    void badFilesChangeNothing() {
        QFETCH(std::string, file);
        QFETCH(std::size_t, max_bytes);
        host_->AddToDay(68, "Mine\a");
        host_->reports.clear();
        const DayStore before = host_->store();
        answer_ = FixturePath(file);
        int shown = 0;
        auto window = ImportWindow("Button1", &shown);
        window->options().max_bytes = max_bytes;
        window->ImportICalendar1Click();

        Result<std::string> bytes = ReadIcsFile(*answer_, max_bytes);
        const Error expected
            = bytes ? PlanImport(*bytes, before, window->options()).error() : bytes.error();
        QCOMPARE(shown, 0);
        QCOMPARE(host_->notes.boxes.size(), std::size_t { 1 });
        QCOMPARE(host_->notes.boxes[0].kind, Notifier::Kind::kError);
        QCOMPARE(host_->notes.boxes[0].text, ErrorText(expected));
        QVERIFY(host_->notes.boxes[0].text.contains(QStringLiteral("Nothing was imported"))
            || file == "empty.ics");
        QCOMPARE(Differences(host_->store(), before), std::vector<int> {});
        QCOMPARE(host_->ReportsOf(OperationKind::kImport), 0);
        QVERIFY(!std::filesystem::exists(host_->data().rdat()));
    }

    // Cancel in the file dialog or in the preview changes nothing and says nothing.
    void cancelChangesNothing() {
        host_->AddToDay(70, Twenty());
        host_->reports.clear();
        const DayStore before = host_->store();
        int shown = 0;
        auto window = ImportWindow("Button2", &shown);
        window->ImportICalendar1Click();
        QCOMPARE(shown, 0);
        answer_ = FixturePath("broken.ics");
        window->ImportICalendar1Click();
        QCOMPARE(shown, 1);
        QCOMPARE(asked_.size(), std::size_t { 2 });
        QCOMPARE(Differences(host_->store(), before), std::vector<int> {});
        QCOMPARE(host_->ReportsOf(OperationKind::kImport), 0);
        QVERIFY(host_->notes.boxes.empty());
        QVERIFY(!std::filesystem::exists(host_->data().rdat()));
        QVERIFY(!window->plan().has_value());
    }

    // A file whose events all fall outside the calendar previews, but offers no Import.
    void nothingToImportOffersNoImport() {
        const std::filesystem::path path = Out("old.ics");
        QVERIFY(WriteFileAtomic(path,
            "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//T//T//EN\r\nBEGIN:VEVENT\r\nUID:a\r\n"
            "DTSTART;VALUE=DATE:19990101\r\nSUMMARY:Long ago\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n")
                    .has_value());
        auto window = ImportWindow("Button2", nullptr);
        QVERIFY(window->Preview(path));
        QVERIFY(!Child(window.get(), "Button1")->isEnabled());
        const QString shown = Child<QPlainTextEdit>(window.get(), "Memo1")->toPlainText();
        QVERIFY2(shown.contains(QStringLiteral("1 event falls outside the calendar (Jan/7 /2024")),
            qPrintable(shown));
        QVERIFY(shown.contains(QStringLiteral("No entry goes into the calendar.")));
    }

    // What the export writes, the import brings back: into an empty calendar, every entry on
    // its day (the record's days by its rule, once).
    void exportThenImportRoundTrips() {
        host_->AddToDay(3, "Dentist\a");
        host_->AddToDay(100, "Holiday\aPack\a");
        const DayStore written = host_->store();
        answer_ = Out("round.ics");
        const auto out = ExportWindow();
        Child(out.get(), "Button3")->click();
        Child(out.get(), "Button1")->click();
        QVERIFY(std::filesystem::exists(*answer_));

        host_ = std::make_unique<FakeCalendarHost>(NonAsciiDataFolder(dir_->path() + "/empty"));
        int shown = 0;
        auto window = ImportWindow("Button1", &shown);
        window->ImportICalendar1Click();
        QCOMPARE(shown, 1);
        QCOMPARE(host_->Day(3), written[3]);
        QCOMPARE(host_->Day(100), written[100]);
        QCOMPARE(Differences(host_->store(), written), std::vector<int> {});
    }
};

QTEST_MAIN(IcalWindowsTest)
#include "ical_windows_test.moc"
