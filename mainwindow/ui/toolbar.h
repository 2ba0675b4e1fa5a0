// The main window's two strips above the grid: the toolbar (ToolBar2) with the ten flat command
// buttons SpeedButton1 to SpeedButton10, a status line that says what just happened ("Saved at
// 14:05"), the hidden ExpansionLabel the entry dialogs measure with and a place at the right end
// for the sun and moon strip; and the week-day titles (Panel43, Label1 to Label7).
#pragma once

#include "core/preferences.h"

#include <QToolButton>
#include <QWidget>
#include <array>

class QLabel;
class QTimer;

namespace orvane {

// A flat button whose arrow (the week and month buttons) sits right after its own caption, so
// that "Week ▲" reads as one button and not as "▲ Week" of the next.
class ArrowButton : public QToolButton {
    Q_OBJECT
public:
    ArrowButton(bool up, QWidget* parent);
    bool up() const { return up_; }
    // Where the arrow is drawn, for tests: inside the button, right after the caption.
    QRect ArrowRect() const;
    QRect CaptionRect() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    bool up_;
};

class Toolbar : public QWidget {
    Q_OBJECT
public:
    enum Button {
        kFile = 1,
        kCal,
        kHelp,
        kQuit,
        kDates,
        kWeekUp,
        kWeekDown,
        kTop,
        kMonthUp,
        kMonthDown,
    };

    // The buttons' keys (named in their tooltips) work from anywhere in `parent`, the main window;
    // the month keys are the notes' own (Page Up, Page Down).
    Toolbar(int width, QWidget* parent);

    QToolButton* button(Button which) const { return buttons_[static_cast<std::size_t>(which)]; }
    QLabel* expansion_label() const { return expansion_label_; }
    QLabel* status_label() const { return status_; }
    // Shows `text` on the status line for a few seconds, and to a screen reader.
    void ShowStatus(const QString& text);
    // Puts `strip` at the right end of the toolbar.
    void PlaceStrip(QWidget* strip);

signals:
    // A button was clicked or its key pressed. Each key press counts once, however fast they
    // come (a button's own shortcut would fold quick presses into one animated click).
    void Pressed(orvane::Toolbar::Button button);

private:
    std::array<QToolButton*, 11> buttons_ {}; // index 1-10
    QLabel* expansion_label_ = nullptr;
    QLabel* status_ = nullptr;
    QTimer* status_timer_ = nullptr;
    QWidget* strip_ = nullptr;
};

class DayTitles : public QWidget {
    Q_OBJECT
public:
    DayTitles(int width, QWidget* parent);

    // Captions and underline from the preferences: the user's titles while custom titles are in
    // use, else "SUN" to "SAT"; always bold.
    void Apply(const Preferences& prefs);
    QStringList Texts() const;
    const std::array<QLabel*, 7>& labels() const { return labels_; }

private:
    std::array<QLabel*, 7> labels_ {};
};

} // namespace orvane
