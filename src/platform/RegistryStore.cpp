#include "RegistryStore.h"

#include "SettingsFile.h"

#include <QSettings>

namespace platform {

namespace {

QSettings userSettings() {
    return QSettings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Drivolex"),
                     QStringLiteral("Drivolex"));
}

} // namespace

QString rootKeyName(std::uint32_t root) {
    switch (root) {
    case HKEY_CURRENT_USER:
        return QStringLiteral("HKEY_CURRENT_USER");
    case HKEY_LOCAL_MACHINE:
        return QStringLiteral("HKEY_LOCAL_MACHINE");
    default:
        return QStringLiteral("HKEY_%1").arg(root, 8, 16, QLatin1Char('0'));
    }
}

QString RegistryStore::settingsKey(std::uint32_t root, const QString& keyPath,
                                   const QString& valueName) {
    // Registry paths use backslashes; settings keys use slashes.
    QString path = keyPath;
    path.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return rootKeyName(root) + QLatin1Char('/') + path + QLatin1Char('/') + valueName;
}

bool RegistryStore::writeText(std::uint32_t root, const QString& keyPath, const QString& valueName,
                              const QString& text) {
    QSettings settings = userSettings();
    // A damaged file is left alone rather than overwritten with one value.
    if (settings.status() != QSettings::NoError || !settingsFileSound(settings.fileName()))
        return false;
    settings.setValue(settingsKey(root, keyPath, valueName), text);
    settings.sync();
    return settings.status() == QSettings::NoError;
}

QString RegistryStore::readText(std::uint32_t root, const QString& keyPath,
                                const QString& valueName) {
    const QSettings settings = userSettings();
    if (settings.status() != QSettings::NoError || !settingsFileSound(settings.fileName()))
        return QString();
    // A value that is not text (a hand-edited list, say) has no text form: empty.
    return settings.value(settingsKey(root, keyPath, valueName)).toString();
}

} // namespace platform
