#pragma once

#include <QList>
#include <QPair>
#include <QString>
#include <cstdint>
#include <memory>

namespace platform {

// Status codes and value types of the registry calls, with their usual values.
inline constexpr long ERROR_SUCCESS = 0;
inline constexpr long ERROR_FILE_NOT_FOUND = 2;
inline constexpr long ERROR_INVALID_HANDLE = 6;
inline constexpr long ERROR_MORE_DATA = 234;

inline constexpr std::uint32_t REG_SZ = 1;
inline constexpr std::uint32_t REG_BINARY = 3;
inline constexpr std::uint32_t REG_DWORD = 4;

inline constexpr std::uint32_t KEY_ALL_ACCESS = 0x2003Fu;

using RegKey = std::uint32_t;

// Read-only access to registry values, shaped like the system calls: open a key,
// query one value into a caller's buffer, close the key. A missing key or value is a
// failure status, never an exception.
class RegistryReader {
public:
    virtual ~RegistryReader() = default;

    // On success `key` receives a non-zero handle.
    virtual long RegOpenKeyEx(std::uint32_t root, const QString& keyPath, std::uint32_t options,
                              std::uint32_t access, RegKey& key) = 0;
    // `size` holds the buffer's capacity on entry and the value's size in bytes on
    // return; a value longer than the buffer gives ERROR_MORE_DATA and is not copied.
    // Text values are stored with their terminating zero byte.
    virtual long RegQueryValueEx(RegKey key, const QString& valueName, std::uint32_t& type,
                                 char* buffer, std::uint32_t& size) = 0;
    virtual long RegCloseKey(RegKey key) = 0;
};

// The reader the program uses: by default IniRegistryReader over "registry.ini" in
// the user's Drivolex settings folder. Tests install their own; passing null
// restores the default.
RegistryReader& registryReader();
void setRegistryReader(std::unique_ptr<RegistryReader> reader);

// Registry values kept in an ini file: one group per key ("HKEY_LOCAL_MACHINE/SOFTWARE/
// ..."), one entry per value. "dword:0000abcd" is a 32-bit number, "hex:01,ff" raw
// bytes, anything else text.
class IniRegistryReader : public RegistryReader {
public:
    explicit IniRegistryReader(QString fileName);

    // "registry.ini" next to the user's Drivolex settings.
    static QString defaultFileName();

    long RegOpenKeyEx(std::uint32_t root, const QString& keyPath, std::uint32_t options,
                      std::uint32_t access, RegKey& key) override;
    long RegQueryValueEx(RegKey key, const QString& valueName, std::uint32_t& type, char* buffer,
                         std::uint32_t& size) override;
    long RegCloseKey(RegKey key) override;

private:
    QString m_fileName;
    QList<QPair<RegKey, QString>> m_openKeys; // handle, settings group
    RegKey m_nextKey = 1;
};

} // namespace platform
