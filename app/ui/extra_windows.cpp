#include "app/ui/extra_windows.h"

#include "core/ui/error_text.h"

#include <QLibrary>

#ifndef ORVANE_EXTRAS_FROM_BIN
#error "ORVANE_EXTRAS_FROM_BIN must give the module's folder relative to the executable's"
#endif

namespace orvane {

std::filesystem::path ExtraWindowsModulePath(const std::filesystem::path& program_dir) {
    return (program_dir / ORVANE_EXTRAS_FROM_BIN / kExtraWindowsModuleName).lexically_normal();
}

Result<std::unique_ptr<ExtraWindows>> LoadExtraWindows(
    const std::filesystem::path& program_dir, const ExtraWindowsContext& context) {
    const std::filesystem::path path = ExtraWindowsModulePath(program_dir);
    // Never unloaded: the windows it makes live until the program ends.
    QLibrary module(PathText(path));
    auto make = reinterpret_cast<MakeExtraWindowsFunction>(module.resolve(kMakeExtraWindowsSymbol));
    if (!make)
        return FileError(FileOperation::kRead, path, module.errorString().toStdString());
    return std::unique_ptr<ExtraWindows>(make(context));
}

} // namespace orvane
