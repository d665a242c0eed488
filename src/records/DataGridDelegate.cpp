#include "DataGridDelegate.h"

#include "DataGrid.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QMetaProperty>
#include <QPersistentModelIndex>

namespace records {

DataGridDelegate::DataGridDelegate(DataGrid* grid) : QStyledItemDelegate(grid), m_grid(grid) {}

QWidget* DataGridDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                                        const QModelIndex& index) const {
    QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
    if (auto* line = qobject_cast<QLineEdit*>(editor)) {
        const QPersistentModelIndex cell(index);
        connect(line, &QLineEdit::textEdited, m_grid, [grid = m_grid, cell, line] {
            // Starting the new row makes the view reload its editors; the keystroke
            // that started it must stay in the editor.
            const QString typed = line->text();
            const int cursor = line->cursorPosition();
            if (cell.isValid())
                grid->editorTextEdited(cell);
            if (line->text() != typed) {
                line->setText(typed);
                line->setCursorPosition(cursor);
            }
        });
    }
    return editor;
}

void DataGridDelegate::setModelData(QWidget* editor, QAbstractItemModel*,
                                    const QModelIndex& index) const {
    const QByteArray property = editor->metaObject()->userProperty().name();
    m_grid->commitCell(index, editor->property(property.constData()));
}

bool DataGridDelegate::eventFilter(QObject* object, QEvent* event) {
    auto* editor = qobject_cast<QWidget*>(object);
    if (editor && event->type() == QEvent::KeyPress &&
        m_grid->editorKeyPress(editor, static_cast<QKeyEvent*>(event)))
        return true;
    return QStyledItemDelegate::eventFilter(object, event);
}

} // namespace records
