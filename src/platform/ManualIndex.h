#pragma once

#include <QList>
#include <QString>

class QTextDocument;

namespace platform {

// One heading of the manual and the text under it, up to the next heading of any level.
struct ManualSection {
    QString heading;
    int level = 0;      // 1 for a top heading
    int start = 0;      // document position of the heading
    int end = 0;        // document position where the next section starts
    QString foldedText; // heading and body, letter case folded, for searching
};

// The manual's sections and a search over their whole text, headings and body alike:
// a section matches when it holds every word of the query, letter case ignored.
class ManualIndex {
public:
    ManualIndex() = default;
    explicit ManualIndex(const QTextDocument& document);

    const QList<ManualSection>& sections() const { return m_sections; }

    // The numbers of the sections holding every word of query; all for an empty query.
    QList<int> matching(const QString& query) const;

    // The words of a query as the search compares them.
    static QStringList wordsOf(const QString& query);

private:
    QList<ManualSection> m_sections;
};

} // namespace platform
