#include "DeleteHistory.h"

#include "platform/AppError.h"
#include "store/Connection.h"
#include "store/DeleteWatch.h"

#include <QFileInfo>
#include <sqlite3.h>

namespace undo {

DeleteHistory& DeleteHistory::instance() {
    static DeleteHistory history;
    return history;
}

QString DeleteHistory::key(const QString& path) {
    return QFileInfo(path).absoluteFilePath();
}

void DeleteHistory::watchStore(OrderNumberText orderNumber) {
    store::setDeleteWatcher([this, orderNumber = std::move(orderNumber)](
                                const store::RowAboutToGo& row) -> store::AfterDelete {
        auto rows = std::make_shared<const StoredRows>(
            StoredRows::capture(row.db, row.file, row.table, row.rowid));
        if (rows->isEmpty())
            return {}; // gone already: this delete takes nothing
        Entry entry{deleteCaption(*rows, orderNumber), store::fileIdentity(row.file), rows};
        return [this, path = row.file, entry] { push(path, entry); };
    });
}

void DeleteHistory::reset() {
    store::setDeleteWatcher({});
    m_stacks.clear();
    emit changed();
}

void DeleteHistory::forget(const QString& path) {
    if (m_stacks.remove(key(path)) > 0)
        emit changed();
}

void DeleteHistory::push(const QString& path, Entry entry) {
    m_stacks[key(path)].append(std::move(entry));
    emit changed();
}

QString DeleteHistory::nextCaption(const QString& path) const {
    const auto it = m_stacks.constFind(key(path));
    return it == m_stacks.cend() || it->isEmpty() ? QString() : it->back().caption;
}

int DeleteHistory::depth(const QString& path) const {
    return int(m_stacks.value(key(path)).size());
}

namespace {

QString refusal(const QString& caption, const QString& reason) {
    return QStringLiteral("%1 cannot be brought back: %2 Nothing was changed.")
        .arg(caption, reason);
}

} // namespace

DeleteHistory::Result DeleteHistory::undoLast(const QString& path) {
    QVector<Entry>& stack = m_stacks[key(path)];
    if (stack.isEmpty())
        return {};
    const Entry entry = stack.back();
    Result result{Outcome::Restored, entry.caption, {}};
    const auto drop = [&](Outcome outcome, const QString& reason) {
        result.outcome = outcome;
        result.message = refusal(entry.caption, reason);
        stack.removeLast();
        emit changed();
        return result;
    };

    const std::optional<store::FileIdentity> now = store::fileIdentity(path);
    if (!now || now != entry.file) {
        // Every delete kept from that file went with it.
        stack.erase(std::remove_if(stack.begin(), stack.end(),
                                   [&](const Entry& e) { return e.file != now; }),
                    stack.end());
        result.outcome = Outcome::FileReplaced;
        result.message = refusal(
            entry.caption,
            QStringLiteral("the database file '%1' was replaced or removed after the delete, "
                           "and the deletes made in the old file are no longer offered.")
                .arg(path));
        emit changed();
        return result;
    }

    try {
        const store::SqlErrorContext context{path, {}, false, {}};
        const store::ConnectionHandle connection = store::openConnection(path, false);
        sqlite3* db = connection.get();
        store::Transaction transaction(db, context);
        QString table;
        qint64 rowid = 0;
        if (entry.rows->findTakenKey(db, &table, &rowid))
            return drop(Outcome::KeyTaken,
                        QStringLiteral("a row with the same key (%1 in table %2) exists again "
                                       "in the database file '%3'.")
                            .arg(rowid)
                            .arg(table, path));
        const int rc = entry.rows->insertInto(db);
        if (rc == SQLITE_CONSTRAINT_FOREIGNKEY)
            return drop(Outcome::OwnerGone,
                        QStringLiteral("the row it belonged to is no longer in the database "
                                       "file '%1'.")
                            .arg(path));
        if (rc == SQLITE_CONSTRAINT_UNIQUE || rc == SQLITE_CONSTRAINT_PRIMARYKEY)
            return drop(Outcome::KeyTaken,
                        QStringLiteral("a row with the same key exists again in the database "
                                       "file '%1'.")
                            .arg(path));
        if (rc != SQLITE_OK)
            store::raiseSqlite(db, rc, context);
        transaction.commit();
    } catch (const platform::AppError& error) {
        result.outcome = Outcome::Failed;
        result.message = refusal(entry.caption, error.text());
        return result;
    }
    stack.removeLast();
    emit changed();
    emit rowsRestored(key(path), entry.rows->top().name, entry.rows->top().rows.front().rowid);
    return result;
}

} // namespace undo
