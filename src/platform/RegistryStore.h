#pragma once

#include <QString>
#include <cstdint>

namespace platform {

// Root keys of the registry, as the program passes them.
inline constexpr std::uint32_t HKEY_CURRENT_USER = 0x80000001u;
inline constexpr std::uint32_t HKEY_LOCAL_MACHINE = 0x80000002u;

// The one remembered value: the database taken into use last.
inline constexpr char16_t kDatabaseKeyPath[] = u"Drivolex\\Database";
inline constexpr char16_t kLastOpenedValue[] = u"LastOpened";

// Reads and writes single text values of the registry. Kept in the user's settings
// (organisation "Drivolex"), so no administrator rights are needed. A value that is
// missing, or that cannot be read because the settings file is damaged, reads as
// empty text; nothing here ever throws.
class RegistryStore {
public:
    RegistryStore() = default;
    virtual ~RegistryStore() = default;
    RegistryStore(const RegistryStore&) = delete;
    RegistryStore& operator=(const RegistryStore&) = delete;

    // Returns true when the value was stored.
    virtual bool writeText(std::uint32_t root, const QString& keyPath, const QString& valueName,
                           const QString& text);
    virtual QString readText(std::uint32_t root, const QString& keyPath, const QString& valueName);

    // The settings key that stands for a registry value: root/key/path/value.
    static QString settingsKey(std::uint32_t root, const QString& keyPath,
                               const QString& valueName);
};

// The group name under which a root key's values are kept.
QString rootKeyName(std::uint32_t root);

} // namespace platform
