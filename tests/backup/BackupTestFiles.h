#pragma once

// A database file of the program's layout with a few rows, in a folder of its own,
// and plain SQL on files to see what they hold.
#include "store/StoreTestFiles.h"
#include "store/modCreateDB.h"
#include "support/MsgBoxRecorder.h"
#include "support/UnwritableFile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace backup_test {

// A folder nobody may write into while this lives: permissions taken away, and for
// the administrator the immutable flag as well.
class LockedFolder {
public:
    explicit LockedFolder(const QString& folder) : m_folder(folder) {
        m_arranged = QFile::setPermissions(m_folder, QFile::ReadOwner | QFile::ExeOwner);
        if (m_arranged && ::geteuid() == 0)
            m_arranged = m_immutable = testing_support::setImmutable(m_folder, true);
    }
    ~LockedFolder() { release(); }
    bool arranged() const { return m_arranged; }
    void release() {
        if (m_immutable)
            testing_support::setImmutable(m_folder, false);
        m_immutable = false;
        QFile::setPermissions(m_folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }

private:
    QString m_folder;
    bool m_arranged = false;
    bool m_immutable = false;
};

class BackupFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        path = dir.filePath(QStringLiteral("cars.mdb"));
        {
            testing_support::MsgBoxRecorder boxes;
            ASSERT_TRUE(modCreateDB::CreateNewDatabase(path));
        }
        modCreateDB::CurrentDatabase.reset();
        addVehicle(1, QStringLiteral("Civic"));
    }

    void addVehicle(int id, const QString& lookup) {
        ASSERT_EQ(sql(QStringLiteral("INSERT INTO VehicleInfo (VehicleID, VehicleLookup) "
                                     "VALUES (%1, '%2')")
                          .arg(id)
                          .arg(lookup)),
                  QString());
        ASSERT_EQ(
            sql(QStringLiteral("INSERT INTO Fuel (VehicleID, FuelGals) VALUES (%1, 9.5)").arg(id)),
            QString());
    }

    QString sql(const QString& text) const { return testing_support::sqlExecute(path, text); }

    static QString count(const QString& file, const char* table) {
        return testing_support::sqlScalar(file,
                                          QStringLiteral("SELECT count(*) FROM %1").arg(table));
    }
    static QString lookups(const QString& file) {
        return testing_support::sqlScalar(
            file, QStringLiteral("SELECT group_concat(VehicleLookup, ',') FROM "
                                 "(SELECT VehicleLookup FROM VehicleInfo ORDER BY VehicleID)"));
    }
    // Files in a folder other than the ones named.
    static QStringList filesIn(const QString& folder) {
        return QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot);
    }

    QTemporaryDir dir;
    QString path;
};

} // namespace backup_test
