// The search window: finds text in the days of the grid and, when the user ticks them, in the
// archive and the free notes. It lists what it found, newest first within each source, each
// result with a snippet of the text around the match, and goes to a result: a day in the grid
// (its note focused with the match selected), a line of the archive window or a place in the
// notes window. It stays on top without blocking the main window, so it moves clear of what it
// shows. Results follow the typing after a short pause; a search that reads the files runs on a
// worker thread, and the next keystroke cancels it.
#pragma once

#include "core/calendar_document.h"
#include "core/ui/calendar_host.h"
#include "core/ui/services.h"
#include "tools/search_sources.h"

#include <QString>
#include <QWidget>
#include <functional>
#include <map>
#include <memory>
#include <thread>
#include <vector>

class QCheckBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTimer;

namespace orvane {

// The windows a result in the archive or the notes opens; app/ wires them to TArchive and TNotes.
struct SearchTargets {
    // The archive window with the characters [offset, offset + length) of line `line` selected.
    std::function<void(int line, int offset, int length)> open_archive;
    // The notes window with the characters [position, position + length) selected.
    std::function<void(int position, int length)> open_notes;
};

class TSearch : public QWidget {
    Q_OBJECT

public:
    TSearch(CalendarDocument& document, CalendarHost& host, Services services,
        QWidget* parent = nullptr);
    ~TSearch() override;

    void SetTargets(SearchTargets targets) { targets_ = std::move(targets); }

    // Re-initialises the window for one showing: stores the note being typed, and focuses the
    // search field on the first showing of the run.
    void Prepare();
    // Shows the window, or when it is open already brings it to the front with the keyboard in
    // its search field (F9 again).
    void OpenModeless();

    void BitBtn1Click(); // "Find": searches now and goes to the first day found
    void Edit1KeyUp(int key);
    void Edit1Change();
    void ListBox1MouseDown(Qt::MouseButton button);
    void BitBtn3Click(); // "Close"

    // Goes to the result in `row` of the list; with `activate` a day's main window comes to the
    // front, so that typing goes into the note.
    void GoToResult(int row, bool activate);

    // Searches started on a worker thread whose outcome has not come back yet.
    int RunningSearches() const { return static_cast<int>(workers_.size()); }

    // How long the typing must pause before the results follow it.
    static constexpr int kTypingPauseMs = 300;

signals:
    // A search's outcome is in the list. A search that was cancelled or overtaken by a later one
    // never gets this far.
    void ResultsShown();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    struct WorkerOutcome {
        SearchSources sources;
        SearchOutcome outcome;
    };

    SearchQuery CurrentQuery() const;
    // Searches for the field's text; `go_to_first` goes to the first result when it is a day.
    void StartSearch(bool go_to_first);
    // Stops the searches under way; whatever they still send back is dropped.
    void CancelSearch();
    void WorkerDone(int worker, int generation, bool go_to_first, const WorkerOutcome& done);
    void ShowOutcome(const SearchOutcome& outcome, bool go_to_first);
    void ShowSkipped(const std::vector<SkippedSource>& skipped);
    void GoToDay(const SearchResult& result, bool activate);
    // Moves the window so that it does not cover `area` (screen coordinates).
    void MoveClearOf(const QRect& area);
    void FocusSearchField();
    // Removes characters before the caret, as Backspace would, until the text fits the field's
    // width limit.
    void WidthCheck();

    CalendarDocument& document_;
    CalendarHost& host_;
    Services services_;
    SearchTargets targets_;
    bool first_activation_ = true;

    // The indexes of the last search, reused while their sources stay the same.
    SearchSources sources_;
    std::vector<SearchResult> results_; // one per row of the list
    QString skipped_shown_; // the skipped sources the status shows, to log each failure once
    int generation_ = 0; // counts searches started; an outcome of an older one is dropped
    int next_worker_ = 0;
    // Declared last so that it is destroyed first: every worker is stopped and joined while
    // the window it reports to still exists.
    std::map<int, std::jthread> workers_;

    QPushButton* find_button_ = nullptr; // BitBtn1
    QLineEdit* search_edit_ = nullptr; // Edit1
    QCheckBox* days_check_ = nullptr; // CheckBox1
    QCheckBox* archive_check_ = nullptr; // CheckBox2
    QCheckBox* notes_check_ = nullptr; // CheckBox3
    QCheckBox* whole_word_check_ = nullptr; // CheckBox4
    QCheckBox* all_words_check_ = nullptr; // CheckBox5
    QLabel* status_label_ = nullptr; // Label1
    QListWidget* result_list_ = nullptr; // ListBox1
    QLabel* skipped_label_ = nullptr; // Label2
    QPushButton* close_button_ = nullptr; // BitBtn3
    QTimer* typing_pause_ = nullptr;
};

} // namespace orvane
