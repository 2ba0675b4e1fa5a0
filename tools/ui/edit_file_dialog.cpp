#include "tools/ui/edit_file_dialog.h"

#include "core/result.h"
#include "core/ui/dialog_style.h"
#include "core/ui/error_text.h"
#include "core/ui/notifier.h"

#include <QGuiApplication>
#include <QPushButton>
#include <QScreen>

namespace orvane {

namespace {

const QString kSave = QStringLiteral("Save");
const QString kClose = QStringLiteral("Close");

} // namespace

EditFileDialog::EditFileDialog(Notifier& notifier, FileBackups& backups, std::filesystem::path file,
    QString mine, QWidget* parent)
    : QDialog(parent,
        Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint
            | Qt::MSWindowsFixedSizeDialogHint)
    , notifier_(notifier)
    , file_(std::move(file), notifier, backups, std::move(mine)) {
    setFont(ProgramFont(QStringLiteral("MS Sans Serif"), 11));
    ApplyDialogBackground(this);
}

void EditFileDialog::AddButton1(const QRect& geometry) {
    Button1 = new QPushButton(kSave, this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setGeometry(geometry);
    Button1->setAccessibleName(kSave);
    Button1->setAutoDefault(false);
    connect(Button1, &QPushButton::clicked, this, [this] { Button1Click(); });
}

void EditFileDialog::OfferSave(const Error* unreadable, const QString& file_role) {
    const bool offered = unreadable == nullptr;
    save_offered_ = offered;
    if (!offered) {
        notifier_.Error(ErrorText(*unreadable)
            + QStringLiteral("\nThe %1 is left as it is and cannot be saved now.").arg(file_role));
    }
    Button1->setText(offered ? kSave : kClose);
    Button1->setAccessibleName(Button1->text());
}

void EditFileDialog::OpenModal() {
    Prepare();
    RunCentred();
}

void EditFileDialog::RunCentred() {
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    exec();
}

void EditFileDialog::Button1Click() {
    if (!save_offered_ || SaveFile())
        accept();
}

bool EditFileDialog::SaveFile() {
    const std::optional<std::string> bytes = BytesToSave();
    if (!bytes)
        return false;
    switch (file_.Save(*bytes, AsideExtension())) {
    case EditedFile::Saved::kSaved:
        return true;
    case EditedFile::Saved::kTookTheirs:
        Prepare();
        return false;
    case EditedFile::Saved::kNotSaved:
        break;
    }
    return false;
}

void EditFileDialog::reject() {
    if (save_offered_ && Modified()) {
        switch (notifier_.AskToSave(SaveQuestion())) {
        case Notifier::SaveChoice::kSave:
            Button1Click();
            return;
        case Notifier::SaveChoice::kCancel:
            return;
        case Notifier::SaveChoice::kDiscard:
            break;
        }
    }
    QDialog::reject();
}

} // namespace orvane
