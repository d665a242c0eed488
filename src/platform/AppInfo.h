#pragma once

#include <QString>

namespace platform {

// The application title shown by message boxes that carry no title of their own.
inline QString appTitle() {
    return QStringLiteral("Drivolex");
}

} // namespace platform
