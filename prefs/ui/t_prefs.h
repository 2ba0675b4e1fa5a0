// TPrefs, "User Preferences": edits everything pref.ovd holds, writes the file whole and applies
// the new settings to the main window once the file is safely written.
//
//   TPrefs prefs(host);        // reads pref.ovd and gives the day notes the calendar font
//   prefs.OpenModal();         // one showing; the opener then calls host.ChildWindowClosed()
#pragma once

#include "core/calendar_document.h"
#include "core/ui/calendar_host.h"
#include "core/ui/edited_file.h"
#include "core/ui/services.h"
#include "prefs/pref_file.h"

#include <QDialog>
#include <array>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace orvane {

// The note at the foot of the dialog.
inline constexpr const char* kRestartNote
    = "Some options take effect only after the program is restarted.";
inline constexpr const char* kRestartForPathMessage
    = "Restart program for new \"Data Files Path\" to take effect.";

class TPrefs final : public QDialog {
    Q_OBJECT
public:
    // `backups` take the file each save replaces.
    TPrefs(CalendarDocument& document, CalendarHost& host, Services services, FileBackups& backups,
        QWidget* parent = nullptr);

    // Re-reads pref.ovd into the controls and the in-memory flags for one showing.
    void Prepare();
    // Prepare(), then the modal loop.
    void OpenModal();

    // The titles are checked before any save: wrong edits turn yellow and the reason is shown.
    bool ValidateTitles();

    void Button1Click(); // "User Preferences"
    void Button2Click(); // "Default Preferences"
    void Button3Click(); // "Cancel"
    // Cancel and Escape: nothing is written, and a colour tried out goes back.
    void reject() override;
    void ColorButtonClick(int digit); // a colour button, digit in [1, 5]

    // The state of "Data: Bold Font", set from pref.ovd from creation on.
    bool DataBoldFontChecked() const;
    QString LoadedDataFilesPath() const { return loaded_data_files_path_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildControls();
    QLineEdit* AddTitleEdit(const QString& name, const QString& caption, int limit);
    // Reads pref.ovd; false (after telling the user) when it cannot be read.
    bool ReadPrefFile(PrefLines& lines);
    void LoadControls(const PrefValues& values);
    void SelectColor(char digit);
    void SelectFont(const QString& family);
    void StyleDayTitleHeading(bool underline);
    PrefChoices Choices() const;
    void Save(bool custom_titles);
    // New preferences in memory, which the main window and the grid then show.
    void ApplyToMainWindow(const Preferences& prefs);

    CalendarDocument& document_;
    CalendarHost& host_;
    Services services_;
    EditedFile file_; // pref.ovd as the last showing read it
    QString loaded_data_files_path_;
    Preferences prefs_in_use_; // as the last showing began

    QLabel* day_titles_heading_ = nullptr;
    std::array<QLineEdit*, 7> day_edits_ {};
    std::array<QLineEdit*, 12> month_edits_ {};
    std::array<QRadioButton*, 5> color_buttons_ {};

    QLineEdit* data_files_path_edit_ = nullptr;
    QCheckBox* underline_check_ = nullptr;
    QCheckBox* sun_check_ = nullptr;
    QCheckBox* military_time_check_ = nullptr;
    QCheckBox* moon_check_ = nullptr;
    QCheckBox* bold_check_ = nullptr;
    QCheckBox* dst_check_ = nullptr;
    QRadioButton* northern_radio_ = nullptr;
    QRadioButton* southern_radio_ = nullptr;
    QLineEdit* longitude_edit_ = nullptr;
    QLineEdit* latitude_edit_ = nullptr;
    QLineEdit* gmt_offset_edit_ = nullptr;
    QComboBox* font_list_ = nullptr;
    QPushButton* user_button_ = nullptr;
    QPushButton* default_button_ = nullptr;
    QPushButton* cancel_button_ = nullptr;
};

} // namespace orvane
