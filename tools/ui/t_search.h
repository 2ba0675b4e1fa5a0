// The search window: finds the days whose note holds a text, lists their dates in slot order
// and moves the main window's grid to the month of a listed date. It stays on top without
// blocking the main window, so the user can keep clicking results while the grid follows.
#pragma once

#include "core/calendar_document.h"
#include "core/ui/calendar_host.h"
#include "core/ui/services.h"
#include "tools/search.h"

#include <QString>
#include <QWidget>
#include <vector>

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace orvane {

class TSearch : public QWidget {
    Q_OBJECT

public:
    TSearch(CalendarDocument& document, CalendarHost& host, Services services,
        QWidget* parent = nullptr);

    // Re-initialises the window for one showing: rebuilds the month menu and the copy of the
    // day texts, and focuses the search field on the first showing of the run.
    void Prepare();
    void OpenModeless();

    void BitBtn1Click(); // "Find"
    void Edit1KeyUp(int key);
    void Edit1Change();
    void ListBox1MouseDown(Qt::MouseButton button);
    void BitBtn3Click(); // "Close"

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void RefreshCopy();
    // Removes characters before the caret, as Backspace would, until the text fits the field's
    // width limit.
    void WidthCheck();
    void JumpToMonthOf(const QString& date_key);

    CalendarDocument& document_;
    CalendarHost& host_;
    Services services_;
    DaySearch search_;
    bool first_activation_ = true;

    QPushButton* find_button_ = nullptr; // BitBtn1
    QLineEdit* search_edit_ = nullptr; // Edit1
    QLabel* status_label_ = nullptr; // Label1
    QListWidget* result_list_ = nullptr; // ListBox1
    QPushButton* close_button_ = nullptr; // BitBtn3
};

} // namespace orvane
