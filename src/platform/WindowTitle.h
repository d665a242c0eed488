#pragma once

#include <QString>

namespace platform {

// Text for QWidget::setWindowTitle that shows exactly as given. Qt reads "[*]" in a
// title as the place of the "modified" mark and drops it; a file name may hold it.
// Doubled, Qt shows it once.
inline QString literalWindowTitle(const QString& text) {
    QString title = text;
    title.replace(QLatin1String("[*]"), QLatin1String("[*][*]"));
    return title;
}

} // namespace platform
