#pragma once

#include <QString>

class QWidget;

// The file dialogs of File New and File Open.
namespace modGetFileName {

// The filter both dialogs offer.
inline constexpr const char* kDatabaseFilter = "Microsoft Database Files   *.mdb: *.mdb";

// Asks for the name of a database file about to be created; empty text after a cancel.
QString GetNewDatabaseName(QWidget* owner = nullptr);

// Asks for an existing database file, checks that it opens as one of this program's
// databases and tells the user which file is open. Empty text after a cancel. A file
// that fails the check is reported in a box naming it and the reason; the result is
// then empty text and *rejected is set, so the caller can tell it from a cancel.
QString GetOpenDatabaseName(QWidget* owner = nullptr, bool* rejected = nullptr);

// Where both dialogs start: the program's own folder when the user may write there (a
// bare name typed into File New lands beside the program), else the user's documents
// folder, else the home folder.
QString startFolder(const QString& programFolder);

// The chosen folder and file name joined into one path.
QString joinPath(const QString& folder, const QString& fileName);

} // namespace modGetFileName
