#pragma once

#include "Definitions.h"
#include "RecordSource.h"
#include "Recordset.h"
#include "RowKeys.h"
#include "SqliteErrors.h"
#include "Statement.h"

#include <QVector>
#include <memory>

namespace store {

// The record set of the store: it holds the row numbers its select text gave, in
// that order, and reads a row's values from the file when they are asked for,
// keeping only the current row. Clones share the row numbers.
class DynasetRecordset : public Recordset {
public:
    DynasetRecordset(std::shared_ptr<Database> database, TableDef table, RecordSource source);
    // A clone: the same rows, its own position, standing on the first row.
    DynasetRecordset(const DynasetRecordset& other, std::shared_ptr<RowKeys> rows);

    bool isBOF() const override;
    bool isEOF() const override;
    void MoveFirst() override;
    void MoveLast() override;
    void MoveNext() override;
    void MovePrevious() override;
    int RecordCount() const override;
    int AbsolutePosition() const override;

    void AddNew() override;
    void Edit() override;
    void Update() override;
    void CancelUpdate() override;
    void Delete() override;
    EditMode editMode() const override { return m_mode; }

    Bookmark LastModified() const override;
    Bookmark bookmark() const override;
    void setBookmark(Bookmark mark) override;
    std::unique_ptr<Recordset> Clone() const override;

    void FindFirst(const QString& criteria) override;
    bool NoMatch() const override { return m_noMatch; }
    void Requery() override;

    QString tableName() const override { return m_table.name; }
    QStringList fieldNames() const override;
    FieldType fieldType(const QString& field) const override;
    QVariant value(const QString& field) const override;
    void setValue(const QString& field, const QVariant& value) override;
    void setObserver(RecordsetObserver* observer) override { m_observer = observer; }

private:
    enum class Place { BeforeFirst, OnRow, AfterLast };

    sqlite3* db() const;
    SqlErrorContext context(bool deleting = false) const;
    Statement& statement(const QString& sql) const;
    int fieldIndex(const QString& field) const;
    // A "field = number" term as the field's stored value, for binding.
    QVariant termValue(const EqualityTerm& term) const;
    QString whereSql(const QList<EqualityTerm>& terms) const;

    std::vector<qint64> selectKeys() const;
    bool hasCurrentRow() const;
    void requireCurrentRow() const;
    // The row's values, or false when the file no longer has the row.
    bool readRow(qint64 key, QVector<QVariant>* values) const;
    void placeOn(int index);
    // After CancelUpdate: the current row as the file has it now, which may be newer
    // than when it was read.
    void rereadCurrentRow();
    void dropPending();
    void repositioned();
    void insertPending();
    void updatePending();
    // Refuses the save when the stored row is gone or differs from the row as Edit
    // read it: another window or another copy of the program wrote it meanwhile.
    void requireUnchangedSinceEdit(qint64 key) const;
    // The primary table whose row the pending values name but the file lacks.
    QString missingOwner() const;

    std::shared_ptr<Database> m_database;
    TableDef m_table;
    RecordSource m_source;
    std::shared_ptr<RowKeys> m_rows;
    Place m_place = Place::BeforeFirst;
    int m_index = -1;

    EditMode m_mode = EditMode::None;
    QVector<QVariant> m_pending;
    QVector<bool> m_touched;
    QVector<QVariant> m_editStart; // the row as stored when Edit began
    std::optional<Bookmark> m_lastModified;
    bool m_noMatch = false;
    RecordsetObserver* m_observer = nullptr;

    mutable std::optional<qint64> m_cachedKey;
    mutable QVector<QVariant> m_cachedValues;
    mutable Statement* m_readRow = nullptr; // kept by the database; asked for on every move
};

} // namespace store
