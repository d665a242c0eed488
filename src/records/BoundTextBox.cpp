#include "BoundTextBox.h"

#include "store/Definitions.h"
#include "store/ValueConversion.h"

namespace records {

BoundTextBox::BoundTextBox(QWidget* parent) : FocusSignalling(parent) {
    connect(this, &QLineEdit::textChanged, this, [this] { noteContentChanged(); });
}

void BoundTextBox::showValue(const store::FieldDef& field, const QVariant& value) {
    Showing showing(*this);
    setText(store::displayText(field, value));
    setCursorPosition(0);
}

BoundMemoBox::BoundMemoBox(QWidget* parent) : FocusSignalling(parent) {
    setTabChangesFocus(true);
    connect(this, &QPlainTextEdit::textChanged, this, [this] { noteContentChanged(); });
}

void BoundMemoBox::showValue(const store::FieldDef& field, const QVariant& value) {
    Showing showing(*this);
    setPlainText(store::displayText(field, value));
}

} // namespace records
