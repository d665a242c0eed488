#include "BoundCheckBox.h"

namespace records {

BoundCheckBox::BoundCheckBox(const QString& caption, QWidget* parent) : QCheckBox(caption, parent) {
    connect(this, &QCheckBox::toggled, this, [this] { noteContentChanged(); });
}

void BoundCheckBox::showValue(const store::FieldDef&, const QVariant& value) {
    Showing showing(*this);
    setChecked(value.isValid() && value.toBool());
}

} // namespace records
