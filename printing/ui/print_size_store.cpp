#include "printing/ui/print_size_store.h"

#include <QSettings>

namespace orvane {

std::optional<QString> SettingsPrintSizeStore::Read(const QString& name) const {
    const QSettings settings(
        QSettings::UserScope, QStringLiteral("Marrowby"), QStringLiteral("Orvane"));
    if (!settings.contains(name))
        return std::nullopt;
    return settings.value(name).toString();
}

bool SettingsPrintSizeStore::Write(const QString& name, const QString& value) {
    QSettings settings(QSettings::UserScope, QStringLiteral("Marrowby"), QStringLiteral("Orvane"));
    settings.setValue(name, value);
    settings.sync();
    return settings.status() == QSettings::NoError;
}

std::optional<QString> MemoryPrintSizeStore::Read(const QString& name) const {
    const auto it = values.constFind(name);
    if (it == values.constEnd())
        return std::nullopt;
    return *it;
}

BackupPolicy ReadBackupPolicy(const PrintSizeStore& store) {
    BackupPolicy policy;
    const auto read = [&store](const QString& name, int& value, int lowest, int highest) {
        const std::optional<QString> text = store.Read(name);
        if (!text)
            return;
        bool ok = false;
        const int number = text->trimmed().toInt(&ok);
        if (ok && number >= lowest && number <= highest)
            value = number;
    };
    read(QStringLiteral("BackupSaves"), policy.keep_saves, 1, 1000);
    read(QStringLiteral("BackupDays"), policy.keep_days, 0, 3650);
    return policy;
}

bool MemoryPrintSizeStore::Write(const QString& name, const QString& value) {
    if (fail_writes)
        return false;
    values[name] = value;
    return true;
}

} // namespace orvane
