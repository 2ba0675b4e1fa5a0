#include "recurring/ui/t_del_entry.h"

#include "core/ui/dialog_style.h"
#include "core/ui/error_text.h"
#include "core/ui/notifier.h"
#include "recurring/delete_entry.h"
#include "recurring/ui/date_picker.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

namespace orvane {

namespace {

EntryDialogOptions DeleteOptions() {
    EntryDialogOptions options;
    options.caption = "Delete Entry";
    options.operation = "Delete Entry";
    options.to_starts_enabled = true;
    options.automatic_update_controls_to = false;
    options.check_box_caption = "Also Discontinue Automatic Update";
    options.deleting = true;
    return options;
}

} // namespace

TDelEntry::TDelEntry(
    CalendarDocument& document, CalendarHost& host, Services services, QWidget* parent)
    : EntryDialog(document, host, services, DeleteOptions(), parent) {
    // Wide enough for "Also Discontinue Automatic Update" in the fonts installed here.
    SetControlsSize(232, 163);
    from_group_->setGeometry(8, 4, 98, 46);
    from_picker_->setGeometry(6, 18, 86, 21);
    to_group_->setGeometry(111, 4, 98, 46);
    to_picker_->setGeometry(6, 18, 86, 21);
    entry_group_->setGeometry(8, 54, 124, 46);
    entry_edit_->setGeometry(6, 18, 112, 21);
    messages_->setGeometry(136, 58, 76, 42);
    update_check_->setGeometry(8, 104, 222, 18);
    ok_button_->setGeometry(24, 130, 75, 25);
    cancel_button_->setGeometry(118, 130, 75, 25);
}

void TDelEntry::ReadRecords() {
    Result<std::string> read = RecordsForDelete(document_.data());
    if (read) {
        records_ = std::move(*read);
        records_error_.reset();
    } else {
        records_.clear();
        Error error = std::move(read).error();
        records_error_ = ErrorText(error.Also("No day was changed."));
    }
}

void TDelEntry::PrepareOwn() {
    ReadRecords();
}

void TDelEntry::OnAutomaticUpdate(bool checked) {
    if (checked)
        ReadRecords();
}

PlanPreview TDelEntry::MakePreview(const Date& from, const Date& to, const std::string& text) {
    const bool discontinue = update_check_->isChecked();
    if (discontinue && records_error_)
        return RefusedPreview({ "fdat.ovd cannot be read: OK changes nothing" });
    const std::optional<DeletePlan> plan
        = PlanDeleteBetween(document_.store(), from, to, text, discontinue, records_);
    if (!plan)
        return RefusedPreview({ OutsideCalendarProblem(from) });
    return PreviewDeletePlan(document_.store(), *plan);
}

QStringList TDelEntry::PreviewNotes() const {
    if (update_check_->isChecked() && records_error_)
        return { *records_error_ };
    return {};
}

bool TDelEntry::RunOk(const Date& from, const Date& to, const std::string& text) {
    if (!FindSlot(document_.store(), from)) {
        MarkError(from_picker_, true);
        return false;
    }
    const bool discontinue = update_check_->isChecked();
    if (discontinue) {
        // An unreadable fdat.ovd refuses the delete before any day changes.
        ReadRecords();
        if (records_error_) {
            services_.notifier.Error(*records_error_);
            return false;
        }
    }
    DeleteOutcome outcome;
    document_.Run(OperationKind::kDeleteEntries,
        std::string(options_.operation) + " '" + text + "'", [&](DocumentEdit& edit) {
            const std::optional<DeletePlan> plan
                = PlanDeleteBetween(edit.store(), from, to, text, discontinue, records_);
            if (plan)
                outcome = DeleteEntry(edit, *plan);
        });
    if (!outcome.error)
        services_.notifier.Error(ErrorText(outcome.error.error()));
    return outcome.error.has_value();
}

} // namespace orvane
