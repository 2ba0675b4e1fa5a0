// The archive window and its two small dialogs, and the about box. The archive window shows
// archive.ovd for the user to read and prune; "Save" asks first, "Help" explains the file.
#pragma once

#include "core/data_folder.h"
#include "core/ui/edited_file.h"
#include "core/ui/services.h"

#include <QDialog>
#include <functional>

class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace orvane {

class FileBackups;

// Shows a child dialog modally; tests replace it with one that drives the dialog directly.
using ModalRunner = std::function<void(QDialog&)>;

// "Save Archives": OK runs the save it was given and closes only when that succeeded.
class TSaveArch final : public QDialog {
    Q_OBJECT
public:
    explicit TSaveArch(std::function<bool()> save, QWidget* parent = nullptr);

    // Set by Cancel, read and cleared by the archive window.
    bool KeepArchiveOpen = false;

    void Prepare() { KeepArchiveOpen = false; }
    void Button1Click(); // OK
    void Button2Click(); // Cancel

private:
    std::function<bool()> save_;
};

// "Archive Help": six fixed lines and OK.
class TArchHelp final : public QDialog {
    Q_OBJECT
public:
    explicit TArchHelp(QWidget* parent = nullptr);
    static QString HelpText();
};

// "Archive File".
class TArchive final : public QDialog {
    Q_OBJECT
public:
    // `backups` take the file each save replaces.
    TArchive(const DataFolder& data_folder, Services services, FileBackups& backups,
        QWidget* parent = nullptr, ModalRunner run_modal = nullptr);

    void Prepare(); // loads archive.ovd
    void OpenModal();
    // Selects the characters [offset, offset + length) of line `line` (0-based, the file's lines
    // as the window shows them), as much of them as the line holds, and scrolls them to the middle.
    void SelectInLine(int line, int offset, int length);
    // Prepare(), the selection, then the window runs modally.
    void OpenModalAt(int line, int offset, int length);
    bool CanSave() const;

    void Button1Click(); // Save
    void Button2Click(); // Cancel
    void Label1Click(); // Help
    // Writes the text over archive.ovd; reports a failure. When another program changed the
    // file since the window read it, asks first; taking their version or cancelling closes the
    // save question without saving (the window then shows their version, or keeps its text).
    bool SaveArchive();

    TSaveArch& SaveQuestion() { return *save_arch_; }
    TArchHelp& Help() { return *help_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void RunModal(QDialog& dialog);
    void Reload();

    Services services_;
    EditedFile file_;
    bool keep_text_ = false; // the save was cancelled at the question about the other version
    ModalRunner run_modal_;
    QPlainTextEdit* text_ = nullptr; // Memo1
    QPushButton* save_button_ = nullptr; // Button1
    QPushButton* cancel_button_ = nullptr; // Button2
    QLabel* help_label_ = nullptr; // Label1
    TSaveArch* save_arch_ = nullptr;
    TArchHelp* help_ = nullptr;
    bool load_failed_ = false;
};

// "About".
class TAbout final : public QDialog {
    Q_OBJECT
public:
    explicit TAbout(const DataFolder& data_folder, QWidget* parent = nullptr);
    void Prepare() { }
    void OpenModal();
};

} // namespace orvane
