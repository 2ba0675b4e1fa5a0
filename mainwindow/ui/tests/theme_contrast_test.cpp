// The main window, one window of each other kind of control (text fields, a list, coloured
// buttons) and the entry dialogs once widened for their captions, under a dark desktop palette:
// the text that is drawn stands out from the background it is drawn on by a contrast ratio of at
// least 4.5:1, and no caption is cut off. What is measured is what the window paints, not the
// colours its code asks for.
#include "core/ui/dialog_style.h"
#include "mainwindow/ui/tests/form_harness.h"
#include "prefs/ui/t_prefs.h"
#include "recurring/ui/date_picker.h"
#include "recurring/ui/t_day_to_day.h"
#include "recurring/ui/t_del_entry.h"
#include "recurring/ui/t_wk_to_wk.h"
#include "sky/ui/sun_moon_strip.h"
#include "tools/ui/t_search.h"

#include <QTest>
#include <QtWidgets>
#include <cmath>

using namespace orvane;

namespace {

void Must(const Status& written) {
    if (!written)
        qFatal("the test could not write its files");
}

constexpr double kMinimumContrast = 4.5;
constexpr double kPictureContrast = 3; // a picture (the toolbar's arrows) against its background

// What a piece of a window shows: its most frequent colour is the background, the colour that
// differs most from it in luminance is the text.
struct Measured {
    QColor background;
    QColor text;
    double ratio = 1;
};

Measured Measure(const QImage& picture) {
    const QImage image = picture.convertToFormat(QImage::Format_RGB32);
    QHash<QRgb, int> counts;
    for (int y = 0; y < image.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x)
            ++counts[line[x]];
    }
    Measured result;
    int most = 0;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it) {
        if (it.value() > most) {
            most = it.value();
            result.background = QColor(it.key());
        }
    }
    const double ground = RelativeLuminance(result.background);
    double widest = -1;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it) {
        const double difference = std::abs(RelativeLuminance(QColor(it.key())) - ground);
        if (difference > widest) {
            widest = difference;
            result.text = QColor(it.key());
        }
    }
    result.ratio = ContrastRatio(result.background, result.text);
    return result;
}

// The part of `widget` (in its own coordinates) where it draws text, or an empty rectangle when
// it shows none.
QRect TextArea(QWidget* widget) {
    if (auto* cell = qobject_cast<DayCell*>(widget)) // the date header the cell paints
        return cell->header_text().isEmpty() ? QRect() : cell->HeaderRect();
    if (auto* view = qobject_cast<NoteView*>(widget))
        return view->text().isEmpty() ? QRect() : view->rect();
    if (auto* area = qobject_cast<QAbstractScrollArea*>(widget)) {
        // Text edits hold plain text, lists a count; other scrolled areas show no text.
        const QVariant text = area->property("plainText");
        const bool empty
            = text.isValid() ? text.toString().isEmpty() : area->property("count").toInt() == 0;
        return empty ? QRect() : area->viewport()->geometry();
    }
    if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
        // Inside the frame, whose outline is no text.
        const int frame = edit->hasFrame() ? 3 : 0;
        return edit->text().isEmpty() ? QRect()
                                      : edit->rect().adjusted(frame, frame, -frame, -frame);
    }
    if (auto* label = qobject_cast<QLabel*>(widget))
        return label->text().isEmpty() ? QRect() : label->contentsRect();
    if (auto* box = qobject_cast<QGroupBox*>(widget)) {
        if (box->title().isEmpty())
            return QRect();
        QStyleOptionGroupBox option;
        option.initFrom(box);
        option.text = box->title();
        option.lineWidth = 1;
        option.subControls = QStyle::SC_GroupBoxLabel | QStyle::SC_GroupBoxFrame;
        option.textAlignment = box->alignment();
        return box->style()->subControlRect(
            QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxLabel, box);
    }
    if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
        if (button->text().isEmpty())
            return QRect();
        QStyleOptionButton option;
        option.initFrom(button);
        option.text = button->text();
        const QStyle::SubElement contents = qobject_cast<QCheckBox*>(button)
            ? QStyle::SE_CheckBoxContents
            : qobject_cast<QRadioButton*>(button) ? QStyle::SE_RadioButtonContents
            : qobject_cast<QPushButton*>(button)  ? QStyle::SE_PushButtonContents
                                                  : QStyle::SE_CustomBase;
        return contents == QStyle::SE_CustomBase
            ? button->rect()
            : button->style()->subElementRect(contents, &option, button);
    }
    return QRect();
}

// The user has moved on from every control: no caret and no selection, which are no text (the
// caret is drawn by inverting what lies under it).
void LeaveFocus(QWidget* window) {
    for (QWidget* control : window->findChildren<QWidget*>()) {
        QFocusEvent out(QEvent::FocusOut, Qt::OtherFocusReason);
        QApplication::sendEvent(control, &out);
    }
}

// The contrast of every piece of text `window` shows; one line for each that is too low.
QStringList LowContrast(QWidget* window) {
    QApplication::processEvents(); // the window's activation, which gives a control the focus
    LeaveFocus(window);
    const QImage shot = window->grab().toImage();
    const qreal scale = shot.devicePixelRatio();
    QStringList faults;
    int measured = 0;
    for (QWidget* widget : window->findChildren<QWidget*>()) {
        if (!widget->isVisibleTo(window) || !widget->isEnabled())
            continue; // disabled text is meant to recede
        const QRect area = TextArea(widget);
        if (area.isEmpty())
            continue;
        const QRect in_window(widget->mapTo(window, area.topLeft()), area.size());
        const QRect pixels
            = QRectF(QPointF(in_window.topLeft()) * scale, QSizeF(in_window.size()) * scale)
                  .toRect()
            & shot.rect();
        const Measured seen = Measure(shot.copy(pixels));
        ++measured;
        const auto* cell = qobject_cast<DayCell*>(widget);
        if (cell && cell->date_colour() == QColor(255, 0, 0)) {
            // Today's date: red on yellow in every theme, the program's own marking.
            if (seen.background != QColor(255, 255, 0) || seen.text != QColor(255, 0, 0))
                faults << QStringLiteral("%1 (today) %2 on %3")
                              .arg(widget->objectName(), seen.text.name(), seen.background.name());
            continue;
        }
        if (seen.ratio < kMinimumContrast)
            faults << QStringLiteral("%1 %2 \"%3\": %4 on %5, %6:1")
                          .arg(QString::fromLatin1(widget->metaObject()->className()),
                              widget->objectName(), widget->accessibleName(), seen.text.name(),
                              seen.background.name())
                          .arg(seen.ratio, 0, 'f', 2);
    }
    // The arrows of the week and month buttons, on a toolbar that draws no button face.
    for (auto* button : window->findChildren<QToolButton*>()) {
        if (button->icon().isNull())
            continue;
        const QImage arrow = button->icon().pixmap(button->iconSize()).toImage();
        QColor ink;
        for (int y = 0; y < arrow.height(); ++y) {
            for (int x = 0; x < arrow.width(); ++x) {
                if (arrow.pixelColor(x, y).alpha() == 255)
                    ink = arrow.pixelColor(x, y);
            }
        }
        const QColor ground = shot.pixelColor(button->mapTo(window, QPoint(1, 1)) * scale);
        if (ContrastRatio(ink, ground) < kPictureContrast)
            faults << QStringLiteral("%1 arrow: %2 on %3")
                          .arg(button->objectName(), ink.name(), ground.name());
    }
    if (measured == 0)
        faults << QStringLiteral("no text found in %1").arg(window->objectName());
    return faults;
}

// A dark desktop palette as dark themes set it: light text on dark windows, fields and buttons,
// grey text for what is disabled.
QPalette DarkPalette() {
    const QColor window(0x35, 0x35, 0x35), field(0x23, 0x23, 0x23), grey(0x7f, 0x7f, 0x7f);
    QPalette palette(window);
    for (const auto& [role, colour] :
        { std::pair { QPalette::Window, window }, { QPalette::WindowText, QColor(Qt::white) },
            { QPalette::Base, field }, { QPalette::AlternateBase, window },
            { QPalette::Text, QColor(Qt::white) }, { QPalette::Button, window },
            { QPalette::ButtonText, QColor(Qt::white) }, { QPalette::ToolTipBase, field },
            { QPalette::ToolTipText, QColor(Qt::white) },
            { QPalette::Highlight, QColor(0x2a, 0x82, 0xda) },
            { QPalette::HighlightedText, QColor(Qt::white) }, { QPalette::PlaceholderText, grey } })
        palette.setColor(role, colour);
    for (const auto role : { QPalette::WindowText, QPalette::Text, QPalette::ButtonText })
        palette.setColor(QPalette::Disabled, role, grey);
    return palette;
}

// The captions of `root`'s controls that are wider than the control shows them, in the font the
// control actually uses: labels, check boxes, radio buttons, buttons, tool buttons, group box
// titles and read-only fields. Hidden controls are not shown, so they are not looked at.
QStringList ClippedCaptions(QWidget* root) {
    QStringList clipped;
    const auto check = [&](QWidget* widget, const QString& caption, int needed, int room) {
        if (needed > room) {
            clipped << QStringLiteral("%1 \"%2\": needs %3 px, has %4")
                           .arg(widget->objectName().isEmpty()
                                   ? QString::fromLatin1(widget->metaObject()->className())
                                   : widget->objectName(),
                               caption)
                           .arg(needed)
                           .arg(room);
        }
    };
    QList<QWidget*> widgets = root->findChildren<QWidget*>();
    widgets.prepend(root);
    for (QWidget* widget : widgets) {
        if (!widget->isVisibleTo(root) && widget != root)
            continue;
        const QFontMetrics metrics(widget->font());
        if (auto* label = qobject_cast<QLabel*>(widget)) {
            if (label->text().isEmpty() || label->textFormat() == Qt::RichText)
                continue;
            const QRect room = label->contentsRect();
            if (label->wordWrap())
                check(label, label->text(), label->heightForWidth(room.width()), room.height());
            else {
                for (const QString& line : label->text().split(QLatin1Char('\n')))
                    check(label, line, metrics.horizontalAdvance(line), room.width());
            }
        } else if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
            if (button->text().isEmpty())
                continue;
            int needed = 0;
            if (qobject_cast<QCheckBox*>(button) || qobject_cast<QRadioButton*>(button))
                needed = button->sizeHint().width();
            else if (qobject_cast<QPushButton*>(button))
                needed = metrics.horizontalAdvance(button->text())
                    + 2 * button->style()->pixelMetric(QStyle::PM_ButtonMargin, nullptr, button);
            else
                needed = metrics.horizontalAdvance(button->text().trimmed()) + 4;
            check(button, button->text(), needed, button->width());
        } else if (auto* group = qobject_cast<QGroupBox*>(widget)) {
            if (!group->title().isEmpty())
                check(group, group->title(), metrics.horizontalAdvance(group->title()) + 12,
                    group->width());
        } else if (auto* field = qobject_cast<QLineEdit*>(widget)) {
            if (field->isReadOnly() && !field->text().isEmpty())
                check(field, field->text(), metrics.horizontalAdvance(field->text()) + 4,
                    field->contentsRect().width());
        }
    }
    return clipped;
}

// One window set up with text in it, in a temporary program folder with the sunrise and sunset
// times switched on.
std::string SunOnPref() {
    std::string pref = kPref;
    pref[4] = '1';
    return pref;
}

struct Scene {
    Scene() {
        data = std::filesystem::path(dir.path().toStdString()) / "csystem";
        std::filesystem::create_directories(data);
        Must(WriteFileAtomic(data / "pref.ovd", SunOnPref()));
        host = std::make_unique<FakeCalendarHost>(data);
    }
    QWidget* Window() { return main ? static_cast<QWidget*>(main->form.get()) : window.get(); }

    QTemporaryDir dir;
    std::filesystem::path data;
    std::unique_ptr<FakeCalendarHost> host;
    std::unique_ptr<Harness> main; // the main window, on a program folder of its own
    std::unique_ptr<QWidget> window;
};

// The main window on a calendar from Sunday 10 March 2024, today the 14th: notes in an ordinary
// day, today and the first of April, one typed into an editor, the sun and moon strip on.
TForm1& MainWindow(Scene& scene) {
    DayStore store;
    NewCalendar(MakeDate(2024, 3, 10), store);
    store[3] += "Dentist at ten\aCall the garage\a";
    store[5] += "Today's note\a";
    store[23] += "Rent due\a";
    scene.main = std::make_unique<Harness>(FormatDayFile(store), SunOnPref());
    TForm1& form = scene.main->Form();
    auto* strip = new sky::SunMoonStrip(scene.main->clock);
    form.SetToolbarStrip(
        { strip, [strip](const Preferences& prefs) { strip->ApplyStartupFlags(prefs); }, {} });
    scene.main->Start().show();
    QApplication::processEvents();
    QTest::keyClicks(form.note(2), QStringLiteral("Typed in the grid"));
    return form;
}

template <typename W> W* Show(Scene& scene, std::unique_ptr<W> window, bool prepare = true) {
    W* shown = window.get();
    if constexpr (requires { shown->Prepare(); }) {
        if (prepare)
            shown->Prepare();
    }
    shown->show();
    scene.window = std::move(window);
    return shown;
}

template <typename Dialog> void EntryBox(Scene& scene) {
    FakeCalendarHost& host = *scene.host;
    auto* dialog = Show(scene, std::make_unique<Dialog>(host.document, host, host.services()));
    QTest::keyClicks(dialog->template findChild<QLineEdit*>(QStringLiteral("Edit1")),
        QStringLiteral("Choir practice"));
    // A From date before the calendar: the picker turns yellow and the message area speaks.
    if (auto* from = dialog->template findChild<DatePicker*>(QStringLiteral("DateTimePicker1")))
        from->setDate(QDate(2023, 12, 1));
}

const std::pair<const char*, void (*)(Scene&)> kWindows[] = {
    { "main window", [](Scene& scene) { MainWindow(scene); } },
    { "daily entry", EntryBox<TDayToDay> },
    // Widened once so that their captions fit: checked for captions that are cut off again.
    { "weekly entry", EntryBox<TWkToWk> },
    { "delete entries", EntryBox<TDelEntry> },
    { "search",
        [](Scene& scene) {
            FakeCalendarHost& host = *scene.host;
            host.AddToDay(4, "lunch with Ann\a");
            auto* search
                = Show(scene, std::make_unique<TSearch>(host.document, host, host.services()));
            QTest::keyClicks(
                search->findChild<QLineEdit*>(QStringLiteral("Edit1")), QStringLiteral("lunch"));
            search->BitBtn1Click();
        } },
    { "preferences",
        [](Scene& scene) {
            FakeCalendarHost& host = *scene.host;
            Show(scene,
                std::make_unique<TPrefs>(host.document, host, host.services(), host.backups));
        } },
};

} // namespace

class ThemeContrastTest : public QObject {
    Q_OBJECT

private slots:
    void textStandsOutAndCaptionsFit_data() {
        QTest::addColumn<int>("window");
        for (int i = 0; i < static_cast<int>(std::size(kWindows)); ++i)
            QTest::addRow("%s", kWindows[i].first) << i;
    }

    void textStandsOutAndCaptionsFit() {
        QFETCH(int, window);
        // The desktop's palette is in place before any window exists, as at program start.
        const QPalette light = QApplication::palette();
        QApplication::setPalette(DarkPalette());
        Scene scene;
        kWindows[window].second(scene);
        const QStringList faults = LowContrast(scene.Window()) + ClippedCaptions(scene.Window());
        QApplication::setPalette(light);
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QStringLiteral("\n  "))));
    }
};

QTEST_MAIN(ThemeContrastTest)
#include "theme_contrast_test.moc"
