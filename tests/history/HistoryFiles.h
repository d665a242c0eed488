#pragma once

#include "store/Connection.h"
#include "store/StoreTestFiles.h"
#include "store/modCreateDB.h"
#include "support/MsgBoxRecorder.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace history_test {

// A new program file in its own folder, with the SQL given run on it, and a
// connection of the record store to read it.
class HistoryFile : public ::testing::Test {
protected:
    void makeFile(const QString& sql = {}) {
        path = dir.filePath(QStringLiteral("history.mdb"));
        testing_support::MsgBoxRecorder quiet;
        ASSERT_TRUE(modCreateDB::CreateNewDatabase(path));
        modCreateDB::CurrentDatabase.reset();
        if (!sql.isEmpty()) {
            ASSERT_EQ(testing_support::sqlExecute(path, sql), QString());
        }
        connection = store::openConnection(path, false);
    }
    QString scalar(const QString& sql) const { return testing_support::sqlScalar(path, sql); }

    QTemporaryDir dir;
    QString path;
    store::ConnectionHandle connection;
};

} // namespace history_test
