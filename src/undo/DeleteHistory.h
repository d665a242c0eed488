#pragma once

#include "DeleteCaption.h"
#include "StoredRows.h"
#include "store/DatabaseFiles.h"

#include <QHash>
#include <QObject>
#include <QString>
#include <QVector>
#include <memory>
#include <optional>

namespace undo {

// The deletes of this run that can be brought back, one stack per database file
// (by its path). Nothing is kept on disk: the history ends with the program.
class DeleteHistory : public QObject {
    Q_OBJECT
public:
    static DeleteHistory& instance();

    // Takes every delete the store commits from now on into the history, named
    // with orderNumber where an order's number is part of the name.
    void watchStore(OrderNumberText orderNumber);
    // Stops watching and forgets everything (for tests: each starts afresh).
    void reset();
    // The file at path was replaced by another (a backup restored): what was
    // deleted from the old one is no longer offered.
    void forget(const QString& path);

    // What the next undo for the file brings back ("Vehicle 'Civic'"); empty when
    // nothing can be undone for it.
    QString nextCaption(const QString& path) const;
    int depth(const QString& path) const;

    enum class Outcome {
        Restored,
        NothingToUndo,
        FileReplaced, // the file at the path is not the one the rows went from
        KeyTaken,     // a row with one of the keys exists again
        OwnerGone,    // the row the restored rows belong to is no longer there
        Failed,       // the file could not be written (locked, read-only, ...)
    };
    struct Result {
        Outcome outcome = Outcome::NothingToUndo;
        QString caption;
        QString message; // for the user when not Restored
    };
    // Writes the last delete of the file back, with the same keys, in one
    // transaction; anything refused changes nothing in the file. A delete that can
    // never come back (file replaced, key taken, owner gone) leaves the history so
    // that older ones stay reachable; one that failed otherwise stays to be tried
    // again.
    Result undoLast(const QString& path);

signals:
    void changed();
    // Rows came back into the file at path, the deleted row itself being rowid of
    // table: windows on the file read their rows again.
    void rowsRestored(const QString& path, const QString& table, qint64 rowid);

private:
    struct Entry {
        QString caption;
        std::optional<store::FileIdentity> file;
        std::shared_ptr<const StoredRows> rows;
    };
    static QString key(const QString& path);
    void push(const QString& path, Entry entry);

    QHash<QString, QVector<Entry>> m_stacks;
};

} // namespace undo
