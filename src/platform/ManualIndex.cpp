#include "ManualIndex.h"

#include <QRegularExpression>
#include <QTextBlock>
#include <QTextDocument>

namespace platform {

ManualIndex::ManualIndex(const QTextDocument& document) {
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        const int level = block.blockFormat().headingLevel();
        const QString text = block.text().trimmed();
        if (level > 0 && !text.isEmpty()) {
            if (!m_sections.isEmpty())
                m_sections.last().end = block.position();
            m_sections.append({text, level, block.position(), 0, QString()});
        } else if (m_sections.isEmpty()) {
            if (text.isEmpty())
                continue;
            // Text before the first heading is found too, under its own first line.
            m_sections.append({text.left(60), 1, block.position(), 0, QString()});
        }
        // Block texts are joined by a line break, so that words of two blocks never run
        // together into one.
        m_sections.last().foldedText += block.text().toCaseFolded() + QLatin1Char('\n');
    }
    if (!m_sections.isEmpty())
        m_sections.last().end = document.characterCount();
}

QStringList ManualIndex::wordsOf(const QString& query) {
    static const QRegularExpression blanks(QStringLiteral("\\s+"));
    return query.toCaseFolded().split(blanks, Qt::SkipEmptyParts);
}

QList<int> ManualIndex::matching(const QString& query) const {
    const QStringList words = wordsOf(query);
    QList<int> found;
    for (int i = 0; i < m_sections.size(); ++i) {
        const QString& text = m_sections[i].foldedText;
        if (std::all_of(words.cbegin(), words.cend(),
                        [&text](const QString& word) { return text.contains(word); }))
            found.append(i);
    }
    return found;
}

} // namespace platform
