#pragma once

#include "platform/RegistryReader.h"
#include "platform/RegistryStore.h"

#include <QByteArray>
#include <QMap>
#include <QStringList>
#include <cstring>

namespace about_test {

// Registry values held in memory; every call is noted ("open KEY", "query VALUE",
// "close HANDLE") so tests can tell which locations were read.
class FakeRegistryReader : public platform::RegistryReader {
public:
    struct Value {
        std::uint32_t type;
        QByteArray bytes;
    };

    void setText(const QString& key, const QString& name, const QByteArray& textWithZero) {
        m_keys[key][name] = {platform::REG_SZ, textWithZero};
    }
    void setValue(const QString& key, const QString& name, std::uint32_t type,
                  const QByteArray& bytes) {
        m_keys[key][name] = {type, bytes};
    }
    void addKey(const QString& key) { m_keys[key]; }

    long RegOpenKeyEx(std::uint32_t root, const QString& keyPath, std::uint32_t, std::uint32_t,
                      platform::RegKey& key) override {
        calls << QStringLiteral("open ") + keyPath;
        key = 0;
        if (root != platform::HKEY_LOCAL_MACHINE || !m_keys.contains(keyPath))
            return platform::ERROR_FILE_NOT_FOUND;
        m_open.append(keyPath);
        key = platform::RegKey(m_open.size());
        return platform::ERROR_SUCCESS;
    }

    long RegQueryValueEx(platform::RegKey key, const QString& valueName, std::uint32_t& type,
                         char* buffer, std::uint32_t& size) override {
        calls << QStringLiteral("query ") + valueName;
        if (key == 0 || key > std::uint32_t(m_open.size()))
            return platform::ERROR_INVALID_HANDLE;
        const auto& values = m_keys[m_open[int(key) - 1]];
        if (!values.contains(valueName))
            return platform::ERROR_FILE_NOT_FOUND;
        const Value& value = values[valueName];
        type = value.type;
        if (std::uint32_t(value.bytes.size()) > size) {
            size = std::uint32_t(value.bytes.size());
            return platform::ERROR_MORE_DATA;
        }
        size = std::uint32_t(value.bytes.size());
        std::memcpy(buffer, value.bytes.constData(), size);
        return platform::ERROR_SUCCESS;
    }

    long RegCloseKey(platform::RegKey key) override {
        calls << QStringLiteral("close %1").arg(key);
        return key == 0 ? platform::ERROR_INVALID_HANDLE : platform::ERROR_SUCCESS;
    }

    QStringList calls;

private:
    QMap<QString, QMap<QString, Value>> m_keys;
    QStringList m_open;
};

} // namespace about_test
