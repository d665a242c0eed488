#include "Database.h"

#include "DatabaseFiles.h"
#include "DatabaseImpl.h"
#include "DefinitionChecks.h"
#include "DynasetRecordset.h"
#include "FileChecks.h"
#include "Metadata.h"
#include "Names.h"
#include "RecordSource.h"
#include "Statement.h"
#include "StoreErrors.h"
#include "TextColumnMend.h"

#include <QFile>
#include <mutex>
#include <set>
#include <sqlite3.h>

namespace store {

namespace {

// A real read of the file: SQLite only looks at it when asked for something.
void checkReadable(sqlite3* db, const SqlErrorContext& context) {
    Statement stmt(db, QStringLiteral("SELECT count(*) FROM sqlite_master"), context);
    checkSqlite(db, stmt.step(), context);
}

// Takes and drops the write lock, so a read-only or locked file fails at open
// time rather than at the user's first save.
void checkWritable(sqlite3* db, const SqlErrorContext& context) {
    if (sqlite3_db_readonly(db, "main") == 1)
        raiseSqlite(db, SQLITE_READONLY, context);
    Transaction probe(db, context);
}

void removeDatabaseFile(const QString& path) {
    QFile::remove(path);
    QFile::remove(path + QStringLiteral("-journal"));
}

// Every open database of the program, so that a file in use is not replaced.
struct OpenDatabases {
    std::mutex mutex;
    std::set<const Database*> all;
};

// Never destroyed: databases held by globals of other files close after it would be.
OpenDatabases& openDatabases() {
    static auto* open = new OpenDatabases;
    return *open;
}

} // namespace

TableLayout Database::Impl::layout(const QString& storedName) const {
    TableLayout result{readTableDef(db(), storedName, context(storedName)), {}};
    for (const RelationDef& relation : readRelations(db(), context(storedName)))
        if (sameName(relation.foreignTable, storedName))
            result.foreignRelations << relation;
    return result;
}

QString Database::Impl::requireTable(const QString& name) const {
    const QString stored = storedTableName(db(), name, context(name));
    if (stored.isEmpty())
        raise(errTableNotFound,
              QStringLiteral("The database file '%1' has no table named '%2'.").arg(path, name));
    return stored;
}

Database::Database(std::unique_ptr<Impl> impl) : m_impl(std::move(impl)) {
    m_impl->file = fileIdentity(m_impl->path);
    const std::lock_guard lock(openDatabases().mutex);
    openDatabases().all.insert(this);
}

Database::~Database() {
    const std::lock_guard lock(openDatabases().mutex);
    openDatabases().all.erase(this);
}

bool Database::isFileOpen(const QString& path, const Database* except) {
    const std::optional<FileIdentity> file = fileIdentity(path);
    if (!file)
        return false;
    const std::lock_guard lock(openDatabases().mutex);
    for (const Database* db : openDatabases().all)
        if (db != except && db->m_impl->file == file)
            return true;
    return false;
}

bool Database::fileHasMoved() const {
    int moved = 0;
    return sqlite3_file_control(m_impl->db(), "main", SQLITE_FCNTL_HAS_MOVED, &moved) ==
               SQLITE_OK &&
           moved;
}

std::shared_ptr<Database> Database::CreateDatabase(const QString& path, const QString& locale) {
    checkNewDatabasePath(path);
    auto impl = std::make_unique<Impl>();
    impl->path = path;
    try {
        impl->connection = openConnection(path, true);
        Transaction transaction(impl->db(), impl->context());
        createMetaTables(impl->db(), impl->context());
        writeInfo(impl->db(), QStringLiteral("locale"), locale, impl->context());
        transaction.commit();
    } catch (...) {
        // Nothing half made is left behind: the file did not exist before.
        impl->connection.reset();
        removeDatabaseFile(path);
        throw;
    }
    return std::shared_ptr<Database>(new Database(std::move(impl)));
}

std::shared_ptr<Database> Database::OpenDatabase(const QString& path, Access access) {
    const bool writing = access == Access::ReadWrite;
    checkExistingDatabasePath(path, writing);
    auto impl = std::make_unique<Impl>();
    impl->path = path;
    impl->connection = writing ? openConnection(path, false) : openReadOnlyConnection(path);
    checkReadable(impl->db(), impl->context());
    if (writing) {
        checkWritable(impl->db(), impl->context());
        // Before the first write, the mending of older files included.
        checkWholeFile(impl->db(), impl->context());
        checkNothingRuns(impl->db(), impl->context());
        mendTextColumns(*impl);
    }
    return std::shared_ptr<Database>(new Database(std::move(impl)));
}

QString Database::path() const {
    return m_impl->path;
}

sqlite3* Database::handle() const {
    return m_impl->db();
}

Statement& Database::cachedStatement(const QString& sql) {
    auto it = m_impl->statements.find(sql);
    if (it == m_impl->statements.end())
        it = m_impl->statements.emplace(sql, Statement(m_impl->db(), sql, m_impl->context())).first;
    return it->second;
}

RelationDef Database::CreateRelation(const QString& name, const QString& table,
                                     const QString& foreignTable, int attributes) const {
    return RelationDef(name, table, foreignTable, attributes);
}

void Database::appendTableDef(const TableDef& table) {
    sqlite3* db = m_impl->db();
    checkNewTable(table);
    if (!storedTableName(db, table.name, m_impl->context()).isEmpty())
        raise(errSchema,
              QStringLiteral("The database already has a table named '%1'.").arg(table.name));
    const SqlErrorContext context = m_impl->context(table.name);
    Transaction transaction(db, context);
    createTable(db, TableLayout{table, {}}, context);
    for (const IndexDef& index : table.indexes)
        writeIndex(db, table.name, index, context);
    transaction.commit();
}

void Database::appendIndex(const QString& tableName, const IndexDef& index) {
    sqlite3* db = m_impl->db();
    const QString stored = m_impl->requireTable(tableName);
    const SqlErrorContext context = m_impl->context(stored);
    TableLayout layout = m_impl->layout(stored);
    checkNewIndex(layout.def, index);
    layout.def.indexes << index;
    const auto record = [&] { writeIndex(db, stored, index, context); };
    if (index.primary && !primaryIsRowKey(layout.def)) {
        rebuildTable(db, layout, record, context);
        return;
    }
    Transaction transaction(db, context);
    if (!index.primary)
        createSecondaryIndex(db, stored, index, context);
    record();
    transaction.commit();
}

void Database::appendRelation(const RelationDef& relation) {
    sqlite3* db = m_impl->db();
    checkName(relation.name, QStringLiteral("relation"));
    for (const RelationDef& existing : relations())
        if (sameName(existing.name, relation.name))
            raise(errSchema, QStringLiteral("The database already has a relation named '%1'.")
                                 .arg(relation.name));
    const QString primaryName = m_impl->requireTable(relation.table);
    const QString foreignName = m_impl->requireTable(relation.foreignTable);
    const TableLayout primary = m_impl->layout(primaryName);
    TableLayout foreign = m_impl->layout(foreignName);
    checkNewRelation(relation, primary.def, foreign.def);

    const SqlErrorContext context = m_impl->context(foreignName);
    const auto record = [&] { writeRelation(db, relation, context); };
    if (relation.attributes & dbRelationDontEnforce) {
        Transaction transaction(db, context);
        record();
        transaction.commit();
        return;
    }
    foreign.foreignRelations << relation;
    rebuildTable(db, foreign, record, context);
}

QList<TableDef> Database::tableDefs() const {
    QList<TableDef> tables;
    for (const QString& name : userTableNames(m_impl->db(), m_impl->context()))
        tables << readTableDef(m_impl->db(), name, m_impl->context(name));
    return tables;
}

std::optional<TableDef> Database::tableDef(const QString& name) const {
    const QString stored = storedTableName(m_impl->db(), name, m_impl->context(name));
    if (stored.isEmpty())
        return std::nullopt;
    return readTableDef(m_impl->db(), stored, m_impl->context(stored));
}

QList<RelationDef> Database::relations() const {
    return readRelations(m_impl->db(), m_impl->context());
}

std::unique_ptr<Recordset> Database::OpenRecordset(const QString& source) {
    RecordSource parsed = parseRecordSource(source);
    parsed.table = m_impl->requireTable(parsed.table);
    return std::make_unique<DynasetRecordset>(
        shared_from_this(), readTableDef(m_impl->db(), parsed.table, m_impl->context(parsed.table)),
        parsed);
}

} // namespace store
