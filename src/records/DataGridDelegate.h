#pragma once

#include <QStyledItemDelegate>

namespace records {

class DataGrid;

// The cell editor of a data-bound grid: it hands the typed value, the first
// keystroke of a new row and every key press to the grid, which runs the grid's
// events around them.
class DataGridDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    explicit DataGridDelegate(DataGrid* grid);

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model,
                      const QModelIndex& index) const override;

protected:
    bool eventFilter(QObject* object, QEvent* event) override;

private:
    DataGrid* m_grid;
};

} // namespace records
