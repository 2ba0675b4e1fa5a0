#include "core/ui/error_text.h"

#include "core/ui/text_codec.h"

#include <QFile>

namespace orvane {

// Warnings and above by default; information and debug messages when the rules ask for them.
Q_LOGGING_CATEGORY(FileLog, "orvane.files", QtWarningMsg)

namespace {

QString Verb(FileOperation operation) {
    switch (operation) {
    case FileOperation::kRead:
        return QStringLiteral("read");
    case FileOperation::kWrite:
        return QStringLiteral("write");
    case FileOperation::kAppend:
        return QStringLiteral("append to");
    case FileOperation::kCopy:
        return QStringLiteral("copy");
    case FileOperation::kCreateFolder:
        return QStringLiteral("create the folder");
    case FileOperation::kRemove:
        return QStringLiteral("remove");
    case FileOperation::kLock:
        return QStringLiteral("lock");
    }
    return QStringLiteral("use");
}

QString Reason(const IoError& io) {
    if (io.code) {
        if (io.code == std::errc::no_such_file_or_directory)
            return QStringLiteral("the file does not exist");
        // The system's text comes in the user's language and encoding.
        return QString::fromLocal8Bit(io.code.message());
    }
    return QString::fromUtf8(io.reason);
}

QString FileFailureText(const IoError& io) {
    return QStringLiteral("Could not %1 %2: %3")
        .arg(Verb(io.operation), PathText(io.path), Reason(io));
}

} // namespace

QString PathText(const std::filesystem::path& path) {
    return QFile::decodeName(QByteArray::fromStdString(path.native()));
}

QString ReasonText(const Error& error) {
    return error.io ? Reason(*error.io) : FromCp1252(error.note);
}

void LogFileError(const Error& error) {
    if (error.io)
        qCWarning(FileLog).noquote() << FileFailureText(*error.io);
}

QString ErrorText(const Error& error) {
    QString text;
    if (error.io) {
        text = FileFailureText(*error.io);
        LogFileError(error);
    }
    if (!error.note.empty()) {
        if (!text.isEmpty())
            text += QLatin1Char('\n');
        text += FromCp1252(error.note);
    }
    return text;
}

} // namespace orvane
