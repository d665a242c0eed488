#pragma once

#include "BoundControl.h"

#include <QCheckBox>

namespace records {

// A check box bound to a Boolean field; it writes true (-1) or false (0).
class BoundCheckBox : public QCheckBox, public BoundControl {
    Q_OBJECT
public:
    explicit BoundCheckBox(const QString& caption, QWidget* parent = nullptr);

    void showValue(const store::FieldDef& field, const QVariant& value) override;
    QVariant editedValue() const override { return isChecked(); }
};

} // namespace records
