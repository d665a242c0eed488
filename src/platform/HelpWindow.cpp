#include "HelpWindow.h"

#include "PictureFitter.h"
#include "WebLinks.h"

#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSplitter>
#include <QTextBlock>
#include <QTextBrowser>
#include <QVBoxLayout>

namespace platform {

namespace {
constexpr int kBlockPositionRole = Qt::UserRole;
}

HelpWindow::HelpWindow(QWidget* owner)
    : QWidget(owner, Qt::Window), m_browser(new QTextBrowser(this)), m_search(new QLineEdit(this)),
      m_index(new QListWidget(this)), m_status(new QLabel(this)) {
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

    auto* splitter = new QSplitter(this);
    splitter->addWidget(m_index);
    splitter->addWidget(m_browser);
    splitter->setStretchFactor(1, 3);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(searchRow);
    layout->addWidget(splitter, 1);
    layout->addWidget(m_status);
    resize(760, 560);

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
    if (text.isEmpty())
        return false;
    if (m_browser->find(text))
        return true;
    m_browser->moveCursor(QTextCursor::Start);
    if (m_browser->find(text)) {
        m_status->clear();
        return true;
    }
    m_status->setText(QStringLiteral("\"%1\" is not in the manual.").arg(text));
    return false;
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
    for (QTextBlock block = m_browser->document()->begin(); block.isValid(); block = block.next()) {
        const int level = block.blockFormat().headingLevel();
        if (level <= 0 || block.text().trimmed().isEmpty())
            continue;
        auto* item = new QListWidgetItem(QString(2 * (level - 1), QLatin1Char(' ')) +
                                         block.text().trimmed());
        item->setData(kBlockPositionRole, block.position());
        m_index->addItem(item);
    }
}

void HelpWindow::filterIndex(const QString& text) {
    const QString wanted = text.trimmed();
    for (int row = 0; row < m_index->count(); ++row) {
        QListWidgetItem* item = m_index->item(row);
        item->setHidden(!wanted.isEmpty() && !item->text().contains(wanted, Qt::CaseInsensitive));
    }
}

void HelpWindow::goToIndexEntry(int row) {
    const QListWidgetItem* item = m_index->item(row);
    if (!item)
        return;
    QTextCursor cursor(m_browser->document());
    cursor.setPosition(item->data(kBlockPositionRole).toInt());
    m_browser->setTextCursor(cursor);
    m_browser->ensureCursorVisible();
}

void HelpWindow::present() {
    show();
    setWindowState(windowState() & ~Qt::WindowMinimized);
    raise();
    activateWindow();
}

} // namespace platform
