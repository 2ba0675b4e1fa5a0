// TPallet, the print window: the grid drawn again as a black-on-white page at the top-left of the
// screen, with a command strip to print it on one landscape page of the default printer (or into
// a PDF file when the system has no printer) at a width and height kept between runs.
#pragma once

#include "printing/ui/page_painter.h"

#include <QTimer>
#include <QWidget>
#include <array>
#include <chrono>

class QLabel;
class QLineEdit;
class QPushButton;

namespace orvane {

class CalendarHost;
class Notifier;
class PrintSizeStore;
class PrinterPort;

class TPallet : public QWidget {
    Q_OBJECT

public:
    // Reads the stored print size into the two number fields.
    TPallet(CalendarHost& host, Notifier& notifier, PrintSizeStore& store, PrinterPort& printer,
        QWidget* parent = nullptr);

    // Sets the window up for one showing: the main window's week-day titles, the command strip.
    void Prepare();
    // "File" menu "Print...": shows the window at the top-left without blocking the main window.
    void OpenModeless();

    // "Print": draws the page on the printer, then closes the window after kCloseDelay.
    void BitBtn2Click();
    // "Cancel".
    void BitBtn1Click();
    // The end of the wait after printing: gives input back to both windows and closes.
    void CloseAfterPrinting();

    // The print size in printer pixels, from the "DPI width:" and "DPI heigth:" fields (an empty
    // field counts as 0).
    int PrintWidth() const;
    int PrintHeight() const;
    // True from a successful print until the window closes.
    bool WaitingToClose() const { return close_timer_.isActive(); }

    static constexpr std::chrono::milliseconds kCloseDelay { 5000 };

protected:
    void paintEvent(QPaintEvent* event) override; // FormPaint
    void closeEvent(QCloseEvent* event) override; // FormClose
    bool event(QEvent* event) override;

private:
    void FormCreate();
    // Re-reads the grid and says on the command strip how many weeks do not fit.
    void RefreshPage();
    void ShowWeeksLeftOff(int weeks);
    void EndWait();

    CalendarHost& host_;
    Notifier& notifier_;
    PrintSizeStore& store_;
    PrinterPort& printer_;
    std::array<QLabel*, kPageColumns> titles_ {}; // Label1-Label7
    QWidget* command_strip_ = nullptr;
    QPushButton* print_button_ = nullptr; // "Print"
    QPushButton* cancel_button_ = nullptr; // "Cancel"
    QLabel* width_label_ = nullptr;
    QLabel* height_label_ = nullptr;
    QLabel* weeks_left_off_label_ = nullptr; // weeks left off the page
    QLabel* printing_label_ = nullptr; // "Printing..." while the window waits to close
    QLineEdit* print_width_edit_ = nullptr; // print width
    QLineEdit* print_height_edit_ = nullptr; // print height
    QTimer close_timer_;
    int weeks_left_off_ = 0;
};

} // namespace orvane
