#include "HelpWindow.h"

#include "PictureFitter.h"
#include "WebLinks.h"

#include <QDir>
#include <QFileInfo>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QSplitter>
#include <QTextBlock>
#include <QTextBrowser>
#include <QVBoxLayout>

namespace platform {

namespace {
constexpr int kSectionRole = Qt::UserRole;
// A text line of about this many characters reads well.
constexpr int kLineCharacters = 78;
// The index is as wide as its longest heading, up to this many characters.
constexpr int kIndexCharacters = 44;
// Marks more than this are not drawn: the list says where to look.
constexpr int kMostMarks = 2000;
} // namespace

HelpWindow::HelpWindow(QWidget* owner)
    : QWidget(owner, Qt::Window), m_browser(new QTextBrowser(this)), m_search(new QLineEdit(this)),
      m_index(new QListWidget(this)), m_status(new QLabel(this)), m_splitter(new QSplitter(this)) {
    setObjectName(QStringLiteral("helpWindow"));
    setWindowTitle(QStringLiteral("Drivolex Help"));
    m_browser->setObjectName(QStringLiteral("helpBrowser"));
    // Links are the window's to judge (followLink), never handed to the desktop as
    // they stand: a page could name any scheme, and the desktop would run its handler.
    m_browser->setOpenLinks(false);
    m_browser->setOpenExternalLinks(false);
    m_search->setObjectName(QStringLiteral("helpSearch"));
    m_search->setClearButtonEnabled(true);
    m_index->setObjectName(QStringLiteral("helpIndex"));
    m_status->setObjectName(QStringLiteral("helpStatus"));
    m_status->setTextFormat(Qt::PlainText); // it repeats what was typed into the search

    auto* searchLabel = new QLabel(QStringLiteral("&Search:"), this);
    searchLabel->setBuddy(m_search);
    auto* findButton = new QPushButton(QStringLiteral("&Find"), this);
    findButton->setObjectName(QStringLiteral("helpFind"));

    auto* searchRow = new QHBoxLayout;
    searchRow->addWidget(searchLabel);
    searchRow->addWidget(m_search, 1);
    searchRow->addWidget(findButton);

    m_splitter->addWidget(m_index);
    m_splitter->addWidget(m_browser);
    m_splitter->setStretchFactor(1, 3);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(searchRow);
    layout->addWidget(m_splitter, 1);
    layout->addWidget(m_status);

    connect(m_search, &QLineEdit::textChanged, this, &HelpWindow::filterIndex);
    connect(m_search, &QLineEdit::returnPressed, this, [this] { findNext(); });
    connect(findButton, &QPushButton::clicked, this, [this] { findNext(); });
    connect(m_index, &QListWidget::currentRowChanged, this, &HelpWindow::goToIndexEntry);
    connect(m_browser, &QTextBrowser::anchorClicked, this,
            [this](const QUrl& link) { followLink(link); });
}

void HelpWindow::showContents(const QString& fileName) {
    m_manualFolder = QFileInfo(fileName).absolutePath();
    load(fileName);
    m_browser->moveCursor(QTextCursor::Start);
    m_browser->ensureCursorVisible();
    present();
    m_browser->setFocus();
}

void HelpWindow::showSearch(const QString& fileName, const QString& key) {
    m_manualFolder = QFileInfo(fileName).absolutePath();
    load(fileName);
    m_search->setText(key);
    present();
    m_search->setFocus();
    m_search->selectAll();
}

bool HelpWindow::findNext() {
    const QString text = m_search->text().trimmed();
    const QStringList words = ManualIndex::wordsOf(text);
    if (words.isEmpty())
        return false;
    const int end = m_browser->document()->characterCount();
    QTextCursor hit = nextHit(words, m_browser->textCursor().selectionEnd(), end);
    if (hit.isNull())
        hit = nextHit(words, 0, end);
    if (hit.isNull()) {
        m_status->setText(QStringLiteral("\"%1\" is not in the manual.").arg(text));
        return false;
    }
    m_browser->setTextCursor(hit);
    m_browser->ensureCursorVisible();
    return true;
}

// The earliest place at or after from, and before before, where one of the words stands.
QTextCursor HelpWindow::nextHit(const QStringList& words, int from, int before) const {
    QTextCursor earliest;
    for (const QString& word : words) {
        const QTextCursor hit = m_browser->document()->find(word, from);
        if (!hit.isNull() && hit.selectionStart() < before &&
            (earliest.isNull() || hit.selectionStart() < earliest.selectionStart()))
            earliest = hit;
    }
    return earliest;
}

bool HelpWindow::followLink(const QUrl& link) {
    const QUrl target = m_browser->source().resolved(link);
    if (isWebLink(target))
        return openWebLink(target);
    if (!isManualPage(target))
        return false;
    load(QFileInfo(target.toLocalFile()).absoluteFilePath());
    if (target.hasFragment())
        m_browser->scrollToAnchor(target.fragment());
    return true;
}

bool HelpWindow::isManualPage(const QUrl& url) const {
    if (!url.isLocalFile() || m_manualFolder.isEmpty())
        return false;
    const QFileInfo page(url.toLocalFile());
    const QString suffix = page.suffix().toLower();
    const bool text = suffix == QLatin1String("md") || suffix == QLatin1String("html") ||
                      suffix == QLatin1String("htm");
    // A page of the manual's own folder or below it, by its real path: "..", links
    // and the like lead nowhere else.
    const QString folder = QFileInfo(m_manualFolder).canonicalFilePath();
    const QString real = page.canonicalFilePath();
    return text && page.isFile() && !folder.isEmpty() && real.startsWith(folder + QLatin1Char('/'));
}

void HelpWindow::load(const QString& fileName) {
    if (fileName == m_fileName)
        return;
    m_fileName = fileName;
    const bool markdown =
        QFileInfo(fileName).suffix().compare(QLatin1String("md"), Qt::CaseInsensitive) == 0;
    // The manual's screenshots are wider than a narrow pane: they shrink to its width.
    PictureFitter::install(*m_browser->document());
    m_browser->setSource(QUrl::fromLocalFile(fileName),
                         markdown ? QTextDocument::MarkdownResource : QTextDocument::HtmlResource);
    m_status->clear();
    rebuildIndex();
}

void HelpWindow::rebuildIndex() {
    const QSignalBlocker blocker(m_index);
    m_index->clear();
    m_sections = ManualIndex(*m_browser->document());
    for (int i = 0; i < m_sections.sections().size(); ++i) {
        const ManualSection& section = m_sections.sections()[i];
        auto* item = new QListWidgetItem(QString(2 * (section.level - 1), QLatin1Char(' ')) +
                                         section.heading);
        item->setData(kSectionRole, i);
        m_index->addItem(item);
    }
    filterIndex(m_search->text());
}

void HelpWindow::filterIndex(const QString& text) {
    const QStringList words = ManualIndex::wordsOf(text);
    const QList<int> found = m_sections.matching(text);
    for (int row = 0; row < m_index->count(); ++row) {
        QListWidgetItem* item = m_index->item(row);
        item->setHidden(!found.contains(item->data(kSectionRole).toInt()));
    }
    markSearchWords(words);
    if (words.isEmpty())
        m_status->clear();
    else if (found.isEmpty())
        m_status->setText(QStringLiteral("\"%1\" is not in the manual.").arg(text.trimmed()));
    else
        m_status->setText(found.size() == 1
                              ? QStringLiteral("Found in 1 section.")
                              : QStringLiteral("Found in %1 sections.").arg(found.size()));
}

// Every place where a searched word stands is marked, so that the eye finds it at once.
void HelpWindow::markSearchWords(const QStringList& words) {
    QList<QTextEdit::ExtraSelection> marks;
    QTextCharFormat look;
    look.setBackground(palette().color(QPalette::Highlight).lighter(160));
    look.setForeground(palette().color(QPalette::Text));
    QTextDocument* document = m_browser->document();
    for (const QString& word : words)
        for (QTextCursor hit = document->find(word); !hit.isNull() && marks.size() < kMostMarks;
             hit = document->find(word, hit))
            marks.append({hit, look});
    m_browser->setExtraSelections(marks);
}

// A section picked from the index shows where the searched words stand in it, or its
// heading when nothing is searched.
void HelpWindow::goToIndexEntry(int row) {
    const QListWidgetItem* item = m_index->item(row);
    if (!item)
        return;
    const ManualSection& section = m_sections.sections()[item->data(kSectionRole).toInt()];
    QTextCursor cursor =
        nextHit(ManualIndex::wordsOf(m_search->text()), section.start, section.end);
    if (cursor.isNull()) {
        cursor = QTextCursor(m_browser->document());
        cursor.setPosition(section.start);
    }
    m_browser->setTextCursor(cursor);
    m_browser->ensureCursorVisible();
}

void HelpWindow::present() {
    if (!m_placed) {
        placeOverOwner();
        m_placed = true;
    }
    show();
    setWindowState(windowState() & ~Qt::WindowMinimized);
    raise();
    activateWindow();
}

// Wide enough for the index and lines of text that read well, as tall as most of the
// screen, and centred over the window it was opened for; all of it on that screen.
void HelpWindow::placeOverOwner() {
    const QFontMetrics text(m_browser->font());
    const int scrollBar = m_browser->verticalScrollBar()->sizeHint().width();
    const int textWidth = text.averageCharWidth() * kLineCharacters +
                          2 * int(m_browser->document()->documentMargin()) +
                          2 * m_browser->frameWidth() + scrollBar;
    const QFontMetrics entries(m_index->font());
    int longest = 0;
    for (int row = 0; row < m_index->count(); ++row)
        longest = qMax(longest, entries.horizontalAdvance(m_index->item(row)->text()));
    // The item's own margins: a character's width on each side.
    const int indexWidth = qMin(longest + 2 * entries.averageCharWidth(),
                                entries.averageCharWidth() * kIndexCharacters) +
                           2 * m_index->frameWidth() + scrollBar;
    const QMargins margins = layout()->contentsMargins();
    QWidget* owner = parentWidget();
    const QScreen* where = owner ? owner->screen() : screen();
    const QRect room = where->availableGeometry();
    // The frame is not known before the window is shown: the owner's is the best guess.
    const QSize frame = owner ? owner->frameGeometry().size() - owner->size() : QSize();
    const QSize wanted(indexWidth + m_splitter->handleWidth() + textWidth + margins.left() +
                           margins.right(),
                       room.height() * 5 / 6);
    const QSize size = wanted.boundedTo(room.size() - frame);
    resize(size);
    // On a screen too narrow for both, the text keeps the larger share.
    const int shownIndex =
        size.width() < wanted.width() ? qMin(indexWidth, size.width() / 3) : indexWidth;
    m_splitter->setSizes({shownIndex, size.width() - shownIndex});

    const QSize outer = size + frame;
    const QPoint centre = owner ? owner->frameGeometry().center() : room.center();
    const int left =
        qBound(room.left(), centre.x() - outer.width() / 2, room.right() - outer.width() + 1);
    const int top =
        qBound(room.top(), centre.y() - outer.height() / 2, room.bottom() - outer.height() + 1);
    move(left, top);
}

} // namespace platform
