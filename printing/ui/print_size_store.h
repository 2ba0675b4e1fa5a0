// Where the print window keeps its two print-size values between runs: the user's settings under
// "Marrowby"/"Orvane" in production, a plain map in tests. The program's other settings that are
// not part of pref.ovd are kept there too: the two numbers of the rotating backups.
#pragma once

#include "core/file_backups.h"

#include <QMap>
#include <QString>
#include <optional>

namespace orvane {

class PrintSizeStore {
public:
    virtual ~PrintSizeStore() = default;
    // The stored text of `name`, or nothing when it was never stored.
    virtual std::optional<QString> Read(const QString& name) const = 0;
    // Stores `value` under `name`; false when it could not be kept.
    virtual bool Write(const QString& name, const QString& value) = 0;
};

// The user-scope QSettings of the program (the registry on Windows).
class SettingsPrintSizeStore final : public PrintSizeStore {
public:
    std::optional<QString> Read(const QString& name) const override;
    bool Write(const QString& name, const QString& value) override;
};

class MemoryPrintSizeStore final : public PrintSizeStore {
public:
    std::optional<QString> Read(const QString& name) const override;
    bool Write(const QString& name, const QString& value) override;

    QMap<QString, QString> values;
    bool fail_writes = false; // makes every Write fail, as a read-only settings store would
};

// The rotating backups' numbers, "BackupSaves" (the newest saves kept, 1-1000) and "BackupDays"
// (the days that keep their newest backup, 0-3650). A missing or unusable value keeps its default.
// Nothing is written: a start that changes no setting leaves the user's settings as they were.
BackupPolicy ReadBackupPolicy(const PrintSizeStore& store);

} // namespace orvane
