// The print window: its stored print size, the page it draws, printing and the PDF fallback.
#include "core/day_store.h"
#include "core/ui/testing/fake_calendar_host.h"
#include "core/ui/testing/input_checks.h"
#include "printing/ui/page_painter.h"
#include "printing/ui/pallet.h"
#include "printing/ui/print_size_store.h"
#include "printing/ui/printer_port.h"

#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPrinter>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

using namespace orvane;

namespace {

// Prints into `printer_pdf`; when that is empty there is no printer and `answer` is the PDF file.
class FakePrinterPort final : public PrinterPort {
public:
    std::unique_ptr<QPrinter> DefaultPrinter() override {
        return printer_pdf.isEmpty() ? nullptr : MakePdfPrinter(printer_pdf);
    }
    QString AskPdfFileName(QWidget*) override {
        ++questions;
        return answer;
    }

    QString printer_pdf, answer;
    int questions = 0;
};

bool IsOneLandscapePage(const QString& path) {
    QFile file(path);
    const QString pdf = file.open(QIODevice::ReadOnly) ? QString::fromLatin1(file.readAll()) : "";
    const auto box
        = QRegularExpression(QStringLiteral("/MediaBox \\[0 0 ([0-9.]+) ([0-9.]+)\\]")).match(pdf);
    return pdf.count(QRegularExpression(QStringLiteral("/Type /Page\\b"))) == 1 && box.hasMatch()
        && box.captured(1).toDouble() > box.captured(2).toDouble();
}

// One letter a pixel: B black, W white, o anything else.
QString Pixels(const QImage& image, std::initializer_list<QPoint> points) {
    QString letters;
    for (const QPoint& point : points) {
        const QColor colour = image.pixelColor(point);
        letters += colour == Qt::black ? u'B' : colour == Qt::white ? u'W' : u'o';
    }
    return letters;
}

} // namespace

class PalletTest : public QObject {
    Q_OBJECT

private slots:
    // The backups' two numbers live with the print sizes: defaults when missing, a value out of
    // range or not a number ignored, and nothing written by reading them.
    void backupNumbersAreKeptWithThePrintSizes() {
        MemoryPrintSizeStore store;
        QCOMPARE(ReadBackupPolicy(store), (BackupPolicy { 20, 30 }));
        QVERIFY(store.values.isEmpty());
        store.values["BackupSaves"] = " 5 ";
        store.values["BackupDays"] = "0";
        QCOMPARE(ReadBackupPolicy(store), (BackupPolicy { 5, 0 }));
        store.values["BackupSaves"] = "0";
        store.values["BackupDays"] = "3,5";
        QCOMPARE(ReadBackupPolicy(store), (BackupPolicy { 20, 30 }));
    }

    void init() {
        QVERIFY(config_dir_.isValid()); // keeps the settings store off the user's own settings
        qputenv("XDG_CONFIG_HOME", config_dir_.path().toLocal8Bit());
        dir_ = std::make_unique<QTemporaryDir>();
        host_ = std::make_unique<FakeCalendarHost>(dir_->path().toStdString());
        store_ = MemoryPrintSizeStore();
        port_ = FakePrinterPort();
    }

    void printSizeIsReadAtCreationAndStoredOnCancel() {
        store_.values[QStringLiteral("ScaleY")] = QString::fromLatin1("1200\0junk", 9);
        {
            TPallet pallet(*host_, host_->notes, store_, port_);
            QCOMPARE(QSize(pallet.PrintWidth(), pallet.PrintHeight()), QSize(3735, 1200)); // to NUL
            pallet.OpenModeless();
            Find<QLineEdit>(pallet, "umNumberEdit2")->clear();
            QTest::keyClicks(Find(pallet, "umNumberEdit2"), QStringLiteral("-40a00"));
            Find<QLineEdit>(pallet, "umNumberEdit1")->setText(QStringLiteral("0"));
            QTest::mouseClick(Find(pallet, "BitBtn1"), Qt::LeftButton);
            QVERIFY(!pallet.isVisible() && host_->child_closed_calls == 1);
        }
        TPallet again(*host_, host_->notes, store_, port_);
        QCOMPARE(QSize(again.PrintWidth(), again.PrintHeight()), QSize(4000, 0)); // digits only
        QCOMPARE(host_->notes.beeps, 0); // "-" and "a" break the field's own rule, silently
        const QString failure
            = CheckInputFilter(Find<QLineEdit>(again, "umNumberEdit2"), host_->notes, "7");
        QVERIFY2(failure.isEmpty(), qPrintable(failure));
        store_.fail_writes = true;
        again.OpenModeless();
        again.BitBtn1Click();
        QCOMPARE(host_->notes.texts(), QStringList { "The print size could not be stored." });

        SettingsPrintSizeStore settings; // under the program's name; "abc" gives the default
        QVERIFY(settings.Write(QStringLiteral("ScaleX"), QStringLiteral("4100")));
        QVERIFY(settings.Write(QStringLiteral("ScaleY"), QStringLiteral("abc")));
        QVERIFY(QFile::exists(config_dir_.filePath(QStringLiteral("Marrowby/Orvane.conf"))));
        TPallet from_settings(*host_, host_->notes, settings, port_);
        QCOMPARE(QSize(from_settings.PrintWidth(), from_settings.PrintHeight()), QSize(4100, 2810));
    }

    void pageIsDrawnOnScreenAndStretchedForThePrinter() {
        const PageCells cells = ReadPageCells(*host_);
        QImage blank(1600, 1700, QImage::Format_RGB32);
        blank.fill(Qt::white);
        const auto print = [&](int width, int height) {
            QImage image = blank.copy();
            QPainter painter(&image);
            PaintPrintedPage(painter, LayOutCells(cells), cells, host_->day_titles, width, height);
            return image;
        };
        // (115, 80) lands at (2 * 112, 3 * 76), the bottom line at 3 * 553; none past the width.
        QCOMPARE(Pixels(print(2 * 786, 3 * 555),
                     { { 223, 228 }, { 224, 228 }, { 225, 228 }, { 800, 1659 }, { 800, 1661 },
                         { 800, 1662 }, { 1580, 100 } }),
            QStringLiteral("WBBBBWW"));
        QVERIFY(print(0, 2810) == blank); // a width of 0 prints nothing visible

        host_->day_titles = QStringList { "So", "Mo", "Di", "Mi", "Do", "Fr", "Sa" };
        host_->AddToDay(1, std::string(30, 'W') + kEntrySeparator); // runs past its column
        TPallet pallet(*host_, host_->notes, store_, port_);
        pallet.OpenModeless();
        QCOMPARE(Find<QLabel>(pallet, "Label7")->text(), QStringLiteral("Sa"));
        const QImage page = pallet.grab().toImage();
        for (const int x : { 3, 115, 227, 339, 451, 563, 675, 787 })
            QCOMPARE(Pixels(page, { { x, 80 }, { x, 556 } }), QStringLiteral("BB"));
        // Inside a cell; the bottom line of six 5-line rows; the header boxes of rows 0 and 1;
        // the left edge, which stops short of the top pixel row.
        QCOMPARE(Pixels(page,
                     { { 60, 80 }, { 400, 557 }, { 400, 558 }, { 60, 17 }, { 60, 34 }, { 60, 107 },
                         { 3, 1 }, { 3, 0 } }),
            QStringLiteral("WBWBBBBW"));
        QVERIFY2(page.copy(120, 36, 100, 13) != blank.copy(0, 0, 100, 13), "unclipped note line");

        auto* warning = Find<QLabel>(pallet, "Label10");
        QVERIFY(!warning->isVisible());
        // Row 1 grows to 30 lines: the page ends at y 547 and rows 2 to 5 no longer fit.
        std::string lines;
        for (int line = 0; line < 30; ++line)
            lines += std::string("Line") + kEntrySeparator;
        host_->AddToDay(9, lines);
        pallet.Prepare();
        QCOMPARE(warning->text(), QStringLiteral("4 weeks not printed: notes too long"));
        QWidget* strip = Find(pallet, "Panel1");
        QVERIFY(warning->isVisible()
            && strip->geometry().contains(warning->geometry().translated(strip->pos())));
        QCOMPARE(
            Pixels(pallet.grab().toImage(), { { 150, 547 }, { 150, 548 } }), QStringLiteral("BW"));
    }

    void printingReportsFailuresOrWritesOnePageThenClosesAfterTheWait() {
        TPallet pallet(
            *host_, host_->notes, store_, port_, &host_->main_widget); // owned as in the program
        pallet.OpenModeless();
        // A printer that cannot start; then no printer, the PDF question declined, and a PDF that
        // cannot be written. Each failure is reported and the window stays.
        port_.printer_pdf = dir_->filePath(QStringLiteral("missing-folder/printer.pdf"));
        QTest::ignoreMessage(QtWarningMsg, "QPainter::begin(): Returned false");
        pallet.BitBtn2Click();
        port_.printer_pdf.clear();
        pallet.BitBtn2Click();
        port_.answer = dir_->filePath(QStringLiteral("no/such/folder.pdf"));
        QTest::ignoreMessage(QtWarningMsg, "QPainter::begin(): Returned false");
        pallet.BitBtn2Click();
        const QStringList said = host_->notes.texts();
        QVERIFY(said.size() == 2 && said[1].contains(port_.answer));
        QCOMPARE(said[0], QStringLiteral("The printer could not be started. Nothing was printed."));
        QCOMPARE(port_.questions, 2);
        QVERIFY(!pallet.WaitingToClose() && pallet.isVisible() && pallet.isEnabled());
        QVERIFY(host_->main_widget.isEnabled() && Find(pallet, "Panel1")->isVisible());

        for (const bool has_printer : { true, false }) {
            port_.printer_pdf = has_printer ? dir_->filePath(QStringLiteral("printer.pdf")) : "";
            port_.answer = dir_->filePath(QStringLiteral("chosen.pdf")); // asked without a printer
            const QString pdf = has_printer ? port_.printer_pdf : port_.answer;
            pallet.OpenModeless();
            QVERIFY(Find(pallet, "Panel1")->isVisible()); // each showing brings the strip back
            QVERIFY(!Find(pallet, "PrintingLabel")->isVisible());
            QTest::mouseClick(Find(pallet, "BitBtn2"), Qt::LeftButton);
            QVERIFY(IsOneLandscapePage(pdf));
            QCOMPARE(port_.questions, has_printer ? 2 : 3);
            // Waiting: no input reaches either window, the strip is out of the way and the
            // window says why.
            QVERIFY(pallet.WaitingToClose() && !pallet.isEnabled());
            QVERIFY(!host_->main_widget.isEnabled() && !Find(pallet, "Panel1")->isVisible());
            QCOMPARE(Find<QLabel>(pallet, "PrintingLabel")->text(), QStringLiteral("Printing..."));
            pallet.CloseAfterPrinting();
            QVERIFY(!pallet.isVisible() && pallet.isEnabled() && host_->main_widget.isEnabled());
        }
        QCOMPARE(host_->notes.boxes.size(), std::size_t(2)); // nothing more was reported
        QCOMPARE(host_->child_closed_calls, 2);
        QCOMPARE(store_.values.value(QStringLiteral("ScaleX")), QStringLiteral("3735"));
    }

private:
    template <typename T = QWidget> static T* Find(TPallet& pallet, const char* name) {
        return pallet.findChild<T*>(QString::fromLatin1(name));
    }

    QTemporaryDir config_dir_;
    std::unique_ptr<QTemporaryDir> dir_;
    std::unique_ptr<FakeCalendarHost> host_;
    MemoryPrintSizeStore store_;
    FakePrinterPort port_;
};

QTEST_MAIN(PalletTest)
#include "pallet_test.moc"
