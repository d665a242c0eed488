#include "DefinitionChecks.h"

#include "Names.h"
#include "SchemaDdl.h"
#include "StoreErrors.h"

namespace store {

namespace {

[[noreturn]] void schemaError(const QString& text) {
    raise(errSchema, text);
}

bool isKnownType(FieldType type) {
    switch (type) {
    case FieldType::Boolean:
    case FieldType::Integer:
    case FieldType::Long:
    case FieldType::Currency:
    case FieldType::Single:
    case FieldType::Date:
    case FieldType::Text:
    case FieldType::Memo:
        return true;
    }
    return false;
}

// SQLite's own names for the row number.
bool isRowNumberName(const QString& name) {
    return sameName(name, QStringLiteral("rowid")) || sameName(name, QStringLiteral("oid")) ||
           sameName(name, QStringLiteral("_rowid_"));
}

void checkField(const TableDef& table, const FieldDef& field) {
    checkName(field.name, QStringLiteral("field"));
    if (isRowNumberName(field.name))
        schemaError(QStringLiteral("'%1' is a name the store keeps for itself; choose another "
                                   "field name in table '%2'.")
                        .arg(field.name, table.name));
    if (!isKnownType(field.type))
        schemaError(QStringLiteral("Field '%1' of table '%2' has an unknown type (%3).")
                        .arg(field.name, table.name)
                        .arg(int(field.type)));
    if (field.type == FieldType::Text && (field.size < 1 || field.size > 255))
        schemaError(QStringLiteral("Text field '%1' of table '%2' needs a size from 1 to 255.")
                        .arg(field.name, table.name));
    if ((field.attributes & dbAutoIncrField) && field.type != FieldType::Long)
        schemaError(QStringLiteral("Only a Long field can number its rows itself ('%1' in table "
                                   "'%2').")
                        .arg(field.name, table.name));
}

} // namespace

void checkNewTable(const TableDef& table) {
    checkName(table.name, QStringLiteral("table"));
    if (isReservedTableName(table.name))
        schemaError(
            QStringLiteral("'%1' is a table name the store keeps for itself.").arg(table.name));
    if (table.fields.isEmpty())
        schemaError(QStringLiteral("Table '%1' has no fields.").arg(table.name));
    TableDef checked(table.name);
    for (const FieldDef& field : table.fields) {
        checkField(table, field);
        if (checked.field(field.name))
            schemaError(QStringLiteral("Table '%1' has two fields named '%2'.")
                            .arg(table.name, field.name));
        if ((field.attributes & dbAutoIncrField) && autoIncrementField(checked))
            schemaError(QStringLiteral("Table '%1' can have only one field that numbers its "
                                       "rows.")
                            .arg(table.name));
        checked.fields << field;
    }
    for (const IndexDef& index : table.indexes) {
        checkNewIndex(checked, index);
        checked.indexes << index;
    }
}

void checkNewIndex(const TableDef& table, const IndexDef& index) {
    checkName(index.name, QStringLiteral("index"));
    for (const IndexDef& existing : table.indexes) {
        if (sameName(existing.name, index.name))
            schemaError(QStringLiteral("Table '%1' already has an index named '%2'.")
                            .arg(table.name, index.name));
        if (existing.primary && index.primary)
            schemaError(QStringLiteral("Table '%1' already has a primary key.").arg(table.name));
    }
    if (index.fields.isEmpty())
        schemaError(
            QStringLiteral("Index '%1' of table '%2' has no fields.").arg(index.name, table.name));
    for (qsizetype i = 0; i < index.fields.size(); ++i) {
        if (!table.field(index.fields[i]))
            schemaError(QStringLiteral("Index '%1' names field '%2', which table '%3' does not "
                                       "have.")
                            .arg(index.name, index.fields[i], table.name));
        for (qsizetype j = 0; j < i; ++j)
            if (sameName(index.fields[i], index.fields[j]))
                schemaError(QStringLiteral("Index '%1' names field '%2' twice.")
                                .arg(index.name, index.fields[i]));
    }
}

void checkNewRelation(const RelationDef& relation, const TableDef& primary,
                      const TableDef& foreign) {
    const int known = dbRelationUnique | dbRelationDontEnforce | dbRelationUpdateCascade |
                      dbRelationDeleteCascade;
    if (relation.attributes & ~known)
        schemaError(QStringLiteral("Relation '%1' has unknown attributes (%2).")
                        .arg(relation.name)
                        .arg(relation.attributes));
    if (relation.fields.isEmpty())
        schemaError(QStringLiteral("Relation '%1' joins no fields.").arg(relation.name));
    QStringList primaryFields;
    for (const FieldDef& field : relation.fields) {
        const QString foreignName = field.foreignName.isEmpty() ? field.name : field.foreignName;
        const FieldDef* one = primary.field(field.name);
        const FieldDef* many = foreign.field(foreignName);
        if (!one)
            schemaError(QStringLiteral("Relation '%1' names field '%2', which table '%3' does "
                                       "not have.")
                            .arg(relation.name, field.name, primary.name));
        if (!many)
            schemaError(QStringLiteral("Relation '%1' names field '%2', which table '%3' does "
                                       "not have.")
                            .arg(relation.name, foreignName, foreign.name));
        if (one->type != many->type)
            schemaError(QStringLiteral("Relation '%1' joins fields of different types ('%2' and "
                                       "'%3').")
                            .arg(relation.name, field.name, foreignName));
        primaryFields << field.name;
    }
    if (!(relation.attributes & dbRelationDontEnforce) && !isUniqueKey(primary, primaryFields))
        schemaError(QStringLiteral("Relation '%1' needs a primary key or unique index on the "
                                   "joined fields of table '%2'.")
                        .arg(relation.name, primary.name));
}

} // namespace store
