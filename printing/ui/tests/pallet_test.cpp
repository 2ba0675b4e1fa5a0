// The print window: its stored print size, the page it draws, and printing to a PDF file in place
// of a printer.
#include "core/day_store.h"
#include "core/ui/testing/fake_calendar_host.h"
#include "printing/page_layout.h"
#include "printing/ui/page_painter.h"
#include "printing/ui/pallet.h"
#include "printing/ui/print_size_store.h"
#include "printing/ui/printer_port.h"

#include <QFile>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPrinter>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

using namespace orvane;

namespace {

// Prints into a PDF file when `printer_pdf` is set; otherwise the system has no printer and the
// question where to save a PDF is answered with `answer`.
class FakePrinterPort final : public PrinterPort {
public:
    std::unique_ptr<QPrinter> DefaultPrinter() override {
        return printer_pdf.isEmpty() ? nullptr : MakePdfPrinter(printer_pdf);
    }
    QString AskPdfFileName(QWidget*) override {
        ++questions;
        return answer;
    }

    QString printer_pdf;
    QString answer;
    int questions = 0;
};

struct PdfPages {
    int count = 0;
    double width = 0;
    double height = 0;
};

PdfPages ReadPdfPages(const QString& path) {
    QFile file(path);
    PdfPages pages;
    if (!file.open(QIODevice::ReadOnly))
        return pages;
    const QString text = QString::fromLatin1(file.readAll());
    pages.count = int(text.count(QRegularExpression(QStringLiteral("/Type\\s*/Page[^s]"))));
    const QRegularExpressionMatch box = QRegularExpression(
        QStringLiteral("/MediaBox\\s*\\[\\s*0\\s+0\\s+([0-9.]+)\\s+([0-9.]+)\\s*\\]"))
                                            .match(text);
    if (box.hasMatch()) {
        pages.width = box.captured(1).toDouble();
        pages.height = box.captured(2).toDouble();
    }
    return pages;
}

bool IsBlack(const QImage& image, int x, int y) {
    return image.pixelColor(x, y) == QColor(Qt::black);
}

bool IsWhite(const QImage& image, int x, int y) {
    return image.pixelColor(x, y) == QColor(Qt::white);
}

// Gives a slot's day these entries, after its date key.
void SetNotes(FakeCalendarHost& host, int slot, const QStringList& entries) {
    std::string day = host.state.store[slot].substr(0, 11);
    for (const QString& entry : entries)
        day += entry.toStdString() + kEntrySeparator;
    host.state.store[slot] = day;
}

QStringList ManyLines(int count) {
    QStringList lines;
    for (int i = 0; i < count; ++i)
        lines << QStringLiteral("Line %1").arg(i + 1);
    return lines;
}

} // namespace

class PalletTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        // The settings store must never reach the user's own settings.
        QVERIFY(config_dir_.isValid());
        qputenv("XDG_CONFIG_HOME", config_dir_.path().toLocal8Bit());
    }

    void init() {
        dir_ = std::make_unique<QTemporaryDir>();
        host_ = std::make_unique<FakeCalendarHost>(dir_->path().toStdString());
        store_ = MemoryPrintSizeStore();
        port_ = FakePrinterPort();
    }

    void storedPrintSizeDefaultsAndFallsBack() {
        {
            TPallet pallet(*host_, store_, port_);
            QCOMPARE(Field(pallet, "umNumberEdit2")->text(), QStringLiteral("3735"));
            QCOMPARE(Field(pallet, "umNumberEdit1")->text(), QStringLiteral("2810"));
        }
        // A damaged width falls back to its default; a height is read up to its NUL.
        store_.values[QStringLiteral("ScaleX")] = QStringLiteral("12ab");
        store_.values[QStringLiteral("ScaleY")] = QString::fromLatin1("1200\0", 5);
        TPallet pallet(*host_, store_, port_);
        QCOMPARE(pallet.PrintWidth(), 3735);
        QCOMPARE(pallet.PrintHeight(), 1200);
    }

    void settingsStoreKeepsBothValuesUnderTheProgramsName() {
        {
            SettingsPrintSizeStore settings;
            QCOMPARE(settings.Read(QStringLiteral("ScaleX")), std::optional<QString>());
            QVERIFY(settings.Write(QStringLiteral("ScaleX"), QStringLiteral("4100")));
            QVERIFY(settings.Write(QStringLiteral("ScaleY"), QStringLiteral("abc")));
        }
        QVERIFY(QFile::exists(config_dir_.filePath(QStringLiteral("Marrowby/Orvane.conf"))));
        SettingsPrintSizeStore settings;
        TPallet pallet(*host_, settings, port_);
        QCOMPARE(pallet.PrintWidth(), 4100);
        QCOMPARE(pallet.PrintHeight(), 2810);
    }

    void cancelStoresTheFieldsAndHandsBackToTheMainWindow() {
        {
            TPallet pallet(*host_, store_, port_);
            pallet.OpenModeless();
            QVERIFY(pallet.isVisible());
            QCOMPARE(pallet.pos(), QPoint(0, 0));
            QLineEdit* width = Field(pallet, "umNumberEdit2");
            width->clear();
            QTest::keyClicks(width, QStringLiteral("-40a00")); // only digits get in
            QCOMPARE(width->text(), QStringLiteral("4000"));
            Field(pallet, "umNumberEdit1")->setText(QStringLiteral("0"));
            QTest::mouseClick(Button(pallet, "BitBtn1"), Qt::LeftButton);
            QVERIFY(!pallet.isVisible());
            QCOMPARE(host_->child_closed_calls, 1);
        }
        QCOMPARE(store_.values.value(QStringLiteral("ScaleX")), QStringLiteral("4000"));
        QCOMPARE(store_.values.value(QStringLiteral("ScaleY")), QStringLiteral("0"));
        TPallet again(*host_, store_, port_);
        QCOMPARE(again.PrintWidth(), 4000);
        QCOMPARE(again.PrintHeight(), 0);
        QVERIFY(host_->notes.boxes.empty());
    }

    void aSizeThatCannotBeStoredIsReported() {
        store_.fail_writes = true;
        TPallet pallet(*host_, store_, port_);
        pallet.OpenModeless();
        pallet.BitBtn1Click();
        QCOMPARE(host_->notes.texts(), QStringList { "The print size could not be stored." });
    }

    void prepareCopiesTheTitlesAndShowsTheStrip() {
        host_->day_titles = QStringList { "So", "Mo", "Di", "Mi", "Do", "Fr", "Sa" };
        TPallet pallet(*host_, store_, port_);
        pallet.Prepare();
        pallet.show();
        for (int column = 1; column <= 7; ++column)
            QCOMPARE(pallet.findChild<QLabel*>(QStringLiteral("Label%1").arg(column))->text(),
                host_->day_titles[column - 1]);
        QWidget* strip = pallet.findChild<QWidget*>(QStringLiteral("Panel1"));
        QVERIFY(strip->isVisible());
        QCOMPARE(strip->geometry(), QRect(207, 559, 378, 23));
        QVERIFY(!pallet.findChild<QLabel*>(QStringLiteral("Label10"))->isVisible());
        for (const char* name : { "BitBtn1", "BitBtn2", "umNumberEdit1", "umNumberEdit2" })
            QVERIFY(
                !pallet.findChild<QWidget*>(QString::fromLatin1(name))->accessibleName().isEmpty());
    }

    void pageHasTheGridLinesHeadersAndUnclippedNotes() {
        // Cell 1 holds a line far wider than its column; cell 2 is empty, so nothing covers it.
        SetNotes(*host_, 1, { QStringLiteral("WWWWWWWWWWWWWWWWWWWWWWWWWWWWWW") });
        TPallet pallet(*host_, store_, port_);
        pallet.Prepare();
        pallet.show();
        const QImage page = pallet.grab().toImage();

        for (const int x : { 3, 115, 227, 339, 451, 563, 675, 787 }) {
            QVERIFY2(IsBlack(page, x, 80), qPrintable(QString::number(x)));
            QVERIFY2(IsBlack(page, x, 556), qPrintable(QString::number(x)));
        }
        QVERIFY(IsWhite(page, 60, 80));
        // All notes short: six rows of 5 lines, the bottom line at 557.
        QVERIFY(IsBlack(page, 400, 557));
        QVERIFY(IsWhite(page, 400, 558));
        QVERIFY(IsWhite(page, 3, 558));
        // The first header box, framed, and the next row's box 90 pixels lower.
        QVERIFY(IsBlack(page, 60, 17));
        QVERIFY(IsBlack(page, 60, 34));
        QVERIFY(IsBlack(page, 60, 17 + 90));
        QVERIFY(IsWhite(page, 112, 25));
        // The left edge runs up from the header to the top, but not onto the top pixel row.
        QVERIFY(IsBlack(page, 3, 1));
        QVERIFY(IsWhite(page, 3, 0));

        bool ran_on = false;
        for (int x = 120; x < 220 && !ran_on; ++x)
            for (int y = 36; y < 49 && !ran_on; ++y)
                ran_on = !IsWhite(page, x, y) && x != 115;
        QVERIFY2(ran_on, "a long note line must run on into the next column");
    }

    void weeksLeftOffThePageAreNamedOnTheStrip() {
        SetNotes(*host_, 9, ManyLines(30)); // row 1: 30 lines; rows 2 to 5 no longer fit
        TPallet pallet(*host_, store_, port_);
        pallet.OpenModeless();
        auto* warning = pallet.findChild<QLabel*>(QStringLiteral("Label10"));
        QVERIFY(warning->isVisible());
        QCOMPARE(warning->text(), QStringLiteral("4 weeks not printed: notes too long"));
        QWidget* strip = pallet.findChild<QWidget*>(QStringLiteral("Panel1"));
        QVERIFY(strip->geometry().contains(warning->geometry().translated(strip->pos())));
        const QImage page = pallet.grab().toImage();
        const int bottom = 14 * 35 + 20 * 2 + 17;
        QVERIFY(IsBlack(page, 150, bottom));
        QVERIFY(IsWhite(page, 150, bottom + 1));

        // Shortening the note and coming back to the window clears the warning.
        SetNotes(*host_, 9, ManyLines(2));
        pallet.Prepare();
        QVERIFY(!warning->isVisible());
    }

    void printedPageIsStretchedEachWayOnItsOwn() {
        const PageCells cells = ReadPageCells(*host_);
        const PageLayout layout = LayOutCells(cells);
        QImage image(1600, 1700, QImage::Format_RGB32);
        image.fill(Qt::white);
        {
            QPainter painter(&image);
            PaintPrintedPage(painter, layout, cells, host_->day_titles, 2 * 786, 3 * 555);
        }
        // Page x = 115 lands at 2 * (115 - 3); page y = 557 at 3 * (557 - 4).
        QVERIFY(IsBlack(image, 224, 3 * (80 - 4)));
        QVERIFY(IsBlack(image, 225, 3 * (80 - 4)));
        QVERIFY(IsWhite(image, 223, 3 * (80 - 4)));
        QVERIFY(IsBlack(image, 800, 3 * 553));
        QVERIFY(IsBlack(image, 800, 3 * 553 + 2));
        QVERIFY(IsWhite(image, 800, 3 * 553 + 3));
        QVERIFY(IsWhite(image, 1580, 100)); // beyond the stretched width

        QImage blank(200, 200, QImage::Format_RGB32);
        blank.fill(Qt::white);
        {
            QPainter painter(&blank);
            PaintPrintedPage(painter, layout, cells, host_->day_titles, 0, 2810);
        }
        QVERIFY(blank.allGray());
        QCOMPARE(blank.pixelColor(0, 0), QColor(Qt::white));
        QCOMPARE(blank.pixelColor(199, 199), QColor(Qt::white));
    }

    void printWritesOneLandscapePageThenClosesAfterTheWait() {
        port_.printer_pdf = dir_->filePath(QStringLiteral("printer.pdf"));
        // Owned by the main window, as in the program.
        TPallet pallet(*host_, store_, port_, &host_->main_widget);
        pallet.OpenModeless();
        QTest::mouseClick(Button(pallet, "BitBtn2"), Qt::LeftButton);

        QVERIFY(host_->notes.boxes.empty());
        const PdfPages pages = ReadPdfPages(port_.printer_pdf);
        QCOMPARE(pages.count, 1);
        QVERIFY2(pages.width > pages.height, "the page must be landscape");
        QCOMPARE(port_.questions, 0);

        // Waiting: no input reaches either window and the strip is out of the way.
        QVERIFY(pallet.WaitingToClose());
        QVERIFY(!pallet.isEnabled());
        QVERIFY(!host_->main_widget.isEnabled());
        QVERIFY(!pallet.findChild<QWidget*>(QStringLiteral("Panel1"))->isVisible());
        QVERIFY(pallet.isVisible());

        pallet.CloseAfterPrinting();
        QVERIFY(!pallet.isVisible());
        QVERIFY(pallet.isEnabled());
        QVERIFY(host_->main_widget.isEnabled());
        QCOMPARE(host_->child_closed_calls, 1);
        QCOMPARE(store_.values.value(QStringLiteral("ScaleX")), QStringLiteral("3735"));

        // The next showing brings the strip back.
        pallet.OpenModeless();
        QVERIFY(pallet.findChild<QWidget*>(QStringLiteral("Panel1"))->isVisible());
    }

    void aPrinterThatCannotStartIsReportedAndTheWindowStays() {
        port_.printer_pdf = dir_->filePath(QStringLiteral("missing-folder/printer.pdf"));
        TPallet pallet(*host_, store_, port_);
        pallet.OpenModeless();
        QTest::ignoreMessage(QtWarningMsg, "QPainter::begin(): Returned false");
        pallet.BitBtn2Click();
        QCOMPARE(host_->notes.texts(),
            QStringList { "The printer could not be started. Nothing was printed." });
        QVERIFY(!pallet.WaitingToClose());
        QVERIFY(pallet.isVisible());
        QVERIFY(pallet.isEnabled());
        QVERIFY(host_->main_widget.isEnabled());
        QVERIFY(pallet.findChild<QWidget*>(QStringLiteral("Panel1"))->isVisible());
        QCOMPARE(host_->child_closed_calls, 0);
    }

    void withoutAPrinterThePageCanBeSavedAsPdf() {
        TPallet pallet(*host_, store_, port_);
        pallet.OpenModeless();

        // Declining the question prints nothing and keeps the window open.
        pallet.BitBtn2Click();
        QCOMPARE(port_.questions, 1);
        QVERIFY(!pallet.WaitingToClose());
        QVERIFY(pallet.isVisible());

        port_.answer = dir_->filePath(QStringLiteral("calendar.pdf"));
        pallet.BitBtn2Click();
        QCOMPARE(port_.questions, 2);
        QVERIFY(host_->notes.boxes.empty());
        const PdfPages pages = ReadPdfPages(port_.answer);
        QCOMPARE(pages.count, 1);
        QVERIFY(pages.width > pages.height);
        QVERIFY(pallet.WaitingToClose());

        // A PDF that cannot be written is reported by its name.
        pallet.CloseAfterPrinting();
        pallet.OpenModeless();
        port_.answer = dir_->filePath(QStringLiteral("no/such/folder.pdf"));
        QTest::ignoreMessage(QtWarningMsg, "QPainter::begin(): Returned false");
        pallet.BitBtn2Click();
        QCOMPARE(host_->notes.boxes.size(), std::size_t(1));
        QVERIFY(host_->notes.boxes[0].text.contains(port_.answer));
        QVERIFY(pallet.isVisible());
    }

private:
    static QLineEdit* Field(TPallet& pallet, const char* name) {
        return pallet.findChild<QLineEdit*>(QString::fromLatin1(name));
    }
    static QPushButton* Button(TPallet& pallet, const char* name) {
        return pallet.findChild<QPushButton*>(QString::fromLatin1(name));
    }

    QTemporaryDir config_dir_;
    std::unique_ptr<QTemporaryDir> dir_;
    std::unique_ptr<FakeCalendarHost> host_;
    MemoryPrintSizeStore store_;
    FakePrinterPort port_;
};

QTEST_MAIN(PalletTest)
#include "pallet_test.moc"
