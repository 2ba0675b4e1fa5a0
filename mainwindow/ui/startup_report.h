// What the main window says about its start-up: why it cannot go on (preferences missing, a bad
// day file, a second copy), or what it warns about while going on.
//
//   if (!ReportStartup(Startup(document, today), data_dir, program_dir, services)) return false;
#pragma once

#include "core/ui/services.h"
#include "mainwindow/startup.h"

#include <QString>
#include <filesystem>

namespace orvane {

// Shows the outcome's message, if it has one. True when start-up goes on.
bool ReportStartup(const StartupOutcome& start, const std::filesystem::path& data_dir,
    const QString& program_dir, Services services);

} // namespace orvane
