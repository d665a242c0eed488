#pragma once

#include "FieldType.h"

#include <QString>
#include <QStringList>
#include <QVariant>
#include <memory>

namespace store {

class Database;

// A bookmark names one row of a record set and stays valid on its clones.
using Bookmark = qint64;

// Told of what happens to a record set, so that a data source control can keep
// its bound controls and its caption in step. All calls come after the change,
// except aboutToUpdate, which comes first so bound controls can write their values.
class RecordsetObserver {
public:
    virtual ~RecordsetObserver() = default;
    virtual void aboutToUpdate() {} // Update was called; write pending values now
    virtual void repositioned() {}  // a move, bookmark set, FindFirst or Requery
    virtual void addNewStarted() {} // AddNew: the pending row is blank
    virtual void editStarted() {}   // Edit: the pending row is the current row as stored
    virtual void editCancelled() {} // CancelUpdate: the current row shows again
    virtual void updated() {}       // Update stored the pending row
    virtual void deleted() {}       // Delete: no current row until a move
};

// A dynaset: opening it fixes its rows (their keys) in the order of its select
// text; field values are read from the file when needed. Every failure throws
// platform::AppError with a number of StoreErrors.h.
//
// Field values are QVariant: a null QVariant for no value; bool (Boolean, never
// null: false on a new row and for no value), int (Integer, Long), values::Currency,
// float (Single), QDateTime (Date), QString (Text, Memo). setValue also takes typed
// text and converts it for the field.
class Recordset {
public:
    virtual ~Recordset() = default;

    // BOF and EOF are both true on an empty set. (EOF is a C macro, hence the names.)
    virtual bool isBOF() const = 0;
    virtual bool isEOF() const = 0;

    virtual void MoveFirst() = 0;
    virtual void MoveLast() = 0;
    virtual void MoveNext() = 0;     // past the last row: EOF
    virtual void MovePrevious() = 0; // before the first row: BOF, position -1

    virtual int RecordCount() const = 0;
    virtual int AbsolutePosition() const = 0; // zero-based; -1 with no current row

    virtual void AddNew() = 0;
    virtual void Edit() = 0;   // 3021 with no current row
    virtual void Update() = 0; // stores the pending row (type 1, force false)
    virtual void CancelUpdate() = 0;
    virtual void Delete() = 0; // the current row; then no row is current
    virtual EditMode editMode() const = 0;

    virtual Bookmark LastModified() const = 0;
    virtual Bookmark bookmark() const = 0;       // 3021 with no current row
    virtual void setBookmark(Bookmark mark) = 0; // makes that row current
    virtual std::unique_ptr<Recordset> Clone() const = 0;

    // Criterion "Field = number" (field name in any letter case). A criterion the
    // store does not understand is an error, not a silent miss.
    virtual void FindFirst(const QString& criteria) = 0;
    virtual bool NoMatch() const = 0;

    virtual void Requery() = 0; // reads the rows again; the first row becomes current

    virtual QString tableName() const = 0;
    virtual QStringList fieldNames() const = 0; // in the table's field order
    virtual FieldType fieldType(const QString& field) const = 0;

    // The current (or pending) row's value; 3021 with no current row, 3265 for an
    // unknown field.
    virtual QVariant value(const QString& field) const = 0;
    // Writes into the pending row (3020 unless AddNew or Edit is pending);
    // converts and checks the value for the field and throws when it does not fit.
    virtual void setValue(const QString& field, const QVariant& value) = 0;

    virtual void setObserver(RecordsetObserver* observer) = 0;
};

} // namespace store
