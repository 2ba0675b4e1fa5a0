#include "cycling/ui/archive_windows.h"

#include "core/ui/dialog_style.h"
#include "core/ui/error_text.h"
#include "core/ui/input_filter.h"
#include "core/ui/notifier.h"
#include "core/ui/text_codec.h"
#include "cycling/archive_file.h"

#include <QEvent>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <algorithm>

namespace orvane {

namespace {

void FixedDialog(QDialog* dialog, const char* caption, int width, int height) {
    dialog->setWindowTitle(QString::fromLatin1(caption));
    dialog->setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint
        | Qt::MSWindowsFixedSizeDialogHint);
    dialog->setFont(ProgramFont(QStringLiteral("MS Sans Serif"), 11));
    dialog->setFixedSize(width, height);
}

QPushButton* Button(QWidget* parent, const char* name, const char* caption, QRect geometry) {
    auto* button = new QPushButton(QString::fromLatin1(caption), parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setAccessibleName(QString::fromLatin1(caption));
    button->setAutoDefault(false);
    button->setGeometry(geometry);
    return button;
}

} // namespace

TSaveArch::TSaveArch(std::function<bool()> save, QWidget* parent)
    : QDialog(parent)
    , save_(std::move(save)) {
    FixedDialog(this, "Save Archives", 240, 100);
    ApplyDialogBackground(this);
    auto* question = new QLabel(QStringLiteral("Save changes to Archive File?"), this);
    question->setObjectName(QStringLiteral("Label1"));
    question->setGeometry(20, 16, 200, 20);
    MakeNavy(question);
    auto* ok = Button(this, "Button1", "OK", QRect(30, 60, 75, 25));
    auto* cancel = Button(this, "Button2", "Cancel", QRect(135, 60, 75, 25));
    connect(ok, &QPushButton::clicked, this, &TSaveArch::Button1Click);
    connect(cancel, &QPushButton::clicked, this, &TSaveArch::Button2Click);
}

void TSaveArch::Button1Click() {
    if (save_ && save_())
        accept();
}

void TSaveArch::Button2Click() {
    KeepArchiveOpen = true;
    reject();
}

QString TArchHelp::HelpText() {
    return QStringLiteral("  The archive file consist of a copy of the records\n"
                          "that have been deleted from the calendar through\n"
                          "the 'Cal / Cycle Calendar' menu item.  Records in\n"
                          "this file may be deleted by highlighting the record(s)\n"
                          "in the Archive File window, pressing the Delete key,\n"
                          "and then saving the changes via the Save button.");
}

TArchHelp::TArchHelp(QWidget* parent)
    : QDialog(parent) {
    FixedDialog(this, "Archive Help", 360, 160);
    ApplyDialogBackground(this);
    auto* text = new QLabel(HelpText(), this);
    text->setObjectName(QStringLiteral("Label1"));
    text->setGeometry(12, 10, 340, 100);
    MakeNavy(text);
    auto* ok = Button(this, "Button1", "OK", QRect(142, 122, 75, 25));
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}

TArchive::TArchive(const DataFolder& data_folder, Services services, FileBackups& backups,
    QWidget* parent, ModalRunner run_modal)
    : QDialog(parent)
    , services_(services)
    , file_(data_folder.archive(), services.notifier, backups, QStringLiteral("this archive"))
    , run_modal_(std::move(run_modal)) {
    FixedDialog(this, "Archive File", 525, 497);
    ApplyDialogBackground(this);
    text_ = new FilteredPlainTextEdit(services_.notifier, this);
    text_->setObjectName(QStringLiteral("Memo1"));
    text_->setAccessibleName(QStringLiteral("Archive File"));
    text_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    text_->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    text_->setGeometry(0, 0, 525, 457);
    save_button_ = Button(this, "Button1", "Save", QRect(150, 464, 75, 25));
    cancel_button_ = Button(this, "Button2", "Cancel", QRect(300, 464, 75, 25));
    connect(save_button_, &QPushButton::clicked, this, &TArchive::Button1Click);
    connect(cancel_button_, &QPushButton::clicked, this, &TArchive::Button2Click);
    help_label_ = new QLabel(QStringLiteral("Help"), this);
    help_label_->setObjectName(QStringLiteral("Label1"));
    help_label_->setAccessibleName(QStringLiteral("Help"));
    help_label_->setAccessibleDescription(QStringLiteral("Explains the archive file"));
    help_label_->setAutoFillBackground(true);
    SetColours(help_label_, QPalette::Window, Qt::blue, Qt::yellow, DisabledText::kSame);
    help_label_->setCursor(Qt::PointingHandCursor);
    help_label_->setGeometry(480, 2, 28, 14);
    help_label_->raise();
    help_label_->installEventFilter(this);

    save_arch_ = new TSaveArch([this] { return SaveArchive(); }, this);
    help_ = new TArchHelp(this);
}

void TArchive::Reload() {
    text_->clear();
    const Result<std::string> read = file_.Read();
    load_failed_ = !read && !IsMissingFile(read.error());
    if (load_failed_) {
        // Saving now would replace a file the user could not see.
        services_.notifier.Error(ErrorText(read.error())
            + QStringLiteral("\nThe archive can not be saved until it can be read."));
    } else if (read) {
        text_->setPlainText(FromCp1252(ArchiveTextFromBytes(*read)));
    }
    save_button_->setEnabled(!load_failed_);
}

bool TArchive::CanSave() const {
    return !load_failed_;
}

void TArchive::Prepare() {
    Reload();
    text_->setFocus();
}

void TArchive::OpenModal() {
    Prepare();
    exec();
}

void TArchive::SelectInLine(int line, int offset, int length) {
    const QTextBlock block = text_->document()->findBlockByNumber(line);
    if (!block.isValid())
        return;
    const int end = block.length() - 1; // the block's text, without its break
    const int start = std::clamp(offset, 0, end);
    QTextCursor cursor(block);
    cursor.setPosition(block.position() + start);
    cursor.setPosition(block.position() + std::clamp(offset + std::max(length, 0), start, end),
        QTextCursor::KeepAnchor);
    text_->setTextCursor(cursor);
    text_->centerCursor();
}

void TArchive::OpenModalAt(int line, int offset, int length) {
    Prepare();
    SelectInLine(line, offset, length);
    exec();
}

void TArchive::RunModal(QDialog& dialog) {
    if (run_modal_)
        run_modal_(dialog);
    else
        dialog.exec();
}

bool TArchive::SaveArchive() {
    if (load_failed_)
        return false;
    const auto bytes = ToCp1252(PlainTextOf(*text_->document()));
    if (!bytes) {
        services_.notifier.Error(QStringLiteral(
            "The archive holds a character that can not be saved. Remove it and save again."));
        return false;
    }
    const std::string file_bytes = ArchiveBytesFromText(*bytes);
    switch (file_.BeforeWrite(file_bytes, ".txt")) {
    case EditedFile::Go::kWrite:
        // A failed write keeps the save question open, as it always did.
        return file_.Write(file_bytes);
    case EditedFile::Go::kTookTheirs:
        break; // the window loads their version when the question closes
    case EditedFile::Go::kCancel:
        keep_text_ = true;
        break;
    }
    save_arch_->reject();
    return false;
}

void TArchive::Button1Click() {
    if (load_failed_)
        return;
    save_arch_->Prepare();
    keep_text_ = false;
    RunModal(*save_arch_);
    if (save_arch_->result() == QDialog::Accepted) {
        accept();
        return;
    }
    save_arch_->KeepArchiveOpen = false;
    if (keep_text_)
        return;
    Reload(); // unsaved changes go, the window shows the file as last saved
}

void TArchive::Button2Click() {
    reject();
}

void TArchive::Label1Click() {
    RunModal(*help_);
    Reload();
}

bool TArchive::eventFilter(QObject* watched, QEvent* event) {
    if (watched == help_label_ && event->type() == QEvent::MouseButtonRelease) {
        Label1Click();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

TAbout::TAbout(const DataFolder& data_folder, QWidget* parent)
    : QDialog(parent) {
    FixedDialog(this, "About", 300, 214);
    auto* panel = new QFrame(this);
    panel->setObjectName(QStringLiteral("Panel1"));
    panel->setAutoFillBackground(true);
    SetColours(panel, QPalette::Window, kLabelNavy, Qt::white, DisabledText::kSame);
    panel->setGeometry(8, 8, 284, 118);
    auto* text = new QLabel(QStringLiteral("Orvane\n\nA desktop calendar and diary: five weeks "
                                           "of day notes, recurring entries, an archive of past "
                                           "weeks, sunrise, sunset and the moon's phase."),
        panel);
    text->setObjectName(QStringLiteral("Label1"));
    text->setWordWrap(true);
    text->setAlignment(Qt::AlignCenter);
    text->setGeometry(10, 8, 264, 102);
    // The data folder in use: the portable one, the user's, or the one named on the command
    // line. A read-only field, so that a long path can be scrolled and copied.
    auto* folder_label = new QLabel(QStringLiteral("Data folder:"), this);
    folder_label->setObjectName(QStringLiteral("Label2"));
    folder_label->setGeometry(8, 132, 284, 16);
    auto* folder = new QLineEdit(PathText(data_folder.dir), this);
    folder->setObjectName(QStringLiteral("Edit1"));
    folder->setReadOnly(true);
    folder->setAccessibleName(QStringLiteral("Data folder"));
    folder->setGeometry(8, 150, 284, 21);
    folder->setCursorPosition(0);
    auto* ok = Button(this, "Button1", "OK", QRect(112, 180, 75, 25));
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}

void TAbout::OpenModal() {
    Prepare();
    exec();
}

} // namespace orvane
