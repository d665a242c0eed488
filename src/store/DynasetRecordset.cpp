#include "DynasetRecordset.h"

#include "Connection.h"
#include "Database.h"
#include "DeleteWatch.h"
#include "Metadata.h"
#include "Names.h"
#include "StoreErrors.h"
#include "ValueConversion.h"

#include <algorithm>
#include <sqlite3.h>

namespace store {

namespace {

[[noreturn]] void noCurrentRow() {
    raise(errNoCurrentRecord, QStringLiteral("There is no current row."));
}

[[noreturn]] void rowDeletedElsewhere() {
    raise(errRowDeletedElsewhere,
          QStringLiteral("The row was deleted elsewhere (in another window or another copy of "
                         "the program) after it was shown, so it cannot be edited or saved."));
}

[[noreturn]] void rowChangedElsewhere() {
    raise(errRowChangedElsewhere,
          QStringLiteral("The row was changed elsewhere (in another window or another copy of "
                         "the program) after you began editing it, so your changes were not "
                         "saved. Cancel shows the row as it is now."));
}

} // namespace

DynasetRecordset::DynasetRecordset(std::shared_ptr<Database> database, TableDef table,
                                   RecordSource source)
    : m_database(std::move(database)), m_table(std::move(table)), m_source(std::move(source)) {
    // Names in the text are checked here, so that a wrong one fails at open.
    for (const EqualityTerm& term : m_source.where)
        fieldIndex(term.field);
    for (const OrderItem& item : m_source.order)
        fieldIndex(item.field);
    m_rows = std::make_shared<RowKeys>(selectKeys());
    placeOn(m_rows->nextLive(0));
}

DynasetRecordset::DynasetRecordset(const DynasetRecordset& other, std::shared_ptr<RowKeys> rows)
    : m_database(other.m_database), m_table(other.m_table), m_source(other.m_source),
      m_rows(std::move(rows)) {
    placeOn(m_rows->nextLive(0));
}

sqlite3* DynasetRecordset::db() const {
    return m_database->handle();
}

SqlErrorContext DynasetRecordset::context(bool deleting) const {
    return SqlErrorContext{m_database->path(), m_table.name, deleting, {}};
}

Statement& DynasetRecordset::statement(const QString& sql) const {
    return m_database->cachedStatement(sql);
}

int DynasetRecordset::fieldIndex(const QString& field) const {
    // Callers mostly spell the name as the table does; that is the cheap comparison.
    // Names of one table never differ by letter case alone, so either finds the same.
    for (qsizetype i = 0; i < m_table.fields.size(); ++i)
        if (m_table.fields[i].name == field)
            return int(i);
    for (qsizetype i = 0; i < m_table.fields.size(); ++i)
        if (sameName(m_table.fields[i].name, field))
            return int(i);
    raise(errItemNotFound,
          QStringLiteral("Table '%1' has no field named '%2'.").arg(m_table.name, field));
}

QVariant DynasetRecordset::termValue(const EqualityTerm& term) const {
    const FieldDef& field = m_table.fields[fieldIndex(term.field)];
    return toStorage(field, toFieldValue(field, term.number));
}

QString DynasetRecordset::whereSql(const QList<EqualityTerm>& terms) const {
    QStringList parts;
    for (const EqualityTerm& term : terms)
        parts << quoted(m_table.fields[fieldIndex(term.field)].name) + QLatin1String(" = ?");
    return parts.isEmpty() ? QString()
                           : QLatin1String(" WHERE ") + parts.join(QLatin1String(" AND "));
}

std::vector<qint64> DynasetRecordset::selectKeys() const {
    QStringList order;
    for (const OrderItem& item : m_source.order)
        order << quoted(m_table.fields[fieldIndex(item.field)].name) +
                     (item.descending ? QLatin1String(" DESC") : QLatin1String());
    order << QStringLiteral("rowid"); // rows that sort alike keep one order on every read
    Statement& stmt = statement(
        QStringLiteral("SELECT rowid FROM %1%2 ORDER BY %3")
            .arg(quoted(m_table.name), whereSql(m_source.where), order.join(QLatin1String(", "))));
    ResetGuard guard(stmt);
    for (qsizetype i = 0; i < m_source.where.size(); ++i)
        stmt.bind(int(i + 1), termValue(m_source.where[i]));
    std::vector<qint64> keys;
    int rc;
    while ((rc = stmt.step()) == SQLITE_ROW)
        keys.push_back(stmt.columnInt64(0));
    checkSqlite(db(), rc, context());
    return keys;
}

// ---- position

bool DynasetRecordset::isBOF() const {
    return m_rows->liveCount() == 0 || m_place == Place::BeforeFirst;
}

bool DynasetRecordset::isEOF() const {
    return m_rows->liveCount() == 0 || m_place == Place::AfterLast;
}

bool DynasetRecordset::hasCurrentRow() const {
    return m_place == Place::OnRow && !m_rows->isDeleted(m_index);
}

void DynasetRecordset::requireCurrentRow() const {
    if (!hasCurrentRow())
        noCurrentRow();
}

void DynasetRecordset::placeOn(int index) {
    if (index < 0) {
        m_place = Place::BeforeFirst;
        m_index = -1;
    } else if (index >= m_rows->size()) {
        m_place = m_rows->liveCount() == 0 ? Place::BeforeFirst : Place::AfterLast;
        m_index = m_rows->size();
    } else {
        m_place = Place::OnRow;
        m_index = index;
    }
    m_cachedKey.reset();
}

// Moving away from a pending row drops it, as the record store always has.
void DynasetRecordset::dropPending() {
    m_mode = EditMode::None;
    m_pending.clear();
    m_touched.clear();
    m_editStart.clear();
}

void DynasetRecordset::repositioned() {
    if (m_observer)
        m_observer->repositioned();
}

void DynasetRecordset::MoveFirst() {
    if (m_rows->liveCount() == 0)
        return;
    dropPending();
    placeOn(m_rows->nextLive(0));
    repositioned();
}

void DynasetRecordset::MoveLast() {
    if (m_rows->liveCount() == 0)
        return;
    dropPending();
    placeOn(m_rows->previousLive(m_rows->size() - 1));
    repositioned();
}

void DynasetRecordset::MoveNext() {
    if (isEOF())
        noCurrentRow();
    dropPending();
    placeOn(m_rows->nextLive(m_place == Place::BeforeFirst ? 0 : m_index + 1));
    repositioned();
}

void DynasetRecordset::MovePrevious() {
    if (isBOF())
        noCurrentRow();
    dropPending();
    placeOn(m_rows->previousLive(m_place == Place::AfterLast ? m_rows->size() - 1 : m_index - 1));
    repositioned();
}

int DynasetRecordset::RecordCount() const {
    return m_rows->liveCount();
}

int DynasetRecordset::AbsolutePosition() const {
    return hasCurrentRow() ? m_rows->livePosition(m_index) : -1;
}

// ---- bookmarks, clones, finding

Bookmark DynasetRecordset::LastModified() const {
    if (!m_lastModified)
        raise(errNoCurrentRecord, QStringLiteral("No row has been added or changed yet."));
    return *m_lastModified;
}

Bookmark DynasetRecordset::bookmark() const {
    requireCurrentRow();
    return m_rows->key(m_index);
}

void DynasetRecordset::setBookmark(Bookmark mark) {
    const int index = m_rows->indexOf(mark);
    if (index < 0 || m_rows->isDeleted(index))
        raise(errInvalidBookmark, QStringLiteral("The bookmark names no row of this record set."));
    dropPending();
    placeOn(index);
    repositioned();
}

std::unique_ptr<Recordset> DynasetRecordset::Clone() const {
    return std::make_unique<DynasetRecordset>(*this, m_rows);
}

void DynasetRecordset::FindFirst(const QString& criteria) {
    const QList<EqualityTerm> terms = parseCriteria(criteria);
    QVector<QVariant> values;
    for (const EqualityTerm& term : terms)
        values << termValue(term);

    // The matching rows of the file, then the first of them in this set's order.
    Statement& stmt = statement(
        QStringLiteral("SELECT rowid FROM %1%2").arg(quoted(m_table.name), whereSql(terms)));
    ResetGuard guard(stmt);
    for (qsizetype i = 0; i < values.size(); ++i)
        stmt.bind(int(i + 1), values[i]);
    int first = -1;
    int rc;
    while ((rc = stmt.step()) == SQLITE_ROW) {
        const int index = m_rows->indexOf(stmt.columnInt64(0));
        if (index >= 0 && !m_rows->isDeleted(index) && (first < 0 || index < first))
            first = index;
    }
    checkSqlite(db(), rc, context());

    m_noMatch = first < 0;
    if (m_noMatch)
        return; // the current row stays current
    dropPending();
    placeOn(first);
    repositioned();
}

void DynasetRecordset::Requery() {
    // A fresh list: clones keep the rows they had.
    auto rows = std::make_shared<RowKeys>(selectKeys());
    dropPending();
    m_rows = std::move(rows);
    placeOn(m_rows->nextLive(0));
    repositioned();
}

// ---- fields

QStringList DynasetRecordset::fieldNames() const {
    QStringList names;
    for (const FieldDef& field : m_table.fields)
        names << field.name;
    return names;
}

FieldType DynasetRecordset::fieldType(const QString& field) const {
    return m_table.fields[fieldIndex(field)].type;
}

bool DynasetRecordset::readRow(qint64 key, QVector<QVariant>* values) const {
    // Read on every move: the text is made once per set.
    if (!m_readRow)
        m_readRow = &statement(QStringLiteral("SELECT %1 FROM %2 WHERE rowid = ?")
                                   .arg(quotedList(fieldNames()), quoted(m_table.name)));
    Statement& stmt = *m_readRow;
    ResetGuard guard(stmt);
    stmt.bind(1, key);
    const int rc = stmt.step();
    if (rc != SQLITE_ROW && rc != SQLITE_DONE)
        raiseSqlite(db(), rc, context());
    if (rc != SQLITE_ROW)
        return false;
    values->resize(m_table.fields.size());
    for (qsizetype i = 0; i < m_table.fields.size(); ++i)
        (*values)[i] = fromStorage(m_table.fields[i], stmt.column(int(i)));
    return true;
}

void DynasetRecordset::rereadCurrentRow() {
    if (!hasCurrentRow())
        return;
    // Cancel always ends the editing: a row the file can no longer give (gone, or the
    // file unreadable) shows as it was last read, and the next step says what is wrong.
    try {
        QVector<QVariant> values;
        if (readRow(m_rows->key(m_index), &values)) {
            m_cachedKey = m_rows->key(m_index);
            m_cachedValues = values;
        }
    } catch (const platform::AppError&) {
    }
}

QVariant DynasetRecordset::value(const QString& field) const {
    const int index = fieldIndex(field);
    if (m_mode != EditMode::None)
        return m_pending[index];
    requireCurrentRow();
    const qint64 key = m_rows->key(m_index);
    if (m_cachedKey != key) {
        // A row deleted through another record set reads as no current row.
        if (!readRow(key, &m_cachedValues))
            noCurrentRow();
        m_cachedKey = key;
    }
    return m_cachedValues[index];
}

void DynasetRecordset::setValue(const QString& field, const QVariant& value) {
    const int index = fieldIndex(field);
    if (m_mode == EditMode::None)
        raise(errUpdateWithoutAddNew,
              QStringLiteral("Field '%1' cannot be changed without Add or Edit first.")
                  .arg(m_table.fields[index].name));
    const FieldDef& def = m_table.fields[index];
    if (def.attributes & dbAutoIncrField)
        raise(errInvalidOperation,
              QStringLiteral("Field '%1' is numbered by the program and cannot be changed.")
                  .arg(def.name));
    m_pending[index] = toFieldValue(def, value); // throws before anything changes
    m_touched[index] = true;
}

// ---- editing

void DynasetRecordset::AddNew() {
    dropPending();
    m_mode = EditMode::AddNew;
    m_pending = QVector<QVariant>(m_table.fields.size());
    m_touched = QVector<bool>(m_table.fields.size(), false);
    // A new row's Yes/No fields start as No and are stored so, never left empty.
    for (qsizetype i = 0; i < m_table.fields.size(); ++i) {
        if (m_table.fields[i].type == FieldType::Boolean) {
            m_pending[i] = false;
            m_touched[i] = true;
        }
    }
    if (m_observer)
        m_observer->addNewStarted();
}

void DynasetRecordset::Edit() {
    dropPending();
    requireCurrentRow();
    QVector<QVariant> values;
    if (!readRow(m_rows->key(m_index), &values)) // read afresh: the row may have changed
        rowDeletedElsewhere();
    m_cachedKey = m_rows->key(m_index);
    m_cachedValues = values;
    m_pending = values;
    m_editStart = values;
    m_touched = QVector<bool>(m_table.fields.size(), false);
    m_mode = EditMode::Edit;
    if (m_observer)
        m_observer->editStarted();
}

void DynasetRecordset::CancelUpdate() {
    if (m_mode == EditMode::None)
        raise(errUpdateWithoutAddNew, QStringLiteral("There is no new or changed row to cancel."));
    dropPending();
    rereadCurrentRow();
    if (m_observer)
        m_observer->editCancelled();
}

void DynasetRecordset::Update() {
    if (m_mode == EditMode::None)
        raise(errUpdateWithoutAddNew, QStringLiteral("There is no new or changed row to save."));
    if (m_observer)
        m_observer->aboutToUpdate();
    if (m_mode == EditMode::AddNew)
        insertPending();
    else
        updatePending();
    dropPending();
    if (m_observer)
        m_observer->updated();
}

QString DynasetRecordset::missingOwner() const {
    const QList<RelationDef> relations = m_database->relations();
    for (const RelationDef& relation : relations) {
        if (!sameName(relation.foreignTable, m_table.name) ||
            (relation.attributes & dbRelationDontEnforce))
            continue;
        QStringList conditions;
        QVector<QVariant> values;
        for (const FieldDef& field : relation.fields) {
            const QString foreignName =
                field.foreignName.isEmpty() ? field.name : field.foreignName;
            const int index = fieldIndex(foreignName);
            values << toStorage(m_table.fields[index], m_pending[index]);
            conditions << quoted(field.name) + QLatin1String(" = ?");
        }
        if (std::any_of(values.begin(), values.end(), [](const QVariant& v) { return v.isNull(); }))
            continue; // a row that names no owner breaks no relation
        Statement probe(db(),
                        QStringLiteral("SELECT 1 FROM %1 WHERE %2")
                            .arg(quoted(relation.table), conditions.join(QLatin1String(" AND "))));
        for (qsizetype i = 0; i < values.size(); ++i)
            probe.bind(int(i + 1), values[i]);
        if (probe.step() != SQLITE_ROW)
            return relation.table;
    }
    return QString();
}

void DynasetRecordset::insertPending() {
    QStringList columns;
    QVector<QVariant> values;
    for (qsizetype i = 0; i < m_table.fields.size(); ++i) {
        if (!m_touched[i])
            continue;
        columns << quoted(m_table.fields[i].name);
        values << toStorage(m_table.fields[i], m_pending[i]);
    }
    const QString sql =
        columns.isEmpty()
            ? QStringLiteral("INSERT INTO %1 DEFAULT VALUES").arg(quoted(m_table.name))
            : QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                  .arg(quoted(m_table.name), columns.join(QLatin1String(", ")),
                       QStringList(columns.size(), QStringLiteral("?")).join(QLatin1String(", ")));
    SqlErrorContext errors = context();
    errors.primaryTable = [this] { return missingOwner(); };

    Transaction transaction(db(), errors);
    Statement& stmt = statement(sql);
    ResetGuard guard(stmt);
    for (qsizetype i = 0; i < values.size(); ++i)
        stmt.bind(int(i + 1), values[i]);
    checkSqlite(db(), stmt.step(), errors);
    const qint64 key = sqlite3_last_insert_rowid(db());
    transaction.commit();
    // The new row joins the end of the set; the row current before AddNew stays current.
    m_rows->append(key);
    m_lastModified = key;
}

void DynasetRecordset::requireUnchangedSinceEdit(qint64 key) const {
    QVector<QVariant> stored;
    if (!readRow(key, &stored))
        rowDeletedElsewhere();
    // Compared as stored, so that values of every type compare as the file holds them.
    for (qsizetype i = 0; i < m_table.fields.size(); ++i) {
        const FieldDef& field = m_table.fields[i];
        if (toStorage(field, stored[i]) != toStorage(field, m_editStart[i]))
            rowChangedElsewhere();
    }
}

void DynasetRecordset::updatePending() {
    requireCurrentRow();
    const qint64 key = m_rows->key(m_index);
    QStringList assignments;
    QVector<QVariant> values;
    for (qsizetype i = 0; i < m_table.fields.size(); ++i) {
        if (!m_touched[i])
            continue;
        assignments << quoted(m_table.fields[i].name) + QLatin1String(" = ?");
        values << toStorage(m_table.fields[i], m_pending[i]);
    }
    if (assignments.isEmpty()) {
        // Nothing is written, so nothing newer is overwritten; a row that is gone is
        // still no row to land on.
        QVector<QVariant> stored;
        if (!readRow(key, &stored))
            rowDeletedElsewhere();
    } else {
        SqlErrorContext errors = context();
        errors.primaryTable = [this] { return missingOwner(); };
        // Checked inside the write transaction: no other writer can come between.
        Transaction transaction(db(), errors);
        requireUnchangedSinceEdit(key);
        Statement& stmt =
            statement(QStringLiteral("UPDATE %1 SET %2 WHERE rowid = ?")
                          .arg(quoted(m_table.name), assignments.join(QLatin1String(", "))));
        ResetGuard guard(stmt);
        for (qsizetype i = 0; i < values.size(); ++i)
            stmt.bind(int(i + 1), values[i]);
        stmt.bind(int(values.size() + 1), key);
        checkSqlite(db(), stmt.step(), errors);
        if (sqlite3_changes(db()) == 0) // cannot happen after the check; never a silent loss
            rowDeletedElsewhere();
        transaction.commit();
    }
    m_cachedKey.reset();
    m_lastModified = key;
}

void DynasetRecordset::Delete() {
    requireCurrentRow();
    dropPending();
    const qint64 key = m_rows->key(m_index);
    AfterDelete afterDelete;
    {
        const SqlErrorContext errors = context(true);
        Transaction transaction(db(), errors);
        afterDelete = rowAboutToGo(RowAboutToGo{db(), m_database->path(), m_table.name, key});
        Statement& stmt =
            statement(QStringLiteral("DELETE FROM %1 WHERE rowid = ?").arg(quoted(m_table.name)));
        ResetGuard guard(stmt);
        stmt.bind(1, key);
        checkSqlite(db(), stmt.step(), errors);
        transaction.commit();
    }
    if (afterDelete)
        afterDelete();
    // Gone from the file either way: through this delete or through another record set.
    m_rows->markDeleted(m_index);
    m_cachedKey.reset();
    if (m_observer)
        m_observer->deleted();
}

} // namespace store
