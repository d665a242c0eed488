// A database file deleted or replaced while it is open. The open connection still
// reaches the old contents, so a save could go into a file that no longer has a name
// and be lost while reported as done. Every write must be refused instead, naming the
// file, with the pending row kept.
#include "StoreTestSupport.h"

#include "store/StoreErrors.h"

#include <QFile>
#include <sqlite3.h>
#include <unistd.h>

using namespace store;
using namespace store_test;

namespace {

QStringList ownerNames(const QString& path) {
    QStringList names;
    sqlite3* db = nullptr;
    sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_stmt* stmt = nullptr;
    sqlite3_prepare_v2(db, "SELECT OwnerName FROM Owner ORDER BY OwnerID", -1, &stmt, nullptr);
    while (stmt && sqlite3_step(stmt) == SQLITE_ROW)
        names << QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0)));
    sqlite3_finalize(stmt);
    sqlite3_close(db);
    return names;
}

class FileReplaced : public ::testing::Test {
protected:
    void SetUp() override {
        tiny.addOwner(QStringLiteral("Ann"));
        lost = tiny.dir.filePath(QStringLiteral("lost.mdb"));
        // A second name keeps the open file's contents where the test can read them.
        ASSERT_EQ(
            ::link(QFile::encodeName(tiny.path).constData(), QFile::encodeName(lost).constData()),
            0);
        owners = tiny.db->OpenRecordset(QStringLiteral("Owner"));
        owners->AddNew();
        owners->setValue(QStringLiteral("OwnerName"), QStringLiteral("Pending"));
    }

    // Update and Delete are refused naming the file; nothing reached the old file.
    void expectWritesRefused(const QString& trouble) {
        const platform::AppError error = storeError([&] { owners->Update(); });
        EXPECT_EQ(error.number(), errFileNotFound) << error.text().toStdString();
        EXPECT_TRUE(error.text().contains(tiny.path)) << error.text().toStdString();
        EXPECT_TRUE(error.text().contains(trouble)) << error.text().toStdString();
        EXPECT_EQ(owners->editMode(), EditMode::AddNew) << "the pending row is kept";
        owners->CancelUpdate();
        owners->MoveFirst();
        EXPECT_EQ(owners->value(QStringLiteral("OwnerName")), QVariant("Ann")) << "still readable";
        EXPECT_STORE_ERROR(owners->Delete(), errFileNotFound);
        EXPECT_EQ(ownerNames(lost), QStringList{"Ann"});
        EXPECT_EQ(fileProblems(lost), QString());
    }

    TinyDb tiny;
    QString lost;
    std::unique_ptr<Recordset> owners;
};

} // namespace

TEST_F(FileReplaced, WritesToADeletedFileAreRefused) {
    ASSERT_TRUE(QFile::remove(tiny.path));
    expectWritesRefused(QStringLiteral("deleted"));
    EXPECT_FALSE(QFile::exists(tiny.path));
}

TEST_F(FileReplaced, WritesToAFileRenamedOverAreRefused) {
    // A copy of the database itself is the hardest case: it is a sound database.
    const QString copy = tiny.dir.filePath(QStringLiteral("copy.mdb"));
    ASSERT_TRUE(QFile::copy(tiny.path, copy));
    ASSERT_EQ(
        ::rename(QFile::encodeName(copy).constData(), QFile::encodeName(tiny.path).constData()), 0);
    expectWritesRefused(QStringLiteral("replaced"));
    EXPECT_EQ(ownerNames(tiny.path), QStringList{"Ann"}) << "the new file was written";
}
