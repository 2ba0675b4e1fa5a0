#include "core/ui/accessible_window.h"

#include <QAccessibleWidget>
#include <QVariant>
#include <QWidget>

namespace orvane {

namespace {

constexpr const char* kWindowProperty = "orvaneAccessibleWindow";

QAccessibleInterface* WindowFactory(const QString&, QObject* object) {
    auto* widget = qobject_cast<QWidget*>(object);
    if (widget && widget->isWindow() && widget->property(kWindowProperty).toBool())
        return new QAccessibleWidget(widget, QAccessible::Window);
    return nullptr;
}

} // namespace

void MarkAccessibleWindow(QWidget* window) {
    static const bool installed = [] {
        QAccessible::installFactory(WindowFactory);
        return true;
    }();
    (void)installed;
    window->setProperty(kWindowProperty, true);
}

} // namespace orvane
