#pragma once

#include "store/FieldType.h"
#include "store/Recordset.h"

#include <QLabel>
#include <QList>
#include <QToolButton>
#include <QWidget>
#include <memory>

namespace store {
class Database;
}

namespace records {

class BoundControl;

// A data source control: a bar with first, previous, next and last buttons and a
// caption between them. It opens a record set over its record source (a table
// name or a select text) in its database file, keeps the controls bound to it in
// step with the current row, and signals Reposition after every move.
class DataControl : public QWidget, private store::RecordsetObserver {
    Q_OBJECT
public:
    explicit DataControl(QWidget* parent = nullptr);
    ~DataControl() override;

    void setDatabaseName(const QString& path) { m_databaseName = path; }
    QString DatabaseName() const { return m_databaseName; }
    void setRecordSource(const QString& source) { m_recordSource = source; }
    QString RecordSource() const { return m_recordSource; }
    // "Access" names this program's record store, the only one there is.
    void setConnect(const QString& connect) { m_connect = connect; }
    QString Connect() const { return m_connect; }

    // (Re)opens the record set from the database name and record source and makes
    // its first row current. Throws the store's error when the source cannot open.
    void Refresh();
    // Opens the record source unless it is open already (after the window's load).
    void openIfNeeded();
    bool isOpen() const { return m_recordset != nullptr; }

    // The open record set; the store's "no current record" error when none is open.
    store::Recordset* Recordset() const;
    // The file the record set reads; nullptr before the first Refresh.
    store::Database* Database() const { return m_database.get(); }

    void setCaption(const QString& caption);
    QString Caption() const;
    store::EditMode EditMode() const;

    void addBoundControl(BoundControl* control);

signals:
    // The current row changed: a move, Refresh, bookmark set or FindFirst; also a
    // Delete that took the last row, so that nothing deleted stays on show.
    void Reposition();
    // Refresh opened a new record set (its Reposition has come first); views that
    // read the rows, such as a grid, start again from it.
    void recordsetReplaced();
    // The bound controls show the stored current row again without a move: an Edit
    // began, or an add or edit was cancelled. Displays the window formats itself
    // (such as a cost with its dollar sign) are due again.
    void storedRowShownAgain();

private:
    void repositioned() override;
    void addNewStarted() override;
    void editStarted() override;
    void editCancelled() override;
    void aboutToUpdate() override;
    void updated() override;
    void deleted() override;

    void showCurrentRow();
    void showBlankRow();
    void navigate(void (store::Recordset::*move)(), bool toEnd);
    void setupButtons();

    QString m_databaseName;
    QString m_recordSource;
    QString m_connect = QStringLiteral("Access");
    std::shared_ptr<store::Database> m_database;
    std::unique_ptr<store::Recordset> m_recordset;
    QList<BoundControl*> m_bound;

    QToolButton* m_first;
    QToolButton* m_previous;
    QToolButton* m_next;
    QToolButton* m_last;
    QLabel* m_caption;
};

} // namespace records
