// The database file goes bad while the program has it open: deleted, made read-only,
// held by another program, replaced by another file or written over. The next Update
// must say so in the error box, naming the file; it must never report a save that did
// not reach the file. The row waits as typed; the program goes on: the windows stay
// usable and nothing else is lost.
#include "FileTroubles.h"

#include "store/StoreErrors.h"
#include "support/UnwritableFile.h"

#include <QElapsedTimer>
#include <unistd.h>

using namespace e2e;
using namespace store;

namespace {

QByteArray bytesOf(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(unreadable)");
}

void writeBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ASSERT_EQ(file.write(bytes), bytes.size());
}

const QByteArray kNotADatabase = "Shopping list\nmilk\nbread\n";

class FileGoesBad : public TroubleSession {
protected:
    // The fuel window open on Alpha's purchase, the vehicle window in front with a new
    // vehicle typed and pending.
    void SetUp() override {
        TroubleSession::SetUp();
        startWithNewDatabase();
        putInSomeRows();
        fuel = openWindow(QStringLiteral("Gas Purchases"), QStringLiteral("Gas Purchases"));
        ASSERT_NE(fuel, nullptr);
        pick(qobject_cast<QComboBox*>(labelled(fuel, QStringLiteral("Vehicle"))),
             QStringLiteral("Alpha"));
        vehicles = openWindow(QStringLiteral("Vehicle Information"),
                              QStringLiteral("Vehicle Information"));
        ASSERT_NE(vehicles, nullptr);
        before = allRows();
        typeNewVehicle();
    }

    void typeNewVehicle() {
        press(vehicles, "cmdAdd");
        typeInto(vehicles, QStringLiteral("Look Up"), QStringLiteral("Pending"));
        typeInto(vehicles, QStringLiteral("Year"), QStringLiteral("2024"));
        ASSERT_EQ(boxes.count(), 0);
    }

    // Update gave one error box with this number that names the file and the trouble;
    // the row waits as typed.
    void expectUpdateRefused(int number, const QString& trouble) {
        press(vehicles, "cmdUpdate");
        ASSERT_EQ(boxes.count(), 1) << "Update reported no trouble";
        expectErrorBox(number, databasePath);
        EXPECT_TRUE(boxes.last().prompt.contains(trouble)) << boxes.last().prompt.toStdString();
        ASSERT_NO_FATAL_FAILURE(
            expectStillBeingTyped(vehicles, QStringLiteral("Look Up"), QStringLiteral("Pending")));
        boxes.clear();
    }

    // Cancel, by its access key, drops the typed row and shows the stored one; Edit and
    // Cancel work as before.
    void cancelTypedVehicle() {
        accessKey(vehicles, Qt::Key_N);
        EXPECT_EQ(shown(labelled(vehicles, QStringLiteral("Look Up"))), QStringLiteral("Civic"));
        press(vehicles, "cmdEdit");
        press(vehicles, "cmdCancel");
        EXPECT_EQ(shown(labelled(vehicles, QStringLiteral("Look Up"))), QStringLiteral("Civic"));
    }

    // The row that waited was saved, once, is the current one, and nothing else changed.
    void expectSavedOnce() {
        EXPECT_EQ(boxes.count(), 0) << boxes.last().prompt.toStdString();
        EXPECT_EQ(query(QStringLiteral("SELECT VehicleLookup || '/' || VehicleYear FROM "
                                       "VehicleInfo WHERE VehicleID > 2")),
                  QStringList{"Pending/2024"});
        EXPECT_EQ(allRows().size(), before.size() + 1);
        expectFileSound();
        EXPECT_EQ(shown(labelled(vehicles, QStringLiteral("Look Up"))), QStringLiteral("Pending"))
            << "the saved row is the current one";
        EXPECT_EQ(usableButtons(vehicles),
                  (QStringList{"cmdAdd", "cmdClose", "cmdDelete", "cmdEdit"}));
        expectFuelWindowUsable();
    }

    // The fuel window, brought to the front, still shows its purchase and closes.
    void expectFuelWindowUsable() {
        choose("mnuWindow", QStringLiteral("1 Gas Purchases"));
        EXPECT_EQ(frontWindow(), fuel);
        EXPECT_EQ(shown(labelled(fuel, QStringLiteral("Cost"))), QStringLiteral("$20.00"));
        EXPECT_EQ(shown(labelled(fuel, QStringLiteral("Miles"))), QStringLiteral("100"));
        press(fuel, "cmdClose");
        EXPECT_EQ(windowTitled(QStringLiteral("Gas Purchases")), nullptr);
        EXPECT_TRUE(program->isVisible());
    }

    QWidget* fuel = nullptr;
    QWidget* vehicles = nullptr;
    QStringList before;
};

} // namespace

TEST_F(FileGoesBad, DeletedFileIsReportedAndNotWrittenToTheVoid) {
    // A second name keeps the old file's contents where we can read them: a save
    // "through" the open handle would land there unseen by the user.
    const QString lost = folder.filePath(QStringLiteral("lost.mdb"));
    ASSERT_EQ(
        ::link(QFile::encodeName(databasePath).constData(), QFile::encodeName(lost).constData()),
        0);
    ASSERT_TRUE(QFile::remove(databasePath));

    ASSERT_NO_FATAL_FAILURE(expectUpdateRefused(errFileNotFound, QStringLiteral("deleted")));
    EXPECT_FALSE(QFile::exists(databasePath)) << "no new file was made in its place";
    EXPECT_EQ(queryFile(lost, QStringLiteral("SELECT count(*) FROM VehicleInfo")),
              QStringList{"2"});
    cancelTypedVehicle();
    expectFuelWindowUsable();
}

TEST_F(FileGoesBad, ReadOnlyFileIsReportedAndThePendingRowSavesWhenWritableAgain) {
    testing_support::ReadOnlyFile readOnly(databasePath);
    if (!readOnly.arranged())
        GTEST_SKIP() << "running as root, and the file system does not let us make the file "
                        "immutable: a read-only file cannot be arranged";
    const QByteArray bytes = bytesOf(databasePath);

    ASSERT_NO_FATAL_FAILURE(expectUpdateRefused(errReadOnly, QStringLiteral("read-only")));
    EXPECT_TRUE(bytesOf(databasePath) == bytes) << "the read-only file changed";
    EXPECT_FALSE(QFile::exists(databasePath + QStringLiteral("-journal")));
    EXPECT_EQ(allRows(), before);

    // Permission back, Update (by its access key) saves the row that waited, once.
    ASSERT_TRUE(readOnly.makeWritable());
    accessKey(vehicles, Qt::Key_U);
    expectSavedOnce();
}

// Another program holds the file: Update waits a moment for it, then says so; once the
// other program lets go, the same Update saves the row.
TEST_F(FileGoesBad, FileHeldByAnotherProgramIsReportedAndThePendingRowSavesWhenFree) {
    testing_support::LockedFile locked(databasePath);
    ASSERT_TRUE(locked.held());
    QElapsedTimer waited;
    waited.start();
    ASSERT_NO_FATAL_FAILURE(
        expectUpdateRefused(errLocked, QStringLiteral("in use by another program")));
    EXPECT_GE(waited.elapsed(), 1000) << "the program gave up without waiting";
    locked.release();
    EXPECT_EQ(allRows(), before);

    press(vehicles, "cmdUpdate");
    expectSavedOnce();
}

// Another file renamed over the database, as a program that saves through a temporary
// file does: something that is no database, or a copy of the database itself.
TEST_F(FileGoesBad, FileRenamedOverIsReportedAndNeitherFileIsWritten) {
    const QString lost = folder.filePath(QStringLiteral("lost.mdb"));
    ASSERT_EQ(
        ::link(QFile::encodeName(databasePath).constData(), QFile::encodeName(lost).constData()),
        0);
    const QByteArray copy = bytesOf(databasePath);
    for (const QByteArray& replacement : {kNotADatabase, copy}) {
        SCOPED_TRACE(replacement == copy ? "a copy of the database" : "a text file");
        const QString temporary = folder.filePath(QStringLiteral("Garage.mdb.tmp"));
        writeBytes(temporary, replacement);
        ASSERT_EQ(::rename(QFile::encodeName(temporary).constData(),
                           QFile::encodeName(databasePath).constData()),
                  0);

        ASSERT_NO_FATAL_FAILURE(expectUpdateRefused(errFileNotFound, QStringLiteral("replaced")));
        EXPECT_TRUE(bytesOf(databasePath) == replacement) << "the new file was written";
        EXPECT_EQ(queryFile(lost, QStringLiteral("SELECT count(*) FROM VehicleInfo")),
                  QStringList{"2"})
            << "the row went into the file that was replaced";
        EXPECT_EQ(queryFile(lost, QStringLiteral("PRAGMA integrity_check")), QStringList{"ok"});
    }
    cancelTypedVehicle();
    expectFuelWindowUsable();
}

TEST_F(FileGoesBad, FileWrittenOverInPlaceIsReportedAsNoDatabase) {
    writeBytes(databasePath, kNotADatabase);

    ASSERT_NO_FATAL_FAILURE(expectUpdateRefused(errNotADatabase, QStringLiteral("not a database")));
    EXPECT_TRUE(bytesOf(databasePath) == kNotADatabase) << "the program wrote into the file";

    // Cancel drops the typed row; Edit, which reads the row again, now says why it
    // cannot, and the window stays as it was.
    accessKey(vehicles, Qt::Key_N);
    EXPECT_EQ(shown(labelled(vehicles, QStringLiteral("Look Up"))), QStringLiteral("Civic"));
    press(vehicles, "cmdEdit");
    ASSERT_EQ(boxes.count(), 1);
    expectErrorBox(errNotADatabase, databasePath);
    auto* add = vehicles->findChild<QAbstractButton*>(QStringLiteral("cmdAdd"));
    EXPECT_TRUE(add->isVisible() && add->isEnabled());

    // The other window is still on show, and the program ends normally.
    choose("mnuWindow", QStringLiteral("1 Gas Purchases"));
    EXPECT_EQ(frontWindow(), fuel);
    EXPECT_EQ(shown(labelled(fuel, QStringLiteral("Cost"))), QStringLiteral("$20.00"));
    choose("mnuFile", QStringLiteral("Exit"));
    EXPECT_FALSE(program->isVisible()) << "nothing is pending: Exit closes the program";
    EXPECT_TRUE(bytesOf(databasePath) == kNotADatabase);
}
