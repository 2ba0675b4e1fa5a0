#include "cycling/ui/t_cycle.h"

#include "core/clock.h"
#include "core/ui/desktop.h"
#include "core/ui/dialog_style.h"
#include "core/ui/error_text.h"
#include "core/ui/notifier.h"
#include "core/ui/text_codec.h"
#include "cycling/calendar_cycle.h"

#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>

namespace orvane {

TCycle::TCycle(CalendarDocument& document, CalendarHost& host, Services services, QWidget* parent,
    std::function<void(TCycle&)> run_modal)
    : QDialog(parent)
    , document_(document)
    , host_(host)
    , services_(services)
    , run_modal_(std::move(run_modal)) {
    setWindowTitle(QStringLiteral("Cycle Calendar"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint
        | Qt::MSWindowsFixedSizeDialogHint);
    ApplyDialogBackground(this);
    setFont(ProgramFont(QStringLiteral("MS Sans Serif"), 11));
    setFixedSize(260, 150);
    auto* label = new QLabel(
        QStringLiteral("OK deletes the top week of the calendar and moves the calendar up one "
                       "week. The dates and data of that week are kept in the archive file, but "
                       "can no longer be reached in the calendar."),
        this);
    label->setObjectName(QStringLiteral("Label1"));
    label->setWordWrap(true);
    label->setGeometry(12, 10, 236, 90);
    MakeNavy(label);
    ok_button_ = new QPushButton(QStringLiteral("OK"), this);
    ok_button_->setObjectName(QStringLiteral("Button1"));
    ok_button_->setAccessibleName(QStringLiteral("OK"));
    ok_button_->setGeometry(40, 112, 75, 25);
    cancel_button_ = new QPushButton(QStringLiteral("Cancel"), this);
    cancel_button_->setObjectName(QStringLiteral("Button2"));
    cancel_button_->setAccessibleName(QStringLiteral("Cancel"));
    cancel_button_->setGeometry(145, 112, 75, 25);
    connect(ok_button_, &QPushButton::clicked, this, &TCycle::Button1Click);
    connect(cancel_button_, &QPushButton::clicked, this, &TCycle::Button2Click);
}

void TCycle::Prepare() {
    confirmed_ = false;
    ok_button_->setFocus();
    // The dialog is placed now, where it will open, so that the pointer can go onto OK, where
    // the user will most likely click.
    const QWidget* over = parentWidget() ? parentWidget()->window() : nullptr;
    QRect area = over ? over->geometry() : QRect();
    if (area.isEmpty()) {
        if (const QScreen* screen = QGuiApplication::primaryScreen())
            area = screen->availableGeometry();
    }
    move(area.center() - rect().center());
    services_.desktop.MovePointer(geometry().topLeft() + ok_button_->geometry().center());
}

void TCycle::OpenModal() {
    Prepare();
    exec();
}

void TCycle::Button1Click() {
    if (MayCycle(document_.store(), services_.clock.Today())) {
        confirmed_ = true;
        accept();
        return;
    }
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        services_.desktop.MovePointer(screen->geometry().center() + QPoint(10, 30));
    services_.notifier.Warning(QString::fromLatin1(
        kCycleTooEarlyMessage.data(), static_cast<qsizetype>(kCycleTooEarlyMessage.size())));
    reject();
}

void TCycle::Button2Click() {
    reject();
}

void TCycle::done(int result) {
    QDialog::done(result);
    host_.FocusFirstNote();
}

void TCycle::CycleCalendar1Click() {
    // The note being typed belongs to the day it was typed for, before anything moves.
    document_.FlushPendingEdits();
    Result<FileChange> backup = BackupDayFile(document_.data());
    if (!backup) {
        services_.notifier.Error(ErrorText(backup.error()));
        return;
    }
    if (run_modal_)
        run_modal_(*this);
    else
        OpenModal();
    if (!confirmed_)
        return;
    CycleOutcome outcome;
    document_.Run(OperationKind::kCycle, "Cycle Calendar", [&](DocumentEdit& edit) {
        outcome = CycleCalendar(edit);
        // Undoing the cycle puts the backup back as it was too.
        if (outcome.moved)
            edit.Include(std::move(*backup));
    });
    for (const std::string& message : outcome.messages)
        services_.notifier.Information(FromCp1252(message));
    if (!outcome.error)
        services_.notifier.Error(ErrorText(outcome.error.error()));
}

} // namespace orvane
