#include "printing/ui/pallet.h"

#include "core/ui/accessible_window.h"

#include "core/ui/calendar_host.h"
#include "core/ui/dialog_style.h"
#include "core/ui/input_filter.h"
#include "core/ui/notifier.h"
#include "core/ui/text_codec.h"
#include "printing/ui/print_size_store.h"
#include "printing/ui/printer_port.h"

#include <QAccessible>
#include <QCloseEvent>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPageLayout>
#include <QPainter>
#include <QPrinter>
#include <QPushButton>
#include <QRegularExpression>
#include <QRegularExpressionValidator>

#include <array>

namespace orvane {

namespace {

const QString kScaleX = QStringLiteral("ScaleX");
const QString kScaleY = QStringLiteral("ScaleY");

constexpr int kClientWidth = 792;
constexpr int kClientHeight = 582;
const QRect kPanelGeometry(207, 559, 378, 23);
// With weeks left off, the strip reaches the window's right edge to say so.
const QRect kWidePanelGeometry(207, 559, kClientWidth - 207, 23);

int FieldValue(const QString& text, int fallback) {
    return ParsePrintSize(ToCp1252(text).value_or(std::string()), fallback);
}

} // namespace

TPallet::TPallet(CalendarHost& host, Notifier& notifier, PrintSizeStore& store,
    PrinterPort& printer, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint)
    , host_(host)
    , notifier_(notifier)
    , store_(store)
    , printer_(printer) {
    // Before anything that could make the screen reader ask about it.
    MarkAccessibleWindow(this);
    setObjectName(QStringLiteral("TPallet"));
    setWindowTitle(QStringLiteral("Print Pallet"));
    setAccessibleName(QStringLiteral("Print Pallet"));
    setAccessibleDescription(QStringLiteral("The calendar grid as it will be printed"));
    setFixedSize(kClientWidth, kClientHeight);
    setFont(PageFont(false));
    SetColours(this, QPalette::Window, Qt::white, Qt::black, DisabledText::kSame);
    setAutoFillBackground(true);

    static constexpr std::array<const char*, 7> kDefaultTitles
        = { "SUN", "MON", "TUE", "WED", "THU", "FRI", "SAT" };
    for (int column = 0; column < kPageColumns; ++column) {
        auto* label = new QLabel(QString::fromLatin1(kDefaultTitles[column]), this);
        label->setObjectName(QStringLiteral("Label%1").arg(column + 1));
        label->setGeometry(kTitleLefts[column], kTitleTop, kTitleWidths[column], kTitleHeight);
        label->setAlignment(Qt::AlignCenter);
        label->setFont(PageFont(true));
        label->setAccessibleDescription(
            QStringLiteral("Week-day title of column %1").arg(column + 1));
        titles_[column] = label;
    }

    command_strip_ = new QWidget(this);
    command_strip_->setObjectName(QStringLiteral("Panel1"));
    command_strip_->setAccessibleName(QStringLiteral("Print commands"));
    command_strip_->setGeometry(kPanelGeometry);
    // Yellow captions on blue; the labels on the strip take their colour from it.
    SetColours(
        command_strip_, QPalette::Window, QColor(0, 0, 255), kErrorYellow, DisabledText::kSame);
    command_strip_->setAutoFillBackground(true);
    const QFont small = ProgramFont(QStringLiteral("Small Fonts"), 9);
    command_strip_->setFont(small);

    print_button_ = new QPushButton(QStringLiteral("Print"), command_strip_);
    print_button_->setObjectName(QStringLiteral("BitBtn2"));
    print_button_->setAccessibleName(QStringLiteral("Print"));
    print_button_->setGeometry(17, 2, 71, 20);
    cancel_button_ = new QPushButton(QStringLiteral("Cancel"), command_strip_);
    cancel_button_->setObjectName(QStringLiteral("BitBtn1"));
    cancel_button_->setAccessibleName(QStringLiteral("Cancel"));
    cancel_button_->setGeometry(97, 2, 71, 20);

    const auto make_label = [this](const QString& name, const QString& text, int left) {
        auto* label = new QLabel(text, command_strip_);
        label->setObjectName(name);
        label->move(left, 6);
        label->adjustSize();
        return label;
    };
    width_label_ = make_label(QStringLiteral("Label8"), QStringLiteral("DPI width:"), 176);
    height_label_ = make_label(QStringLiteral("Label9"), QStringLiteral("DPI heigth:"), 276);
    weeks_left_off_label_ = make_label(QStringLiteral("Label10"), QString(), 376);
    weeks_left_off_label_->setAccessibleDescription(
        QStringLiteral("Weeks left off the printed page"));
    weeks_left_off_label_->hide();

    // While the page goes to the printer the strip gives way to a line that says so, until the
    // window closes.
    printing_label_ = new QLabel(QStringLiteral("Printing..."), this);
    printing_label_->setObjectName(QStringLiteral("PrintingLabel"));
    printing_label_->setGeometry(kPanelGeometry);
    printing_label_->setAlignment(Qt::AlignCenter);
    SetColours(printing_label_, QPalette::Window, Qt::blue, Qt::yellow, DisabledText::kSame);
    printing_label_->setAutoFillBackground(true);
    printing_label_->hide();

    const auto make_field = [this](const QString& name, const QString& accessible, int left) {
        auto* field = new QLineEdit(command_strip_);
        field->setObjectName(name);
        field->setAccessibleName(accessible);
        field->setGeometry(left, 3, 41, 18);
        field->setMaxLength(5);
        InstallInputFilter(field, notifier_,
            new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,5}"))));
        return field;
    };
    print_width_edit_
        = make_field(QStringLiteral("umNumberEdit2"), QStringLiteral("DPI width"), 226);
    print_height_edit_
        = make_field(QStringLiteral("umNumberEdit1"), QStringLiteral("DPI height"), 330);
    width_label_->setBuddy(print_width_edit_);
    height_label_->setBuddy(print_height_edit_);

    connect(print_button_, &QPushButton::clicked, this, [this] { BitBtn2Click(); });
    connect(cancel_button_, &QPushButton::clicked, this, [this] { BitBtn1Click(); });

    close_timer_.setSingleShot(true);
    close_timer_.setInterval(kCloseDelay);
    connect(&close_timer_, &QTimer::timeout, this, [this] { CloseAfterPrinting(); });

    FormCreate();
}

void TPallet::FormCreate() {
    const auto stored = [this](const QString& name, int fallback) {
        const std::optional<QString> text = store_.Read(name);
        return text ? FieldValue(*text, fallback) : fallback;
    };
    print_width_edit_->setText(QString::number(stored(kScaleX, kDefaultPrintWidth)));
    print_height_edit_->setText(QString::number(stored(kScaleY, kDefaultPrintHeight)));
}

void TPallet::Prepare() {
    const QStringList titles = host_.DayTitleTexts();
    for (int column = 0; column < kPageColumns && column < titles.size(); ++column)
        titles_[column]->setText(titles[column]);
    printing_label_->hide();
    command_strip_->show();
    print_height_edit_->show();
    print_width_edit_->show();
    RefreshPage();
}

void TPallet::OpenModeless() {
    Prepare();
    move(0, 0);
    show();
    raise();
    activateWindow();
}

int TPallet::PrintWidth() const {
    return FieldValue(print_width_edit_->text(), 0);
}

int TPallet::PrintHeight() const {
    return FieldValue(print_height_edit_->text(), 0);
}

void TPallet::RefreshPage() {
    ShowWeeksLeftOff(LayOutCells(ReadPageCells(host_)).WeeksLeftOff());
    update();
}

void TPallet::ShowWeeksLeftOff(int weeks) {
    weeks_left_off_ = weeks;
    weeks_left_off_label_->setText(QString::fromStdString(WeeksLeftOffText(weeks)));
    weeks_left_off_label_->adjustSize();
    weeks_left_off_label_->setVisible(weeks > 0);
    command_strip_->setGeometry(weeks > 0 ? kWidePanelGeometry : kPanelGeometry);
}

void TPallet::BitBtn1Click() {
    close();
}

void TPallet::BitBtn2Click() {
    if (WaitingToClose())
        return;
    std::unique_ptr<QPrinter> printer = printer_.DefaultPrinter();
    QString pdf_file;
    if (!printer) {
        pdf_file = printer_.AskPdfFileName(this);
        if (pdf_file.isEmpty())
            return;
        printer = MakePdfPrinter(pdf_file);
    }
    printer->setPageOrientation(QPageLayout::Landscape);
    printer->setDocName(QStringLiteral("Orvane calendar"));

    const QString failure = pdf_file.isEmpty()
        ? QStringLiteral("The printer could not be started. Nothing was printed.")
        : QStringLiteral("The PDF file could not be written:\n%1").arg(pdf_file);
    const PageCells cells = ReadPageCells(host_);
    const PageLayout layout = LayOutCells(cells);
    ShowWeeksLeftOff(layout.WeeksLeftOff());
    QStringList titles;
    for (const QLabel* label : titles_)
        titles << label->text();

    QPainter painter;
    if (!painter.begin(printer.get())) {
        notifier_.Error(failure);
        return;
    }
    PaintPrintedPage(painter, layout, cells, titles, PrintWidth(), PrintHeight());
    if (!painter.end()) {
        notifier_.Error(failure);
        return;
    }

    // The strip stays hidden until the next showing; both windows take no input until the
    // window closes.
    command_strip_->hide();
    printing_label_->show();
    QAccessibleEvent announce(printing_label_, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&announce);
    setEnabled(false);
    if (QWidget* main = host_.MainWidget())
        main->setEnabled(false);
    close_timer_.start();
}

void TPallet::CloseAfterPrinting() {
    EndWait();
    close();
}

void TPallet::EndWait() {
    close_timer_.stop();
    setEnabled(true);
    if (QWidget* main = host_.MainWidget())
        main->setEnabled(true);
}

void TPallet::paintEvent(QPaintEvent*) {
    const PageCells cells = ReadPageCells(host_);
    const PageLayout layout = LayOutCells(cells);
    QPainter painter(this);
    PaintPage(painter, layout, cells);
    if (layout.WeeksLeftOff() != weeks_left_off_) {
        // The grid changed since the strip was set; the strip is not changed while painting.
        const int weeks = layout.WeeksLeftOff();
        QMetaObject::invokeMethod(
            this, [this, weeks] { ShowWeeksLeftOff(weeks); }, Qt::QueuedConnection);
    }
}

void TPallet::closeEvent(QCloseEvent* event) {
    const bool was_shown = isVisible();
    if (WaitingToClose())
        EndWait();
    const bool width_stored = store_.Write(kScaleX, print_width_edit_->text());
    const bool height_stored = store_.Write(kScaleY, print_height_edit_->text());
    if (!width_stored || !height_stored)
        notifier_.Warning(QStringLiteral("The print size could not be stored."));
    event->accept();
    if (was_shown)
        host_.ChildWindowClosed();
}

bool TPallet::event(QEvent* event) {
    // Coming back to the window after editing the grid shows the grid as it is now.
    if (event->type() == QEvent::WindowActivate)
        RefreshPage();
    return QWidget::event(event);
}

} // namespace orvane
