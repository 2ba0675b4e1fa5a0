#include "prefs/ui/t_prefs.h"

#include "core/ui/dialog_style.h"
#include "core/ui/error_text.h"
#include "core/ui/input_filter.h"
#include "core/ui/notifier.h"
#include "core/ui/text_codec.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFontDatabase>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QScreen>
#include <algorithm>

namespace orvane {

namespace {

constexpr std::array<const char*, 7> kDayCaptions
    = { "Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat" };
constexpr std::array<const char*, 12> kMonthCaptions
    = { "Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec" };
constexpr std::array<const char*, 5> kColorCaptions
    = { "White", "Cream", "Lt Yellow", "Beige", "Pumpkin" };

// The length a number field allows by default (QLineEdit's own).
constexpr int kNumberFieldMaxLength = 32767;

// Marks a font list item that only holds the name read from the file (no such font installed).
constexpr int kStoredOnlyRole = Qt::UserRole + 1;

// The edit's limit follows its text: a title longer than the limit (from a hand-edited file) is
// shown whole and may be shortened but not lengthened; a save check marks it.
void FitLimit(QLineEdit* edit, const QString& text, int limit) {
    edit->setMaxLength(std::max(limit, static_cast<int>(text.size())));
}

// A title read from a hand-edited file may hold characters the file cannot hold: it is shown as
// it is and may be edited, but no further such character can be added; the save check marks it.
void SetTitle(QLineEdit* edit, const QString& text, int limit) {
    FitLimit(edit, text, limit);
    SetTextAsRead(edit, text);
}

QLabel* AddLabel(QWidget* parent, const QString& text, const QRect& geometry) {
    auto* label = new QLabel(text, parent);
    label->setGeometry(geometry);
    MakeNavy(label);
    return label;
}

QCheckBox* AddCheckBox(
    QWidget* parent, const char* name, const QString& caption, const QRect& geometry) {
    auto* box = new QCheckBox(caption, parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setAccessibleName(caption);
    box->setGeometry(geometry);
    return box;
}

DecimalNumber FieldNumber(const QLineEdit* field) {
    // An empty or unfinished field ("-") counts as 0.
    return DecimalNumber::Parse(field->text().toStdString()).value_or(DecimalNumber());
}

// A number read from a hand-edited file may be longer than anyone types; the field shows it
// whole so that a save writes it back unchanged.
void ShowNumber(QLineEdit* field, const std::string& text) {
    field->setMaxLength(std::max(kNumberFieldMaxLength, static_cast<int>(text.size())));
    field->setText(QString::fromStdString(text));
}

void SetChecked(QRadioButton* button, bool checked) {
    // A radio button of an exclusive group cannot be cleared while exclusive.
    button->setAutoExclusive(false);
    button->setChecked(checked);
    button->setAutoExclusive(true);
}

} // namespace

TPrefs::TPrefs(CalendarDocument& document, CalendarHost& host, Services services,
    FileBackups& backups, QWidget* parent)
    : QDialog(parent)
    , document_(document)
    , host_(host)
    , services_(services)
    , file_(
          document.data().pref(), services.notifier, backups, QStringLiteral("these preferences")) {
    setObjectName(QStringLiteral("Prefs"));
    setWindowTitle(QStringLiteral("User Preferences"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint
        | Qt::MSWindowsFixedSizeDialogHint);
    setFixedSize(462, 391);
    ApplyDialogBackground(this);
    setFont(ProgramFont(QStringLiteral("MS Sans Serif"), 11));
    BuildControls();

    // The calendar font reaches the grid here, once at program start; the check boxes show the
    // file's settings from the start too, for the windows that read them before any showing.
    PrefLines lines;
    if (!ReadPrefFile(lines))
        return;
    const PrefValues values = PrefValuesFromLines(lines);
    LoadControls(values);
    host_.SetNoteFontFamily(font_list_->currentText());
    Preferences prefs = document_.prefs();
    prefs.CalendarFont = values.CalendarFont;
    document_.SetPreferences(prefs);
}

QLineEdit* TPrefs::AddTitleEdit(const QString& name, const QString& caption, int limit) {
    auto* edit = new QLineEdit(this);
    edit->setObjectName(name);
    edit->setAccessibleName(caption);
    edit->setMaxLength(limit);
    InstallInputFilter(edit, services_.notifier);
    connect(edit, &QLineEdit::textEdited, this,
        [edit, limit](const QString& text) { FitLimit(edit, text, limit); });
    edit->installEventFilter(this);
    return edit;
}

void TPrefs::BuildControls() {
    // Day titles, Sunday first.
    day_titles_heading_ = AddLabel(this, QStringLiteral("Day Titles"), QRect(16, 8, 86, 16));
    day_titles_heading_->setObjectName(QStringLiteral("LabelDayTitles"));
    underline_check_
        = AddCheckBox(this, "CheckBox1", QStringLiteral("Underline"), QRect(110, 7, 90, 18));
    for (int i = 0; i < 7; ++i) {
        const QString caption = QString::fromLatin1(kDayCaptions[static_cast<std::size_t>(i)]);
        AddLabel(this, caption, QRect(16, 30 + 24 * i, 30, 21));
        QLineEdit* edit = AddTitleEdit(QStringLiteral("Edit%1").arg(i + 1),
            QStringLiteral("Day title ") + caption, static_cast<int>(kDayTitleMaxLength));
        edit->setGeometry(50, 30 + 24 * i, 150, 21);
        day_edits_[static_cast<std::size_t>(i)] = edit;
    }

    // Month titles, January to June in the first row, July to December in the second.
    AddLabel(this, QStringLiteral("Month Titles"), QRect(16, 204, 100, 16))
        ->setObjectName(QStringLiteral("LabelMonthTitles"));
    for (int i = 0; i < 12; ++i) {
        const QString caption = QString::fromLatin1(kMonthCaptions[static_cast<std::size_t>(i)]);
        const int x = 16 + 38 * (i % 6);
        const int y = i < 6 ? 222 : 262;
        AddLabel(this, caption, QRect(x, y, 34, 14));
        QLineEdit* edit = AddTitleEdit(QStringLiteral("Edit%1").arg(i + 8),
            QStringLiteral("Month title ") + caption, static_cast<int>(kMonthTitleLength));
        edit->setGeometry(x, y + 14, 34, 21);
        month_edits_[static_cast<std::size_t>(i)] = edit;
    }

    bold_check_ = AddCheckBox(
        this, "CheckBox6", QStringLiteral("Data: Bold Font"), QRect(16, 304, 120, 18));
    AddLabel(this, QStringLiteral("(for visually impaired)"), QRect(34, 321, 180, 14));

    // Background colour of the day cells: one exclusive group.
    auto* colors = new QGroupBox(QStringLiteral("Background Color"), this);
    colors->setObjectName(QStringLiteral("GroupBoxColor"));
    colors->setGeometry(240, 4, 210, 112);
    MakeNavy(colors);
    for (int i = 0; i < 5; ++i) {
        const QString caption = QString::fromLatin1(kColorCaptions[static_cast<std::size_t>(i)]);
        auto* button = new QRadioButton(colors);
        button->setObjectName(QStringLiteral("RadioButton%1").arg(i + 3));
        button->setAccessibleName(caption);
        button->setGeometry(10, 18 + 18 * i, 18, 16);
        const int digit = i + 1;
        connect(button, &QRadioButton::clicked, this, [this, digit] { ColorButtonClick(digit); });
        color_buttons_[static_cast<std::size_t>(i)] = button;

        auto* swatch = new QLabel(caption, colors);
        swatch->setObjectName(QStringLiteral("Swatch%1").arg(digit));
        swatch->setAccessibleName(caption);
        swatch->setAccessibleDescription(QStringLiteral("Colour of the day cells"));
        swatch->setGeometry(32, 18 + 18 * i, 110, 16);
        swatch->setAlignment(Qt::AlignCenter);
        swatch->setFrameShape(QFrame::Box);
        swatch->setAutoFillBackground(true);
        const Rgb rgb = CellColorFor(static_cast<char>('0' + digit));
        SetColours(swatch, QPalette::Window, QColor(rgb.red, rgb.green, rgb.blue), Qt::black,
            DisabledText::kSame);
    }

    // Sunrise and sunset: the options and the place.
    auto* sun = new QGroupBox(QStringLiteral("Sunrise/Sunset"), this);
    sun->setObjectName(QStringLiteral("GroupBoxSun"));
    sun->setGeometry(240, 120, 210, 120);
    MakeNavy(sun);
    sun_check_ = AddCheckBox(
        sun, "CheckBox3", QStringLiteral("Display Sunrise / Sunset"), QRect(8, 16, 190, 18));
    military_time_check_ = AddCheckBox(
        sun, "CheckBox4", QStringLiteral("Display Military Time"), QRect(8, 34, 190, 18));
    const auto place_pattern = QRegularExpression(QStringLiteral("-?[0-9]{0,3}([.,][0-9]{0,2})?"));
    const auto offset_pattern = QRegularExpression(QStringLiteral("-?[0-9]{0,2}([.,][0-9]{0,2})?"));
    struct NumberField {
        QLineEdit** field;
        const char* name;
        QString caption;
        int x;
        int width;
        const QRegularExpression& pattern;
        std::string (DecimalNumber::*format)() const;
    };
    const NumberField fields[] = {
        { &longitude_edit_, "CurrencyEdit1", QStringLiteral("-W\u00b0/ E\u00b0"), 8, 58,
            place_pattern, &DecimalNumber::FormatFixed2 },
        { &latitude_edit_, "CurrencyEdit2", QStringLiteral("N\u00b0/ -S\u00b0"), 72, 58,
            place_pattern, &DecimalNumber::FormatFixed2 },
        { &gmt_offset_edit_, "CurrencyEdit3", QStringLiteral("GMT Offset"), 136, 40, offset_pattern,
            &DecimalNumber::FormatWhole },
    };
    for (const NumberField& item : fields) {
        AddLabel(sun, item.caption, QRect(item.x, 56, 66, 16));
        auto* field = new QLineEdit(sun);
        field->setObjectName(QString::fromLatin1(item.name));
        field->setAccessibleName(item.caption);
        field->setGeometry(item.x, 72, item.width, 21);
        InstallInputFilter(
            field, services_.notifier, new QRegularExpressionValidator(item.pattern));
        field->setAlignment(Qt::AlignRight);
        // The field shows its value in the file's format once the user leaves it.
        const auto format = item.format;
        connect(field, &QLineEdit::editingFinished, field,
            [field, format] { ShowNumber(field, (FieldNumber(field).*format)()); });
        *item.field = field;
    }
    dst_check_ = AddCheckBox(sun, "CheckBox7", QStringLiteral("DST"), QRect(8, 97, 60, 18));

    // The moon and its hemisphere: a group of its own, independent of the colours.
    auto* moon = new QGroupBox(QStringLiteral("Moon"), this);
    moon->setObjectName(QStringLiteral("GroupBoxMoon"));
    moon->setGeometry(240, 244, 210, 62);
    MakeNavy(moon);
    moon_check_
        = AddCheckBox(moon, "CheckBox5", QStringLiteral("Display Moon"), QRect(8, 16, 190, 18));
    northern_radio_ = new QRadioButton(QStringLiteral("N Hemisphere"), moon);
    northern_radio_->setObjectName(QStringLiteral("RadioButton1"));
    northern_radio_->setAccessibleName(QStringLiteral("N Hemisphere"));
    northern_radio_->setGeometry(4, 37, 104, 18);
    southern_radio_ = new QRadioButton(QStringLiteral("S Hemisphere"), moon);
    southern_radio_->setObjectName(QStringLiteral("RadioButton2"));
    southern_radio_->setAccessibleName(QStringLiteral("S Hemisphere"));
    southern_radio_->setGeometry(108, 37, 102, 18);

    AddLabel(this, QStringLiteral("Calendar Font"), QRect(240, 313, 82, 16));
    font_list_ = new QComboBox(this);
    font_list_->setObjectName(QStringLiteral("FontComboBox1"));
    font_list_->setAccessibleName(QStringLiteral("Calendar Font"));
    font_list_->setGeometry(324, 310, 126, 21);
    for (const QString& family : QFontDatabase::families()) {
        // Only names the file can hold; the list is the system's, in its order.
        if (!QFontDatabase::isPrivateFamily(family) && IsStorableInput(family, FieldLines::kSingle))
            font_list_->addItem(family);
    }

    // The data files path is carried from the file and written back; it is never shown.
    data_files_path_edit_ = new QLineEdit(this);
    data_files_path_edit_->setObjectName(QStringLiteral("Edit20"));
    data_files_path_edit_->setAccessibleName(QStringLiteral("Data Files Path"));
    data_files_path_edit_->setReadOnly(true);
    data_files_path_edit_->setMaxLength(32767);
    data_files_path_edit_->hide();

    struct ButtonItem {
        QPushButton** button;
        const char* name;
        const char* caption;
        int x;
        void (TPrefs::*click)();
    };
    const ButtonItem buttons[] = {
        { &default_button_, "Button2", "Default Preferences", 16, &TPrefs::Button2Click },
        { &user_button_, "Button1", "User Preferences", 166, &TPrefs::Button1Click },
        { &cancel_button_, "Button3", "Cancel", 316, &TPrefs::Button3Click },
    };
    for (const ButtonItem& item : buttons) {
        auto* button = new QPushButton(QString::fromLatin1(item.caption), this);
        button->setObjectName(QString::fromLatin1(item.name));
        button->setAccessibleName(QString::fromLatin1(item.caption));
        button->setGeometry(item.x, 340, 130, 25);
        // Enter in a title edit must not save the dialog behind the user's back.
        button->setAutoDefault(false);
        button->setDefault(false);
        connect(button, &QPushButton::clicked, this, item.click);
        *item.button = button;
    }

    QLabel* note = AddLabel(this, QString::fromLatin1(kRestartNote), QRect(16, 370, 430, 16));
    note->setObjectName(QStringLiteral("LabelRestart"));
    note->setAlignment(Qt::AlignCenter);
}

bool TPrefs::ReadPrefFile(PrefLines& lines) {
    Result<PrefLines> read = PrefLinesFromRead(file_.Read());
    if (!read) {
        services_.notifier.Error(ErrorText(read.error()));
        return false;
    }
    lines = std::move(*read);
    return true;
}

void TPrefs::LoadControls(const PrefValues& values) {
    const PrefChoices choices = ChoicesFromFlags(values.OptionFlags);
    underline_check_->setChecked(choices.underline);
    sun_check_->setChecked(choices.sunrise_sunset);
    military_time_check_->setChecked(choices.military_time);
    moon_check_->setChecked(choices.moon);
    bold_check_->setChecked(choices.bold);
    dst_check_->setChecked(choices.daylight_saving);
    northern_radio_->setChecked(choices.northern);
    southern_radio_->setChecked(!choices.northern);
    SelectColor(choices.cell_color);
    StyleDayTitleHeading(choices.underline);

    for (std::size_t i = 0; i < day_edits_.size(); ++i)
        SetTitle(
            day_edits_[i], FromCp1252(values.DayTitles[i]), static_cast<int>(kDayTitleMaxLength));
    for (std::size_t i = 0; i < month_edits_.size(); ++i)
        SetTitle(month_edits_[i], FromCp1252(values.MonthTitles[i]),
            static_cast<int>(kMonthTitleLength));
    loaded_data_files_path_ = FromCp1252(values.DataFilesPath);
    data_files_path_edit_->setText(loaded_data_files_path_);

    ShowNumber(longitude_edit_, values.Longitude.FormatFixed2());
    ShowNumber(latitude_edit_, values.Latitude.FormatFixed2());
    ShowNumber(gmt_offset_edit_, values.GmtOffset.FormatWhole());
    SelectFont(FromCp1252(values.CalendarFont));
}

void TPrefs::SelectColor(char digit) {
    for (std::size_t i = 0; i < color_buttons_.size(); ++i)
        SetChecked(color_buttons_[i], digit == static_cast<char>('1' + i));
}

void TPrefs::SelectFont(const QString& family) {
    // A name kept from an earlier showing goes unless it is the one asked for now.
    for (int i = font_list_->count() - 1; i >= 0; --i) {
        if (font_list_->itemData(i, kStoredOnlyRole).toBool() && font_list_->itemText(i) != family)
            font_list_->removeItem(i);
    }
    int index = font_list_->findText(family, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (index < 0)
        index = font_list_->findText(family, Qt::MatchFixedString);
    if (index < 0) {
        // A font that is not installed here stays the choice, so that a save writes it back.
        index = 0;
        while (index < font_list_->count()
            && QString::compare(font_list_->itemText(index), family, Qt::CaseInsensitive) < 0)
            ++index;
        font_list_->insertItem(index, family);
        font_list_->setItemData(index, true, kStoredOnlyRole);
    }
    font_list_->setCurrentIndex(index);
}

void TPrefs::StyleDayTitleHeading(bool underline) {
    QFont heading = day_titles_heading_->font();
    heading.setBold(true);
    heading.setUnderline(underline);
    day_titles_heading_->setFont(heading);
}

void TPrefs::Prepare() {
    for (QLineEdit* edit : day_edits_)
        MarkError(edit, false);
    for (QLineEdit* edit : month_edits_)
        MarkError(edit, false);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());

    PrefLines lines;
    if (!ReadPrefFile(lines))
        return;
    Preferences prefs = document_.prefs();
    prefs.OptionFlags = OpenedOptionFlags(PrefLine(lines, 1).value_or(""));
    const PrefValues values = PrefValuesFromLines(lines);
    LoadControls(values);

    const QString family = font_list_->currentText();
    if (family != host_.NoteFont().family()) {
        // A new font re-wraps the notes: the note being edited is stored as it was typed.
        document_.FlushPendingEdits();
        host_.SetNoteFontFamily(family);
    }
    prefs.CalendarFont = values.CalendarFont;
    // The file's flags reach the grid at once.
    ApplyToMainWindow(prefs);
    prefs_in_use_ = document_.prefs();
}

void TPrefs::OpenModal() {
    Prepare();
    exec();
}

bool TPrefs::ValidateTitles() {
    std::array<TitleBytes, 7> days;
    std::array<TitleBytes, 12> months;
    for (std::size_t i = 0; i < days.size(); ++i)
        days[i] = ToCp1252(day_edits_[i]->text());
    for (std::size_t i = 0; i < months.size(); ++i)
        months[i] = ToCp1252(month_edits_[i]->text());
    const TitleCheck check = CheckTitles(days, months);
    for (std::size_t i = 0; i < days.size(); ++i) {
        if (check.day_marked[i])
            MarkError(day_edits_[i], true);
    }
    for (std::size_t i = 0; i < months.size(); ++i) {
        if (check.month_marked[i])
            MarkError(month_edits_[i], true);
    }
    if (check.accepted())
        return true;
    QStringList text;
    for (const std::string& message : check.messages)
        text << QString::fromStdString(message);
    services_.notifier.Information(text.join(QLatin1Char('\n')));
    return false;
}

PrefChoices TPrefs::Choices() const {
    PrefChoices choices;
    choices.underline = underline_check_->isChecked();
    choices.sunrise_sunset = sun_check_->isChecked();
    choices.military_time = military_time_check_->isChecked();
    choices.moon = moon_check_->isChecked();
    choices.northern = northern_radio_->isChecked();
    choices.bold = bold_check_->isChecked();
    choices.daylight_saving = dst_check_->isChecked();
    for (std::size_t i = 0; i < color_buttons_.size(); ++i) {
        if (color_buttons_[i]->isChecked())
            choices.cell_color = static_cast<char>('1' + i);
    }
    return choices;
}

bool TPrefs::DataBoldFontChecked() const {
    return bold_check_->isChecked();
}

void TPrefs::Save(bool custom_titles) {
    if (!ValidateTitles())
        return;
    Preferences prefs = document_.prefs();
    PrefValues values;
    values.OptionFlags = SavedOptionFlags(prefs.OptionFlags, Choices(), custom_titles);
    // The checked titles all have their bytes.
    for (std::size_t i = 0; i < values.DayTitles.size(); ++i)
        values.DayTitles[i] = ToCp1252(day_edits_[i]->text()).value_or(std::string());
    for (std::size_t i = 0; i < values.MonthTitles.size(); ++i)
        values.MonthTitles[i] = ToCp1252(month_edits_[i]->text()).value_or(std::string());
    values.DataFilesPath = ToCp1252(data_files_path_edit_->text()).value_or(std::string());
    values.Longitude = FieldNumber(longitude_edit_);
    values.Latitude = FieldNumber(latitude_edit_);
    values.GmtOffset = FieldNumber(gmt_offset_edit_);
    values.CalendarFont = ToCp1252(font_list_->currentText()).value_or(prefs.CalendarFont);

    // The file first: memory and the main window change only once it is safely written.
    const std::string bytes = FormatPrefFile(values);
    switch (file_.BeforeWrite(bytes, ".txt")) {
    case EditedFile::Go::kWrite:
        break;
    case EditedFile::Go::kTookTheirs:
        Prepare(); // the dialog shows the other version
        return;
    case EditedFile::Go::kCancel:
        return;
    }
    if (!file_.Write(bytes))
        return;

    // The note being edited is stored before the new font re-wraps it and the refill replaces it.
    document_.FlushPendingEdits();
    prefs.OptionFlags = values.OptionFlags;
    if (custom_titles) {
        prefs.DayTitles = values.DayTitles;
        prefs.MonthTitles = values.MonthTitles;
    }
    prefs.CalendarFont = values.CalendarFont;
    StyleDayTitleHeading(underline_check_->isChecked());
    host_.SetNoteFontFamily(FromCp1252(values.CalendarFont));
    ApplyToMainWindow(prefs);

    if (data_files_path_edit_->text() != loaded_data_files_path_) {
        const QString message = QString::fromLatin1(kRestartForPathMessage);
        if (custom_titles)
            services_.notifier.Show(Notifier::Kind::kWarning, message, QStringLiteral("Warning"));
        else
            services_.notifier.Show(Notifier::Kind::kInformation, message);
    }
    accept();
}

void TPrefs::Button1Click() {
    Save(true);
}

void TPrefs::Button2Click() {
    Save(false);
}

void TPrefs::Button3Click() {
    reject();
}

void TPrefs::reject() {
    // A colour tried out and then cancelled goes back to the one in use when the dialog opened.
    if (document_.prefs().flag(Flag::CellColor) != prefs_in_use_.flag(Flag::CellColor)) {
        Preferences prefs = document_.prefs();
        prefs.set_flag(Flag::CellColor, prefs_in_use_.flag(Flag::CellColor));
        ApplyToMainWindow(prefs);
    }
    QDialog::reject();
}

void TPrefs::ColorButtonClick(int digit) {
    if (digit < 1 || digit > 5)
        return;
    Preferences prefs = document_.prefs();
    prefs.set_flag(Flag::CellColor, static_cast<char>('0' + digit));
    ApplyToMainWindow(prefs);
}

void TPrefs::ApplyToMainWindow(const Preferences& prefs) {
    document_.SetPreferences(prefs);
}

bool TPrefs::eventFilter(QObject* watched, QEvent* event) {
    // Only the title edits are watched: going into one clears its mark.
    if (event->type() == QEvent::FocusIn || event->type() == QEvent::MouseButtonPress) {
        if (auto* edit = qobject_cast<QLineEdit*>(watched))
            MarkError(edit, false);
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace orvane
