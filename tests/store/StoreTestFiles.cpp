#include "StoreTestFiles.h"

#include <QFile>

namespace testing_support {

QString sqlScalar(const QString& path, const QString& sql) {
    sqlite3* db = nullptr;
    QString result;
    if (sqlite3_open_v2(QFile::encodeName(path).constData(), &db, SQLITE_OPEN_READONLY, nullptr) ==
        SQLITE_OK) {
        sqlite3_stmt* stmt = nullptr;
        if (sqlite3_prepare_v2(db, sql.toUtf8().constData(), -1, &stmt, nullptr) == SQLITE_OK &&
            sqlite3_step(stmt) == SQLITE_ROW) {
            const unsigned char* text = sqlite3_column_text(stmt, 0);
            result = text ? QString::fromUtf8(reinterpret_cast<const char*>(text)) : QString();
        }
        sqlite3_finalize(stmt);
    }
    sqlite3_close(db);
    return result;
}

bool fileIsConsistent(const QString& path) {
    return sqlScalar(path, QStringLiteral("PRAGMA integrity_check")) == QLatin1String("ok") &&
           sqlScalar(path, QStringLiteral("PRAGMA foreign_key_check")).isEmpty();
}

} // namespace testing_support
