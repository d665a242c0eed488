#pragma once

#include "FieldType.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <utility>

namespace store {

// One field of a table definition, of an index or of a relation.
struct FieldDef {
    FieldDef() = default;
    explicit FieldDef(QString fieldName, FieldType fieldType = FieldType::Text, int fieldSize = 0,
                      int fieldAttributes = 0, QString foreign = QString())
        : name(std::move(fieldName)), type(fieldType), size(fieldSize), attributes(fieldAttributes),
          foreignName(std::move(foreign)) {}

    QString name;
    FieldType type = FieldType::Text;
    int size = 0;        // Text: the maximum length; Memo: 0; other types: their byte size
    int attributes = 0;  // dbAutoIncrField
    QString foreignName; // relation fields only: the field's name in the foreign table
};

struct IndexDef {
    IndexDef() = default;
    explicit IndexDef(QString indexName, QStringList indexFields = {}, bool isPrimary = false,
                      bool isUnique = false)
        : name(std::move(indexName)), fields(std::move(indexFields)), primary(isPrimary),
          unique(isUnique) {}

    QString name;
    QStringList fields;
    bool primary = false;
    bool unique = false;

    FieldDef CreateField(const QString& fieldName) const { return FieldDef{fieldName}; }
};

struct TableDef {
    TableDef() = default;
    explicit TableDef(QString tableName) : name(std::move(tableName)) {}

    QString name;
    QList<FieldDef> fields;
    QList<IndexDef> indexes;

    FieldDef CreateField(const QString& fieldName, FieldType type, int size = 0) const;
    IndexDef CreateIndex(const QString& indexName) const { return IndexDef{indexName}; }
    // Field by name, without regard to case; nullptr when there is none.
    const FieldDef* field(const QString& fieldName) const;
};

struct RelationDef {
    RelationDef() = default;
    RelationDef(QString relationName, QString primaryTable, QString foreign, int attrs,
                QList<FieldDef> relationFields = {})
        : name(std::move(relationName)), table(std::move(primaryTable)),
          foreignTable(std::move(foreign)), attributes(attrs), fields(std::move(relationFields)) {}

    QString name;
    QString table;          // the primary table (the one side)
    QString foreignTable;   // the table whose rows name a primary row
    int attributes = 0;     // dbRelationUnique | dbRelationUpdateCascade | dbRelationDeleteCascade
    QList<FieldDef> fields; // name = primary field, foreignName = foreign field

    FieldDef CreateField(const QString& fieldName) const { return FieldDef{fieldName}; }
    // Field by name, without regard to case; nullptr when there is none.
    FieldDef* field(const QString& fieldName);
};

} // namespace store
