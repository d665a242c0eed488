#include "modCreateDB.h"

#include "Database.h"
#include "DatabaseFiles.h"
#include "FileReplace.h"
#include "Schema.h"
#include "StoreErrors.h"
#include "platform/AppError.h"
#include "platform/MsgBox.h"

#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstring>
#include <unistd.h>

namespace modCreateDB {

std::shared_ptr<store::Database> CurrentDatabase;

namespace {

using namespace store;

// The database the building routines work on while a creation runs.
std::shared_ptr<Database> building;

void createTable(const char* name) {
    const schema::TableLayout& layout = schema::table(QLatin1String(name));
    TableDef table = building->CreateTableDef(QLatin1String(layout.name));
    for (const schema::FieldLayout& fieldLayout : layout.fields) {
        FieldDef field =
            table.CreateField(QLatin1String(fieldLayout.name), fieldLayout.type, fieldLayout.size);
        if (fieldLayout.autoIncrement)
            field.attributes = dbAutoIncrField;
        table.fields.append(field);
    }
    building->appendTableDef(table);

    IndexDef index = table.CreateIndex(QLatin1String(schema::kPrimaryKeyIndex));
    index.fields.append(index.CreateField(QLatin1String(layout.keyField)).name);
    index.primary = true;
    index.unique = true;
    building->appendIndex(table.name, index);
}

// A name the folder cannot hold is told before anything is built aside.
void checkNameLength(const QFileInfo& target) {
    const long nameMax =
        ::pathconf(QFile::encodeName(target.absolutePath()).constData(), _PC_NAME_MAX);
    if (nameMax > 0 && QFile::encodeName(target.fileName()).size() > nameMax)
        raise(errIo,
              QStringLiteral("The database file '%1' cannot be created: %2.")
                  .arg(target.filePath(), QString::fromLocal8Bit(std::strerror(ENAMETOOLONG))));
}

void checkTarget(const QString& path) {
    const QFileInfo target(path);
    const QFileInfo folder(target.absolutePath());
    if (!folder.isDir())
        raise(errFileNotFound,
              QStringLiteral("The folder '%1' does not exist.").arg(folder.filePath()));
    checkNameLength(target);
    if (target.isDir())
        raise(errIo, QStringLiteral("'%1' is a folder, not a file.").arg(path));
    if (!folder.isWritable())
        raise(errReadOnly,
              QStringLiteral("The folder '%1' cannot be written.").arg(folder.filePath()));
    // A file its owner made read-only stays, as does one a window works on; the
    // database the last creation left open may be replaced.
    if (target.exists() && !store::isWritableFile(path))
        raise(errReadOnly,
              QStringLiteral("The file '%1' is read-only and cannot be replaced.").arg(path));
    if (Database::isFileOpen(path, CurrentDatabase.get()))
        raise(errLocked,
              QStringLiteral("The file '%1' is in use by an open window and cannot be replaced.")
                  .arg(path));
}

} // namespace

void BuildNewDatabase(const QString& path) {
    std::shared_ptr<Database> previous = CurrentDatabase;
    QString asidePath;
    try {
        checkTarget(path);
        asidePath = store::asideFileName(path);
        building = Database::CreateDatabase(asidePath, QLatin1String(dbLangGeneral));
        CreateFuelTable();
        CreatePartsUsedTable();
        CreateVehicleInfoTable();
        CreateWorkDoneTable();
        CreateWorkOrderTable();
        CreateWorkOrderMemoTable();
        CreateRelations();
        building.reset(); // closes the file before it moves into place
        store::replaceDatabaseFile(asidePath, path);
        asidePath.clear();
        CurrentDatabase = Database::OpenDatabase(path);
    } catch (platform::AppError& error) {
        building.reset();
        if (!asidePath.isEmpty()) {
            store::removeDatabaseFiles(asidePath);
            // The file the user asked for, not the hidden one it was being built as.
            QString reason = error.text();
            reason.replace(asidePath, path);
            error = platform::AppError(error.number(), reason);
        }
        CurrentDatabase = previous;
        throw;
    }
}

bool CreateNewDatabase(const QString& path) {
    try {
        BuildNewDatabase(path);
    } catch (const platform::AppError& error) {
        platform::MsgBox(QStringLiteral("There was an error Creating your database."),
                         platform::vbExclamation, error.text());
        return false;
    }
    platform::MsgBox(QStringLiteral(" Creation of database ") + path +
                         QStringLiteral(" has been successful."),
                     platform::vbInformation, QStringLiteral("Success"));
    return true;
}

void CreateFuelTable() {
    createTable("Fuel");
}
void CreatePartsUsedTable() {
    createTable("PartsUsed");
}
void CreateVehicleInfoTable() {
    createTable("VehicleInfo");
}
void CreateWorkDoneTable() {
    createTable("WorkDone");
}
void CreateWorkOrderTable() {
    createTable("WorkOrder");
}
void CreateWorkOrderMemoTable() {
    createTable("WorkOrderMemo");
}

void CreateRelations() {
    for (const schema::RelationLayout& layout : schema::relations()) {
        RelationDef relation =
            building->CreateRelation(QLatin1String(layout.name), QLatin1String(layout.table),
                                     QLatin1String(layout.foreignTable), layout.attributes);
        relation.fields.append(relation.CreateField(QLatin1String(layout.field)));
        relation.field(QLatin1String(layout.field))->foreignName = QLatin1String(layout.field);
        building->appendRelation(relation);
    }
}

} // namespace modCreateDB
