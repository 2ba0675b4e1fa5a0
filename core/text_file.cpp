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

std::string FileErrorText(
    std::string_view verb, const std::filesystem::path& path, std::string_view reason) {
    std::string text = "Could not ";
    text += verb;
    text += " ";
    text += path.string();
    text += ": ";
    text += reason;
    return text;
}

FileRead ReadWholeFile(const std::filesystem::path& path) {
    FileRead result;
    std::error_code ec;
    const auto status = std::filesystem::status(path, ec);
    if (!std::filesystem::exists(status)) {
        result.state = FileRead::State::kMissing;
        result.error = FileErrorText("read", path, "the file does not exist");
        return result;
    }
    if (std::filesystem::is_directory(status)) {
        result.state = FileRead::State::kUnreadable;
        result.error = FileErrorText("read", path, "it is a folder, not a file");
        return result;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        result.state = FileRead::State::kUnreadable;
        result.error = FileErrorText("read", path, std::strerror(errno));
        return result;
    }
    result.bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    if (in.bad()) {
        result.state = FileRead::State::kUnreadable;
        result.error = FileErrorText("read", path, "a read error occurred");
        result.bytes.clear();
    }
    return result;
}

#ifndef _WIN32
namespace {

Status WriteAll(int fd, std::string_view bytes, const std::filesystem::path& target) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return Status::Error(FileErrorText("write", target, std::strerror(errno)));
        }
        done += static_cast<std::size_t>(n);
    }
    return Status::Ok();
}

} // namespace

Status WriteFileAtomic(const std::filesystem::path& path, std::string_view bytes) {
    const std::filesystem::path folder = path.has_parent_path() ? path.parent_path() : ".";
    std::string pattern = (folder / ("." + path.filename().string() + ".XXXXXX")).string();
    const int fd = ::mkstemp(pattern.data());
    if (fd < 0)
        return Status::Error(FileErrorText("write", path, std::strerror(errno)));
    const std::filesystem::path temp = pattern;
    Status status = WriteAll(fd, bytes, path);
    if (status && ::fsync(fd) != 0)
        status = Status::Error(FileErrorText("write", path, std::strerror(errno)));
    if (::close(fd) != 0 && status)
        status = Status::Error(FileErrorText("write", path, std::strerror(errno)));
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
        status = Status::Error(FileErrorText("write", path, std::strerror(errno)));
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
    return Status::Ok();
}

Status AppendToFile(const std::filesystem::path& path, std::string_view bytes, bool create) {
    const int flags = O_WRONLY | O_APPEND | (create ? O_CREAT : 0);
    const int fd = ::open(path.c_str(), flags, 0644);
    if (fd < 0)
        return Status::Error(FileErrorText("append to", path, std::strerror(errno)));
    Status status = WriteAll(fd, bytes, path);
    if (::close(fd) != 0 && status)
        status = Status::Error(FileErrorText("append to", path, std::strerror(errno)));
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
            return Status::Error(FileErrorText("write", path, "a write error occurred"));
    }
    std::error_code ec;
    std::filesystem::rename(temp, path, ec);
    if (ec)
        return Status::Error(FileErrorText("write", path, ec.message()));
    return Status::Ok();
}

Status AppendToFile(const std::filesystem::path& path, std::string_view bytes, bool create) {
    if (!create && !std::filesystem::exists(path))
        return Status::Error(FileErrorText("append to", path, "the file does not exist"));
    std::ofstream out(path, std::ios::binary | std::ios::app);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.flush();
    if (!out)
        return Status::Error(FileErrorText("append to", path, "a write error occurred"));
    return Status::Ok();
}
#endif

} // namespace orvane
