// The main window's menus: File, Cal and Help, built from the command table (items with their
// program names, captions and shortcuts, the shortcuts working with the menus closed), and the
// "Dates " month menu, whose two columns (month, year) line up however wide the blanks after a
// month are in the menu's font.
#pragma once

#include "core/month_menu_item.h"
#include "mainwindow/ui/commands.h"

#include <QObject>
#include <QProxyStyle>
#include <array>
#include <functional>
#include <map>
#include <string>
#include <vector>

class QAction;
class QMenu;
class QWidget;

namespace orvane {

// Draws a month menu item's caption in two columns: the month at the text's place, the year
// right-aligned at the item's right edge. The caption itself stays as it is.
class MonthColumnsStyle : public QProxyStyle {
    Q_OBJECT
public:
    using QProxyStyle::QProxyStyle;
    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
        const QWidget* widget = nullptr) const override;
    QSize sizeFromContents(ContentsType type, const QStyleOption* option, const QSize& size,
        const QWidget* widget = nullptr) const override;
};

class MainMenus : public QObject {
    Q_OBJECT
public:
    // Items with a shortcut are added to `window` too, so their keys work with the menus closed.
    explicit MainMenus(QWidget* window);

    QMenu* menu(MenuName name) const { return menus_.at(name); }
    QMenu* dates() const { return dates_; }
    QAction* action(Command command) const;
    QAction* month(int item) const; // Mo1-Mo25
    void SetCommand(Command command, std::function<void()> run);
    // Captions and visibility of the 25 month items.
    void ShowMonthItems(const std::vector<MonthMenuItem>& items);
    // The Undo and Redo items name the step they take back or make again ("Undo Weekly Entry
    // 'Church'"); with no step (an empty name) they are disabled.
    void ShowUndoSteps(const std::string& undo_name, const std::string& redo_name);

signals:
    void MonthChosen(int item);

private:
    std::map<MenuName, QMenu*> menus_;
    QMenu* dates_ = nullptr;
    std::map<Command, QAction*> actions_;
    std::map<Command, std::function<void()>> commands_;
    std::array<QAction*, 26> months_ {}; // index 1-25
};

} // namespace orvane
