#pragma once

#include "BoundControl.h"

#include <QLineEdit>
#include <QPlainTextEdit>

class QFocusEvent;

namespace records {

// The focus events of an entry box (Box) as signals of the box class (Owner), for
// the windows' got-focus and lost-focus handlers: the box's own focus handling
// runs first, then Owner's gotFocus or lostFocus is emitted.
template <class Box, class Owner> class FocusSignalling : public Box {
public:
    using Box::Box;

protected:
    void focusInEvent(QFocusEvent* event) override {
        Box::focusInEvent(event);
        emit static_cast<Owner*>(this)->gotFocus();
    }
    void focusOutEvent(QFocusEvent* event) override {
        Box::focusOutEvent(event);
        emit static_cast<Owner*>(this)->lostFocus();
    }
};

// A one-line entry box bound to a field of a data source control.
class BoundTextBox : public FocusSignalling<QLineEdit, BoundTextBox>, public BoundControl {
    Q_OBJECT
public:
    explicit BoundTextBox(QWidget* parent = nullptr);

    void showValue(const store::FieldDef& field, const QVariant& value) override;
    QVariant editedValue() const override { return text(); }

signals:
    void gotFocus();
    void lostFocus();
};

// A multi-line entry box bound to a (memo) field.
class BoundMemoBox : public FocusSignalling<QPlainTextEdit, BoundMemoBox>, public BoundControl {
    Q_OBJECT
public:
    explicit BoundMemoBox(QWidget* parent = nullptr);

    void showValue(const store::FieldDef& field, const QVariant& value) override;
    QVariant editedValue() const override { return toPlainText(); }

signals:
    void gotFocus();
    void lostFocus();
};

} // namespace records
