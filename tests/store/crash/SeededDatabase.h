#pragma once

#include <QString>

// Test files of the program's layout for the write-failure tests.
namespace crash {

// Creates a database file at path with one vehicle ("Kept", key 1) that has two
// fuel rows and one work order (key 1) with a service, a part and notes.
// Returns false, having reported a test failure, when that does not work.
bool createSeededDatabase(const QString& path);

// "ok" from integrity_check and nothing from foreign_key_check, or what they said.
std::string fileCheck(const QString& path);

QByteArray fileBytes(const QString& path);

} // namespace crash
