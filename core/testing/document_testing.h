// For model tests: runs an operation on a day store and a data folder the test holds, as the
// calendar document would, and hands back the changed store and the report.
//
//   DayStore store = ...;
//   ChangeReport report = RunOperation(store, data, [&](DocumentEdit& edit) { ... });
#pragma once

#include "core/calendar_document.h"

#include <functional>

namespace orvane {

inline ChangeReport RunOperation(DayStore& store, const DataFolder& data,
    const std::function<void(DocumentEdit&)>& work,
    OperationKind kind = OperationKind::kApplyEntry) {
    CalendarDocument document(data);
    const bool loaded = store.loaded();
    document.Adopt(store, "");
    ChangeReport report = document.Run(kind, "test", work);
    store = document.store();
    store.set_loaded(loaded);
    return report;
}

} // namespace orvane
