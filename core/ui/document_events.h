// The calendar document's changes as Qt signals, for the windows: the grid stores the note being
// typed on AboutToChange and refills itself on Changed.
//
//   DocumentEvents events(document);
//   connect(&events, &DocumentEvents::Changed, grid, &DayGrid::Refresh);
#pragma once

#include "core/calendar_document.h"

#include <QObject>

namespace orvane {

class DocumentEvents : public QObject, public DocumentListener {
    Q_OBJECT
public:
    explicit DocumentEvents(CalendarDocument& document, QObject* parent = nullptr);
    ~DocumentEvents() override;

    CalendarDocument& document() { return document_; }

signals:
    // Before an operation: whoever holds an edit that is not stored yet stores it now (the
    // connection must be direct).
    void AboutToChange();
    void DocumentChanged(const orvane::ChangeReport& report);
    void DocumentSaved();

private:
    void BeforeChange(CalendarDocument& document) override;
    void Changed(const CalendarDocument& document, const ChangeReport& report) override;
    void Saved(const CalendarDocument& document) override;

    CalendarDocument& document_;
};

} // namespace orvane
