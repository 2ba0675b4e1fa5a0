#include "core/ui/document_events.h"

namespace orvane {

DocumentEvents::DocumentEvents(CalendarDocument& document, QObject* parent)
    : QObject(parent)
    , document_(document) {
    document_.AddListener(this);
}

DocumentEvents::~DocumentEvents() {
    document_.RemoveListener(this);
}

void DocumentEvents::BeforeChange(CalendarDocument&) {
    emit AboutToChange();
}

void DocumentEvents::Changed(const CalendarDocument&, const ChangeReport& report) {
    emit DocumentChanged(report);
}

void DocumentEvents::Saved(const CalendarDocument&) {
    emit DocumentSaved();
}

} // namespace orvane
