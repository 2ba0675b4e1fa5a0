// Program entry: settles the command line and the data folder (app/ui/launch.h), creates the main
// window, wires the menus to the other windows (built when first opened) and runs the event loop
// until the main window closes.
#include "app/startup_probe.h"
#include "app/ui/extra_windows.h"
#include "app/ui/launch.h"
#include "core/clock.h"
#include "core/ui/desktop.h"
#include "core/ui/error_text.h"
#include "core/ui/notifier.h"
#include "cycling/ui/archive_windows.h"
#include "cycling/ui/t_cycle.h"
#include "history/ui/t_restore.h"
#include "mainwindow/ui/instance_lock.h"
#include "mainwindow/ui/t_form1.h"
#include "prefs/ui/t_prefs.h"
#include "printing/ui/print_size_store.h"
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
#include <filesystem>
#include <functional>
#include <memory>
#include <utility>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace {

// One window of the program, built the first time it is opened and kept, with its state, for the
// rest of the run. Most runs open few of them: building them all would cost memory for nothing.
template <typename Window> class OnDemand {
public:
    explicit OnDemand(std::function<std::unique_ptr<Window>()> make)
        : make_(std::move(make)) { }

    Window& get() {
        if (!window_)
            window_ = make_();
        return *window_;
    }

private:
    std::function<std::unique_ptr<Window>()> make_;
    std::unique_ptr<Window> window_;
};

// Shows a modal window, then hands activation back to the main window.
template <typename Window>
std::function<void()> Modal(OnDemand<Window>& window, orvane::TForm1& form) {
    return [&window, &form] {
        window.get().OpenModal();
        form.ChildWindowClosed();
    };
}

// The windows other than the main window, each built when it is first opened. (The grid has the
// calendar font of pref.ovd from the main window's start-up, not from the preferences dialog.)
struct ProgramWindows {
    ProgramWindows(
        orvane::TForm1& form, orvane::Services services, std::filesystem::path program_dir)
        : program_dir_(std::move(program_dir))
        , form_(form)
        , services_(services)
        , prefs([&form, services] {
            return std::make_unique<orvane::TPrefs>(
                form.document(), form, services, form.backups(), &form);
        })
        , mo_to_mo(Make<orvane::TMoToMo>(form, services))
        , cycle(Make<orvane::TCycle>(form, services))
        , wk_to_wk(Make<orvane::TWkToWk>(form, services))
        , del_entry(Make<orvane::TDelEntry>(form, services))
        , about([&form] { return std::make_unique<orvane::TAbout>(form.document().data(), &form); })
        , archive([&form, services] {
            return std::make_unique<orvane::TArchive>(
                form.document().data(), services, form.backups(), &form);
        })
        , notes([&form, services] {
            return std::make_unique<orvane::TNotes>(
                form.document().data(), services.notifier, form.backups(), &form);
        })
        , yr_to_yr(Make<orvane::TYrToYr>(form, services))
        , errors([&form, services] {
            return std::make_unique<orvane::TErrors>(
                form.document().data(), services.notifier, form.backups(), &form);
        })
        , day_to_day(Make<orvane::TDayToDay>(form, services))
        , search([this, &form, services] {
            auto window = std::make_unique<orvane::TSearch>(form.document(), form, services, &form);
            // A result in the archive or the notes opens that window at the match.
            orvane::SearchTargets targets;
            targets.open_archive = [this, &form](int line, int offset, int length) {
                archive.get().OpenModalAt(line, offset, length);
                form.ChildWindowClosed();
            };
            targets.open_notes = [this, &form](int position, int length) {
                notes.get().OpenModalAt(position, length);
                form.ChildWindowClosed();
            };
            window->SetTargets(std::move(targets));
            return window;
        })
        , restore([&form, services] {
            return std::make_unique<orvane::TRestore>(
                form.document(), form.backups(), services, &form);
        }) { }

    // The windows built from the document, the main window and the services alone.
    template <typename Window>
    static OnDemand<Window> Make(orvane::TForm1& form, orvane::Services services) {
        return OnDemand<Window>([&form, services] {
            return std::make_unique<Window>(form.document(), form, services, &form);
        });
    }

    void WireCommands(orvane::TForm1& form) {
        using orvane::Command;
        form.SetCommand(Command::kArchives, Modal(archive, form));
        form.SetCommand(Command::kNotes, Modal(notes, form));
        form.SetCommand(Command::kErrorLog, Modal(errors, form));
        form.SetCommand(Command::kPreferences, Modal(prefs, form));
        form.SetCommand(Command::kPrint, [this] {
            if (orvane::ExtraWindows* extras = Extras())
                extras->OpenPrint();
        });
        form.SetCommand(Command::kExportICalendar, [this, &form] {
            if (orvane::ExtraWindows* extras = Extras()) {
                extras->OpenExportICalendar();
                form.ChildWindowClosed();
            }
        });
        form.SetCommand(Command::kImportICalendar, [this, &form] {
            if (orvane::ExtraWindows* extras = Extras()) {
                extras->ImportICalendar();
                form.ChildWindowClosed();
            }
        });
        form.SetCommand(Command::kCycleCalendar, [this, &form] {
            cycle.get().CycleCalendar1Click();
            form.ChildWindowClosed();
        });
        form.SetCommand(Command::kDailyEntry, Modal(day_to_day, form));
        form.SetCommand(Command::kWeeklyEntry, Modal(wk_to_wk, form));
        form.SetCommand(Command::kMonthlyEntry, Modal(mo_to_mo, form));
        form.SetCommand(Command::kYearlyEntry, Modal(yr_to_yr, form));
        form.SetCommand(Command::kDeleteEntry, Modal(del_entry, form));
        form.SetCommand(Command::kSearch, [this] { search.get().OpenModeless(); });
        form.SetCommand(Command::kRestore, Modal(restore, form));
        form.SetCommand(Command::kAbout, Modal(about, form));
    }

    // The print and iCalendar windows, from their module; a module that cannot be loaded is said
    // each time one of them is asked for.
    orvane::ExtraWindows* Extras() {
        if (!extras_) {
            auto loaded = orvane::LoadExtraWindows(
                program_dir_, { form_.document(), form_, services_, &form_ });
            if (!loaded) {
                services_.notifier.Show(orvane::Notifier::Kind::kError,
                    QStringLiteral("The print and iCalendar windows could not be loaded.\n\n")
                        + orvane::ErrorText(loaded.error()));
                return nullptr;
            }
            extras_ = std::move(*loaded);
        }
        return extras_.get();
    }

    std::filesystem::path program_dir_;
    orvane::TForm1& form_;
    orvane::Services services_;
    std::unique_ptr<orvane::ExtraWindows> extras_;
    OnDemand<orvane::TPrefs> prefs;
    OnDemand<orvane::TMoToMo> mo_to_mo;
    OnDemand<orvane::TCycle> cycle;
    OnDemand<orvane::TWkToWk> wk_to_wk;
    OnDemand<orvane::TDelEntry> del_entry;
    OnDemand<orvane::TAbout> about;
    OnDemand<orvane::TArchive> archive; // owns TArchHelp and TSaveArch
    OnDemand<orvane::TNotes> notes;
    OnDemand<orvane::TYrToYr> yr_to_yr;
    OnDemand<orvane::TErrors> errors;
    OnDemand<orvane::TDayToDay> day_to_day;
    OnDemand<orvane::TSearch> search;
    OnDemand<orvane::TRestore> restore;
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
    orvane::bench::ReportStartupMoment("main");
    // The command line, the data folder and the display are settled before any window.
    const orvane::StartPlan start = orvane::PrepareStart(argc, argv);
    if (start.exit_code)
        return *start.exit_code;
    QApplication app(argc, argv);
    orvane::bench::ReportStartupMoment("app");
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
    auto* sun_moon = new orvane::sky::SunMoonStrip(clock, &form);
    form.SetToolbarStrip({ sun_moon,
        [sun_moon](const orvane::Preferences& prefs) { sun_moon->ApplyStartupFlags(prefs); },
        [sun_moon, &clock, &notifier](
            const orvane::PrefLines& lines, const orvane::Preferences& prefs) {
            sun_moon->Activate(lines, prefs, clock.Now(), notifier);
        } });
    if (!form.FormCreate())
        return 0;

    // What the first paint does not need waits for it: the icon, the backup settings and the
    // commands that open the other windows.
    std::unique_ptr<ProgramWindows> windows;
    RunAfterFirstPaint(&form, [&] {
        orvane::ApplyProgramIcon();
        {
            // No save comes before this: there was no window to ask for one.
            orvane::SettingsPrintSizeStore settings;
            form.backups().SetPolicy(orvane::ReadBackupPolicy(settings));
        }
        windows = std::make_unique<ProgramWindows>(
            form, services, orvane::SystemProgramFolders().program_dir);
        windows->WireCommands(form);
#if defined(__GLIBC__)
        // Start-up's passing buffers (the files read whole, their parsing, the first layout) are
        // free again; hand their pages back rather than hold them for the whole run.
        malloc_trim(0);
#endif
        if (orvane::QuitAfterStartRequested())
            QTimer::singleShot(0, &form, &QWidget::close);
    });
    orvane::bench::InstallStartupProbe(&form);
    orvane::bench::ReportStartupMoment("show");
    form.show();
    return QApplication::exec();
}
