#pragma once

#include <QWidget>

class QLabel;
class QLineEdit;
class QListWidget;
class QTextBrowser;

namespace platform {

// The program's help window: the manual in a text browser, an index of its headings
// and a search field. Owned by the window it was opened for.
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

    // Finds the search field's text after the cursor, wrapping to the start once.
    // Returns false (and says so) when the manual does not contain it.
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

    QTextBrowser* m_browser;
    QLineEdit* m_search;
    QListWidget* m_index;
    QLabel* m_status;
    QString m_fileName;
    QString m_manualFolder; // the folder of the first page; its pages open here
};

} // namespace platform
