// Accessibility the toolkit does not give the program's windows on its own: a top-level window
// that is a plain widget (the main window, Search, the print window) is announced to a screen
// reader as a window, like the dialogs, rather than as an anonymous filler. Call it first in the
// window's constructor: an interface made earlier would be kept.
#pragma once

class QWidget;

namespace orvane {

void MarkAccessibleWindow(QWidget* window);

} // namespace orvane
