// The main of every test program: Qt on the offscreen platform, settings,
// configuration and data in temporary folders, so no test touches the user's files.
#include "platform/MsgBox.h"

#include <QApplication>
#include <QSettings>
#include <QTemporaryDir>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("DRIVOLEX_TEST_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir configDir;
    qputenv("XDG_CONFIG_HOME", configDir.path().toLocal8Bit());
    // Automatic backups go to the user's data folder.
    QTemporaryDir dataDir;
    qputenv("XDG_DATA_HOME", dataDir.path().toLocal8Bit());
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, configDir.path());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, configDir.path());

    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Drivolex"));
    QApplication::setApplicationName(QStringLiteral("Drivolex"));
    // A box that no test expected would wait for a click that never comes.
    platform::setMsgBoxResponder([](const QString& prompt, int, const QString& title) {
        ADD_FAILURE() << "unexpected message box \"" << title.toStdString()
                      << "\": " << prompt.toStdString();
        return int(platform::vbOK);
    });
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
