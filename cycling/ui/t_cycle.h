// "Cycle Calendar": the confirmation of a cycle and the command that runs it. OK confirms only
// once today has reached the top week's Saturday.
//
//   TCycle cycle(host);
//   cycle.CycleCalendar1Click();   // backup, confirmation, cycle, refill
#pragma once

#include "core/ui/calendar_host.h"

#include <QDialog>
#include <functional>

class QPushButton;

namespace orvane {

class TCycle final : public QDialog {
    Q_OBJECT
public:
    // `run_modal` shows the dialog for the command; by default OpenModal().
    explicit TCycle(CalendarHost& host, QWidget* parent = nullptr,
        std::function<void(TCycle&)> run_modal = nullptr);

    void Prepare();
    void OpenModal();
    bool Confirmed() const { return confirmed_; }

    void Button1Click(); // OK
    void Button2Click(); // Cancel

    // The Cal menu's "Cycle Calendar": the whole command, from the backup to the refill.
    void CycleCalendar1Click();

    void done(int result) override;

private:
    CalendarHost& host_;
    std::function<void(TCycle&)> run_modal_;
    QPushButton* Button1 = nullptr;
    QPushButton* Button2 = nullptr;
    bool confirmed_ = false;
};

} // namespace orvane
