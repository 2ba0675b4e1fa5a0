// The one outcome type of every operation that can fail for reasons outside the program's control
// (files, disks) or that the program refuses: Result<T> holds a value or an Error, like
// std::expected. Expected failures are returned, never thrown.
//
// An Error keeps what the user must be told as data: a failed file operation keeps its path as a
// path and the system's reason as an error code, and the program's own words (Windows-1252 bytes,
// like the files) stay apart from both. Only core/ui turns an Error into message text, so a path
// in a folder named "Tagebücher" reads the same in every box.
//
//   Result<std::string> bytes = ReadWholeFile(path);
//   if (!bytes) return bytes.error();          // or: notifier.Error(ErrorText(bytes.error()))
//   Use(*bytes);
#pragma once

#include <cassert>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <utility>
#include <variant>

namespace orvane {

// What a failed file operation was doing.
enum class FileOperation {
    kRead,
    kWrite,
    kAppend,
    kCopy,
    kCreateFolder,
    kRemove,
    kLock,
};

struct IoError {
    FileOperation operation = FileOperation::kRead;
    std::filesystem::path path;
    std::error_code code; // the system's reason, when it gave one
    std::string reason; // otherwise the reason in words, such as "it is a folder, not a file"
};

enum class ErrorKind {
    kFile, // a file operation failed; `io` says which
    kBadRecordCount, // the day file has a line count the program never writes
    kRefused, // the program refuses; `note` says why
};

struct Error {
    ErrorKind kind = ErrorKind::kRefused;
    std::optional<IoError> io;
    // The program's own words (Windows-1252 bytes): the whole message of a refusal, or what a
    // failed file operation means for the user ("No day was changed."). Lines are separated by
    // '\n'.
    std::string note;

    // Adds a line to the note.
    Error& Also(std::string_view line) {
        if (!line.empty()) {
            if (!note.empty())
                note += '\n';
            note += line;
        }
        return *this;
    }
};

inline Error FileError(FileOperation operation, std::filesystem::path path, std::error_code code) {
    return Error { ErrorKind::kFile, IoError { operation, std::move(path), code, {} }, {} };
}
inline Error FileError(FileOperation operation, std::filesystem::path path, std::string reason) {
    return Error { ErrorKind::kFile, IoError { operation, std::move(path), {}, std::move(reason) },
        {} };
}
inline Error Refusal(std::string note) {
    return Error { ErrorKind::kRefused, std::nullopt, std::move(note) };
}

// True for a read that failed only because the file is not there.
inline bool IsMissingFile(const Error& error) {
    return error.io && error.io->code == std::errc::no_such_file_or_directory;
}

template <class T> class [[nodiscard]] Result {
public:
    Result(T value)
        : state_(std::in_place_index<0>, std::move(value)) { }
    Result(Error error)
        : state_(std::in_place_index<1>, std::move(error)) { }

    bool has_value() const { return state_.index() == 0; }
    explicit operator bool() const { return has_value(); }

    T& value() & {
        assert(has_value());
        return std::get<0>(state_);
    }
    const T& value() const& {
        assert(has_value());
        return std::get<0>(state_);
    }
    T&& value() && {
        assert(has_value());
        return std::get<0>(std::move(state_));
    }
    T& operator*() & { return value(); }
    const T& operator*() const& { return value(); }
    T&& operator*() && { return std::move(*this).value(); }
    T* operator->() { return &value(); }
    const T* operator->() const { return &value(); }
    template <class U> T value_or(U&& fallback) const& {
        return has_value() ? value() : static_cast<T>(std::forward<U>(fallback));
    }

    const Error& error() const& {
        assert(!has_value());
        return std::get<1>(state_);
    }
    Error&& error() && {
        assert(!has_value());
        return std::get<1>(std::move(state_));
    }

private:
    std::variant<T, Error> state_;
};

template <> class [[nodiscard]] Result<void> {
public:
    Result() = default;
    Result(Error error)
        : error_(std::move(error)) { }

    bool has_value() const { return !error_.has_value(); }
    explicit operator bool() const { return has_value(); }
    const Error& error() const& {
        assert(error_.has_value());
        return *error_;
    }
    Error&& error() && {
        assert(error_.has_value());
        return std::move(*error_);
    }

private:
    std::optional<Error> error_;
};

using Status = Result<void>;

inline Status Ok() {
    return {};
}

} // namespace orvane
