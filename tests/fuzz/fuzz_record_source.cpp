// Feeds record-source texts and find criteria to record sets on a small database
// with the program's six tables. A refused text is fine; a crash, a sanitizer
// report, an error of the wrong kind (SQL that the store built wrongly) or a row
// that does not match its criterion is a finding.
#include "platform/AppError.h"
#include "store/Database.h"
#include "store/RecordSource.h"
#include "store/Recordset.h"
#include "store/Schema.h"
#include "store/StoreErrors.h"
#include "store/ValueConversion.h"

#include <QTemporaryDir>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>

using namespace store;

namespace {

[[noreturn]] void finding(const char* what, const QString& source, const QString& criteria,
                          const QString& detail = QString()) {
    std::fprintf(stderr, "%s\n  source:   \"%s\"\n  criteria: \"%s\"\n  %s\n", what,
                 qPrintable(source), qPrintable(criteria), qPrintable(detail));
    std::abort();
}

void buildLayout(Database& db) {
    for (const schema::TableLayout& layout : schema::tables()) {
        TableDef table = db.CreateTableDef(QLatin1String(layout.name));
        for (const schema::FieldLayout& fieldLayout : layout.fields) {
            FieldDef field = table.CreateField(QLatin1String(fieldLayout.name), fieldLayout.type,
                                               fieldLayout.size);
            if (fieldLayout.autoIncrement)
                field.attributes = dbAutoIncrField;
            table.fields << field;
        }
        db.appendTableDef(table);
        db.appendIndex(table.name, IndexDef(QLatin1String(schema::kPrimaryKeyIndex),
                                            {QLatin1String(layout.keyField)}, true, true));
    }
    for (const schema::RelationLayout& layout : schema::relations()) {
        RelationDef relation =
            db.CreateRelation(QLatin1String(layout.name), QLatin1String(layout.table),
                              QLatin1String(layout.foreignTable), layout.attributes);
        relation.fields << FieldDef(QLatin1String(layout.field), FieldType::Long, 0, 0,
                                    QLatin1String(layout.field));
        db.appendRelation(relation);
    }
}

void addRow(Database& db, const QString& table, const QList<QPair<QString, QString>>& values) {
    auto rs = db.OpenRecordset(table);
    rs->AddNew();
    for (const auto& [field, text] : values)
        rs->setValue(field, text);
    rs->Update();
}

// A few rows in every table, so that sets, orders and finds have something to do.
void addRows(Database& db) {
    for (int v = 1; v <= 3; ++v) {
        const QString vehicle = QString::number(v);
        addRow(db, QStringLiteral("VehicleInfo"),
               {{"VehicleLookup", "Car " + vehicle}, {"VehicleYear", QString::number(1990 + v)}});
        for (int f = 0; f < 4; ++f)
            addRow(db, QStringLiteral("Fuel"),
                   {{"VehicleID", vehicle},
                    {"FuelDate", QStringLiteral("3/%1/2024").arg(10 - f)},
                    {"FuelMiles", QString::number(1000 * f + v)},
                    {"FuelGals", QStringLiteral("9.5")},
                    {"FuelFull", f % 2 ? "True" : "False"},
                    {"FuelCost", QStringLiteral("$31.2")}});
        addRow(db, QStringLiteral("WorkOrder"),
               {{"VehicleID", vehicle}, {"Mileage", QStringLiteral("12000")}});
        const QString order = QString::number(v);
        addRow(db, QStringLiteral("WorkDone"),
               {{"WorkOrderID", order}, {"WorkDescription", QStringLiteral("Oil change")}});
        addRow(db, QStringLiteral("PartsUsed"),
               {{"WorkOrderID", order}, {"PartQty", QStringLiteral("2")}});
        addRow(db, QStringLiteral("WorkOrderMemo"),
               {{"WorkOrderID", order}, {"WorkOrderMemo", QStringLiteral("Noted")}});
    }
}

Database& database() {
    static QTemporaryDir dir;
    static std::shared_ptr<Database> db = [] {
        auto created =
            Database::CreateDatabase(dir.filePath(QStringLiteral("fuzz.mdb")), dbLangGeneral);
        buildLayout(*created);
        addRows(*created);
        return created;
    }();
    return *db;
}

bool isRefusal(int number) {
    switch (number) {
    case errSyntaxInQuery:
    case errSyntaxInExpression:
    case errTableNotFound:
    case errItemNotFound:
    case errTypeMismatch:
    case errOverflow:
    case errFieldTooSmall: // a number too long for the text field it is compared with
        return true;
    default:
        return false;
    }
}

// Every term's field holds the term's number on the current row.
void checkTermsHold(const Recordset& rs, const QList<EqualityTerm>& terms, const QString& source,
                    const QString& criteria) {
    for (const EqualityTerm& term : terms) {
        const FieldDef field(term.field, rs.fieldType(term.field));
        const QVariant expected = toFieldValue(field, term.number);
        const QVariant actual = rs.value(term.field);
        if (toStorage(field, actual) != toStorage(field, expected))
            finding("a row that does not match", source, criteria,
                    term.field + " = " + term.number + " but the row has " + actual.toString());
    }
}

void exercise(const QString& source, const QString& criteria) {
    std::unique_ptr<Recordset> rs;
    try {
        rs = database().OpenRecordset(source);
    } catch (const platform::AppError& error) {
        if (!isRefusal(error.number()))
            finding("unexpected error opening", source, criteria, error.text());
    }
    if (rs) {
        const QList<EqualityTerm> where = parseRecordSource(source).where;
        try {
            rs->MoveLast();
            const int count = rs->RecordCount();
            int seen = 0;
            for (rs->MoveFirst(); !rs->isEOF(); rs->MoveNext()) {
                checkTermsHold(*rs, where, source, criteria);
                for (const QString& field : rs->fieldNames())
                    rs->value(field);
                ++seen;
            }
            if (seen != count)
                finding("row count differs from the rows visited", source, criteria);
        } catch (const platform::AppError& error) {
            finding("error walking an open set", source, criteria, error.text());
        }
    }

    std::unique_ptr<Recordset> target =
        rs ? std::move(rs) : database().OpenRecordset(QStringLiteral("Fuel"));
    try {
        target->FindFirst(criteria);
        if (!target->NoMatch())
            checkTermsHold(*target, parseCriteria(criteria), source, criteria);
    } catch (const platform::AppError& error) {
        if (!isRefusal(error.number()))
            finding("unexpected error finding", source, criteria, error.text());
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // The record source, a line break, the find criterion.
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    const qsizetype split = text.indexOf(QLatin1Char('\n'));
    const QString source = split < 0 ? text : text.left(split);
    const QString criteria = split < 0 ? QString() : text.mid(split + 1);
    exercise(source, criteria);
    return 0;
}
