#include "BoundControl.h"

#include "DataControl.h"

namespace records {

void BoundControl::bind(DataControl* source, const QString& field) {
    setDataField(field);
    source->addBoundControl(this);
}

} // namespace records
