// The undo history of the calendar document: every operation that changed days or files is one
// step that Undo() takes back and Redo() makes again, each as one kRestore operation through the
// document, so the grid refills and every listener hears it as it hears any operation.
//
// What is a step: an entry applied, a delete, a cycle, an import, a backup restored and each note
// stored from the grid (the text a cell's editor held when it lost the focus; the editor keeps
// its own undo of the typing until then). Moving the window and changing the preferences in
// memory are not steps: nothing of the calendar's content changes. Loading a calendar starts the
// history afresh.
//
//   UndoHistory history(document);             // listens from here on
//   if (history.CanUndo()) Status undone = history.Undo();   // "Undo " + history.UndoName()
#pragma once

#include "core/calendar_document.h"
#include "core/result.h"

#include <cstddef>
#include <deque>
#include <functional>
#include <string>

namespace orvane {

class UndoHistory final : public DocumentListener {
public:
    static constexpr std::size_t kDefaultSteps = 100;

    explicit UndoHistory(CalendarDocument& document, std::size_t max_steps = kDefaultSteps);
    ~UndoHistory() override;
    UndoHistory(const UndoHistory&) = delete;
    UndoHistory& operator=(const UndoHistory&) = delete;

    bool CanUndo() const { return !undo_.empty(); }
    bool CanRedo() const { return !redo_.empty(); }
    // What the next Undo() or Redo() takes back or makes again: "Weekly Entry 'Church'"; empty
    // when there is nothing.
    std::string UndoName() const;
    std::string RedoName() const;
    std::size_t undo_steps() const { return undo_.size(); }
    std::size_t redo_steps() const { return redo_.size(); }

    // Puts back the days, the window and every file of the last step, byte for byte. When a file
    // or a day is no longer as the step left it (changed since, by hand or by another program),
    // nothing is changed and the refusal says which; a failed write puts back what was already
    // done. The note being typed is stored first, as its own step, and is what is undone then.
    Status Undo();
    // Makes the last undone step again, under the same checks.
    Status Redo();

    // Called after the steps changed (a step recorded, undone, redone or the history cleared), for
    // the menu items.
    void SetOnChanged(std::function<void()> on_changed) { on_changed_ = std::move(on_changed); }

    void Changed(const CalendarDocument& document, const ChangeReport& report) override;

private:
    Status Apply(bool undo);
    void Notify();

    CalendarDocument& document_;
    std::size_t max_steps_;
    std::deque<ChangeReport> undo_; // oldest first
    std::deque<ChangeReport> redo_; // the next to redo last
    bool applying_ = false;
    std::function<void()> on_changed_;
};

// Puts files back as they were before `report`'s operation (undo) or makes its file changes again
// (redo), last file first for an undo. Every file is checked first; when one is not as the
// operation left it (or, for a redo, found it), nothing is written and the refusal names it. A
// write that fails puts back the files already done. Returns the whole-file replacements made,
// which the restore operation includes in its own report (removing a created file and cutting an
// append off are done in place and not repeated there).
Result<std::vector<FileChange>> RestoreFiles(
    const std::vector<FileChange>& files, bool undo, std::string_view name);

} // namespace orvane
