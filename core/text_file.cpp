#include "core/text_file.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <system_error>

#ifndef _WIN32
#include <fcntl.h>
#include <unistd.h>
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

std::error_code LastError() {
    return std::error_code(errno, std::generic_category());
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
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
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
    const std::filesystem::path folder = path.has_parent_path() ? path.parent_path() : ".";
    std::string pattern = (folder / ("." + path.filename().string() + ".XXXXXX")).string();
    const int fd = ::mkstemp(pattern.data());
    if (fd < 0)
        return FileError(FileOperation::kWrite, path, LastError());
    const std::filesystem::path temp = pattern;
    Status status = WriteAll(fd, bytes, FileOperation::kWrite, path);
    if (status && ::fsync(fd) != 0)
        status = FileError(FileOperation::kWrite, path, LastError());
    if (::close(fd) != 0 && status)
        status = FileError(FileOperation::kWrite, path, LastError());
    // Keep the permissions an existing file had; a new file gets the usual 0644.
    std::error_code ec;
    const auto old = std::filesystem::status(path, ec);
    const auto perms = std::filesystem::exists(old)
        ? old.permissions()
        : (std::filesystem::perms::owner_read | std::filesystem::perms::owner_write
            | std::filesystem::perms::group_read | std::filesystem::perms::others_read);
    if (status)
        std::filesystem::permissions(temp, perms, ec);
    if (status && std::rename(temp.c_str(), path.c_str()) != 0)
        status = FileError(FileOperation::kWrite, path, LastError());
    if (!status) {
        std::filesystem::remove(temp, ec);
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
Status WriteFileAtomic(const std::filesystem::path& path, std::string_view bytes) {
    const std::filesystem::path temp = path.string() + ".tmp";
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        out.flush();
        if (!out)
            return FileError(
                FileOperation::kWrite, path, std::make_error_code(std::errc::io_error));
    }
    std::error_code ec;
    std::filesystem::rename(temp, path, ec);
    if (ec)
        return FileError(FileOperation::kWrite, path, ec);
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

} // namespace orvane
