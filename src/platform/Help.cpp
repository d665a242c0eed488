#include "Help.h"

#include "AppError.h"
#include "HelpWindow.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QPointer>
#include <QWidget>

namespace platform {

namespace {

// Number of the "file not found" run-time error.
constexpr int kFileNotFound = 53;

HelpEngine& installedEngine() {
    static HelpEngine engine;
    return engine;
}

QString& helpFileSetting() {
    static QString fileName;
    return fileName;
}

// One help window per owner window; an owner-less call shares one of its own.
HelpWindow* helpWindowFor(QWidget* owner) {
    static QPointer<HelpWindow> ownerless;
    QWidget* top = owner ? owner->window() : nullptr;
    if (top) {
        if (auto* existing = top->findChild<HelpWindow*>(QStringLiteral("helpWindow"),
                                                         Qt::FindDirectChildrenOnly))
            return existing;
        return new HelpWindow(top);
    }
    if (!ownerless)
        ownerless = new HelpWindow(nullptr);
    return ownerless;
}

bool builtInHelp(QWidget* owner, const QString& helpFile, unsigned command, const QString& key) {
    if (helpFile.isEmpty())
        return false;
    if (command == HELP_QUIT) {
        if (QWidget* top = owner ? owner->window() : nullptr)
            if (auto* window = top->findChild<HelpWindow*>(QStringLiteral("helpWindow"),
                                                           Qt::FindDirectChildrenOnly))
                window->close();
        return true;
    }
    const QFileInfo file(helpFile);
    if (!file.isFile() || !file.isReadable())
        throw AppError(kFileNotFound,
                       QStringLiteral("Help is not available: the manual \"%1\" cannot be found.")
                           .arg(QDir::toNativeSeparators(helpFile)));
    HelpWindow* window = helpWindowFor(owner);
    if (command == HELP_PARTIALKEY)
        window->showSearch(file.absoluteFilePath(), key);
    else
        window->showContents(file.absoluteFilePath());
    return true;
}

} // namespace

bool WinHelp(QWidget* owner, const QString& helpFile, unsigned command, const QString& key) {
    if (installedEngine())
        return installedEngine()(owner, helpFile, command, key);
    return builtInHelp(owner, helpFile, command, key);
}

void setHelpEngine(HelpEngine engine) {
    installedEngine() = std::move(engine);
}

QString appHelpFile() {
    return helpFileSetting();
}

void setAppHelpFile(const QString& fileName) {
    helpFileSetting() = fileName;
}

QString locateManual() {
    const QString installed = QDir::cleanPath(QCoreApplication::applicationDirPath() +
                                              QStringLiteral("/../share/drivolex/manual/index.md"));
    if (QFileInfo::exists(installed))
        return installed;
#ifdef DRIVOLEX_SOURCE_MANUAL
    const QString inSource = QStringLiteral(DRIVOLEX_SOURCE_MANUAL);
    if (QFileInfo::exists(inSource))
        return inSource;
#endif
    return installed;
}

} // namespace platform
