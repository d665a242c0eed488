#pragma once

#include "ManualIndex.h"

#include <QWidget>

class QLabel;
class QLineEdit;
class QListWidget;
class QSplitter;
class QTextBrowser;
class QTextCursor;

namespace platform {

// The program's help window: the manual in a text browser, an index of its headings
// and a search field. Typing into the search narrows the index to the sections whose
// text holds every word typed, and marks the words in the text. Owned by the window it
// was opened for, over which it first opens, sized for lines of text that read well.
class HelpWindow : public QWidget {
    Q_OBJECT
public:
    explicit HelpWindow(QWidget* owner);

    // Shows the manual from its beginning.
    void showContents(const QString& fileName);
    // Shows the manual with the search field focused and filled with key.
    void showSearch(const QString& fileName, const QString& key);

    QTextBrowser* browser() const { return m_browser; }
    QLineEdit* searchField() const { return m_search; }
    QListWidget* index() const { return m_index; }
    const QString& fileName() const { return m_fileName; }

    // Selects the next place after the cursor where a word of the search field's text
    // stands, wrapping to the start once. Returns false (and says so) when the manual
    // contains none of them.
    bool findNext();

    // A link clicked in the manual: a page of the manual (beside its first page) or a
    // place in one opens here, an http or https address in the desktop's browser;
    // anything else is ignored. Returns true when the link was followed.
    bool followLink(const QUrl& link);

private:
    void load(const QString& fileName);
    bool isManualPage(const QUrl& url) const;
    void rebuildIndex();
    void filterIndex(const QString& text);
    void goToIndexEntry(int row);
    void present();
    void placeOverOwner();
    void markSearchWords(const QStringList& words);
    QTextCursor nextHit(const QStringList& words, int from, int before) const;

    QTextBrowser* m_browser;
    QLineEdit* m_search;
    QListWidget* m_index;
    QLabel* m_status;
    QSplitter* m_splitter;
    QString m_fileName;
    QString m_manualFolder; // the folder of the first page; its pages open here
    ManualIndex m_sections;
    bool m_placed = false; // placed and sized once; after that, where the user left it
};

} // namespace platform
