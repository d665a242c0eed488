#pragma once

#include <QString>

namespace shell {

// The full path of the database file in use; empty text means none. Set at start-up
// from the remembered value and by File New and File Open; read by every record
// window when it loads.
inline QString DatabasePath;

} // namespace shell
