#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>
#include <array>

namespace store {
class Statement;
}

namespace history {

// Reads text columns whose few values come back on many rows (a fill's city and
// state): each distinct text is made once and shared by every row holding it.
class RepeatedTexts {
public:
    // The column's text as stored::textAt reads it.
    QString textAt(const store::Statement& stmt, int column);

private:
    struct Made {
        QByteArray bytes;
        QString text;
    };
    // The texts met last, by a quick sum of their bytes: most rows are found here
    // without hashing the whole text.
    std::array<Made, 64> m_recent;
    QHash<QByteArray, QString> m_made;
};

} // namespace history
