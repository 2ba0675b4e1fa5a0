// "Cycle Calendar": the confirmation of a cycle and the command that runs it. OK confirms only
// once today has reached the top week's Saturday.
//
//   TCycle cycle(document, host, services);
//   cycle.CycleCalendar1Click();   // backup, confirmation, cycle (one document operation)
#pragma once

#include "core/calendar_document.h"
#include "core/ui/calendar_host.h"
#include "core/ui/services.h"

#include <QDialog>
#include <functional>

class QPushButton;

namespace orvane {

class TCycle final : public QDialog {
    Q_OBJECT
public:
    // `run_modal` shows the dialog for the command; by default OpenModal().
    TCycle(CalendarDocument& document, CalendarHost& host, Services services,
        QWidget* parent = nullptr, std::function<void(TCycle&)> run_modal = nullptr);

    void Prepare();
    void OpenModal();
    bool Confirmed() const { return confirmed_; }

    void Button1Click(); // OK
    void Button2Click(); // Cancel

    // The Cal menu's "Cycle Calendar": the whole command, from the backup to the moved days.
    void CycleCalendar1Click();

    void done(int result) override;

private:
    CalendarDocument& document_;
    CalendarHost& host_;
    Services services_;
    std::function<void(TCycle&)> run_modal_;
    QPushButton* ok_button_ = nullptr; // Button1
    QPushButton* cancel_button_ = nullptr; // Button2
    bool confirmed_ = false;
};

} // namespace orvane
