#include "about/AppIcon.h"
#include "backupwindows/BackupCommands.h"
#include "historywindows/HistoryWindows.h"
#include "importwindows/ImportCommands.h"
#include "platform/Help.h"
#include "records/RecordWindows.h"
#include "reminderwindows/ReminderWindows.h"
#include "shell/MDIForm1.h"

#include <QApplication>
#include <QIcon>
#include <cstdio>

namespace {

// Qt aborts with a long message when no display can be reached; say it in one line.
bool displayAvailable() {
    if (!qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        return true;
    return !qEnvironmentVariableIsEmpty("DISPLAY") ||
           !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
}

} // namespace

int main(int argc, char* argv[]) {
    if (!displayAvailable()) {
        std::fprintf(stderr, "drivolex: no display found (DISPLAY is not set); start it on a "
                             "desktop or under xvfb-run.\n");
        return 2;
    }
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Drivolex"));
    QApplication::setApplicationName(QStringLiteral("Drivolex"));
    // Lets a desktop match the windows to the installed menu entry and its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("drivolex"));
    QApplication::setWindowIcon(QIcon(about::appIconPixmap(64)));
    platform::setAppHelpFile(platform::locateManual());

    shell::MDIForm1 mainWindow;
    records::registerRecordWindows(mainWindow);
    backupwindows::registerBackupCommands(mainWindow);
    historywindows::registerHistoryWindow(mainWindow);
    importwindows::registerImportCommands(mainWindow);
    // Before the start, so that the status line tells what the remembered file has due.
    reminderwindows::registerReminderWindow(mainWindow);
    mainWindow.MDIForm_Load();
    mainWindow.show();
    return app.exec();
}
