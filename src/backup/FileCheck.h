#pragma once

#include <QString>

// Whether a database file is sound, as the command line and a restore ask it.
namespace backup {

struct CheckResult {
    bool sound = false;
    QString reason; // what is wrong, naming the file; empty when sound
};

// Reads the file only: its length, every page (integrity_check), every relation's
// rows (foreign_key_check), nothing that would run inside it, and the program's
// layout (tables and fields). A file that
// cannot be read at all throws the store's error naming it.
// `pagesChecked`: the pages were checked a moment ago (a copy just written and
// checked), so only the rows, the relations and the layout are.
CheckResult checkFile(const QString& path, bool pagesChecked = false);

} // namespace backup
