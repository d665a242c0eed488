#pragma once

#include <QByteArray>
#include <QString>

namespace exchange {

// Windows-1252 as Windows reads it: 0x80-0x9F through its table (the five bytes it
// leaves undefined become the C1 controls of the same value), the rest as Latin-1.
// A table of our own, because Qt knows this encoding only when built with ICU.
QString decodeWindows1252(const QByteArray& bytes);

} // namespace exchange
