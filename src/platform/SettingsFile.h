#pragma once

#include <QString>

namespace platform {

// Whether an ini settings file can be read without format or access errors; a file
// that does not exist yet is sound. Qt keeps parsed files cached and reports a parse
// error only to the first reader, so every caller that must not trust a damaged file
// asks here.
bool settingsFileSound(const QString& fileName);

} // namespace platform
