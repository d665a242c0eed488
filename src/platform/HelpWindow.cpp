#include "HelpWindow.h"

#include "PictureFitter.h"

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
    m_browser->setOpenExternalLinks(true);
    m_search->setObjectName(QStringLiteral("helpSearch"));
    m_search->setClearButtonEnabled(true);
    m_index->setObjectName(QStringLiteral("helpIndex"));
    m_status->setObjectName(QStringLiteral("helpStatus"));

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
}

void HelpWindow::showContents(const QString& fileName) {
    load(fileName);
    m_browser->moveCursor(QTextCursor::Start);
    m_browser->ensureCursorVisible();
    present();
    m_browser->setFocus();
}

void HelpWindow::showSearch(const QString& fileName, const QString& key) {
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
