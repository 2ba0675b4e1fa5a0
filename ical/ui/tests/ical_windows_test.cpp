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

using namespace orvane;

Q_DECLARE_METATYPE(std::string)

namespace {

template <typename T = QPushButton> T* Child(QWidget* window, const char* name) {
    return window->findChild<T*>(QLatin1String(name)); // a missing control crashes the test
}

std::filesystem::path FixturePath(const std::string& name) {
    return std::filesystem::path(ORVANE_TEST_DATA) / name;
}

const std::string kFullDay(kMaxEntries, kEntrySeparator);

bool SameDays(const DayStore& a, const DayStore& b) {
    for (int slot = 1; slot <= kSlotCount; ++slot) {
        if (a[slot] != b[slot])
            return false;
    }
    return true;
}

// The plan the import window should show for broken.ics: made by the model on the same days.
ImportPlan ModelPlan(const DayStore& store) {
    ImportOptions options;
    options.zone = "UTC";
    const std::string bytes
        = ReadWholeFile(std::string(ORVANE_TEST_DATA) + "/broken.ics").value_or("");
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

    // The file is exactly what the model gives for the days, the records and the archive at the
    // clock's moment, written through the file dialog's choice; the box names the file and what
    // it holds.
    void exportWritesTheModelsFile() {
        host_->AddToDay(3, "Dentist\aCall Bob\a");
        QVERIFY(WriteFileAtomic(host_->data().fdat(), "W2  Sun  Church\r\n").has_value());
        QVERIFY(WriteFileAtomic(host_->data().archive(), "Dec/31/2023Old year\a\r\n").has_value());
        answer_ = Out("work \xc3\xa9.ics");
        const auto window = ExportWindow();
        Child<QCheckBox>(window.get(), "CheckBox1")->setChecked(true);
        Child(window.get(), "Button3")->click();
        QCOMPARE(asked_, std::vector<IcsFileRole> { IcsFileRole::kExport });
        QCOMPARE(Child<QLineEdit>(window.get(), "Edit1")->text(), PathText(*answer_));
        Child(window.get(), "Button1")->click();

        const Result<IcsExport> expected = ExportCalendarFiles(
            host_->data(), host_->store(), true, StampOf(host_->fixed_clock.Now()));
        QVERIFY(expected.has_value());
        QCOMPARE(expected->archive_events, 1);
        QCOMPARE(ReadWholeFile(*answer_).value_or(""), expected->ics);
        QCOMPARE(host_->notes.boxes.size(), std::size_t { 1 });
        const QString box = host_->notes.boxes[0].text;
        QVERIFY2(box.contains(PathText(*answer_)), qPrintable(box));
        QVERIFY2(box.contains(FromCp1252(ExportSummaryLines(*expected, true)[0])), qPrintable(box));
        QCOMPARE(window->result(), int(QDialog::Accepted));
    }

    // A file that exists is replaced only when the user agrees; a file that cannot be written is
    // reported and the window stays open.
    void exportAsksBeforeReplacingAndReportsAFailure() {
        const auto window = ExportWindow();
        auto* edit = Child<QLineEdit>(window.get(), "Edit1");
        const std::filesystem::path existing = Out("old.ics");
        QVERIFY(WriteFileAtomic(existing, "keep me").has_value());
        edit->setText(PathText(existing));
        host_->notes.answers = { false };
        Child(window.get(), "Button1")->click();
        QCOMPARE(ReadWholeFile(existing).value_or(""), std::string("keep me"));
        QVERIFY(host_->notes.boxes.at(0).text.contains(QStringLiteral("already exists")));
        host_->notes.answers = { true };
        Child(window.get(), "Button1")->click();
        QVERIFY(ReadWholeFile(existing).value_or("").starts_with("BEGIN:VCALENDAR\r\n"));
        host_->notes.clear();
        window->Prepare();
        window->show();

        const std::filesystem::path nowhere = Out("no such folder/cal.ics");
        edit->setText(PathText(nowhere));
        Child(window.get(), "Button1")->click();
        QCOMPARE(host_->notes.boxes.size(), std::size_t { 1 });
        QCOMPARE(host_->notes.boxes[0].kind, Notifier::Kind::kError);
        QVERIFY2(host_->notes.boxes[0].text.contains(QStringLiteral("not exported")),
            qPrintable(host_->notes.boxes[0].text));
        QVERIFY(window->isVisible());
    }

    // The preview shows the model's lines and changes nothing; Import then plans again on the
    // days as they are, so a day filled since the preview refuses too. The import is one
    // operation named after the file; the refusals are logged and shown.
    void importShowsThePlanThenDoesWhatTheDaysTakeNow() {
        host_->AddToDay(70, kFullDay); // Mar/16/2024, a day of broken.ics
        const DayStore before = host_->store();
        host_->reports.clear();
        auto window = ImportWindow("Button2", nullptr);
        QVERIFY(window->Preview(FixturePath("broken.ics")));
        QStringList lines;
        for (const std::string& line : ImportPreviewLines(ModelPlan(before), before))
            lines += FromCp1252(line);
        QCOMPARE(Child<QPlainTextEdit>(window.get(), "Memo1")->toPlainText(),
            lines.join(QLatin1Char('\n')));
        QVERIFY(Child(window.get(), "Button1")->isEnabled());
        QVERIFY(SameDays(host_->store(), before));
        QVERIFY(host_->reports.empty());

        host_->AddToDay(68, kFullDay); // Mar/14/2024, "Good one"
        const DayStore at_import = host_->store();
        const ImportPlan expected = ModelPlan(at_import);
        host_->reports.clear();
        Child(window.get(), "Button1")->click();
        QCOMPARE(host_->reports.size(), std::size_t { 1 });
        QCOMPARE(host_->reports[0].name, std::string("Import 'broken.ics'"));
        std::string log;
        std::vector<int> refused;
        for (const ImportItem& item : expected.items) {
            QCOMPARE(host_->Day(item.slot).find(item.text) != std::string::npos, !item.refused);
            if (item.refused) {
                log += ErrorLogLine(at_import[item.slot], item.text);
                refused.push_back(item.slot);
            }
        }
        QCOMPARE(refused, (std::vector<int> { 68, 70 }));
        QCOMPARE(host_->reports[0].days.size(), std::size_t { 2 }); // the 18th and the 20th
        QCOMPARE(ReadWholeFile(host_->data().rdat()).value_or(""), log);
        QCOMPARE(host_->notes.texts(),
            QStringList { FromCp1252(ImportRefusalText(refused, at_import)) });
    }

    // A file that cannot be imported shows the model's message, opens no preview and changes
    // nothing.
    void badFilesChangeNothing_data() {
        QTest::addColumn<std::string>("file");
        QTest::addColumn<std::size_t>("max_bytes");
        QTest::newRow("not iCalendar") << std::string("not_ical.ics") << kMaxIcsBytes;
        QTest::newRow("too large") << std::string("broken.ics") << std::size_t { 100 };
        QTest::newRow("missing") << std::string("no_such_file.ics") << kMaxIcsBytes;
    }
    void badFilesChangeNothing() {
        QFETCH(std::string, file);
        QFETCH(std::size_t, max_bytes);
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
        QVERIFY(host_->notes.boxes[0].text.contains(QStringLiteral("Nothing was imported")));
        QVERIFY(SameDays(host_->store(), before));
        QVERIFY(!std::filesystem::exists(host_->data().rdat()));
    }

    // Cancel in the file dialog or in the preview changes nothing and says nothing.
    void cancelChangesNothing() {
        host_->AddToDay(70, kFullDay);
        const DayStore before = host_->store();
        int shown = 0;
        auto window = ImportWindow("Button2", &shown);
        window->ImportICalendar1Click();
        QCOMPARE(shown, 0);
        answer_ = FixturePath("broken.ics");
        window->ImportICalendar1Click();
        QCOMPARE(shown, 1);
        QVERIFY(SameDays(host_->store(), before));
        QVERIFY(host_->notes.boxes.empty());
        QVERIFY(!std::filesystem::exists(host_->data().rdat()));
    }
};

QTEST_MAIN(IcalWindowsTest)
#include "ical_windows_test.moc"
