// Program entry: settles the command line and the data folder (app/ui/launch.h), creates every
// window once, in the program's fixed order, wires the menus to them and runs the event loop until
// the main window closes.
#include "app/startup_probe.h"
#include "app/ui/launch.h"
#include "core/clock.h"
#include "core/ui/desktop.h"
#include "core/ui/notifier.h"
#include "cycling/ui/archive_windows.h"
#include "cycling/ui/t_cycle.h"
#include "history/ui/t_restore.h"
#include "ical/ui/t_export_ical.h"
#include "ical/ui/t_import_ical.h"
#include "mainwindow/ui/t_form1.h"
#include "prefs/ui/t_prefs.h"
#include "printing/ui/pallet.h"
#include "printing/ui/print_size_store.h"
#include "printing/ui/printer_port.h"
#include "recurring/ui/t_day_to_day.h"
#include "recurring/ui/t_del_entry.h"
#include "recurring/ui/t_mo_to_mo.h"
#include "recurring/ui/t_wk_to_wk.h"
#include "recurring/ui/t_yr_to_yr.h"
#include "sky/ui/sun_moon_strip.h"
#include "tools/ui/t_errors.h"
#include "tools/ui/t_notes.h"
#include "tools/ui/t_search.h"

#include <QApplication>
#include <QTimer>
#include <functional>
#include <memory>
#include <utility>

namespace {

// Shows a modal window, then hands activation back to the main window.
template <typename Window> std::function<void()> Modal(Window& window, orvane::TForm1& form) {
    return [&window, &form] {
        window.OpenModal();
        form.ChildWindowClosed();
    };
}

// The windows other than the main window, in the order the program creates them.
struct ProgramWindows {
    ProgramWindows(orvane::TForm1& form, orvane::Services services)
        : mo_to_mo(form.document(), form, services, &form)
        , cycle(form.document(), form, services, &form)
        , wk_to_wk(form.document(), form, services, &form)
        , del_entry(form.document(), form, services, &form)
        , about(form.document().data(), &form)
        , archive(form.document().data(), services, form.backups(), &form)
        , notes(form.document().data(), services.notifier, form.backups(), &form)
        , yr_to_yr(form.document(), form, services, &form)
        , errors(form.document().data(), services.notifier, form.backups(), &form)
        , prefs(form.document(), form, services, form.backups(), &form)
        , day_to_day(form.document(), form, services, &form)
        , pallet(form, services.notifier, print_sizes, printer_port, &form)
        , search(form.document(), form, services, &form)
        , export_ical(form.document(), services, orvane::SystemIcsFilePicker(), &form)
        , import_ical(form.document(), services, orvane::SystemIcsFilePicker(), &form)
        , restore(form.document(), form.backups(), services, &form) { }

    void WireCommands(orvane::TForm1& form) {
        using orvane::Command;
        form.SetCommand(Command::kArchives, Modal(archive, form));
        form.SetCommand(Command::kNotes, Modal(notes, form));
        form.SetCommand(Command::kErrorLog, Modal(errors, form));
        form.SetCommand(Command::kPreferences, Modal(prefs, form));
        form.SetCommand(Command::kPrint, [this] { pallet.OpenModeless(); });
        form.SetCommand(Command::kExportICalendar, Modal(export_ical, form));
        form.SetCommand(Command::kImportICalendar, [this, &form] {
            import_ical.ImportICalendar1Click();
            form.ChildWindowClosed();
        });
        form.SetCommand(Command::kCycleCalendar, [this, &form] {
            cycle.CycleCalendar1Click();
            form.ChildWindowClosed();
        });
        form.SetCommand(Command::kDailyEntry, Modal(day_to_day, form));
        form.SetCommand(Command::kWeeklyEntry, Modal(wk_to_wk, form));
        form.SetCommand(Command::kMonthlyEntry, Modal(mo_to_mo, form));
        form.SetCommand(Command::kYearlyEntry, Modal(yr_to_yr, form));
        form.SetCommand(Command::kDeleteEntry, Modal(del_entry, form));
        form.SetCommand(Command::kSearch, [this] { search.OpenModeless(); });
        // A result in the archive or the notes opens that window at the match.
        orvane::SearchTargets targets;
        targets.open_archive = [this, &form](int line, int offset, int length) {
            archive.OpenModalAt(line, offset, length);
            form.ChildWindowClosed();
        };
        targets.open_notes = [this, &form](int position, int length) {
            notes.OpenModalAt(position, length);
            form.ChildWindowClosed();
        };
        search.SetTargets(std::move(targets));
        form.SetCommand(Command::kRestore, Modal(restore, form));
        form.SetCommand(Command::kAbout, Modal(about, form));
    }

    orvane::TMoToMo mo_to_mo;
    orvane::TCycle cycle;
    orvane::TWkToWk wk_to_wk;
    orvane::TDelEntry del_entry;
    orvane::TAbout about;
    orvane::TArchive archive; // owns TArchHelp and TSaveArch
    orvane::TNotes notes;
    orvane::TYrToYr yr_to_yr;
    orvane::TErrors errors;
    orvane::TPrefs prefs; // gives the notes the calendar font of pref.ovd
    orvane::TDayToDay day_to_day;
    orvane::SettingsPrintSizeStore print_sizes;
    orvane::SystemPrinterPort printer_port;
    orvane::TPallet pallet;
    orvane::TSearch search;
    orvane::TExportICal export_ical;
    orvane::TImportICal import_ical;
    orvane::TRestore restore;
};

// Runs `work` once, as soon as `window` has painted for the first time.
void RunAfterFirstPaint(QWidget* window, std::function<void()> work) {
    class Filter : public QObject {
    public:
        Filter(QObject* parent, std::function<void()> job)
            : QObject(parent)
            , job_(std::move(job)) { }

    protected:
        bool eventFilter(QObject* watched, QEvent* event) override {
            if (event->type() == QEvent::Paint && job_) {
                QTimer::singleShot(0, this, [this] {
                    auto job = std::move(job_);
                    job_ = nullptr;
                    job();
                    deleteLater();
                });
                watched->removeEventFilter(this);
            }
            return false;
        }

    private:
        std::function<void()> job_;
    };
    window->installEventFilter(new Filter(window, std::move(work)));
}

} // namespace

int main(int argc, char** argv) {
    // The command line, the data folder and the display are settled before any window.
    const orvane::StartPlan start = orvane::PrepareStart(argc, argv);
    if (start.exit_code)
        return *start.exit_code;
    QApplication app(argc, argv);
    orvane::ApplyDesktopIdentity();
    const QString title = orvane::ApplicationTitle(QCoreApplication::applicationFilePath());

    orvane::SystemClock clock;
    orvane::SystemDesktop desktop;
    orvane::MessageBoxNotifier notifier;

    orvane::StartupOptions options;
    options.program_dir = start.places.documents_dir;
    options.data_dir = start.places.data.dir;
    options.application_title = title;

    const orvane::Services services { notifier, clock, desktop };
    orvane::TForm1 form(options, services);
    {
        orvane::SettingsPrintSizeStore settings;
        form.backups().SetPolicy(orvane::ReadBackupPolicy(settings));
    }
    auto* sun_moon = new orvane::sky::SunMoonStrip(clock, &form);
    form.SetToolbarStrip({ sun_moon,
        [sun_moon](const orvane::Preferences& prefs) { sun_moon->ApplyStartupFlags(prefs); },
        [sun_moon, &clock, &notifier](
            const orvane::PrefLines& lines, const orvane::Preferences& prefs) {
            sun_moon->Activate(lines, prefs, clock.Now(), notifier);
        } });
    if (!form.FormCreate())
        return 0;

    // Every other window is created once, in the program's order, right after the main window
    // has first painted, and lives for the whole run.
    std::unique_ptr<ProgramWindows> windows;
    RunAfterFirstPaint(&form, [&] {
        windows = std::make_unique<ProgramWindows>(form, services);
        windows->WireCommands(form);
        if (orvane::QuitAfterStartRequested())
            QTimer::singleShot(0, &form, &QWidget::close);
    });
    orvane::bench::InstallStartupProbe(&form);
    form.show();
    return QApplication::exec();
}
