#include "mainwindow/ui/instance_lock.h"

#include "core/ui/error_text.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QLockFile>
#include <QStandardPaths>

namespace orvane {

namespace {

constexpr int kWaitMs = 100;

std::unique_ptr<QLockFile> TryLock(const QString& path, bool& held) {
    auto lock = std::make_unique<QLockFile>(path);
    // A lock is never stale by age: only when the copy that wrote it is gone, which QLockFile
    // checks by its process id on this machine.
    lock->setStaleLockTime(0);
    held = lock->tryLock(kWaitMs);
    return lock;
}

} // namespace

InstanceLock::InstanceLock(
    const std::filesystem::path& data_dir, const QString& application_title) {
    const QString name = QLatin1Char('.') + application_title + QStringLiteral(".lock");
    bool held = false;
    lock_ = TryLock(QDir(PathText(data_dir)).filePath(name), held);
    if (!held && lock_->error() != QLockFile::LockFailedError) {
        // The data folder cannot hold a lock file; the user's runtime folder names it by the data
        // folder's path, so the rule still holds between this user's copies.
        std::error_code ec;
        const std::filesystem::path canonical = std::filesystem::weakly_canonical(data_dir, ec);
        const QByteArray key = QCryptographicHash::hash(
            QByteArray::fromStdString((ec ? data_dir : canonical).native()),
            QCryptographicHash::Sha1)
                                   .toHex()
                                   .left(16);
        QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
        if (runtime.isEmpty())
            runtime = QDir::tempPath();
        lock_ = TryLock(QDir(runtime).filePath(application_title + QLatin1Char('-')
                            + QString::fromLatin1(key) + QStringLiteral(".lock")),
            held);
        if (!held && lock_->error() != QLockFile::LockFailedError) {
            // No lock can be taken anywhere: running is better than refusing the user's own data.
            held = true;
        }
    }
    state_ = held ? State::kHeld : State::kHeldElsewhere;
}

InstanceLock::~InstanceLock() = default;

QString InstanceLock::FilePath() const {
    return lock_ ? lock_->fileName() : QString();
}

QString SecondInstanceMessage(const QString& application_title) {
    return QStringLiteral("You can only have one instance of [") + application_title.toUpper()
        + QStringLiteral("] running at one time.");
}

QString ApplicationTitle(const QString& executable_path) {
    QString base = QFileInfo(executable_path).completeBaseName();
    if (base.isEmpty())
        return base;
    return base.left(1) + base.mid(1).toLower();
}

} // namespace orvane
