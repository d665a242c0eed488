#pragma once

#include "FieldType.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace store {

// One field of a table definition, of an index or of a relation.
struct FieldDef {
    QString name;
    FieldType type = FieldType::Text;
    int size = 0;        // Text: the maximum length; Memo: 0; other types: their byte size
    int attributes = 0;  // dbAutoIncrField
    QString foreignName; // relation fields only: the field's name in the foreign table
};

struct IndexDef {
    QString name;
    QStringList fields;
    bool primary = false;
    bool unique = false;

    FieldDef CreateField(const QString& fieldName) const {
        return FieldDef{fieldName, FieldType::Text, 0, 0, {}};
    }
};

struct TableDef {
    QString name;
    QList<FieldDef> fields;
    QList<IndexDef> indexes;

    FieldDef CreateField(const QString& fieldName, FieldType type, int size = 0) const;
    IndexDef CreateIndex(const QString& indexName) const {
        return IndexDef{indexName, {}, false, false};
    }
    // Field by name, without regard to case; nullptr when there is none.
    const FieldDef* field(const QString& fieldName) const;
};

struct RelationDef {
    QString name;
    QString table;          // the primary table (the one side)
    QString foreignTable;   // the table whose rows name a primary row
    int attributes = 0;     // dbRelationUnique | dbRelationUpdateCascade | dbRelationDeleteCascade
    QList<FieldDef> fields; // name = primary field, foreignName = foreign field

    FieldDef CreateField(const QString& fieldName) const {
        return FieldDef{fieldName, FieldType::Text, 0, 0, {}};
    }
    // Field by name, without regard to case; nullptr when there is none.
    FieldDef* field(const QString& fieldName);
};

} // namespace store
