#include "MDIForm1.h"

#include "AppState.h"
#include "EditMenu.h"
#include "StatusLink.h"
#include "Twips.h"
#include "modDrivolex.h"
#include "platform/MsgBox.h"
#include "platform/RegistryStore.h"
#include "platform/WindowTitle.h"

#include <QCloseEvent>
#include <QDir>
#include <QGuiApplication>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QScreen>
#include <QSessionManager>
#include <QStatusBar>
#include <QTimer>

namespace shell {

namespace {
// The frame's design size in twips.
constexpr double kDesignWidth = 12000;
constexpr double kDesignHeight = 9000;

const QString kLastOpenedKey = QString::fromUtf16(platform::kDatabaseKeyPath);
const QString kLastOpenedValue = QString::fromUtf16(platform::kLastOpenedValue);

// How long after showing the window the desktop may take to give it its frame.
constexpr int kFrameWaitMs = 2000;

// The design size grows with the screen's dots per inch and scale factor; on a small
// screen it is cut down to the screen's free area, title bar and borders included.
void fitToScreen(QWidget& window, const QScreen& screen) {
    const QSize borders = window.frameGeometry().size() - window.size();
    const QSize room = screen.availableGeometry().size() - borders;
    const QSize fitted = window.size().boundedTo(room);
    if (fitted != window.size())
        window.resize(fitted);
}
} // namespace

MDIForm1::MDIForm1(QWidget* parent)
    : QMainWindow(parent), m_mdiArea(new QMdiArea(this)), m_statusLine(new QLabel(this)),
      m_lblRemindersDue(new StatusLink(this)) {
    setObjectName(QStringLiteral("MDIForm1"));
    setWindowTitle(QStringLiteral("Drivolex"));
    m_mdiArea->setObjectName(QStringLiteral("mdiArea"));
    setCentralWidget(m_mdiArea);
    statusBar()->setObjectName(QStringLiteral("sbStatus"));
    m_statusLine->setObjectName(QStringLiteral("lblStatus"));
    m_statusLine->setTextFormat(Qt::PlainText); // a file name is shown as it is
    m_statusLine->setAccessibleName(QStringLiteral("Status"));
    statusBar()->addWidget(m_statusLine, 1);
    m_lblRemindersDue->setObjectName(QStringLiteral("lblRemindersDue"));
    m_lblRemindersDue->setAccessibleName(QStringLiteral("Reminders due"));
    static_cast<StatusLink*>(m_lblRemindersDue)->setAction([this] {
        if (m_openReminders)
            m_openReminders();
    });
    m_lblRemindersDue->hide();
    statusBar()->addPermanentWidget(m_lblRemindersDue);
    // A work order saved or a vehicle deleted in one window may have changed what is
    // due: the line is read again whenever another window comes to the front.
    connect(m_mdiArea, &QMdiArea::subWindowActivated, this, [this](QMdiSubWindow* active) {
        if (active)
            refreshDueReminders();
    });
    showDatabaseInUse();
    resize(twipsToPixels(kDesignWidth, this), twipsToPixels(kDesignHeight, this));
    createMenus();
    connect(qGuiApp, &QGuiApplication::commitDataRequest, this, &MDIForm1::commitData);
}

MDIForm1::~MDIForm1() = default;

void MDIForm1::MDIForm_Load() {
    if (const QScreen* where = screen())
        fitToScreen(*this, *where);
    centreOnScreen();
    // Before the window is shown its frame is not known, and only the inner area was
    // centred; the frame's first report puts it right.
    m_centreWhenFramed = true;
    ShutdownEnabled(true);
    DatabasePath =
        registryStore().readText(platform::HKEY_LOCAL_MACHINE, kLastOpenedKey, kLastOpenedValue);
    if (!DatabasePath.isEmpty())
        DatabaseOpened();
}

void MDIForm1::centreOnScreen() {
    if (const QScreen* where = screen())
        modDrivolex::CenterForm(*where, *this);
}

bool MDIForm1::event(QEvent* event) {
    const bool handled = QMainWindow::event(event);
    if (!m_centreWhenFramed)
        return handled;
    switch (event->type()) {
    case QEvent::Show:
        // Some desktops report the frame only after showing; later moves are the user's.
        QTimer::singleShot(0, this, [this] {
            if (m_centreWhenFramed && frameGeometry().size() != size()) {
                m_centreWhenFramed = false;
                centreOnScreen();
            }
        });
        QTimer::singleShot(kFrameWaitMs, this, [this] { m_centreWhenFramed = false; });
        break;
    case QEvent::Move:
    case QEvent::Resize:
    case QEvent::WindowStateChange:
        if (isVisible() && frameGeometry().size() != size()) {
            m_centreWhenFramed = false;
            if (!(windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen)))
                centreOnScreen();
        }
        break;
    default:
        break;
    }
    return handled;
}

QString MDIForm1::statusText() const {
    if (DatabasePath.isEmpty())
        return QStringLiteral("Create a database with File > New, or open one with File > Open.");
    const QString inUse =
        QStringLiteral("Database in use: ") + QDir::toNativeSeparators(DatabasePath);
    return m_notice.isEmpty() ? inUse : inUse + QStringLiteral(" \u2014 ") + m_notice;
}

void MDIForm1::showDatabaseInUse() {
    m_statusLine->setText(statusText());
    // Undo Delete names what it would bring back in the file now in use.
    if (auto* edit = findChild<EditMenu*>(QString(), Qt::FindDirectChildrenOnly))
        edit->refresh();
    // Importing, exporting, backing up and restoring need a file in use.
    for (QAction* item : {m_mnuFileImport, m_mnuFileExport, m_mnuFileBackUp, m_mnuFileRestore})
        if (item)
            item->setEnabled(!DatabasePath.isEmpty());
    refreshDueReminders();
}

void MDIForm1::showNotice(const QString& notice) {
    m_notice = notice;
    showDatabaseInUse();
}

void MDIForm1::setDueReminders(std::function<QString(const QString& path)> readDue,
                               std::function<void()> open) {
    m_readDue = std::move(readDue);
    m_openReminders = std::move(open);
    refreshDueReminders();
}

void MDIForm1::refreshDueReminders() {
    // Read at once from the file: a few selects, nothing that would hold the start up.
    const QString due = m_readDue && !DatabasePath.isEmpty() ? m_readDue(DatabasePath) : QString();
    auto* line = static_cast<StatusLink*>(m_lblRemindersDue);
    line->setFullText(due);
    line->setToolTip(due.isEmpty() ? QString()
                                   : due + QStringLiteral("\nClick to see the reminders."));
    line->setVisible(!due.isEmpty());
}

QString MDIForm1::dueRemindersText() const {
    return static_cast<const StatusLink*>(m_lblRemindersDue)->fullText();
}

void MDIForm1::setBackupCommands(std::function<void()> backUp, std::function<void()> restore) {
    m_backUp = std::move(backUp);
    m_restore = std::move(restore);
}

void MDIForm1::setExchangeCommands(std::function<void()> importFile,
                                   std::function<void()> exportFile) {
    m_import = std::move(importFile);
    m_export = std::move(exportFile);
}

void MDIForm1::ShutdownEnabled(bool bolEnableShutdown) {
    m_shutdownEnabled = bolEnableShutdown;
}

void MDIForm1::DatabaseOpened() {
    m_notice.clear();
    setWindowMenuEnabled(true);
    registryStore().writeText(platform::HKEY_LOCAL_MACHINE, kLastOpenedKey, kLastOpenedValue,
                              DatabasePath);
    setWindowTitle(platform::literalWindowTitle(QStringLiteral("Drivolex - ") + DatabasePath));
    showDatabaseInUse();
}

void MDIForm1::MDIForm_QueryUnload(bool& Cancel, int /*UnloadMode*/) {
    if (!m_shutdownEnabled) {
        platform::MsgBox(QStringLiteral("Can not Close program when adding or editing a record."),
                         platform::vbOKOnly, QStringLiteral("Can Not Shutdown"));
        Cancel = true;
    }
}

void MDIForm1::closeEvent(QCloseEvent* event) {
    bool cancel = false;
    MDIForm_QueryUnload(cancel, m_unloadMode);
    m_unloadMode = vbFormControlMenu;
    if (cancel) {
        event->ignore();
        return;
    }
    // The record windows are unloaded with the frame.
    m_unloading = true;
    m_mdiArea->closeAllSubWindows();
    m_unloading = false;
    event->accept();
}

bool MDIForm1::sessionMayEnd() {
    bool cancel = false;
    MDIForm_QueryUnload(cancel, vbAppWindows);
    return !cancel;
}

void MDIForm1::commitData(QSessionManager& manager) {
    if (m_shutdownEnabled)
        return;
    // The refusal is explained only when the session lets the program talk to the user.
    if (manager.allowsInteraction()) {
        sessionMayEnd();
        manager.release();
    }
    manager.cancel();
}

platform::RegistryStore& MDIForm1::registryStore() {
    if (!m_registry)
        m_registry = std::make_unique<platform::RegistryStore>();
    return *m_registry;
}

void MDIForm1::useRegistryStore(std::unique_ptr<platform::RegistryStore> store) {
    m_registry = std::move(store);
}

void MDIForm1::setWindowFactory(ChildWindow which, WindowFactory factory) {
    m_factories[std::size_t(which)] = std::move(factory);
}

QMdiSubWindow* MDIForm1::addChildWindow(QWidget* form) {
    if (auto* sub = qobject_cast<QMdiSubWindow*>(form->parentWidget());
        sub && sub->widget() == form)
        return sub;
    QMdiSubWindow* sub = m_mdiArea->addSubWindow(form);
    sub->setAttribute(Qt::WA_DeleteOnClose);
    return sub;
}

QWidget* MDIForm1::openChildWindow(ChildWindow which) const {
    return m_children[std::size_t(which)];
}

QWidget* MDIForm1::showChildWindow(ChildWindow which, bool bringToFront) {
    QPointer<QWidget>& open = m_children[std::size_t(which)];
    if (!open) {
        const WindowFactory& factory = m_factories[std::size_t(which)];
        if (!factory)
            return nullptr;
        QWidget* form = factory(*this);
        if (!form)
            return nullptr;
        open = form;
        addChildWindow(form)->show();
        form->show();
    } else if (bringToFront) {
        QMdiSubWindow* sub = addChildWindow(open);
        sub->show();
        m_mdiArea->setActiveSubWindow(sub);
        sub->raise();
    }
    return open;
}

} // namespace shell
