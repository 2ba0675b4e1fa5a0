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

TCycle::TCycle(CalendarHost& host, QWidget* parent, std::function<void(TCycle&)> run_modal)
    : QDialog(parent)
    , host_(host)
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
    Button1 = new QPushButton(QStringLiteral("OK"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setAccessibleName(QStringLiteral("OK"));
    Button1->setGeometry(40, 112, 75, 25);
    Button2 = new QPushButton(QStringLiteral("Cancel"), this);
    Button2->setObjectName(QStringLiteral("Button2"));
    Button2->setAccessibleName(QStringLiteral("Cancel"));
    Button2->setGeometry(145, 112, 75, 25);
    connect(Button1, &QPushButton::clicked, this, &TCycle::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TCycle::Button2Click);
}

void TCycle::Prepare() {
    confirmed_ = false;
    Button1->setFocus();
    // The dialog is placed now, where it will open, so that the pointer can go onto OK, where
    // the user will most likely click.
    const QWidget* over = parentWidget() ? parentWidget()->window() : nullptr;
    QRect area = over ? over->geometry() : QRect();
    if (area.isEmpty()) {
        if (const QScreen* screen = QGuiApplication::primaryScreen())
            area = screen->availableGeometry();
    }
    move(area.center() - rect().center());
    host_.desktop().MovePointer(geometry().topLeft() + Button1->geometry().center());
}

void TCycle::OpenModal() {
    Prepare();
    exec();
}

void TCycle::Button1Click() {
    if (MayCycle(host_.State().store, host_.clock().Today())) {
        confirmed_ = true;
        accept();
        return;
    }
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        host_.desktop().MovePointer(screen->geometry().center() + QPoint(10, 30));
    host_.notifier().Warning(QString::fromLatin1(
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
    CalendarState& state = host_.State();
    // The note being typed belongs to the day it was typed for, before anything moves.
    host_.ResetMemos();
    if (Status backup = BackupDayFile(state.data); !backup) {
        host_.notifier().Error(ErrorText(backup.error()));
        return;
    }
    if (run_modal_)
        run_modal_(*this);
    else
        OpenModal();
    if (!confirmed_) {
        host_.FillOutCalendar();
        return;
    }
    CycleOutcome outcome = CycleCalendar(state);
    if (outcome.moved)
        host_.MarkGridStale();
    for (const std::string& message : outcome.messages)
        host_.notifier().Information(FromCp1252(message));
    if (!outcome.error)
        host_.notifier().Error(ErrorText(outcome.error.error()));
    host_.FillOutCalendar();
}

} // namespace orvane
