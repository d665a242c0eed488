#pragma once

#include "BoundControl.h"

#include <QLineEdit>
#include <QPlainTextEdit>

namespace records {

class DataControl;

// A one-line entry box bound to a field of a data source control.
class BoundTextBox : public QLineEdit, public BoundControl {
    Q_OBJECT
public:
    explicit BoundTextBox(QWidget* parent = nullptr);

    // Binds the box to a field; the data source shows values and collects changes.
    void bind(DataControl* source, const QString& field);

    void showValue(const store::FieldDef& field, const QVariant& value) override;
    QVariant editedValue() const override { return text(); }

    // Focus events for the windows' lost-focus and got-focus handlers.
signals:
    void gotFocus();
    void lostFocus();

protected:
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
};

// A multi-line entry box bound to a (memo) field.
class BoundMemoBox : public QPlainTextEdit, public BoundControl {
    Q_OBJECT
public:
    explicit BoundMemoBox(QWidget* parent = nullptr);

    void bind(DataControl* source, const QString& field);

    void showValue(const store::FieldDef& field, const QVariant& value) override;
    QVariant editedValue() const override { return toPlainText(); }

signals:
    void gotFocus();
    void lostFocus();

protected:
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
};

} // namespace records
