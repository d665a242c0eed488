#include "Definitions.h"

namespace store {

FieldDef TableDef::CreateField(const QString& fieldName, FieldType type, int size) const {
    return FieldDef{fieldName, type, size, 0, {}};
}

const FieldDef* TableDef::field(const QString& fieldName) const {
    for (const FieldDef& f : fields)
        if (f.name.compare(fieldName, Qt::CaseInsensitive) == 0)
            return &f;
    return nullptr;
}

FieldDef* RelationDef::field(const QString& fieldName) {
    for (FieldDef& f : fields)
        if (f.name.compare(fieldName, Qt::CaseInsensitive) == 0)
            return &f;
    return nullptr;
}

} // namespace store
