#include "core/ui/desktop.h"

#include <QCursor>
#include <QDesktopServices>
#include <QUrl>

namespace orvane {

bool SystemDesktop::OpenDocument(const QString& path) {
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

void SystemDesktop::MovePointer(const QPoint& global) {
    QCursor::setPos(global);
}

} // namespace orvane
