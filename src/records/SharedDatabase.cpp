#include "SharedDatabase.h"

#include "store/Database.h"
#include "store/Schema.h"

#include <QFileInfo>
#include <map>

namespace records {

namespace {

struct SharedFile {
    std::weak_ptr<store::Database> database;
    bool layoutChecked = false;
};

SharedFile& sharedFile(const QString& path) {
    static std::map<QString, SharedFile> open;
    return open[QFileInfo(path).absoluteFilePath()];
}

// The open connection, unless the file at the path is another one by now: one
// deleted or replaced since it was opened is not the file at path any more.
std::shared_ptr<store::Database> liveConnection(const SharedFile& file) {
    auto existing = file.database.lock();
    return existing && !existing->fileHasMoved() ? existing : nullptr;
}

} // namespace

std::shared_ptr<store::Database> sharedDatabase(const QString& path) {
    SharedFile& file = sharedFile(path);
    if (auto existing = liveConnection(file))
        return existing;
    auto db = store::Database::OpenDatabase(path);
    file = {db, false};
    return db;
}

std::shared_ptr<store::Database> takeUpProgramDatabase(const QString& path) {
    SharedFile& file = sharedFile(path);
    if (auto existing = liveConnection(file)) {
        if (!file.layoutChecked)
            store::schema::verifyLayout(*existing);
        file.layoutChecked = true;
        return existing;
    }
    auto db = store::schema::openProgramDatabase(path);
    file = {db, true};
    return db;
}

} // namespace records
