#include "core/text_file.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <map>
#include <optional>
#include <system_error>

#ifndef _WIN32
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#else
#include <random>
#endif

namespace orvane {

std::vector<std::string> SplitLines(std::string_view text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    std::size_t i = 0;
    while (i < text.size()) {
        const char c = text[i];
        if (c == '\r' || c == '\n') {
            lines.emplace_back(text.substr(start, i - start));
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
            start = i + 1;
        }
        ++i;
    }
    if (start < text.size())
        lines.emplace_back(text.substr(start));
    return lines;
}

namespace {

namespace fs = std::filesystem;

std::error_code LastError() {
    return std::error_code(errno, std::generic_category());
}

// Links followed before a chain counts as a loop; Linux gives up after as many.
constexpr int kMaxLinkHops = 40;

// A temporary file is named "." + the target's name + "." + six characters that mkstemp fills in.
constexpr std::size_t kTemporarySuffixLength = 6;

// The file that `path` finally names: `path` itself unless it is a symbolic link, else the end of
// its chain of links, which need not exist. Errors name `path`, the file the caller knows.
Result<fs::path> FinalTarget(const fs::path& path, FileOperation operation) {
    fs::path current = path;
    for (int hop = 0; hop <= kMaxLinkHops; ++hop) {
        std::error_code ec;
        const fs::file_status status = fs::symlink_status(current, ec);
        if (status.type() == fs::file_type::not_found || (!ec && !fs::is_symlink(status)))
            return current;
        if (ec)
            return FileError(operation, path, ec);
        const fs::path to = fs::read_symlink(current, ec);
        if (ec)
            return FileError(operation, path, ec);
        // A relative link is relative to the folder of the link that holds it; an absolute one
        // replaces the whole path.
        current = current.parent_path() / to;
    }
    return FileError(
        operation, path, std::make_error_code(std::errc::too_many_symbolic_link_levels));
}

fs::path FolderOf(const fs::path& file) {
    return file.has_parent_path() ? file.parent_path() : fs::path(".");
}

// A target that names a folder ("dir/", "..") has no file name to put a temporary file beside.
bool NamesAFile(const fs::path& target) {
    const fs::path name = target.filename();
    return !name.empty() && name != "." && name != "..";
}

// The name of a temporary file for a save of `target` in the target's folder.
std::string TemporaryName(const fs::path& target, std::string_view suffix) {
    return "." + target.filename().string() + "." + std::string(suffix);
}

bool IsTemporaryCharacter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
}

// True when `file` is a temporary file name that a save of `name` makes.
bool IsTemporaryOf(std::string_view file, std::string_view name) {
    return file.size() == name.size() + 2 + kTemporarySuffixLength && file.front() == '.'
        && file.substr(1, name.size()) == name && file[name.size() + 1] == '.'
        && std::all_of(file.end() - kTemporarySuffixLength, file.end(), IsTemporaryCharacter);
}

bool IsNotFound(const std::error_code& ec) {
    return ec == std::errc::no_such_file_or_directory || ec == std::errc::not_a_directory;
}

} // namespace

Result<std::string> ReadWholeFile(const std::filesystem::path& path) {
    std::error_code ec;
    const auto status = std::filesystem::status(path, ec);
    if (!std::filesystem::exists(status)) {
        return FileError(FileOperation::kRead, path,
            ec && ec != std::errc::no_such_file_or_directory
                ? ec
                : std::make_error_code(std::errc::no_such_file_or_directory));
    }
    if (std::filesystem::is_directory(status))
        return FileError(FileOperation::kRead, path, "it is a folder, not a file");
    errno = 0;
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        const std::error_code code
            = errno != 0 ? LastError() : std::make_error_code(std::errc::io_error);
        return FileError(FileOperation::kRead, path, code);
    }
    // Sized from the file, then read in blocks until the end: a file that grows while it is read
    // is read to its new end, one that shrinks to where it stops.
    std::error_code size_error;
    const std::uintmax_t expected = std::filesystem::file_size(path, size_error);
    constexpr std::size_t kBlock = std::size_t { 64 } * 1024;
    // One byte over the expected size, so that a file read whole hits its end in one read.
    std::size_t block = size_error ? kBlock : static_cast<std::size_t>(expected) + 1;
    std::string bytes;
    std::size_t got = 0;
    do {
        bytes.resize(got + block);
        in.read(bytes.data() + got, static_cast<std::streamsize>(block));
        got += static_cast<std::size_t>(in.gcount());
        block = kBlock;
    } while (in);
    bytes.resize(got);
    if (in.bad())
        return FileError(FileOperation::kRead, path, std::make_error_code(std::errc::io_error));
    return bytes;
}

#ifndef _WIN32
namespace {

Status WriteAll(
    int fd, std::string_view bytes, FileOperation operation, const std::filesystem::path& target) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return FileError(operation, target, LastError());
        }
        done += static_cast<std::size_t>(n);
    }
    return Ok();
}

} // namespace

Status WriteFileAtomic(const std::filesystem::path& path, std::string_view bytes) {
    const Result<fs::path> resolved = FinalTarget(path, FileOperation::kWrite);
    if (!resolved)
        return resolved.error();
    const fs::path& target = *resolved;
    if (!NamesAFile(target))
        return FileError(FileOperation::kWrite, target, "it is a folder, not a file");
    // The temporary file goes beside the target, so that the rename never crosses file systems
    // and replaces the target, not a link to it.
    const fs::path folder = FolderOf(target);
    std::string pattern
        = (folder / TemporaryName(target, std::string(kTemporarySuffixLength, 'X'))).string();
    const int fd = ::mkstemp(pattern.data());
    if (fd < 0)
        return FileError(FileOperation::kWrite, target, LastError());
    const fs::path temp = pattern;
    // Keep the permissions the old file had; a new file gets the usual 0644 rather than mkstemp's
    // 0600. A folder that keeps no permissions (some synced or FAT ones) refuses, and the save
    // goes on without them.
    struct stat old { };
    const mode_t mode = ::stat(target.c_str(), &old) == 0 ? (old.st_mode & 07777) : 0644;
    ::fchmod(fd, mode);
    Status status = WriteAll(fd, bytes, FileOperation::kWrite, target);
    if (status && ::fsync(fd) != 0)
        status = FileError(FileOperation::kWrite, target, LastError());
    if (::close(fd) != 0 && status)
        status = FileError(FileOperation::kWrite, target, LastError());
    if (status && std::rename(temp.c_str(), target.c_str()) != 0)
        status = FileError(FileOperation::kWrite, target, LastError());
    if (!status) {
        std::error_code ec;
        fs::remove(temp, ec);
        return status;
    }
    // Make the rename itself durable.
    const int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
    return Ok();
}

Status AppendToFile(const std::filesystem::path& path, std::string_view bytes, bool create) {
    const int flags = O_WRONLY | O_APPEND | (create ? O_CREAT : 0);
    const int fd = ::open(path.c_str(), flags, 0644);
    if (fd < 0)
        return FileError(FileOperation::kAppend, path, LastError());
    Status status = WriteAll(fd, bytes, FileOperation::kAppend, path);
    if (::close(fd) != 0 && status)
        status = FileError(FileOperation::kAppend, path, LastError());
    return status;
}
#else
namespace {

// Six characters of the kind mkstemp uses, so that RemoveStaleTemporaryFiles knows a temporary
// file left by either platform.
std::string TemporarySuffix() {
    static constexpr std::string_view kCharacters
        = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    std::random_device device;
    std::string suffix;
    for (std::size_t i = 0; i < kTemporarySuffixLength; ++i)
        suffix += kCharacters[device() % kCharacters.size()];
    return suffix;
}

} // namespace

Status WriteFileAtomic(const std::filesystem::path& path, std::string_view bytes) {
    const Result<fs::path> resolved = FinalTarget(path, FileOperation::kWrite);
    if (!resolved)
        return resolved.error();
    const fs::path& target = *resolved;
    if (!NamesAFile(target))
        return FileError(FileOperation::kWrite, target, "it is a folder, not a file");
    std::error_code ec;
    fs::path temp;
    do {
        temp = FolderOf(target) / TemporaryName(target, TemporarySuffix());
    } while (fs::exists(temp, ec));
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        out.flush();
        if (!out) {
            out.close();
            fs::remove(temp, ec);
            return FileError(
                FileOperation::kWrite, target, std::make_error_code(std::errc::io_error));
        }
    }
    fs::rename(temp, target, ec);
    if (ec) {
        std::error_code ignored;
        fs::remove(temp, ignored);
        return FileError(FileOperation::kWrite, target, ec);
    }
    return Ok();
}

Status AppendToFile(const std::filesystem::path& path, std::string_view bytes, bool create) {
    if (!create && !std::filesystem::exists(path))
        return FileError(FileOperation::kAppend, path,
            std::make_error_code(std::errc::no_such_file_or_directory));
    std::ofstream out(path, std::ios::binary | std::ios::app);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.flush();
    if (!out)
        return FileError(FileOperation::kAppend, path, std::make_error_code(std::errc::io_error));
    return Ok();
}
#endif

Result<int> RemoveStaleTemporaryFiles(
    const std::filesystem::path& folder, std::span<const std::string_view> file_names) {
    // Each folder to look in, with the names whose temporary files it may hold: every data file's
    // in the data folder, and a linked data file's target's beside that target.
    std::map<fs::path, std::vector<std::string>> names_by_folder;
    for (const std::string_view name : file_names) {
        names_by_folder[folder].emplace_back(name);
        std::error_code ec;
        if (!fs::is_symlink(fs::symlink_status(folder / name, ec)))
            continue;
        // A loop or an unreadable link has no target a save could have written beside.
        const Result<fs::path> target = FinalTarget(folder / name, FileOperation::kRemove);
        if (target && NamesAFile(*target))
            names_by_folder[FolderOf(*target)].push_back(target->filename().string());
    }

    int removed = 0;
    std::optional<Error> first_failure;
    const auto fail = [&first_failure](const fs::path& path, const std::error_code& ec) {
        if (!first_failure)
            first_failure = FileError(FileOperation::kRemove, path, ec);
    };
    for (const auto& [dir, names] : names_by_folder) {
        std::vector<fs::path> stale;
        std::error_code ec;
        for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
            const std::string file = it->path().filename().string();
            if (std::none_of(names.begin(), names.end(),
                    [&file](const std::string& name) { return IsTemporaryOf(file, name); }))
                continue;
            // Saves make regular files only: a folder or a link of the same name is someone
            // else's.
            std::error_code type_ec;
            if (it->symlink_status(type_ec).type() == fs::file_type::regular)
                stale.push_back(it->path());
        }
        if (ec && !IsNotFound(ec))
            fail(dir, ec);
        for (const fs::path& path : stale) {
            if (fs::remove(path, ec))
                ++removed;
            else if (ec)
                fail(path, ec);
        }
    }
    if (first_failure)
        return *first_failure;
    return removed;
}

} // namespace orvane
