#include "platform/RegistryReader.h"
#include "platform/RegistryStore.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <array>
#include <gtest/gtest.h>

using namespace platform;

namespace {

const QString kToolKey = QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools Location");

class IniRegistryReaderTest : public ::testing::Test {
protected:
    void SetUp() override {
        QSettings ini(fileName, QSettings::IniFormat);
        ini.setValue(QStringLiteral("HKEY_LOCAL_MACHINE/SOFTWARE/Microsoft/Shared Tools "
                                    "Location/MSINFO"),
                     QStringLiteral("/opt/tools"));
        ini.setValue(QStringLiteral("HKEY_LOCAL_MACHINE/SOFTWARE/Microsoft/Shared Tools "
                                    "Location/Count"),
                     QStringLiteral("dword:00abcdef"));
        ini.setValue(QStringLiteral("HKEY_LOCAL_MACHINE/SOFTWARE/Microsoft/Shared Tools "
                                    "Location/Blob"),
                     QStringLiteral("hex:01,ff,00"));
    }

    RegKey openToolKey() {
        RegKey key = 0;
        EXPECT_EQ(reader.RegOpenKeyEx(HKEY_LOCAL_MACHINE, kToolKey, 0, KEY_ALL_ACCESS, key),
                  ERROR_SUCCESS);
        EXPECT_NE(key, 0u);
        return key;
    }

    QTemporaryDir dir;
    QString fileName = dir.filePath(QStringLiteral("registry.ini"));
    IniRegistryReader reader{fileName};
    std::array<char, 64> buffer{};
};

} // namespace

TEST_F(IniRegistryReaderTest, MissingKeyFailsAndLeavesNoHandle) {
    IniRegistryReader missingFile(dir.filePath(QStringLiteral("none.ini")));
    RegKey key = 77;
    EXPECT_EQ(missingFile.RegOpenKeyEx(HKEY_LOCAL_MACHINE, kToolKey, 0, KEY_ALL_ACCESS, key),
              ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(key, 0u);

    EXPECT_EQ(reader.RegOpenKeyEx(HKEY_CURRENT_USER, kToolKey, 0, KEY_ALL_ACCESS, key),
              ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(reader.RegOpenKeyEx(HKEY_LOCAL_MACHINE, QStringLiteral("SOFTWARE\\Nobody"), 0,
                                  KEY_ALL_ACCESS, key),
              ERROR_FILE_NOT_FOUND);
}

TEST_F(IniRegistryReaderTest, TextValueComesWithItsTerminatingZero) {
    const RegKey key = openToolKey();
    std::uint32_t type = 0;
    std::uint32_t size = buffer.size();
    ASSERT_EQ(reader.RegQueryValueEx(key, QStringLiteral("MSINFO"), type, buffer.data(), size),
              ERROR_SUCCESS);
    EXPECT_EQ(type, REG_SZ);
    EXPECT_EQ(size, 11u);
    EXPECT_EQ(QByteArray(buffer.data(), size), QByteArray("/opt/tools\0", 11));
    EXPECT_EQ(reader.RegCloseKey(key), ERROR_SUCCESS);
}

TEST_F(IniRegistryReaderTest, NumberAndRawBytesKeepTheirTypes) {
    const RegKey key = openToolKey();
    std::uint32_t type = 0;
    std::uint32_t size = buffer.size();
    ASSERT_EQ(reader.RegQueryValueEx(key, QStringLiteral("Count"), type, buffer.data(), size),
              ERROR_SUCCESS);
    EXPECT_EQ(type, REG_DWORD);
    EXPECT_EQ(QByteArray(buffer.data(), size), QByteArray("\xef\xcd\xab\x00", 4));

    size = buffer.size();
    ASSERT_EQ(reader.RegQueryValueEx(key, QStringLiteral("Blob"), type, buffer.data(), size),
              ERROR_SUCCESS);
    EXPECT_EQ(type, REG_BINARY);
    EXPECT_EQ(QByteArray(buffer.data(), size), QByteArray("\x01\xff\x00", 3));
}

TEST_F(IniRegistryReaderTest, MissingValueTooSmallBufferAndStaleHandleAreFailures) {
    const RegKey key = openToolKey();
    std::uint32_t type = 0;
    std::uint32_t size = buffer.size();
    EXPECT_EQ(reader.RegQueryValueEx(key, QStringLiteral("PATH"), type, buffer.data(), size),
              ERROR_FILE_NOT_FOUND);

    size = 4; // "/opt/tools" needs 11 bytes
    EXPECT_EQ(reader.RegQueryValueEx(key, QStringLiteral("MSINFO"), type, buffer.data(), size),
              ERROR_MORE_DATA);
    EXPECT_EQ(size, 11u);
    EXPECT_EQ(buffer[0], '\0') << "nothing may be copied past a refusal";

    EXPECT_EQ(reader.RegCloseKey(key), ERROR_SUCCESS);
    size = buffer.size();
    EXPECT_EQ(reader.RegQueryValueEx(key, QStringLiteral("MSINFO"), type, buffer.data(), size),
              ERROR_INVALID_HANDLE);
    EXPECT_EQ(reader.RegCloseKey(key), ERROR_INVALID_HANDLE);
    EXPECT_EQ(reader.RegCloseKey(0), ERROR_INVALID_HANDLE);
}

TEST(RegistryReader, DefaultReaderUsesRegistryIniBesideTheUserSettings) {
    setRegistryReader(nullptr);
    const QString fileName = IniRegistryReader::defaultFileName();
    EXPECT_TRUE(fileName.endsWith(QStringLiteral("/Drivolex/registry.ini")))
        << fileName.toStdString();
    {
        QSettings ini(fileName, QSettings::IniFormat);
        ini.setValue(
            QStringLiteral("HKEY_LOCAL_MACHINE/SOFTWARE/Microsoft/Shared Tools/MSINFO/PATH"),
            QStringLiteral("/usr/bin/sysinfo"));
    }
    RegKey key = 0;
    EXPECT_EQ(registryReader().RegOpenKeyEx(
                  HKEY_LOCAL_MACHINE, QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO"),
                  0, KEY_ALL_ACCESS, key),
              ERROR_SUCCESS);
    registryReader().RegCloseKey(key);
    QFile::remove(fileName);
}

TEST_F(IniRegistryReaderTest, DamagedFileHasNoKeys) {
    QFile file(fileName);
    ASSERT_TRUE(file.open(QIODevice::Append));
    file.write("[HKEY_LOCAL_MACHINE\nbroken\n");
    file.close();
    RegKey key = 0;
    EXPECT_EQ(reader.RegOpenKeyEx(HKEY_LOCAL_MACHINE, kToolKey, 0, KEY_ALL_ACCESS, key),
              ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(key, 0u);
}
