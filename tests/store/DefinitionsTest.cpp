#include "StoreTestSupport.h"

#include "store/StoreErrors.h"

#include <QFile>
#include <sqlite3.h>

using namespace store;
using namespace store_test;

namespace {

QString scalarText(sqlite3* db, const char* sql) {
    sqlite3_stmt* stmt = nullptr;
    sqlite3_prepare_v2(db, sql, -1, &stmt, nullptr);
    QString text;
    if (sqlite3_step(stmt) == SQLITE_ROW)
        text = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0)));
    sqlite3_finalize(stmt);
    return text;
}

} // namespace

TEST(Definitions, ReadBackAfterReopenKeepsFieldsKeysAndRelations) {
    TinyDb tiny;
    tiny.db.reset();
    const auto db = Database::OpenDatabase(tiny.path);

    const QList<TableDef> tables = db->tableDefs();
    QStringList names;
    for (const TableDef& t : tables)
        names << t.name;
    EXPECT_EQ(names, QStringList({"Owner", "Trip", "Leg", "Note"}));

    const TableDef trip = *db->tableDef(QStringLiteral("TRIP"));
    QStringList fields;
    for (const FieldDef& f : trip.fields)
        fields << f.name;
    EXPECT_EQ(fields, QStringList({"TripDate", "Miles", "Cost", "Done", "TripId", "OwnerID"}));
    EXPECT_EQ(trip.field(QStringLiteral("tripdate"))->type, FieldType::Date);
    EXPECT_EQ(trip.field(QStringLiteral("Miles"))->type, FieldType::Single);
    EXPECT_EQ(trip.field(QStringLiteral("Cost"))->type, FieldType::Currency);
    EXPECT_EQ(trip.field(QStringLiteral("Done"))->type, FieldType::Boolean);
    EXPECT_EQ(trip.field(QStringLiteral("TripID"))->attributes, dbAutoIncrField);
    EXPECT_EQ(trip.field(QStringLiteral("OwnerID"))->attributes, 0);
    ASSERT_EQ(trip.indexes.size(), 1);
    EXPECT_EQ(trip.indexes[0].name, QStringLiteral("PrimaryKey"));
    EXPECT_EQ(trip.indexes[0].fields, QStringList({"TripID"}));
    EXPECT_TRUE(trip.indexes[0].primary);
    EXPECT_TRUE(trip.indexes[0].unique);

    const TableDef owner = *db->tableDef(QStringLiteral("owner"));
    EXPECT_EQ(owner.field(QStringLiteral("OwnerName"))->type, FieldType::Text);
    EXPECT_EQ(owner.field(QStringLiteral("OwnerName"))->size, 20);
    const TableDef note = *db->tableDef(QStringLiteral("Note"));
    EXPECT_EQ(note.field(QStringLiteral("NoteText"))->type, FieldType::Memo);
    EXPECT_EQ(note.field(QStringLiteral("TripID"))->attributes, 0);
    EXPECT_FALSE(db->tableDef(QStringLiteral("Nothing")).has_value());

    const QList<RelationDef> relations = db->relations();
    ASSERT_EQ(relations.size(), 3);
    EXPECT_EQ(relations[0].name, QStringLiteral("OwnerTrip"));
    EXPECT_EQ(relations[0].table, QStringLiteral("Owner"));
    EXPECT_EQ(relations[0].foreignTable, QStringLiteral("trip"));
    EXPECT_EQ(relations[0].attributes, 4352);
    ASSERT_EQ(relations[0].fields.size(), 1);
    EXPECT_EQ(relations[0].fields[0].name, QStringLiteral("OwnerID"));
    EXPECT_EQ(relations[0].fields[0].foreignName, QStringLiteral("OwnerID"));
    EXPECT_EQ(relations[2].name, QStringLiteral("TripNote"));
    EXPECT_EQ(relations[2].attributes, 4353);
}

TEST(Definitions, RelationsAreForeignKeysOfTheFileWithAnIndexOnTheForeignField) {
    TinyDb tiny;
    sqlite3* db = tiny.db->handle();
    // Another SQLite tool sees (and is held to) the same rules.
    EXPECT_EQ(scalarText(db, "SELECT \"table\" || '.' || \"from\" || ' ' || on_update || ' ' || "
                             "on_delete FROM pragma_foreign_key_list('Trip')"),
              QStringLiteral("Owner.OwnerID CASCADE CASCADE"));
    // Cascading deletes find the foreign rows through an index, not a scan.
    sqlite3_stmt* stmt = nullptr;
    sqlite3_prepare_v2(db, "EXPLAIN QUERY PLAN SELECT rowid FROM Leg WHERE TripID = 1", -1, &stmt,
                       nullptr);
    QString detail;
    while (sqlite3_step(stmt) == SQLITE_ROW)
        detail += QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 3)));
    sqlite3_finalize(stmt);
    EXPECT_TRUE(detail.contains(QLatin1String("USING"))) << detail.toStdString();
    EXPECT_TRUE(scalarText(db, "PRAGMA foreign_keys") == QLatin1String("1"));
    EXPECT_EQ(scalarText(db, "PRAGMA journal_mode"), QStringLiteral("delete"));
    EXPECT_EQ(scalarText(db, "PRAGMA synchronous"), QStringLiteral("3")); // EXTRA
}

TEST(Definitions, CreateRefusesAnExistingFileAndLeavesIt) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("exists.mdb"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("keep me");
    file.close();
    EXPECT_STORE_ERROR(Database::CreateDatabase(path, QString::fromLatin1(dbLangGeneral)),
                       errInvalidOperation);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArray("keep me"));
}

TEST(Definitions, CreateInAMissingFolderFailsAndLeavesNoFile) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("no/such/folder/new.mdb"));
    const platform::AppError error =
        storeError([&] { Database::CreateDatabase(path, QString::fromLatin1(dbLangGeneral)); });
    EXPECT_EQ(error.number(), errFileNotFound);
    EXPECT_TRUE(error.text().contains(path));
    EXPECT_FALSE(QFile::exists(path));
}

TEST(Definitions, BadDefinitionsAreRefusedAndChangeNothing) {
    TinyDb tiny;
    Database& db = *tiny.db;

    TableDef twice = db.CreateTableDef(QStringLiteral("TRIP"));
    twice.fields << twice.CreateField(QStringLiteral("X"), FieldType::Long);
    EXPECT_STORE_ERROR(db.appendTableDef(twice), errSchema);

    TableDef noFields = db.CreateTableDef(QStringLiteral("Empty"));
    EXPECT_STORE_ERROR(db.appendTableDef(noFields), errSchema);

    TableDef dupField = db.CreateTableDef(QStringLiteral("Dup"));
    dupField.fields << dupField.CreateField(QStringLiteral("A"), FieldType::Long)
                    << dupField.CreateField(QStringLiteral("a"), FieldType::Text, 5);
    EXPECT_STORE_ERROR(db.appendTableDef(dupField), errSchema);

    TableDef badText = db.CreateTableDef(QStringLiteral("BadText"));
    badText.fields << badText.CreateField(QStringLiteral("T"), FieldType::Text, 0);
    EXPECT_STORE_ERROR(db.appendTableDef(badText), errSchema);

    TableDef quote = db.CreateTableDef(QStringLiteral("Bad\"Name"));
    quote.fields << quote.CreateField(QStringLiteral("A"), FieldType::Long);
    EXPECT_STORE_ERROR(db.appendTableDef(quote), errSchema);

    IndexDef unknownField{QStringLiteral("ByNothing"), {QStringLiteral("Nothing")}, false, false};
    EXPECT_STORE_ERROR(db.appendIndex(QStringLiteral("Trip"), unknownField), errSchema);
    IndexDef secondPrimary{QStringLiteral("Other"), {QStringLiteral("Miles")}, true, true};
    EXPECT_STORE_ERROR(db.appendIndex(QStringLiteral("Trip"), secondPrimary), errSchema);
    IndexDef onMissingTable{QStringLiteral("X"), {QStringLiteral("A")}, false, false};
    EXPECT_STORE_ERROR(db.appendIndex(QStringLiteral("NoTable"), onMissingTable), errTableNotFound);

    // The one side of a relation needs a key.
    RelationDef keyless = db.CreateRelation(QStringLiteral("LegOwner"), QStringLiteral("Leg"),
                                            QStringLiteral("Owner"), 4352);
    keyless.fields << FieldDef{QStringLiteral("Place"), FieldType::Text, 0, 0,
                               QStringLiteral("OwnerName")};
    EXPECT_STORE_ERROR(db.appendRelation(keyless), errSchema);
    RelationDef sameName = db.CreateRelation(QStringLiteral("ownertrip"), QStringLiteral("Owner"),
                                             QStringLiteral("Trip"), 4352);
    sameName.fields << FieldDef{QStringLiteral("OwnerID"), FieldType::Long, 0, 0,
                                QStringLiteral("OwnerID")};
    EXPECT_STORE_ERROR(db.appendRelation(sameName), errSchema);

    EXPECT_EQ(db.tableDefs().size(), 4);
    EXPECT_EQ(db.relations().size(), 3);
    EXPECT_EQ(db.tableDef(QStringLiteral("Trip"))->indexes.size(), 1);
    EXPECT_EQ(fileProblems(tiny.path), QString());
}
