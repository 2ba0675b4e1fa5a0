// The print window's way to the printer: the system's default printer and, when there is none,
// the question where to save the page as a PDF file instead. Tests replace both so that nothing
// reaches a real printer and no file dialog ever blocks.
#pragma once

#include <QString>
#include <memory>

class QPrinter;
class QWidget;

namespace orvane {

class PrinterPort {
public:
    virtual ~PrinterPort() = default;
    // The system's default printer, or nullptr when the system has no printer.
    virtual std::unique_ptr<QPrinter> DefaultPrinter() = 0;
    // Asks for the PDF file to save the page in; empty when the user declines.
    virtual QString AskPdfFileName(QWidget* parent) = 0;
};

// The platform's printers and a save-file dialog.
class SystemPrinterPort final : public PrinterPort {
public:
    std::unique_ptr<QPrinter> DefaultPrinter() override;
    QString AskPdfFileName(QWidget* parent) override;
};

// A printer that writes a PDF file at 360 dots per inch, so the default print size (3735 x 2810)
// fills most of a landscape Letter or A4 page, as it does on the printers the values were made
// for.
std::unique_ptr<QPrinter> MakePdfPrinter(const QString& file_name);

} // namespace orvane
