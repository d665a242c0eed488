#pragma once

#include <QStringList>
#include <QTextStream>

namespace cli {

// What the command line's exit status says.
enum ExitCode : int {
    kSound = 0,    // check: the file is sound; backup: the copy is written and checked
    kNotSound = 1, // check: the file is damaged or not ours; backup: no copy was made;
                   // import: rows were refused
    kUsage = 2,    // bad arguments, or the file cannot be found or read
};

// Tells a command's bad usage on err, with where to read how to use it; gives kUsage.
int refuseUsage(QTextStream& err, const QString& problem);

// Runs `new`, `import`, `export`, `formats`, `report`, `backup DB DEST`, `check DB`, `--help` or
// `--version` (arguments without the program's name). Results go to out, errors to err,
// each naming the file.
int run(const QStringList& arguments, QTextStream& out, QTextStream& err);

} // namespace cli
