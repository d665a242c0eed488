#pragma once

#include <QString>
#include <functional>

namespace platform {

// Starts a program as a new process without waiting for it and without arguments.
// The path is never given to a shell, so text read from settings cannot run a
// command line. Returns false when the program could not be started (an empty path
// included).
bool startDetached(const QString& program);

// Tests install a starter that records the calls; an empty one restores the real one.
using ProcessStarter = std::function<bool(const QString& program)>;
void setProcessStarter(ProcessStarter starter);

} // namespace platform
