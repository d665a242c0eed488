#include "SharedDatabase.h"

#include "store/Database.h"

#include <QFileInfo>
#include <map>

namespace records {

std::shared_ptr<store::Database> sharedDatabase(const QString& path) {
    static std::map<QString, std::weak_ptr<store::Database>> open;
    const QString key = QFileInfo(path).absoluteFilePath();
    // A file deleted or replaced since it was opened is not the file at path any more.
    if (auto existing = open[key].lock(); existing && !existing->fileHasMoved())
        return existing;
    auto db = store::Database::OpenDatabase(path);
    open[key] = db;
    return db;
}

} // namespace records
