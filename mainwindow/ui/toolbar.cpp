#include "mainwindow/ui/toolbar.h"

#include "core/ui/dialog_style.h"
#include "core/ui/text_codec.h"

#include <QAccessible>
#include <QLabel>
#include <QPainter>
#include <QShortcut>
#include <QStyleOptionToolButton>
#include <QTimer>

namespace orvane {

namespace {

constexpr int kHeight = 21;
constexpr int kArrowSize = 10;
constexpr int kArrowGap = 3; // between a caption and its arrow
constexpr int kStatusShownMs = 4000;

struct ButtonInfo {
    const char* caption;
    int width;
    const char* accessible;
    int arrow; // 0 none, 1 up, 2 down
    // The key that does the same from anywhere in the window (the main window or a note handles
    // it), named in the tooltip.
    QKeyCombination key;
};

// SpeedButton1-SpeedButton10, left to right.
constexpr std::array<ButtonInfo, 10> kButtons = { {
    { "File", 34, "File menu", 0, Qt::ALT | Qt::Key_F },
    { "Cal", 32, "Calendar menu", 0, Qt::ALT | Qt::Key_C },
    { "Help", 36, "Help menu", 0, Qt::ALT | Qt::Key_H },
    { "Quit ", 38, "Quit and save", 0, Qt::CTRL | Qt::Key_Q },
    { "Dates ", 44, "Dates: jump to a month", 0, Qt::ALT | Qt::Key_D },
    { "Week  ", 58, "One week earlier", 1, Qt::ALT | Qt::Key_Up },
    { "Week  ", 58, "One week later", 2, Qt::ALT | Qt::Key_Down },
    { "TOP", 36, "First week", 0, Qt::ALT | Qt::Key_Home },
    { "Month  ", 64, "Previous month", 1, QKeyCombination(Qt::Key_PageUp) },
    { "Month  ", 64, "Next month", 2, QKeyCombination(Qt::Key_PageDown) },
} };

} // namespace

ArrowButton::ArrowButton(bool up, QWidget* parent)
    : QToolButton(parent)
    , up_(up) { }

QRect ArrowButton::CaptionRect() const {
    const QString caption = text().trimmed();
    const int caption_width = fontMetrics().horizontalAdvance(caption);
    const int left = (width() - caption_width - kArrowGap - kArrowSize) / 2;
    return QRect(left, 0, caption_width, height());
}

QRect ArrowButton::ArrowRect() const {
    const QRect caption = CaptionRect();
    return QRect(
        caption.right() + 1 + kArrowGap, (height() - kArrowSize) / 2, kArrowSize, kArrowSize);
}

void ArrowButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    QStyleOptionToolButton option;
    initStyleOption(&option);
    option.text.clear();
    option.icon = QIcon();
    style()->drawComplexControl(QStyle::CC_ToolButton, &option, &painter, this);
    painter.setPen(
        palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::ButtonText));
    painter.drawText(CaptionRect(), Qt::AlignVCenter | Qt::AlignLeft, text().trimmed());
    // Navy, or the captions' colour on a toolbar too dark for navy (a dark desktop theme).
    constexpr double kPictureContrast = 3;
    const QColor background = palette().color(QPalette::Window);
    const QColor colour = ContrastRatio(kLabelNavy, background) >= kPictureContrast
        ? kLabelNavy
        : palette().color(QPalette::ButtonText);
    const QRectF arrow = ArrowRect();
    const std::array<QPointF, 3> corners = up_
        ? std::array<QPointF, 3> { QPointF(arrow.left() + 1, arrow.top() + 8),
              QPointF(arrow.left() + 9, arrow.top() + 8),
              QPointF(arrow.left() + 5, arrow.top() + 2) }
        : std::array<QPointF, 3> { QPointF(arrow.left() + 1, arrow.top() + 2),
              QPointF(arrow.left() + 9, arrow.top() + 2),
              QPointF(arrow.left() + 5, arrow.top() + 8) };
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour);
    painter.drawPolygon(corners.data(), 3);
}

Toolbar::Toolbar(int width, QWidget* parent)
    : QWidget(parent) {
    setObjectName(QStringLiteral("ToolBar2"));
    setGeometry(0, 0, width, kHeight);
    setAccessibleName(QStringLiteral("Toolbar"));
    setFont(ProgramFont(QStringLiteral("MS Sans Serif"), 11));
    int left = 2;
    for (std::size_t i = 0; i < kButtons.size(); ++i) {
        const ButtonInfo& info = kButtons[i];
        QToolButton* button
            = info.arrow != 0 ? new ArrowButton(info.arrow == 1, this) : new QToolButton(this);
        button->setObjectName(QStringLiteral("SpeedButton%1").arg(i + 1));
        button->setText(QString::fromLatin1(info.caption));
        button->setAutoRaise(true);
        button->setAccessibleName(QString::fromLatin1(info.accessible));
        const QKeySequence key(info.key);
        button->setToolTip(QStringLiteral("%1 (%2)").arg(
            QString::fromLatin1(info.accessible), key.toString(QKeySequence::NativeText)));
        button->setGeometry(left, 0, info.width, kHeight);
        left += info.width + 1;
        buttons_[i + 1] = button;
        const auto which = static_cast<Button>(i + 1);
        connect(button, &QToolButton::clicked, this, [this, which] { emit Pressed(which); });
        if (which == kMonthUp || which == kMonthDown || !parent)
            continue;
        connect(new QShortcut(key, parent), &QShortcut::activated, this,
            [this, which] { emit Pressed(which); });
        if (which == kFile) // F10 opens the File menu too, as a menu bar would
            connect(new QShortcut(QKeySequence(Qt::Key_F10), parent), &QShortcut::activated, this,
                [this] { emit Pressed(kFile); });
    }
    status_ = new QLabel(this);
    status_->setObjectName(QStringLiteral("StatusLine"));
    status_->setAccessibleName(QStringLiteral("Status"));
    status_->setGeometry(left + 12, 0, 220, kHeight);
    status_->setAlignment(Qt::AlignVCenter | Qt::AlignLeft);
    status_timer_ = new QTimer(this);
    status_timer_->setSingleShot(true);
    connect(status_timer_, &QTimer::timeout, status_, &QLabel::clear);

    expansion_label_ = new QLabel(this);
    expansion_label_->setObjectName(QStringLiteral("ExpansionLabel"));
    expansion_label_->setFont(ProgramFont(QStringLiteral("Verdana"), 11));
    expansion_label_->hide();
}

void Toolbar::ShowStatus(const QString& text) {
    status_->setText(text);
    status_timer_->start(kStatusShownMs);
    QAccessibleEvent announce(status_, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&announce);
}

DayTitles::DayTitles(int width, QWidget* parent)
    : QWidget(parent) {
    constexpr std::array<int, 7> kColumnLefts = { 0, 182, 364, 546, 728, 909, 1090 };
    setObjectName(QStringLiteral("Panel43"));
    setGeometry(0, kHeight, width, 17);
    setMouseTracking(true);
    QFont title_font = ProgramFont(QStringLiteral("MS Sans Serif"), 11, true);
    title_font.setUnderline(true);
    for (std::size_t i = 0; i < labels_.size(); ++i) {
        auto* label = new QLabel(QString::fromLatin1(kDefaultDayTitles[i].data()), this);
        label->setObjectName(QStringLiteral("Label%1").arg(i + 1));
        label->setFont(title_font);
        label->setAlignment(Qt::AlignCenter);
        label->setGeometry(kColumnLefts[i], 0, i >= 4 ? 182 : 183, 17);
        MakeNavy(label);
        label->setMouseTracking(true);
        labels_[i] = label;
    }
}

void DayTitles::Apply(const Preferences& prefs) {
    for (std::size_t i = 0; i < labels_.size(); ++i) {
        QLabel* label = labels_[i];
        QFont font = label->font();
        font.setUnderline(prefs.flag(Flag::UnderlineDayTitles) != '0');
        label->setFont(font);
        const std::string& title = prefs.DayTitles[i];
        label->setText(prefs.on(Flag::CustomTitles) && !title.empty()
                ? FromCp1252(title)
                : QString::fromLatin1(kDefaultDayTitles[i].data()));
    }
}

QStringList DayTitles::Texts() const {
    QStringList titles;
    for (const QLabel* label : labels_)
        titles << label->text();
    return titles;
}

void Toolbar::PlaceStrip(QWidget* strip) {
    strip_ = strip;
    if (!strip_)
        return;
    strip_->setParent(this);
    strip_->move(width() - strip_->width(), 0);
    strip_->show();
}

} // namespace orvane
