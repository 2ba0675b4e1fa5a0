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
#include <functional>
#include <utility>

using namespace orvane;

namespace {

// Logs what the document tells the grid: "BeforeChange" when it asks for the note being typed,
// "Preferences" when the preferences in memory changed, with what the file and the flags held
// then. A note typed but not yet stored (`typed`) reaches slot 40 at the first BeforeChange, as
// the grid would store it, noting the calendar font the notes had at that moment.
class DocumentLog final : public DocumentListener {
public:
    explicit DocumentLog(FakeCalendarHost& host)
        : host_(host) {
        host_.document.AddListener(this);
    }
    ~DocumentLog() override { host_.document.RemoveListener(this); }

    QStringList calls;
    std::string file_at_apply, flags_at_apply;
    std::string typed;
    QString font_when_typed_stored;

private:
    void BeforeChange(CalendarDocument& document) override {
        calls << "BeforeChange";
        if (!typed.empty()) {
            font_when_typed_stored = host_.note_font_family;
            document.StoreNote(40, document.store()[40] + std::exchange(typed, std::string()));
        }
    }
    void Changed(const CalendarDocument& document, const ChangeReport& report) override {
        if (report.kind != OperationKind::kPreferences)
            return;
        calls << "Preferences";
        file_at_apply = ReadWholeFile(document.data().pref()).value_or("");
        flags_at_apply = document.prefs().OptionFlags;
    }

    FakeCalendarHost& host_;
};

// Sets the preferences in memory as another window would.
void ChangePrefs(FakeCalendarHost& host, const std::function<void(Preferences&)>& change) {
    Preferences prefs = host.document.prefs();
    change(prefs);
    host.document.SetPreferences(prefs);
}

// pref.ovd bytes: a standard file with `changes` (0-based line, text), cut to `count` lines.
std::string PrefFile(
    std::vector<std::pair<std::size_t, const char*>> changes = {}, std::size_t count = 25) {
    std::vector<std::string> lines { "10100110131", "Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat",
        "Ene", "Feb", "Mar", "Abr", "May", "Jun", "Jul", "Ago", "Sep", "Oct", "Nov", "Dic",
        "csystem", "-05.00", "40.50", "-6", "DejaVu Sans" };
    for (const auto& [index, text] : changes)
        lines[index] = text;
    lines.resize(count);
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
        return std::make_unique<TPrefs>(host_->document, *host_, host_->services());
    }
    void Open() {
        dialog_ = MakeDialog();
        dialog_->Prepare();
        dialog_->show();
        log_->calls.clear();
        host_->reports.clear();
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

    void creationSetsCheckBoxesAndOpeningShowsTheFile() {
        WritePref(PrefFile({ { 0, "11111101101" } }));
        host_->SetFlags("00100000000");
        Preferences expected = host_->document.prefs();
        expected.CalendarFont = "DejaVu Sans";
        dialog_ = MakeDialog();
        QCOMPARE(host_->note_font_family, QStringLiteral("DejaVu Sans"));
        QVERIFY(dialog_->DataBoldFontChecked() && Button("CheckBox1")->isChecked());
        // Creation takes only the calendar font into memory; once memory holds it, creation
        // changes nothing at all.
        QVERIFY(host_->document.prefs() == expected);
        log_->calls.clear();
        dialog_ = MakeDialog();
        QVERIFY(host_->document.prefs() == expected && log_->calls.isEmpty());
        dialog_->Prepare();
        dialog_->show();
        QCOMPARE(
            host_->document.prefs().OptionFlags, std::string("11011101101")); // ClearSavedOnOpen
        for (const char* on :
            { "CheckBox1", "CheckBox3", "CheckBox4", "CheckBox6", "RadioButton1", "CheckBox7" })
            QVERIFY2(Button(on)->isChecked(), on);
        for (const char* off : { "CheckBox5", "RadioButton2", "RadioButton7" })
            QVERIFY2(!Button(off)->isChecked(), off);
        QVERIFY(Underlined() && !Edit(20)->isVisible());
        dialog_->Button1Click();
        QCOMPARE(PrefBytes(), PrefFile({ { 0, "11111101101" } }));
    }

    void titlesAreRefusedWithMarksAndDaysBeforeMonths() {
        WritePref(PrefFile({ { 1, "Sunday the first" }, { 3, "Tu\tes" } }));
        Open();
        const std::string before = PrefBytes();
        QCOMPARE(Edit(1)->text(), QStringLiteral("Sunday the first")); // shown whole, never cut
        QCOMPARE(Edit(3)->text(), QStringLiteral("Tu\tes"));
        dialog_->Button1Click();
        QCOMPARE(host_->notes.texts(),
            QStringList { QStringLiteral("%1\n%2").arg(kDayTitleTooLong, kDayTitleUnwritable) });
        QVERIFY(IsMarkedError(Edit(1)) && IsMarkedError(Edit(3)));
        Edit(1)->setText(QStringLiteral("Sun"));
        Edit(3)->setText(QStringLiteral("Tue"));
        Edit(2)->clear();
        Edit(6)->clear();
        Edit(8)->setText(QStringLiteral("En"));
        host_->notes.clear();
        dialog_->Button1Click();
        QCOMPARE(host_->notes.texts(), QStringList { "Day Title missing." });
        QVERIFY(IsMarkedError(Edit(2)) && IsMarkedError(Edit(6)) && !IsMarkedError(Edit(8)));
        Edit(2)->setText(QStringLiteral("Mon"));
        Edit(6)->setText(QStringLiteral("Fri"));
        dialog_->Button2Click();
        QCOMPARE(host_->notes.texts().last(), QStringLiteral("Month Title must be 3 characters."));
        QVERIFY(IsMarkedError(Edit(8)));
        QVERIFY(dialog_->isVisible() && log_->calls.isEmpty() && PrefBytes() == before);
    }

    // Every title and number field refuses text outside Windows-1252 however it arrives. A title
    // read from a hand-edited file keeps the characters it came with but takes no more.
    void fieldsRefuseUnstorableTextAndTitlesKeepWhatTheFileHeld() {
        WritePref(PrefFile({ { 2, "Mo\tn" } }));
        Open();
        QCOMPARE(Edit(2)->text(), QStringLiteral("Mo\tn"));
        Edit(2)->end(false);
        SendText(Edit(2), QStringLiteral("\t"), InputRoute::kPaste);
        SendText(Edit(2), QStringLiteral("."), InputRoute::kKey);
        QCOMPARE(Edit(2)->text(), QStringLiteral("Mo\tn."));
        QCOMPARE(host_->notes.beeps, 1);
        for (int number = 1; number <= 19; ++number) {
            const QString failure = CheckInputFilter(Edit(number), host_->notes, "é");
            QVERIFY2(failure.isEmpty(), qPrintable(failure));
        }
        for (const char* name : { "CurrencyEdit1", "CurrencyEdit2", "CurrencyEdit3" }) {
            const QString failure = CheckInputFilter(Get(name), host_->notes, "7");
            QVERIFY2(failure.isEmpty(), qPrintable(failure));
        }
    }

    void userPreferencesWritesFirstThenApplies() {
        Open();
        Edit(1)->setText(QStringLiteral("Domingo"));
        Edit(19)->setText(QString::fromUtf8("D\u00e9c"));
        Button("CheckBox1")->setChecked(true);
        Button("RadioButton1")->setChecked(true);
        QLineEdit* longitude = Get("CurrencyEdit1");
        longitude->clear();
        QTest::keyClicks(longitude, QStringLiteral("-90,5x"));
        QTest::keyClick(longitude, Qt::Key_Return); // shows the file's format, never saves
        QCOMPARE(longitude->text(), QStringLiteral("-90.50"));
        Get("CurrencyEdit3")->setText(QStringLiteral("5"));
        dialog_->Button1Click();
        QVERIFY(!dialog_->isVisible() && host_->notes.boxes.empty() && Underlined());
        const std::string expected = PrefFile({ { 0, "11100111131" }, { 1, "Domingo" },
            { 19, "D\xe9\x63" }, { 21, "-90.50" }, { 23, "5" } });
        QCOMPARE(PrefBytes(), expected);
        // The typed note is stored before the preferences change, and they change once; the
        // grid then gets what the file holds.
        QVERIFY2(log_->calls.value(0) == "BeforeChange" && log_->calls.count("Preferences") == 1
                && log_->calls.last() == "Preferences",
            qPrintable(log_->calls.join(' ')));
        QCOMPARE(host_->ReportsOf(OperationKind::kPreferences), 1);
        QCOMPARE(log_->file_at_apply, expected);
        QCOMPARE(host_->document.prefs().DayTitles[0], std::string("Domingo"));
        QCOMPARE(host_->document.prefs().MonthTitles[11], std::string("D\xe9\x63"));
    }

    // A new calendar font re-wraps every note, so the note being typed is stored as it was typed
    // before the font changes: when the file brings a new font at opening, and when the user
    // saves a new one.
    void newFontStoresTheTypedNoteFirst() {
        dialog_ = MakeDialog();
        WritePref(PrefFile({ { 24, "No Such Font Xyz" } }));
        log_->typed = "opened\a";
        int calls = host_->before_change_calls;
        dialog_->Prepare();
        dialog_->show();
        QVERIFY(host_->before_change_calls > calls);
        QCOMPARE(log_->font_when_typed_stored, QStringLiteral("DejaVu Sans"));
        QCOMPARE(host_->note_font_family, QStringLiteral("No Such Font Xyz"));

        auto* fonts = Get<QComboBox>("FontComboBox1");
        const int other = fonts->currentIndex() == 0 ? 1 : 0;
        QVERIFY(fonts->count() > 1);
        fonts->setCurrentIndex(other);
        log_->typed = "saved\a";
        host_->reports.clear();
        calls = host_->before_change_calls;
        dialog_->Button1Click();
        QVERIFY(!dialog_->isVisible());
        QVERIFY(host_->before_change_calls > calls);
        QCOMPARE(log_->font_when_typed_stored, QStringLiteral("No Such Font Xyz"));
        QCOMPARE(host_->note_font_family, fonts->itemText(other));
        QVERIFY(host_->Day(40).ends_with("opened\asaved\a"));
        // The note's own operation comes first, then the new preferences.
        QVERIFY(host_->reports.size() == 2 && host_->reports[0].kind == OperationKind::kStoreNote
            && host_->reports[1].kind == OperationKind::kPreferences);
    }

    void defaultPreferencesKeepTypedTitlesInTheFileAndWarnOfANewPath() {
        ChangePrefs(*host_, [](Preferences& prefs) { prefs.DayTitles[0] = "SUN"; });
        Open();
        Edit(1)->setText(QStringLiteral("Domingo"));
        Edit(20)->setText(QStringLiteral("D:\\cal"));
        dialog_->Button2Click();
        QCOMPARE(
            PrefBytes(), PrefFile({ { 0, "00100110131" }, { 1, "Domingo" }, { 20, "D:\\cal" } }));
        QCOMPARE(log_->flags_at_apply, std::string("00100110131"));
        QCOMPARE(host_->document.prefs().DayTitles[0], std::string("SUN"));
        QCOMPARE(host_->notes.texts(), QStringList { kRestartForPathMessage });
        QCOMPARE(host_->notes.boxes.at(0).kind, Notifier::Kind::kInformation);
    }

    void fileWithoutLocationLinesShowsAndWritesZero() {
        WritePref(PrefFile({}, 21));
        Open();
        QCOMPARE(Get("CurrencyEdit1")->text(), QStringLiteral("00.00"));
        QCOMPARE(Get("CurrencyEdit3")->text(), QStringLiteral("0"));
        dialog_->Button1Click();
        QCOMPARE(
            PrefBytes(), PrefFile({ { 21, "00.00" }, { 22, "00.00" }, { 23, "0" }, { 24, "" } }));
    }

    // The C library's numeric locale follows the user's settings in the running program; the
    // place is read, shown and written the same under a locale whose separator is ",".
    void placeIsShownAndWrittenBackInAnyLocale_data() {
        QTest::addColumn<QByteArray>("locale");
        QTest::addColumn<QList<QByteArray>>("read");
        QTest::addColumn<QList<QByteArray>>("written");
        const QByteArray big = "2" + QByteArray(306, '0') + ".00";
        for (const QByteArray& locale : { QByteArray("C"), QByteArray(kCommaLocale) }) {
            QTest::addRow("program's lines, %s", locale.constData())
                << locale << QList<QByteArray> { "-00.13", "51.50", "0" }
                << QList<QByteArray> { "-00.13", "51.50", "0" };
            QTest::addRow("hand-edited, %s", locale.constData())
                << locale << QList<QByteArray> { "+5", " 51,5 ", "5.5" }
                << QList<QByteArray> { "05.00", "51.50", "6" };
            QTest::addRow("large, %s", locale.constData())
                << locale << QList<QByteArray> { big, "44444444444433.875", "-12" }
                << QList<QByteArray> { big, "44444444444433.88", "-12" };
        }
        const QByteArray longer = "-" + QByteArray(40000, '7') + ".00"; // beyond a field's limit
        QTest::addRow("longer than a field")
            << QByteArray("C") << QList<QByteArray> { "1", longer, "1" }
            << QList<QByteArray> { "01.00", longer, "1" };
    }
    void placeIsShownAndWrittenBackInAnyLocale() {
        QFETCH(QByteArray, locale);
        QFETCH(QList<QByteArray>, read);
        QFETCH(QList<QByteArray>, written);
        ScopedLocale numeric(LC_NUMERIC, locale.constData());
        QVERIFY2(numeric.active(), kCommaLocaleMissing);
        WritePref(PrefFile({ { 21, read[0].constData() }, { 22, read[1].constData() },
            { 23, read[2].constData() } }));
        const std::string expected = PrefFile({ { 21, written[0].constData() },
            { 22, written[1].constData() }, { 23, written[2].constData() } });
        for (int save = 0; save < 2; ++save) {
            Open();
            QCOMPARE(QList<QByteArray>({ Get("CurrencyEdit1")->text().toLatin1(),
                         Get("CurrencyEdit2")->text().toLatin1(),
                         Get("CurrencyEdit3")->text().toLatin1() }),
                written);
            dialog_->Button1Click();
            QCOMPARE(PrefBytes(), expected);
        }
        // Typed with either separator, a number is shown in the file's format once left.
        Open();
        QLineEdit* latitude = Get("CurrencyEdit2");
        latitude->clear();
        QTest::keyClicks(latitude, QStringLiteral("-33,8"));
        QTest::keyClick(latitude, Qt::Key_Return);
        QCOMPARE(latitude->text(), QStringLiteral("-33.80"));
    }

    void failedWriteChangesNothing() {
        Open();
        Edit(1)->setText(QStringLiteral("Domingo"));
        const Preferences before = host_->document.prefs();
        // The data folder goes away while the dialog is open.
        const std::filesystem::path data = host_->data().dir;
        std::filesystem::rename(data, data.parent_path() / "moved");
        // The file is gone, which is a change: saving over it anyway fails.
        host_->notes.choices = { 0 };
        dialog_->Button1Click();
        QCOMPARE(host_->notes.boxes.front().kind, Notifier::Kind::kQuestion);
        QCOMPARE(host_->notes.boxes.back().kind, Notifier::Kind::kError);
        QVERIFY(NamesDataFile(host_->notes.boxes.back().text, "pref.ovd"));
        QVERIFY(dialog_->isVisible() && log_->calls.isEmpty());
        QVERIFY(host_->document.prefs() == before);
    }

    void pumpkinActsAtOnceAndCancelKeepsTheFile() {
        Open();
        QTest::mouseClick(Button("RadioButton7"), Qt::LeftButton);
        QCOMPARE(host_->document.prefs().flag(Flag::CellColor), '5');
        // The typed note is stored before the grid takes the colour.
        QCOMPARE(log_->calls, (QStringList { "BeforeChange", "Preferences" }));
        QCOMPARE(host_->ReportsOf(OperationKind::kPreferences), 1);
        dialog_->Button3Click();
        QCOMPARE(PrefBytes(), PrefFile());
        // Cancel puts back the colour in use when the dialog opened, at once.
        QCOMPARE(host_->document.prefs().flag(Flag::CellColor), '3');
        QCOMPARE(host_->ReportsOf(OperationKind::kPreferences), 2);
        Open();
        QTest::mouseClick(Button("RadioButton3"), Qt::LeftButton); // white
        QTest::keyClick(dialog_.get(), Qt::Key_Escape); // Escape cancels too
        QCOMPARE(host_->document.prefs().flag(Flag::CellColor), '3');
    }

    void uninstalledFontIsKeptAndWrittenBack() {
        WritePref(PrefFile({ { 24, "No Such Font Xyz" } }));
        Open();
        auto* fonts = Get<QComboBox>("FontComboBox1");
        QCOMPARE(fonts->currentText(), QStringLiteral("No Such Font Xyz"));
        QCOMPARE(host_->note_font_family, QStringLiteral("No Such Font Xyz"));
        dialog_->Button1Click();
        QCOMPARE(PrefBytes(), PrefFile({ { 24, "No Such Font Xyz" } }));
    }
};

QTEST_MAIN(TPrefsTest)
#include "t_prefs_test.moc"
