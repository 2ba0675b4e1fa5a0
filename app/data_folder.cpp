#include "app/data_folder.h"

#include "core/text_file.h"

#include <cerrno>
#include <system_error>

#ifndef _WIN32
#include <cstdlib>
#include <unistd.h>
#else
#include <fstream>
#endif

namespace orvane {

namespace fs = std::filesystem;

namespace {

std::error_code LastError() {
    return std::error_code(errno, std::generic_category());
}

// Creating a file is the only check that holds everywhere: permission bits say nothing for the
// administrator, a read-only mount or an access-control list.
Status CheckWritable(const fs::path& dir) {
#ifndef _WIN32
    std::string probe = (dir / ".orvane-write-check.XXXXXX").string();
    const int fd = ::mkstemp(probe.data());
    if (fd < 0)
        return FileError(FileOperation::kWrite, dir, LastError());
    ::close(fd);
    ::unlink(probe.c_str());
#else
    const fs::path probe = dir / ".orvane-write-check";
    errno = 0;
    if (!std::ofstream(probe, std::ios::binary))
        return FileError(FileOperation::kWrite, dir,
            errno ? LastError() : std::make_error_code(std::errc::permission_denied));
    std::error_code ec;
    fs::remove(probe, ec);
#endif
    return Ok();
}

Status MakeFolder(const fs::path& dir) {
    std::error_code ec;
    const fs::file_status status = fs::status(dir, ec);
    if (fs::is_directory(status))
        return Ok();
    if (fs::exists(status)) {
        return FileError(FileOperation::kCreateFolder, dir,
            fs::is_regular_file(status) ? "it is a file, not a folder" : "it is not a folder");
    }
    if (ec && ec != std::errc::no_such_file_or_directory)
        return FileError(FileOperation::kCreateFolder, dir, ec);
    // A dangling link would be followed by create_directories into wherever it points.
    if (fs::is_symlink(fs::symlink_status(dir, ec)))
        return FileError(FileOperation::kCreateFolder, dir, "it is a link to a missing folder");
    fs::create_directories(dir, ec);
    if (ec)
        return FileError(FileOperation::kCreateFolder, dir, ec);
    return Ok();
}

} // namespace

DataFolderChoice ChooseDataFolder(const std::optional<fs::path>& command_line_dir,
    const fs::path& program_dir, const fs::path& user_dir) {
    if (command_line_dir)
        return { DataFolderKind::kCommandLine, *command_line_dir };
    const fs::path portable = program_dir / kDataFolderName;
    std::error_code ec;
    if (fs::is_directory(portable, ec))
        return { DataFolderKind::kPortable, portable };
    return { DataFolderKind::kUser, user_dir };
}

Result<std::vector<std::string>> PrepareDataFolder(
    const fs::path& dir, const fs::path& defaults_dir) {
    if (Status made = MakeFolder(dir); !made)
        return std::move(made).error();
    if (Status writable = CheckWritable(dir); !writable)
        return std::move(writable).error().Also("Orvane must be able to create files in its data "
                                                "folder.");

    std::vector<std::string> copied;
    for (const std::string_view name : kDefaultDataFiles) {
        const fs::path target = dir / name;
        std::error_code ec;
        // symlink_status: a link counts as the file, even when its target is away (a synced
        // folder that is not mounted yet), so it is never replaced by a default.
        if (fs::exists(fs::symlink_status(target, ec)))
            continue;
        if (ec && ec != std::errc::no_such_file_or_directory)
            return FileError(FileOperation::kRead, target, ec);
        Result<std::string> bytes = ReadWholeFile(defaults_dir / name);
        if (!bytes) {
            return std::move(bytes).error().Also(
                "The default data files installed with Orvane are missing; reinstall Orvane.");
        }
        if (Status written = WriteFileAtomic(target, *bytes); !written)
            return std::move(written).error();
        copied.emplace_back(name);
    }
    return copied;
}

} // namespace orvane
