#pragma once

#include "platform/AppError.h"
#include "store/Database.h"
#include "store/Recordset.h"

#include <QDateTime>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

namespace store_test {

// Runs the statement and returns the store error it threw (number 0 if none).
template <typename F> platform::AppError storeError(F&& f) {
    try {
        f();
    } catch (const platform::AppError& error) {
        return error;
    }
    return platform::AppError(0, QStringLiteral("no error"));
}

// A small schema in the shape the program uses: owners, their trips, each trip's
// legs and at most one note, joined by cascading relations. Names are spelled in
// other letter cases in places, as callers do.
//   Owner(OwnerName Text 20, OwnerID Long auto)             key "OwnerID"
//   Trip(TripDate Date, Miles Single, Cost Currency, Done Boolean,
//        TripId Long auto, OwnerID Long)                    key "TripID"
//   Leg(LegID Long auto, TripID Long, Place Text 10)        key "LegID"
//   Note(NoteText Memo, TripID Long)                        key "TripID" (not auto)
// Relations: OwnerTrip, TripLeg (cascade update and delete), TripNote (also unique).
void buildTinySchema(store::Database& db);

// A new database file with the small schema in a temporary folder.
struct TinyDb {
    TinyDb();
    QTemporaryDir dir;
    QString path;
    std::shared_ptr<store::Database> db;

    qint64 addOwner(const QString& name);
    qint64 addTrip(qint64 owner, const QString& date, double miles);
    qint64 addLeg(qint64 trip, const QString& place);
    void addNote(qint64 trip, const QString& text);
    int count(const QString& table) const;
};

// Empty text when PRAGMA integrity_check and foreign_key_check find nothing wrong.
QString fileProblems(const QString& path);

} // namespace store_test

#define EXPECT_STORE_ERROR(statement, expectedNumber)                                              \
    EXPECT_EQ(store_test::storeError([&] { statement; }).number(), expectedNumber)
