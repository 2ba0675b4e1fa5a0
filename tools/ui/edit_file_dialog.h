// The frame the notes and error-log windows share: a fixed dialog without a close box around a
// box that edits one file, left only through Button1 ("Save"). When the file exists but cannot be
// read, the showing says so and Button1 only closes, so the file is never saved over. A save
// backs the file up first, and asks first when another program changed it since the showing
// read it.
#pragma once

#include "core/data_folder.h"
#include "core/result.h"
#include "core/ui/edited_file.h"

#include <QDialog>
#include <optional>
#include <string>

class QPushButton;

namespace orvane {

class FileBackups;
class Notifier;

class EditFileDialog : public QDialog {
    Q_OBJECT

public:
    // Prepare() for one showing, then runs the dialog centred on the screen.
    void OpenModal();
    virtual void Prepare() = 0;

    // Saves and closes; a failed save is reported and the window stays open.
    void Button1Click();

    bool SaveOffered() const { return save_offered_; }

public slots:
    // Leaving without "Save" (Escape, the window's close): changes not saved yet are saved,
    // discarded or kept open as the user answers; without changes the window just closes.
    void reject() override;

protected:
    // `file` is the data file the window edits; `mine` names its text in the question asked when
    // it changed outside ("these notes"); `backups` take the file each save replaces.
    EditFileDialog(Notifier& notifier, FileBackups& backups, std::filesystem::path file,
        QString mine, QWidget* parent);

    // Runs the dialog centred on the screen, as it was prepared.
    void RunCentred();

    // Creates Button1 at `geometry`; called after the box so the tab order runs box, button.
    void AddButton1(const QRect& geometry);

    // Records whether this showing may save: not when the file could not be read (`unreadable`
    // holds why). Then it reports the error and that `file_role` ("notes file") is left alone,
    // and makes Button1 a "Close" button.
    void OfferSave(const Error* unreadable, const QString& file_role);

    // Writes the box's text to the file; reports any failure itself. False also when the user
    // took the version another program wrote: the window then shows that one.
    bool SaveFile();
    // The bytes the box's text is saved as; nothing (after telling the user) when it cannot be.
    virtual std::optional<std::string> BytesToSave() = 0;
    // The extension of the dated file that keeps the box's text when the user takes the other
    // version: ".rtf".
    virtual std::string_view AsideExtension() const = 0;
    // True when the box holds changes not saved yet.
    virtual bool Modified() const = 0;
    // "Save the changes to the notes?"
    virtual QString SaveQuestion() const = 0;

    Notifier& notifier_;
    EditedFile file_;
    QPushButton* Button1 = nullptr;

private:
    bool save_offered_ = true;
};

} // namespace orvane
