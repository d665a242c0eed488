#pragma once

#include <QStringList>
#include <QTextStream>

// The command line's `new`, `import`, `export` and `formats`: the same library as the
// program's File menu, with the import's preview told as text.
namespace cli {

int newDatabase(const QStringList& arguments, QTextStream& out, QTextStream& err);
int importFile(const QStringList& arguments, QTextStream& out, QTextStream& err);
int exportDatabase(const QStringList& arguments, QTextStream& out, QTextStream& err);
int listFormats(QTextStream& out);

} // namespace cli
