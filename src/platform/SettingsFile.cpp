#include "SettingsFile.h"

#include <QFile>
#include <QSettings>
#include <QTemporaryFile>

namespace platform {

bool settingsFileSound(const QString& fileName) {
    QFile file(fileName);
    if (!file.exists())
        return true;
    if (!file.open(QIODevice::ReadOnly))
        return false;
    // A private copy is parsed afresh, whatever Qt has cached for the real file.
    QTemporaryFile copy;
    if (!copy.open() || copy.write(file.readAll()) < 0 || !copy.flush())
        return false;
    copy.close();
    return QSettings(copy.fileName(), QSettings::IniFormat).status() == QSettings::NoError;
}

} // namespace platform
