#include "BoundTextBox.h"

#include "DataControl.h"
#include "store/Definitions.h"
#include "store/ValueConversion.h"

namespace records {

BoundTextBox::BoundTextBox(QWidget* parent) : QLineEdit(parent) {
    connect(this, &QLineEdit::textChanged, this, [this] { noteContentChanged(); });
}

void BoundTextBox::bind(DataControl* source, const QString& field) {
    setDataField(field);
    source->addBoundControl(this);
}

void BoundTextBox::showValue(const store::FieldDef& field, const QVariant& value) {
    Showing showing(*this);
    setText(store::displayText(field, value));
    setCursorPosition(0);
}

void BoundTextBox::focusInEvent(QFocusEvent* event) {
    QLineEdit::focusInEvent(event);
    emit gotFocus();
}

void BoundTextBox::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    emit lostFocus();
}

BoundMemoBox::BoundMemoBox(QWidget* parent) : QPlainTextEdit(parent) {
    setTabChangesFocus(true);
    connect(this, &QPlainTextEdit::textChanged, this, [this] { noteContentChanged(); });
}

void BoundMemoBox::bind(DataControl* source, const QString& field) {
    setDataField(field);
    source->addBoundControl(this);
}

void BoundMemoBox::showValue(const store::FieldDef& field, const QVariant& value) {
    Showing showing(*this);
    setPlainText(store::displayText(field, value));
}

void BoundMemoBox::focusInEvent(QFocusEvent* event) {
    QPlainTextEdit::focusInEvent(event);
    emit gotFocus();
}

void BoundMemoBox::focusOutEvent(QFocusEvent* event) {
    QPlainTextEdit::focusOutEvent(event);
    emit lostFocus();
}

} // namespace records
