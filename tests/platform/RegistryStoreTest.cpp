#include "platform/RegistryStore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <gtest/gtest.h>

using namespace platform;

namespace {

QString settingsFile() {
    return QSettings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Drivolex"),
                     QStringLiteral("Drivolex"))
        .fileName();
}

class RegistryStoreTest : public ::testing::Test {
protected:
    void SetUp() override { QFile::remove(settingsFile()); }
    void TearDown() override { QFile::remove(settingsFile()); }

    void writeRawSettings(const QByteArray& content) {
        QDir().mkpath(QFileInfo(settingsFile()).absolutePath());
        QFile file(settingsFile());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(content);
    }

    RegistryStore store;
    const QString key = QStringLiteral("Drivolex\\Database");
    const QString value = QStringLiteral("LastOpened");
};

} // namespace

TEST_F(RegistryStoreTest, MissingValueReadsAsEmptyText) {
    EXPECT_EQ(store.readText(HKEY_LOCAL_MACHINE, key, value), QString());
    EXPECT_FALSE(QFile::exists(settingsFile())) << "reading must not create the settings file";
}

TEST_F(RegistryStoreTest, WrittenTextReadsBackUnchangedWhateverItContains) {
    const QStringList texts = {QStringLiteral("/home/ann/cars.mdb"),
                               QStringLiteral("C:\\Data\\My Cars, 2024\\cars.mdb"),
                               QStringLiteral("/tmp/\"quoted\";semi=colon/Ünïcödé.mdb"),
                               QStringLiteral("  leading and trailing  ")};
    for (const QString& text : texts) {
        ASSERT_TRUE(store.writeText(HKEY_LOCAL_MACHINE, key, value, text));
        EXPECT_EQ(store.readText(HKEY_LOCAL_MACHINE, key, value), text);
        RegistryStore another; // a new object reads what the first stored
        EXPECT_EQ(another.readText(HKEY_LOCAL_MACHINE, key, value), text);
    }
}

TEST_F(RegistryStoreTest, RootKeyPathAndValueNameEachSeparateTheValues) {
    store.writeText(HKEY_LOCAL_MACHINE, key, value, QStringLiteral("machine"));
    store.writeText(HKEY_CURRENT_USER, key, value, QStringLiteral("user"));
    store.writeText(HKEY_LOCAL_MACHINE, QStringLiteral("Drivolex\\Other"), value,
                    QStringLiteral("other key"));
    store.writeText(HKEY_LOCAL_MACHINE, key, QStringLiteral("LastClosed"),
                    QStringLiteral("other value"));
    EXPECT_EQ(store.readText(HKEY_LOCAL_MACHINE, key, value), QStringLiteral("machine"));
    EXPECT_EQ(store.readText(HKEY_CURRENT_USER, key, value), QStringLiteral("user"));
    EXPECT_EQ(store.readText(HKEY_LOCAL_MACHINE, QStringLiteral("Drivolex\\Other"), value),
              QStringLiteral("other key"));
    // The backslash path is a nested key, not one name with backslashes in it.
    const QSettings raw(settingsFile(), QSettings::IniFormat);
    EXPECT_TRUE(raw.contains(QStringLiteral("HKEY_LOCAL_MACHINE/Drivolex/Database/LastOpened")));
}

TEST_F(RegistryStoreTest, DamagedSettingsFileReadsAsEmptyAndIsNotOverwritten) {
    const QByteArray damaged = "[HKEY_LOCAL_MACHINE\nDrivolex/Database/LastOpened=/x.mdb\n";
    writeRawSettings(damaged);
    EXPECT_EQ(store.readText(HKEY_LOCAL_MACHINE, key, value), QString());
    EXPECT_FALSE(store.writeText(HKEY_LOCAL_MACHINE, key, value, QStringLiteral("/new.mdb")));
    QFile file(settingsFile());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), damaged);
}

TEST_F(RegistryStoreTest, ValueThatIsNotTextReadsAsEmpty) {
    writeRawSettings("[HKEY_LOCAL_MACHINE]\nDrivolex\\Database\\LastOpened=a, b, c\n");
    EXPECT_EQ(store.readText(HKEY_LOCAL_MACHINE, key, value), QString());
}
