// A program folder in a temporary directory, with a non-ASCII name, its csystem data and a main
// window on it: the set-up the main window's tests share.
#pragma once

#include "core/clock.h"
#include "core/day_file.h"
#include "core/text_file.h"
#include "core/ui/desktop.h"
#include "core/ui/error_text.h"
#include "core/ui/notifier.h"
#include "core/ui/testing/fake_calendar_host.h"
#include "mainwindow/ui/day_grid.h"
#include "mainwindow/ui/note_editor.h"
#include "mainwindow/ui/t_form1.h"

#include <QAction>
#include <QApplication>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

namespace orvane {

inline const char* kPref
    = "01100001010\r\nSUN\r\nMON\r\nTUE\r\nWED\r\nTHU\r\nFRI\r\nSAT\r\nJan\r\nFeb\r\n"
      "Mar\r\nApr\r\nMay\r\nJun\r\nJul\r\nAug\r\nSep\r\nOct\r\nNov\r\nDec\r\ncsystem\r\n"
      "00.00\r\n00.00\r\n0\r\nVerdana\r\n";

// A calendar from Sunday 10 March 2024 with `entries` added to day `slot`.
inline std::string SavedCalendarWith(int slot, const std::string& entries) {
    DayStore store;
    NewCalendar(MakeDate(2024, 3, 10), store);
    store[slot] += entries;
    return FormatDayFile(store);
}

// Today is Thursday 14 March 2024, 9:00. An empty `pref` leaves pref.ovd out.
struct Harness {
    explicit Harness(const std::string& cdat = {}, const std::string& pref = kPref)
        : clock(LocalTime { MakeDate(2024, 3, 14), 9, 0, 0 }) {
        data = NonAsciiDataFolder(dir.path());
        if (!pref.empty())
            Write("pref.ovd", pref);
        Write("cdat.ovd", cdat);
        options.program_dir = dir.filePath(kNonAsciiFolder);
        options.data_dir = data;
        options.application_title = QStringLiteral("Orvane");
    }
    TForm1& Form() {
        if (!form)
            form = std::make_unique<TForm1>(options, Services { notes, clock, desk });
        return *form;
    }
    // The window started; with `shown`, on screen and active too.
    TForm1& Start(bool shown = false) {
        if (!Form().FormCreate())
            qFatal("the main window did not start");
        if (shown) {
            form->show();
            QApplication::setActiveWindow(form.get());
            if (!QTest::qWaitForWindowActive(form.get()))
                qFatal("the main window did not become active");
        }
        return *form;
    }
    std::string Read(std::string_view name) { return ReadWholeFile(data / name).value_or(""); }
    bool Exists(std::string_view name) { return std::filesystem::exists(data / name); }
    void Write(std::string_view name, const std::string& bytes) {
        if (!WriteFileAtomic(data / name, bytes))
            qFatal("cannot write the test's file");
    }

    QTemporaryDir dir;
    std::filesystem::path data;
    StartupOptions options;
    RecordingNotifier notes;
    RecordingDesktop desk;
    FixedClock clock;
    std::unique_ptr<TForm1> form;
};

// A menu item by its name in the program.
inline QAction* Item(TForm1& form, const char* name) {
    return form.findChild<QAction*>(QString::fromLatin1(name));
}

inline DayCell* CellOf(TForm1& form, int cell) {
    return form.grid().CellWidget(cell);
}

} // namespace orvane
