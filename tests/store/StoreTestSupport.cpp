#include "StoreTestSupport.h"

#include "store/StoreErrors.h"

#include <sqlite3.h>

using namespace store;

namespace store_test {

namespace {

FieldDef autoKey(const TableDef& table, const QString& name) {
    FieldDef field = table.CreateField(name, FieldType::Long);
    field.attributes = dbAutoIncrField;
    return field;
}

void appendPrimaryKey(Database& db, const TableDef& table, const QString& field) {
    IndexDef index = table.CreateIndex(QStringLiteral("PrimaryKey"));
    index.fields << field;
    index.primary = true;
    index.unique = true;
    db.appendIndex(table.name, index);
}

void appendRelation(Database& db, const QString& name, const QString& table, const QString& foreign,
                    const QString& field, int attributes) {
    RelationDef relation = db.CreateRelation(name, table, foreign, attributes);
    relation.fields << relation.CreateField(field);
    relation.field(field)->foreignName = field;
    db.appendRelation(relation);
}

qint64 addRow(Database& db, const QString& table, const QList<QPair<QString, QVariant>>& values) {
    auto rs = db.OpenRecordset(table);
    rs->AddNew();
    for (const auto& [field, value] : values)
        rs->setValue(field, value);
    rs->Update();
    return rs->LastModified();
}

} // namespace

void buildTinySchema(Database& db) {
    TableDef owner = db.CreateTableDef(QStringLiteral("Owner"));
    owner.fields << owner.CreateField(QStringLiteral("OwnerName"), FieldType::Text, 20)
                 << autoKey(owner, QStringLiteral("OwnerID"));
    db.appendTableDef(owner);
    appendPrimaryKey(db, owner, QStringLiteral("OwnerID"));

    TableDef trip = db.CreateTableDef(QStringLiteral("Trip"));
    trip.fields << trip.CreateField(QStringLiteral("TripDate"), FieldType::Date)
                << trip.CreateField(QStringLiteral("Miles"), FieldType::Single)
                << trip.CreateField(QStringLiteral("Cost"), FieldType::Currency)
                << trip.CreateField(QStringLiteral("Done"), FieldType::Boolean)
                << autoKey(trip, QStringLiteral("TripId"))
                << trip.CreateField(QStringLiteral("OwnerID"), FieldType::Long);
    db.appendTableDef(trip);
    appendPrimaryKey(db, trip, QStringLiteral("TripID"));

    TableDef leg = db.CreateTableDef(QStringLiteral("Leg"));
    leg.fields << autoKey(leg, QStringLiteral("LegID"))
               << leg.CreateField(QStringLiteral("TripID"), FieldType::Long)
               << leg.CreateField(QStringLiteral("Place"), FieldType::Text, 10);
    db.appendTableDef(leg);
    appendPrimaryKey(db, leg, QStringLiteral("LegID"));

    TableDef note = db.CreateTableDef(QStringLiteral("Note"));
    note.fields << note.CreateField(QStringLiteral("NoteText"), FieldType::Memo, 0)
                << note.CreateField(QStringLiteral("TripID"), FieldType::Long);
    db.appendTableDef(note);
    appendPrimaryKey(db, note, QStringLiteral("TripID"));

    const int cascade = dbRelationUpdateCascade | dbRelationDeleteCascade;
    appendRelation(db, QStringLiteral("OwnerTrip"), QStringLiteral("Owner"), QStringLiteral("trip"),
                   QStringLiteral("OwnerID"), cascade);
    appendRelation(db, QStringLiteral("TripLeg"), QStringLiteral("Trip"), QStringLiteral("Leg"),
                   QStringLiteral("TripID"), cascade);
    appendRelation(db, QStringLiteral("TripNote"), QStringLiteral("Trip"), QStringLiteral("Note"),
                   QStringLiteral("TripID"), cascade | dbRelationUnique);
}

TinyDb::TinyDb() : path(dir.filePath(QStringLiteral("tiny.mdb"))) {
    db = Database::CreateDatabase(path, QString::fromLatin1(dbLangGeneral));
    buildTinySchema(*db);
}

qint64 TinyDb::addOwner(const QString& name) {
    return addRow(*db, QStringLiteral("Owner"), {{QStringLiteral("OwnerName"), name}});
}

qint64 TinyDb::addTrip(qint64 owner, const QString& date, double miles) {
    return addRow(*db, QStringLiteral("Trip"),
                  {{QStringLiteral("OwnerID"), owner},
                   {QStringLiteral("TripDate"), date},
                   {QStringLiteral("Miles"), miles}});
}

qint64 TinyDb::addLeg(qint64 trip, const QString& place) {
    return addRow(*db, QStringLiteral("Leg"),
                  {{QStringLiteral("TripID"), trip}, {QStringLiteral("Place"), place}});
}

void TinyDb::addNote(qint64 trip, const QString& text) {
    addRow(*db, QStringLiteral("Note"),
           {{QStringLiteral("TripID"), trip}, {QStringLiteral("NoteText"), text}});
}

int TinyDb::count(const QString& table) const {
    sqlite3_stmt* stmt = nullptr;
    const QByteArray sql = QStringLiteral("SELECT count(*) FROM \"%1\"").arg(table).toUtf8();
    sqlite3_prepare_v2(db->handle(), sql.constData(), -1, &stmt, nullptr);
    const int n = sqlite3_step(stmt) == SQLITE_ROW ? sqlite3_column_int(stmt, 0) : -1;
    sqlite3_finalize(stmt);
    return n;
}

QString fileProblems(const QString& path) {
    sqlite3* db = nullptr;
    QString problems;
    if (sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr) !=
        SQLITE_OK) {
        sqlite3_close(db);
        return QStringLiteral("cannot open");
    }
    for (const char* sql : {"PRAGMA integrity_check", "PRAGMA foreign_key_check"}) {
        sqlite3_stmt* stmt = nullptr;
        if (sqlite3_prepare_v2(db, sql, -1, &stmt, nullptr) != SQLITE_OK) {
            problems += QString::fromUtf8(sqlite3_errmsg(db));
            continue;
        }
        while (sqlite3_step(stmt) == SQLITE_ROW) {
            const QString text =
                QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0)));
            if (text != QLatin1String("ok"))
                problems += text + QLatin1Char(';');
        }
        sqlite3_finalize(stmt);
    }
    sqlite3_close(db);
    return problems;
}

} // namespace store_test
