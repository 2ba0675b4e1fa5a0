// The print window and the iCalendar windows. They need the print support and iCalendar
// libraries, which most runs never use, so they live in a module that the program loads the first
// time one of them opens: start-up loads neither library, and a running program that never
// prints holds neither in memory.
//
//   auto extras = LoadExtraWindows(program_dir, { document, host, services, &main_window });
//   if (!extras) ... say extras.error()
//   (*extras)->OpenPrint();
#pragma once

#include "core/result.h"
#include "core/ui/services.h"

#include <filesystem>
#include <memory>

class QWidget;

namespace orvane {

class CalendarDocument;
class CalendarHost;

class ExtraWindows {
public:
    virtual ~ExtraWindows() = default;
    // Each window is built the first time it opens and kept for the rest of the run.
    virtual void OpenPrint() = 0; // modeless
    virtual void OpenExportICalendar() = 0; // modal
    virtual void ImportICalendar() = 0; // asks for a file, then shows the import window
};

// What the windows are built from.
struct ExtraWindowsContext {
    CalendarDocument& document;
    CalendarHost& host;
    Services services;
    QWidget* parent = nullptr;
};

// The module's one exported function: a new ExtraWindows that the caller owns.
using MakeExtraWindowsFunction = ExtraWindows* (*)(const ExtraWindowsContext& context);
inline constexpr const char* kMakeExtraWindowsSymbol = "orvane_make_extra_windows";
inline constexpr const char* kExtraWindowsModuleName = "orvane-extra-windows.so";

// The module's place relative to the program's folder: lib/orvane beside bin/ in an installation,
// and the same place in the build tree.
std::filesystem::path ExtraWindowsModulePath(const std::filesystem::path& program_dir);
// Loads the module (once; it stays loaded) and makes its windows. The error names the module
// and says why it could not be loaded.
Result<std::unique_ptr<ExtraWindows>> LoadExtraWindows(
    const std::filesystem::path& program_dir, const ExtraWindowsContext& context);

} // namespace orvane
