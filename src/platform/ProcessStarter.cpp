#include "ProcessStarter.h"

#include <QProcess>

namespace platform {

namespace {

ProcessStarter& installedStarter() {
    static ProcessStarter starter;
    return starter;
}

} // namespace

bool startDetached(const QString& program) {
    if (program.isEmpty())
        return false;
    if (installedStarter())
        return installedStarter()(program);
    return QProcess::startDetached(program, {});
}

void setProcessStarter(ProcessStarter starter) {
    installedStarter() = std::move(starter);
}

} // namespace platform
