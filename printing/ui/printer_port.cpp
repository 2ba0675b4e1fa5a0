#include "printing/ui/printer_port.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMarginsF>
#include <QPageLayout>
#include <QPrinter>
#include <QPrinterInfo>

namespace orvane {

std::unique_ptr<QPrinter> SystemPrinterPort::DefaultPrinter() {
    QPrinterInfo info = QPrinterInfo::defaultPrinter();
    if (info.isNull()) {
        // Some systems name printers but no default: the first one stands in for it.
        const QList<QPrinterInfo> printers = QPrinterInfo::availablePrinters();
        if (printers.isEmpty())
            return nullptr;
        info = printers.first();
    }
    return std::make_unique<QPrinter>(info, QPrinter::HighResolution);
}

QString SystemPrinterPort::AskPdfFileName(QWidget* parent) {
    QString name = QFileDialog::getSaveFileName(parent,
        QStringLiteral("No printer found: save the page as PDF"),
        QDir::home().filePath(QStringLiteral("Orvane calendar.pdf")),
        QStringLiteral("PDF files (*.pdf)"));
    if (!name.isEmpty() && QFileInfo(name).suffix().isEmpty())
        name += QStringLiteral(".pdf");
    return name;
}

std::unique_ptr<QPrinter> MakePdfPrinter(const QString& file_name) {
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    printer->setOutputFormat(QPrinter::PdfFormat);
    printer->setOutputFileName(file_name);
    printer->setResolution(360);
    printer->setPageMargins(QMarginsF(6.35, 6.35, 6.35, 6.35), QPageLayout::Millimeter);
    return printer;
}

} // namespace orvane
