#include "TextColumnMend.h"

#include "Metadata.h"
#include "ValueConversion.h"

#include <sqlite3.h>

namespace store {

namespace {

bool holdsTextAsNumbers(const QString& declaredType) {
    FieldType type = FieldType::Text;
    return fieldTypeFromSql(declaredType, &type, nullptr) &&
           (type == FieldType::Date || type == FieldType::Memo) && !hasTextAffinity(declaredType);
}

} // namespace

QStringList tablesWithNumericTextColumns(sqlite3* db, const SqlErrorContext& context) {
    QStringList tables;
    if (!metaTablesExist(db, context))
        return tables;
    for (const QString& table : userTableNames(db, context)) {
        Statement columns(db, QStringLiteral("SELECT type FROM pragma_table_info(?)"));
        columns.bind(1, table);
        bool found = false;
        int rc;
        while ((rc = columns.step()) == SQLITE_ROW)
            found = found || holdsTextAsNumbers(columns.columnText(0));
        checkSqlite(db, rc, context);
        if (found)
            tables << table;
    }
    return tables;
}

void mendTextColumns(const Database::Impl& database) {
    QList<TableLayout> layouts;
    for (const QString& table : tablesWithNumericTextColumns(database.db(), database.context()))
        layouts << database.layout(table);
    if (!layouts.isEmpty())
        rebuildTables(database.db(), layouts, database.context());
}

} // namespace store
