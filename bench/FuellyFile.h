#pragma once

#include <string>

namespace bench {

// Writes a Fuelly web export of one car with `rows` fill-ups, a day apart, every
// tenth a partial fill, each with a price per gallon and a short note: the file a
// long-time user brings.
void writeFuellyFile(const std::string& path, int rows);

} // namespace bench
