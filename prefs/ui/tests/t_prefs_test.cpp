#include "core/testing/scoped_locale.h"
#include "core/text_file.h"
#include "core/ui/dialog_style.h"
#include "core/ui/testing/fake_calendar_host.h"
#include "core/ui/testing/input_checks.h"
#include "prefs/pref_file.h"
#include "prefs/ui/t_prefs.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <filesystem>
#include <utility>

using namespace orvane;

namespace {

// Stands in for the grid: keeps what pref.ovd held when the preferences in memory changed. A note
// typed but not yet stored (`typed`) reaches slot 40 when the document asks for pending edits,
// noting the calendar font the notes had at that moment.
class DocumentLog final : public DocumentListener {
public:
    explicit DocumentLog(FakeCalendarHost& host)
        : host_(host) {
        host_.document.AddListener(this);
    }
    ~DocumentLog() override { host_.document.RemoveListener(this); }

    std::string file_at_apply;
    std::string typed;
    QString font_when_typed_stored;

private:
    void BeforeChange(CalendarDocument& document) override {
        if (!typed.empty()) {
            font_when_typed_stored = host_.note_font_family;
            document.StoreNote(40, document.store()[40] + std::exchange(typed, std::string()));
        }
    }
    void Changed(const CalendarDocument& document, const ChangeReport& report) override {
        if (report.kind == OperationKind::kPreferences)
            file_at_apply = ReadWholeFile(document.data().pref()).value_or("");
    }

    FakeCalendarHost& host_;
};

// pref.ovd bytes: a standard file with `changes` (0-based line, text).
std::string PrefFile(std::vector<std::pair<std::size_t, const char*>> changes = {}) {
    std::vector<std::string> lines { "10100110131", "Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat",
        "Ene", "Feb", "Mar", "Abr", "May", "Jun", "Jul", "Ago", "Sep", "Oct", "Nov", "Dic",
        "csystem", "-05.00", "40.50", "-6", "DejaVu Sans" };
    for (const auto& [index, text] : changes)
        lines[index] = text;
    std::string bytes;
    for (const std::string& line : lines)
        bytes += line + "\r\n";
    return bytes;
}

} // namespace

class TPrefsTest : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> dir_;
    std::unique_ptr<FakeCalendarHost> host_;
    std::unique_ptr<DocumentLog> log_;
    std::unique_ptr<TPrefs> dialog_;

    void WritePref(const std::string& bytes) {
        QVERIFY(WriteFileAtomic(host_->data().pref(), bytes).has_value());
    }
    std::unique_ptr<TPrefs> MakeDialog() {
        return std::make_unique<TPrefs>(host_->document, *host_, host_->services(), host_->backups);
    }
    void Open() {
        dialog_ = MakeDialog();
        dialog_->Prepare();
        dialog_->show();
        host_->reports.clear();
        host_->before_change_calls = 0;
    }
    std::string PrefBytes() const { return ReadWholeFile(host_->data().pref()).value_or(""); }
    template <typename T = QLineEdit> T* Get(const QString& name) const {
        return dialog_->findChild<T*>(name);
    }
    QLineEdit* Edit(int number) const { return Get(QStringLiteral("Edit%1").arg(number)); }
    QAbstractButton* Button(const char* name) const { return Get<QAbstractButton>(name); }
    bool Underlined() const { return Get<QLabel>("LabelDayTitles")->font().underline(); }

private slots:
    void init() {
        dialog_.reset();
        log_.reset();
        dir_ = std::make_unique<QTemporaryDir>();
        host_ = std::make_unique<FakeCalendarHost>(NonAsciiDataFolder(dir_->path()));
        log_ = std::make_unique<DocumentLog>(*host_);
        host_->SetFlags("10100110131");
        WritePref(PrefFile());
    }
    void cleanup() {
        dialog_.reset();
        log_.reset();
        host_.reset();
    }

    // Creation takes only the calendar font into memory; opening shows the file and clears the
    // "saved" flag, and a save writes the same file back.
    void creationAndOpeningShowTheFile() {
        WritePref(PrefFile({ { 0, "11111101101" } }));
        host_->SetFlags("00100000000");
        Preferences expected = host_->document.prefs();
        expected.CalendarFont = "DejaVu Sans";
        dialog_ = MakeDialog();
        QCOMPARE(host_->note_font_family, QStringLiteral("DejaVu Sans"));
        QVERIFY(host_->document.prefs() == expected);
        dialog_->Prepare();
        dialog_->show();
        QCOMPARE(host_->document.prefs().OptionFlags, std::string("11011101101"));
        QVERIFY(Button("CheckBox6")->isChecked() && !Button("CheckBox5")->isChecked());
        QVERIFY(Underlined() && !Edit(20)->isVisible());
        dialog_->Button1Click();
        QCOMPARE(PrefBytes(), PrefFile({ { 0, "11111101101" } }));
    }

    // Faulty titles are named together and marked, and nothing is saved or applied.
    void faultyTitlesAreRefusedWithMarks() {
        WritePref(PrefFile({ { 1, "Sunday the first" } })); // a field never cuts it
        Open();
        const std::string before = PrefBytes();
        Edit(2)->clear();
        Edit(8)->setText(QStringLiteral("En"));
        dialog_->Button1Click();
        QCOMPARE(host_->notes.texts(),
            QStringList { QStringLiteral("Day Title missing.\n%1").arg(kDayTitleTooLong) });
        QVERIFY(IsMarkedError(Edit(1)) && IsMarkedError(Edit(2)) && !IsMarkedError(Edit(8)));
        Edit(1)->setText(QStringLiteral("Sun"));
        Edit(2)->setText(QStringLiteral("Mon"));
        dialog_->Button2Click();
        QCOMPARE(host_->notes.texts().last(), QStringLiteral("Month Title must be 3 characters."));
        QVERIFY(IsMarkedError(Edit(8)));
        QVERIFY(dialog_->isVisible() && host_->reports.empty() && PrefBytes() == before);
        // Every title and number field refuses text the file cannot hold.
        for (const QString& name : QStringList { "Edit1", "Edit7", "Edit8", "Edit19",
                 "CurrencyEdit1", "CurrencyEdit2", "CurrencyEdit3" }) {
            const QString failure = CheckInputFilter(Get(name), host_->notes, "7");
            QVERIFY2(failure.isEmpty(), qPrintable(name + ": " + failure));
        }
    }

    // "User Preferences" stores the typed note, writes the file, then applies it once.
    void userPreferencesWritesFirstThenApplies() {
        Open();
        Edit(1)->setText(QStringLiteral("Domingo"));
        Edit(19)->setText(QString::fromUtf8("D\u00e9c"));
        Button("CheckBox1")->setChecked(true);
        Button("RadioButton1")->setChecked(true);
        Get("CurrencyEdit3")->setText(QStringLiteral("5"));
        dialog_->Button1Click();
        QVERIFY(!dialog_->isVisible() && host_->notes.boxes.empty() && Underlined());
        const std::string expected = PrefFile(
            { { 0, "11100111131" }, { 1, "Domingo" }, { 19, "D\xe9\x63" }, { 23, "5" } });
        QCOMPARE(PrefBytes(), expected);
        QVERIFY(host_->before_change_calls > 0);
        QCOMPARE(host_->ReportsOf(OperationKind::kPreferences), 1);
        QCOMPARE(log_->file_at_apply, expected);
        QCOMPARE(host_->document.prefs().MonthTitles[11], std::string("D\xe9\x63"));
    }

    // An uninstalled font is kept and written back. A new calendar font re-wraps every note, so
    // the note being typed is stored before the font changes: when the file brings a new font
    // at opening, and when the user saves a new one.
    void newFontStoresTheTypedNoteFirst() {
        dialog_ = MakeDialog();
        WritePref(PrefFile({ { 24, "No Such Font Xyz" } }));
        log_->typed = "opened\a";
        dialog_->Prepare();
        dialog_->show();
        QCOMPARE(log_->font_when_typed_stored, QStringLiteral("DejaVu Sans"));
        QCOMPARE(host_->note_font_family, QStringLiteral("No Such Font Xyz"));
        auto* fonts = Get<QComboBox>("FontComboBox1");
        QCOMPARE(fonts->currentText(), QStringLiteral("No Such Font Xyz"));
        dialog_->Button1Click();
        QCOMPARE(PrefBytes(), PrefFile({ { 24, "No Such Font Xyz" } }));
        dialog_->Prepare();
        const int other = fonts->currentIndex() == 0 ? 1 : 0;
        fonts->setCurrentIndex(other);
        log_->typed = "saved\a";
        dialog_->Button1Click();
        QCOMPARE(log_->font_when_typed_stored, QStringLiteral("No Such Font Xyz"));
        QCOMPARE(host_->note_font_family, fonts->itemText(other));
        QVERIFY(host_->Day(40).ends_with("opened\asaved\a"));
    }

    void defaultPreferencesKeepTypedTitlesInTheFileAndWarnOfANewPath() {
        Preferences prefs = host_->document.prefs();
        prefs.DayTitles[0] = "SUN";
        host_->document.SetPreferences(prefs);
        Open();
        Edit(1)->setText(QStringLiteral("Domingo"));
        Edit(20)->setText(QStringLiteral("D:\\cal"));
        dialog_->Button2Click();
        QCOMPARE(
            PrefBytes(), PrefFile({ { 0, "00100110131" }, { 1, "Domingo" }, { 20, "D:\\cal" } }));
        QCOMPARE(host_->document.prefs().DayTitles[0], std::string("SUN"));
        QCOMPARE(host_->notes.texts(), QStringList { kRestartForPathMessage });
        QCOMPARE(host_->notes.boxes.at(0).kind, Notifier::Kind::kInformation);
    }

    // The place is read, shown and written the same under a numeric locale whose separator is
    // ",", and a number longer than the field can hold is kept whole.
    void placeIsShownAndWrittenBackInAnyLocale() {
        ScopedLocale numeric(LC_NUMERIC, kCommaLocale);
        QVERIFY2(numeric.active(), kCommaLocaleMissing);
        const std::string longer = "-" + std::string(40000, '7') + ".00";
        WritePref(PrefFile({ { 21, " 51,5 " }, { 22, longer.c_str() }, { 23, "5.5" } }));
        Open();
        QCOMPARE(Get("CurrencyEdit1")->text(), QStringLiteral("51.50"));
        QCOMPARE(Get("CurrencyEdit2")->text().toStdString(), longer);
        QCOMPARE(Get("CurrencyEdit3")->text(), QStringLiteral("6"));
        // Typed with either separator, a number is shown in the file's format once left.
        QLineEdit* longitude = Get("CurrencyEdit1");
        longitude->clear();
        QTest::keyClicks(longitude, QStringLiteral("-90,5x"));
        QTest::keyClick(longitude, Qt::Key_Return); // shows the file's format, never saves
        QCOMPARE(longitude->text(), QStringLiteral("-90.50"));
        dialog_->Button1Click();
        QCOMPARE(PrefBytes(), PrefFile({ { 21, "-90.50" }, { 22, longer.c_str() }, { 23, "6" } }));
    }

    void failedWriteChangesNothing() {
        Open();
        Edit(1)->setText(QStringLiteral("Domingo"));
        const Preferences before = host_->document.prefs();
        // The data folder goes away while the dialog is open: the file is gone, which is a
        // change, and saving over it anyway fails.
        const std::filesystem::path data = host_->data().dir;
        std::filesystem::rename(data, data.parent_path() / "moved");
        host_->notes.choices = { 0 };
        dialog_->Button1Click();
        QCOMPARE(host_->notes.boxes.front().kind, Notifier::Kind::kQuestion);
        QCOMPARE(host_->notes.boxes.back().kind, Notifier::Kind::kError);
        QVERIFY(NamesDataFile(host_->notes.boxes.back().text, "pref.ovd"));
        QVERIFY(dialog_->isVisible() && host_->reports.empty());
        QVERIFY(host_->document.prefs() == before);
    }
};

QTEST_MAIN(TPrefsTest)
#include "t_prefs_test.moc"
