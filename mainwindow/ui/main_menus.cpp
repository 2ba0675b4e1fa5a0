#include "mainwindow/ui/main_menus.h"

#include "core/ui/text_codec.h"
#include "mainwindow/navigation.h"

#include <QAction>
#include <QMenu>
#include <QPainter>
#include <QStyleOptionMenuItem>
#include <QWidget>

namespace orvane {

namespace {

constexpr int kYearMargin = 8; // between a year and the item's right edge
constexpr int kColumnGap = 12; // between the widest month and its year

// "Mar   2024" as its month and year; nothing to split in a caption without blanks.
std::pair<QString, QString> SplitCaption(const QString& caption) {
    const qsizetype blank = caption.indexOf(QLatin1Char(' '));
    if (blank <= 0)
        return { caption, QString() };
    return { caption.left(blank), caption.mid(blank).trimmed() };
}

} // namespace

QString MenuText(const CommandItem& item) {
    QString text = QString::fromLatin1(item.caption);
    const qsizetype at = text.indexOf(QLatin1Char(item.mnemonic));
    if (at >= 0)
        text.insert(at, QLatin1Char('&'));
    return text;
}

void MonthColumnsStyle::drawControl(ControlElement element, const QStyleOption* option,
    QPainter* painter, const QWidget* widget) const {
    const auto* item = qstyleoption_cast<const QStyleOptionMenuItem*>(option);
    if (element != CE_MenuItem || !item || item->menuItemType != QStyleOptionMenuItem::Normal) {
        QProxyStyle::drawControl(element, option, painter, widget);
        return;
    }
    const auto [month, year] = SplitCaption(item->text);
    QStyleOptionMenuItem month_only = *item;
    month_only.text = month;
    QProxyStyle::drawControl(element, &month_only, painter, widget);
    if (year.isEmpty())
        return;
    painter->save();
    painter->setFont(item->font);
    const bool selected = item->state & State_Selected;
    painter->setPen(
        item->palette.color(item->state & State_Enabled ? QPalette::Active : QPalette::Disabled,
            selected ? QPalette::HighlightedText : QPalette::Text));
    painter->drawText(item->rect.adjusted(0, 0, -kYearMargin, 0),
        Qt::AlignRight | Qt::AlignVCenter | Qt::TextSingleLine, year);
    painter->restore();
}

QSize MonthColumnsStyle::sizeFromContents(
    ContentsType type, const QStyleOption* option, const QSize& size, const QWidget* widget) const {
    QSize result = QProxyStyle::sizeFromContents(type, option, size, widget);
    if (const auto* item = qstyleoption_cast<const QStyleOptionMenuItem*>(option);
        type == CT_MenuItem && item) {
        // Room for the year column beside the month, whatever the caption's blanks measure.
        const QFontMetrics metrics(item->font);
        const auto [month, year] = SplitCaption(item->text);
        const int needed = metrics.horizontalAdvance(month) + kColumnGap
            + metrics.horizontalAdvance(year) + kYearMargin;
        result.setWidth(std::max(result.width(), needed + 24));
    }
    return result;
}

MainMenus::MainMenus(QWidget* window)
    : QObject(window) {
    const std::array<std::pair<MenuName, const char*>, 3> menus = { { { MenuName::kFile, "File" },
        { MenuName::kCal, "Cal" }, { MenuName::kHelp, "Help" } } };
    for (const auto& [name, title] : menus) {
        auto* menu = new QMenu(window);
        menu->setObjectName(QString::fromLatin1(title) + QStringLiteral("Menu"));
        menu->setTitle(QString::fromLatin1(title));
        menu->setAccessibleName(QString::fromLatin1(title));
        menus_[name] = menu;
    }
    dates_ = new QMenu(window);
    dates_->setObjectName(QStringLiteral("DatesMenu"));
    dates_->setAccessibleName(QStringLiteral("Dates"));
    auto* columns = new MonthColumnsStyle();
    columns->setParent(dates_);
    dates_->setStyle(columns);

    for (const CommandItem& item : kCommandItems) {
        auto* entry = new QAction(MenuText(item), window);
        entry->setObjectName(QString::fromLatin1(item.object_name));
        if (item.shortcut.key() != Qt::Key_unknown) {
            entry->setShortcut(QKeySequence(item.shortcut));
            entry->setShortcutContext(Qt::WindowShortcut);
            // A disabled item ignores its key.
            window->addAction(entry);
        }
        menus_[item.menu]->addAction(entry);
        const Command command = item.command;
        connect(entry, &QAction::triggered, this, [this, command] {
            const auto run = commands_.find(command);
            if (run != commands_.end() && run->second)
                run->second();
        });
        actions_[command] = entry;
    }
    for (int k = 1; k <= kMonthMenuItems; ++k) {
        auto* entry = new QAction(window);
        entry->setObjectName(QStringLiteral("Mo%1").arg(k));
        dates_->addAction(entry);
        connect(entry, &QAction::triggered, this, [this, k] { emit MonthChosen(k); });
        months_[static_cast<std::size_t>(k)] = entry;
    }
}

QAction* MainMenus::action(Command command) const {
    const auto it = actions_.find(command);
    return it == actions_.end() ? nullptr : it->second;
}

QAction* MainMenus::month(int item) const {
    return item >= 1 && item <= kMonthMenuItems ? months_[static_cast<std::size_t>(item)] : nullptr;
}

void MainMenus::SetCommand(Command command, std::function<void()> run) {
    commands_[command] = std::move(run);
}

void MainMenus::ShowMonthItems(const std::vector<MonthMenuItem>& items) {
    for (int k = 1; k <= kMonthMenuItems && static_cast<std::size_t>(k) <= items.size(); ++k) {
        const MonthMenuItem& item = items[static_cast<std::size_t>(k - 1)];
        QAction* entry = months_[static_cast<std::size_t>(k)];
        entry->setText(FromCp1252(item.caption));
        entry->setVisible(item.visible);
    }
}

void MainMenus::ShowUndoSteps(const std::string& undo_name, const std::string& redo_name) {
    const auto show = [](QAction* item, const QString& verb, const std::string& name) {
        QString text = QLatin1Char('&') + verb;
        if (!name.empty()) {
            // A '&' of the step's name is shown as it is, not taken for a mnemonic.
            text += QLatin1Char(' ')
                + FromCp1252(name).replace(QLatin1Char('&'), QStringLiteral("&&"));
        }
        item->setText(text);
        item->setEnabled(!name.empty());
    };
    show(action(Command::kUndo), QStringLiteral("Undo"), undo_name);
    show(action(Command::kRedo), QStringLiteral("Redo"), redo_name);
}

} // namespace orvane
