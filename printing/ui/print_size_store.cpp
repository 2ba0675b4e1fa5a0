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

bool MemoryPrintSizeStore::Write(const QString& name, const QString& value) {
    if (fail_writes)
        return false;
    values[name] = value;
    return true;
}

} // namespace orvane
