#include "RegistryReader.h"

#include "RegistryStore.h"
#include "SettingsFile.h"

#include <QFileInfo>
#include <QSettings>
#include <cstring>

namespace platform {

namespace {

std::unique_ptr<RegistryReader>& installedReader() {
    static std::unique_ptr<RegistryReader> reader;
    return reader;
}

// Parses "dword:xxxxxxxx" and "hex:aa,bb,..." entries; anything else is text.
struct RawValue {
    std::uint32_t type = REG_SZ;
    QByteArray bytes;
};

RawValue decodeEntry(const QVariant& entry) {
    const QString text = entry.typeId() == QMetaType::QStringList
                             ? entry.toStringList().join(QLatin1Char(','))
                             : entry.toString();
    RawValue value;
    if (text.startsWith(QLatin1String("dword:"), Qt::CaseInsensitive)) {
        bool ok = false;
        const std::uint32_t number = text.mid(6).trimmed().toUInt(&ok, 16);
        if (ok) {
            value.type = REG_DWORD;
            for (int shift = 0; shift < 32; shift += 8) // stored lowest byte first
                value.bytes.append(char((number >> shift) & 0xFF));
            return value;
        }
    } else if (text.startsWith(QLatin1String("hex:"), Qt::CaseInsensitive)) {
        value.type = REG_BINARY;
        value.bytes = QByteArray::fromHex(text.mid(4).remove(QLatin1Char(',')).toLatin1());
        return value;
    }
    value.type = REG_SZ;
    value.bytes = text.toUtf8();
    value.bytes.append('\0');
    return value;
}

} // namespace

RegistryReader& registryReader() {
    std::unique_ptr<RegistryReader>& reader = installedReader();
    if (!reader)
        reader = std::make_unique<IniRegistryReader>(IniRegistryReader::defaultFileName());
    return *reader;
}

void setRegistryReader(std::unique_ptr<RegistryReader> reader) {
    installedReader() = std::move(reader);
}

IniRegistryReader::IniRegistryReader(QString fileName) : m_fileName(std::move(fileName)) {}

QString IniRegistryReader::defaultFileName() {
    const QSettings user(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Drivolex"),
                         QStringLiteral("Drivolex"));
    return QFileInfo(user.fileName()).absolutePath() + QStringLiteral("/registry.ini");
}

long IniRegistryReader::RegOpenKeyEx(std::uint32_t root, const QString& keyPath,
                                     std::uint32_t /*options*/, std::uint32_t /*access*/,
                                     RegKey& key) {
    key = 0;
    if (!settingsFileSound(m_fileName))
        return ERROR_FILE_NOT_FOUND;
    QSettings settings(m_fileName, QSettings::IniFormat);
    QString group = RegistryStore::settingsKey(root, keyPath, QString());
    group.chop(1); // the trailing slash of the empty value name
    settings.beginGroup(group);
    const bool exists = !settings.childKeys().isEmpty() || !settings.childGroups().isEmpty();
    settings.endGroup();
    if (!exists)
        return ERROR_FILE_NOT_FOUND;
    key = m_nextKey++;
    m_openKeys.append({key, group});
    return ERROR_SUCCESS;
}

long IniRegistryReader::RegQueryValueEx(RegKey key, const QString& valueName, std::uint32_t& type,
                                        char* buffer, std::uint32_t& size) {
    QString group;
    for (const auto& open : m_openKeys)
        if (open.first == key)
            group = open.second;
    if (group.isEmpty())
        return ERROR_INVALID_HANDLE;
    QSettings settings(m_fileName, QSettings::IniFormat);
    const QString entryKey = group + QLatin1Char('/') + valueName;
    if (settings.status() != QSettings::NoError || !settings.contains(entryKey))
        return ERROR_FILE_NOT_FOUND;
    const RawValue value = decodeEntry(settings.value(entryKey));
    const auto needed = std::uint32_t(value.bytes.size());
    type = value.type;
    if (needed > size) {
        size = needed;
        return ERROR_MORE_DATA;
    }
    if (needed > 0)
        std::memcpy(buffer, value.bytes.constData(), needed);
    size = needed;
    return ERROR_SUCCESS;
}

long IniRegistryReader::RegCloseKey(RegKey key) {
    for (qsizetype i = 0; i < m_openKeys.size(); ++i) {
        if (m_openKeys[i].first == key) {
            m_openKeys.removeAt(i);
            return ERROR_SUCCESS;
        }
    }
    return ERROR_INVALID_HANDLE;
}

} // namespace platform
