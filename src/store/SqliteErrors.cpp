#include "SqliteErrors.h"

#include "StoreErrors.h"

#include <cerrno>
#include <sqlite3.h>

namespace store {

namespace {

QString fileWords(const SqlErrorContext& context) {
    return context.file.isEmpty() ? QStringLiteral("the database file")
                                  : QStringLiteral("the database file '%1'").arg(context.file);
}

QString tableWords(const SqlErrorContext& context) {
    return context.table.isEmpty() ? QStringLiteral("the table")
                                   : QStringLiteral("table '%1'").arg(context.table);
}

// SQLite's own text after the constraint kind, e.g. "Fuel.FuelId".
QString constraintDetail(sqlite3* db) {
    const QString message = db ? QString::fromUtf8(sqlite3_errmsg(db)) : QString();
    const qsizetype colon = message.indexOf(QLatin1Char(':'));
    return colon < 0 ? QString() : message.mid(colon + 1).trimmed();
}

[[noreturn]] void raiseConstraint(sqlite3* db, int rc, const SqlErrorContext& context) {
    switch (rc) {
    case SQLITE_CONSTRAINT_PRIMARYKEY:
    case SQLITE_CONSTRAINT_UNIQUE:
    case SQLITE_CONSTRAINT_ROWID:
        raise(errDuplicateKey,
              QStringLiteral("The changes were not saved: they would give %1 a second row with "
                             "the same key or unique value (%2).")
                  .arg(tableWords(context), constraintDetail(db)));
    case SQLITE_CONSTRAINT_NOTNULL:
        raise(errNullInKey, QStringLiteral("The changes were not saved: the key field %1 of %2 "
                                           "needs a value.")
                                .arg(constraintDetail(db), tableWords(context)));
    case SQLITE_CONSTRAINT_FOREIGNKEY: {
        if (context.deleting)
            raise(errRelatedRecordsExist,
                  QStringLiteral("The row cannot be deleted or changed because other tables "
                                 "hold rows that belong to it (%1).")
                      .arg(tableWords(context)));
        const QString primary = context.primaryTable ? context.primaryTable() : QString();
        raise(errRelatedRecordRequired,
              primary.isEmpty()
                  ? QStringLiteral("The row cannot be saved: a related row it names is missing.")
                  : QStringLiteral("The row cannot be saved: a related row is required in table "
                                   "'%1'.")
                        .arg(primary));
    }
    default:
        raise(errIo, QStringLiteral("The changes to %1 were refused by a rule of the database "
                                    "file (%2).")
                         .arg(tableWords(context),
                              QString::fromUtf8(db ? sqlite3_errmsg(db) : sqlite3_errstr(rc))));
    }
}

} // namespace

void raiseSqlite(sqlite3* db, int rc, const SqlErrorContext& context) {
    raiseSqlite(db, rc, context, db ? sqlite3_system_errno(db) : 0);
}

void raiseSqlite(sqlite3* db, int rc, const SqlErrorContext& given, int systemErrno) {
    SqlErrorContext context = given;
    if (context.file.isEmpty() && db)
        context.file = QString::fromUtf8(sqlite3_db_filename(db, "main"));
    const QString file = fileWords(context);
    // SQLite reports a write refused by the system as a plain I/O or open failure.
    const int primary = rc & 0xff;
    if (primary == SQLITE_IOERR || primary == SQLITE_CANTOPEN) {
        if (systemErrno == ENOSPC || systemErrno == EDQUOT)
            rc = SQLITE_FULL;
        else if (primary == SQLITE_IOERR &&
                 (systemErrno == EROFS || systemErrno == EPERM || systemErrno == EACCES))
            rc = SQLITE_READONLY; // e.g. the file was made immutable while open
    }
    if (rc == SQLITE_READONLY_DBMOVED)
        raise(errFileNotFound,
              QStringLiteral("%1 was deleted or replaced by another file while it was open; "
                             "the changes were not saved. Open the database file again.")
                  .arg(file.at(0).toUpper() + file.mid(1)));
    switch (rc & 0xff) {
    case SQLITE_CONSTRAINT:
        raiseConstraint(db, rc, context);
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        raise(errLocked, QStringLiteral("%1 is in use by another program or window; try again "
                                        "when it is free.")
                             .arg(file.at(0).toUpper() + file.mid(1)));
    case SQLITE_READONLY:
        raise(errReadOnly,
              QStringLiteral("%1 cannot be written: the file or its folder is read-only.")
                  .arg(file.at(0).toUpper() + file.mid(1)));
    case SQLITE_FULL:
        raise(errDiskFull,
              QStringLiteral("There is not enough disk space to write to %1.").arg(file));
    case SQLITE_NOTADB:
        raise(errNotADatabase,
              QStringLiteral("%1 is not a database file.").arg(file.at(0).toUpper() + file.mid(1)));
    case SQLITE_CORRUPT:
        raise(errCannotOpen, QStringLiteral("%1 is damaged and cannot be used.")
                                 .arg(file.at(0).toUpper() + file.mid(1)));
    case SQLITE_CANTOPEN:
        raise(errFileNotFound, QStringLiteral("%1 cannot be opened: it or its folder does not "
                                              "exist or cannot be reached.")
                                   .arg(file.at(0).toUpper() + file.mid(1)));
    default:
        raise(errIo, QStringLiteral("Reading or writing %1 failed (%2).")
                         .arg(file, db ? QString::fromUtf8(sqlite3_errmsg(db))
                                       : QString::fromUtf8(sqlite3_errstr(rc))));
    }
}

} // namespace store
