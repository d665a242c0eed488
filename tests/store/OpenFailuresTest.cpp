#include "StoreTestSupport.h"

#include "store/StoreErrors.h"

#include <QFile>
#include <sqlite3.h>
#include <unistd.h>

using namespace store;
using namespace store_test;

namespace {

// File permissions bind root only loosely: run the step as an ordinary user.
class AsOrdinaryUser {
public:
    AsOrdinaryUser() : m_switched(geteuid() == 0) {
        if (m_switched && setresuid(65534, 65534, 0) != 0)
            m_switched = false;
    }
    ~AsOrdinaryUser() {
        if (m_switched && setresuid(0, 0, 0) != 0)
            std::abort();
    }
    AsOrdinaryUser(const AsOrdinaryUser&) = delete;
    AsOrdinaryUser& operator=(const AsOrdinaryUser&) = delete;

private:
    bool m_switched;
};

QByteArray contents(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("unreadable");
}

void writeFile(const QString& path, const QByteArray& data) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(data);
}

// A closed database file with some rows.
QString closedDatabase(QTemporaryDir& dir) {
    const QString path = dir.filePath(QStringLiteral("data.mdb"));
    auto db = Database::CreateDatabase(path, QString::fromLatin1(dbLangGeneral));
    buildTinySchema(*db);
    auto owners = db->OpenRecordset(QStringLiteral("Owner"));
    owners->AddNew();
    owners->setValue(QStringLiteral("OwnerName"), QStringLiteral("Ann"));
    owners->Update();
    auto trips = db->OpenRecordset(QStringLiteral("Trip"));
    auto notes = db->OpenRecordset(QStringLiteral("Note"));
    for (int i = 0; i < 40; ++i) {
        trips->AddNew();
        trips->setValue(QStringLiteral("OwnerID"), owners->LastModified());
        trips->Update();
        notes->AddNew();
        notes->setValue(QStringLiteral("TripID"), trips->LastModified());
        notes->setValue(QStringLiteral("NoteText"), QString(2000, QLatin1Char('n')));
        notes->Update();
    }
    return path;
}

platform::AppError openError(const QString& path) {
    return storeError([&] { Database::OpenDatabase(path); });
}

} // namespace

TEST(OpenFailures, MissingFileOrFolderIsFileNotFoundNamingIt) {
    QTemporaryDir dir;
    for (const QString& path : {dir.filePath(QStringLiteral("none.mdb")),
                                dir.filePath(QStringLiteral("no/folder/none.mdb"))}) {
        const platform::AppError error = openError(path);
        EXPECT_EQ(error.number(), errFileNotFound);
        EXPECT_TRUE(error.text().contains(path)) << error.text().toStdString();
        EXPECT_FALSE(QFile::exists(path)); // opening never creates a file
    }
}

TEST(OpenFailures, FilesThatAreNoDatabasesAreRefusedAndLeftAlone) {
    QTemporaryDir dir;
    const QString text = dir.filePath(QStringLiteral("notes.mdb"));
    writeFile(text, QByteArray("These are my notes, not a database.\n").repeated(200));
    const platform::AppError error = openError(text);
    EXPECT_EQ(error.number(), errNotADatabase);
    EXPECT_TRUE(error.text().contains(text));
    EXPECT_EQ(contents(text), QByteArray("These are my notes, not a database.\n").repeated(200));

    const QString empty = dir.filePath(QStringLiteral("empty.mdb"));
    writeFile(empty, QByteArray());
    EXPECT_EQ(openError(empty).number(), errNotADatabase);
    EXPECT_EQ(QFileInfo(empty).size(), 0);

    EXPECT_EQ(openError(dir.path()).number(), errNotADatabase);
}

TEST(OpenFailures, ATruncatedDatabaseIsDamaged) {
    QTemporaryDir dir;
    const QString path = closedDatabase(dir);
    QFile file(path);
    const qint64 size = file.size();
    ASSERT_GT(size, 16 * 4096);
    ASSERT_TRUE(file.resize(size / 2));
    const platform::AppError error = openError(path);
    EXPECT_EQ(error.number(), errCannotOpen);
    EXPECT_TRUE(error.text().contains(path)) << error.text().toStdString();
}

TEST(OpenFailures, AReadOnlyFileOrFolderIsRefusedAtOpen) {
    QTemporaryDir dir;
    const QString path = closedDatabase(dir);
    const QByteArray before = contents(path);
    const auto everyone = [](QFile::Permissions owner) {
        return owner | QFile::Permissions::fromInt(owner.toInt() >> 8) | // group
               QFile::Permissions::fromInt(owner.toInt() >> 12);         // others
    };
    QFile::setPermissions(dir.path(),
                          everyone(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    QFile::setPermissions(path, everyone(QFile::ReadOwner));
    {
        AsOrdinaryUser user;
        const platform::AppError error = openError(path);
        EXPECT_EQ(error.number(), errReadOnly) << error.text().toStdString();
        EXPECT_TRUE(error.text().contains(path)) << error.text().toStdString();
    }
    EXPECT_EQ(contents(path), before);

    // A writable file in a folder that is not: the journal could not be written.
    QFile::setPermissions(path, everyone(QFile::ReadOwner | QFile::WriteOwner));
    QFile::setPermissions(dir.path(), everyone(QFile::ReadOwner | QFile::ExeOwner));
    {
        AsOrdinaryUser user;
        EXPECT_EQ(openError(path).number(), errReadOnly);
    }
    QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    EXPECT_EQ(contents(path), before);
    EXPECT_EQ(fileProblems(path), QString());
}

TEST(OpenFailures, AFileLockedByAnotherProgramIsReportedAsLocked) {
    QTemporaryDir dir;
    const QString path = closedDatabase(dir);
    sqlite3* other = nullptr;
    ASSERT_EQ(sqlite3_open(path.toUtf8().constData(), &other), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(other, "BEGIN IMMEDIATE; UPDATE Owner SET OwnerName = 'Bob'", nullptr,
                           nullptr, nullptr),
              SQLITE_OK);
    const platform::AppError error = openError(path);
    EXPECT_EQ(error.number(), errLocked);
    EXPECT_TRUE(error.text().contains(path)) << error.text().toStdString();

    // Once the other program lets go, the file opens; a write it blocks is refused
    // without losing the pending row.
    sqlite3_exec(other, "ROLLBACK", nullptr, nullptr, nullptr);
    auto db = Database::OpenDatabase(path);
    auto owners = db->OpenRecordset(QStringLiteral("Owner"));
    owners->Edit();
    owners->setValue(QStringLiteral("OwnerName"), QStringLiteral("Cy"));
    ASSERT_EQ(sqlite3_exec(other, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK);
    EXPECT_STORE_ERROR(owners->Update(), errLocked);
    EXPECT_EQ(owners->editMode(), EditMode::Edit);
    sqlite3_exec(other, "ROLLBACK", nullptr, nullptr, nullptr);
    owners->Update();
    EXPECT_EQ(owners->value(QStringLiteral("OwnerName")).toString(), QStringLiteral("Cy"));
    sqlite3_close(other);
    EXPECT_EQ(fileProblems(path), QString());
}

TEST(OpenFailures, AReopenedFileKeepsItsRows) {
    QTemporaryDir dir;
    const QString path = closedDatabase(dir);
    auto db = Database::OpenDatabase(path);
    auto notes = db->OpenRecordset(QStringLiteral("Select * from note order by TripID desc"));
    EXPECT_EQ(notes->RecordCount(), 40);
    EXPECT_EQ(notes->value(QStringLiteral("NoteText")).toString().size(), 2000);
}
