// The mechanics every record window shares: load order, activation, closing, the
// error box and putting the controls back after a failed handler.
#include "RecordWindowTestSupport.h"

#include "platform/AppError.h"
#include "records/DataControl.h"
#include "records/RecordWindow.h"
#include "shell/Twips.h"
#include "store/StoreErrors.h"

#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QStyle>
#include <QStyleOptionTitleBar>

using namespace records_test;
using records::DataControl;
using records::RecordWindow;

namespace {

// A record window that notes each of its events in a list that outlives it.
class ProbeWindow : public RecordWindow {
public:
    explicit ProbeWindow(shell::MDIForm1& frame) : RecordWindow(frame) {
        setWindowTitle(QStringLiteral("Probe"));
        data = new DataControl(this);
        data->setRecordSource(QStringLiteral("VehicleInfo"));
        button = new QPushButton(QStringLiteral("Go"), this);
        label = new QLabel(QStringLiteral("Label"), this);
        box = new QLineEdit(this);
        connect(data, &DataControl::Reposition, this, [] { log << QStringLiteral("reposition"); });
        setControls({button, data, label});
        addDataControl(data);
    }

    void Form_Load() override {
        log << QStringLiteral("load");
        placeInFrame(4500, 3000);
        data->setDatabaseName(shell::DatabasePath);
    }
    void Form_Activate() override {
        log << QStringLiteral("activate");
        if (focusBoxOnActivate)
            box->setFocus();
    }
    void Form_Deactivate() override { log << QStringLiteral("deactivate"); }
    void Form_Unload() override { log << QStringLiteral("unload"); }

    using RecordWindow::runKeepingState;
    using RecordWindow::ShutdownEnabled;

    DataControl* data;
    QPushButton* button;
    QLabel* label;
    QLineEdit* box;
    bool focusBoxOnActivate = false;
    static inline QStringList log;
};

// The middle of a part of a sub-window's caption bar, in the sub-window's coordinates,
// where the program's style puts it.
QPoint titleBarPart(QMdiSubWindow* sub, QStyle::SubControl part) {
    QStyle* const style = QApplication::style();
    QStyleOptionTitleBar option;
    option.initFrom(sub);
    option.rect =
        QRect(0, 0, sub->width(), style->pixelMetric(QStyle::PM_TitleBarHeight, &option, sub));
    option.titleBarFlags = sub->windowFlags();
    option.titleBarState = sub->windowState();
    option.subControls = QStyle::SC_All;
    return style->subControlRect(QStyle::CC_TitleBar, &option, part, sub).center();
}

class BaseWindowTest : public RecordWindowTest {
protected:
    ProbeWindow& openProbe() {
        ProbeWindow::log.clear();
        if (!form)
            showFrame();
        probe = RecordWindow::open<ProbeWindow>(*form);
        probe->subWindow()->show();
        return *probe;
    }
    QMdiSubWindow* openOther() {
        QMdiSubWindow* other = form->addChildWindow(new QLabel(QStringLiteral("other")));
        other->show();
        form->mdiArea()->setActiveSubWindow(other);
        return other;
    }

    QPointer<ProbeWindow> probe;
};

} // namespace

TEST_F(BaseWindowTest, DataOpensAfterLoadAndActivationFollowsEverySwitch) {
    addVehicles({QStringLiteral("A")});
    ProbeWindow& window = openProbe();
    EXPECT_EQ(ProbeWindow::log, (QStringList{"load", "reposition", "activate"}));

    QMdiSubWindow* other = openOther();
    form->mdiArea()->setActiveSubWindow(window.subWindow());
    form->mdiArea()->setActiveSubWindow(other);
    EXPECT_EQ(ProbeWindow::log, (QStringList{"load", "reposition", "activate", "deactivate",
                                             "activate", "deactivate"}));
}

TEST_F(BaseWindowTest, ActivationFocusesTheWindowUnlessItChoseTheFocusItself) {
    ProbeWindow& window = openProbe();
    EXPECT_EQ(QApplication::focusWidget(), window.button) << "the first control in tab order";

    openOther();
    window.focusBoxOnActivate = true;
    form->mdiArea()->setActiveSubWindow(window.subWindow());
    EXPECT_EQ(QApplication::focusWidget(), window.box);
}

TEST_F(BaseWindowTest, LoadSetsTheOuterSizeTrimsTheMenuAndCentres) {
    ProbeWindow& window = openProbe();
    QMdiSubWindow* sub = window.subWindow();
    EXPECT_EQ(sub->size(), QSize(shell::twipsToPixels(4500, sub), shell::twipsToPixels(3000, sub)));
    EXPECT_FALSE(sub->windowFlags() & Qt::WindowCloseButtonHint);
    EXPECT_FALSE(sub->windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_EQ(sub->systemMenu()->actions().size(), 3);
    const QRect client = form->mdiArea()->viewport()->rect();
    EXPECT_NEAR(sub->geometry().center().x(), client.center().x(), 2);
    EXPECT_NEAR(sub->geometry().center().y(), client.center().y(), 2);

    sub->resize(sub->width() + 80, sub->height() + 40); // held by the size lock
    EXPECT_EQ(sub->size(), QSize(shell::twipsToPixels(4500, sub), shell::twipsToPixels(3000, sub)));
}

TEST_F(BaseWindowTest, OnlyUnloadOrTheFramesExitCloseTheWindow) {
    ProbeWindow& window = openProbe();
    // A click where the program's style would put a close button, or a double click on
    // the menu icon (which closes other sub-windows), may not close the window, nor may
    // any other close.
    QMdiSubWindow* sub = window.subWindow();
    const QPoint closeButton = titleBarPart(sub, QStyle::SC_TitleBarCloseButton);
    QTest::mouseMove(sub, closeButton); // the caption acts on the part under the mouse
    QTest::mouseClick(sub, Qt::LeftButton, {}, closeButton);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ASSERT_FALSE(probe.isNull()) << "the caption's close button";
    const QPoint menuIcon = titleBarPart(sub, QStyle::SC_TitleBarSysMenu);
    QTest::mouseMove(sub, menuIcon);
    QTest::mouseDClick(sub, Qt::LeftButton, {}, menuIcon);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ASSERT_FALSE(probe.isNull()) << "a double click on the menu icon";
    EXPECT_FALSE(window.subWindow()->close());
    EXPECT_FALSE(window.close());
    EXPECT_TRUE(window.isVisible());
    EXPECT_FALSE(ProbeWindow::log.contains(QStringLiteral("unload")));

    window.Unload();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ASSERT_TRUE(probe.isNull());
    EXPECT_TRUE(form->mdiArea()->subWindowList().isEmpty());

    EXPECT_EQ(ProbeWindow::log.value(ProbeWindow::log.size() - 1), QStringLiteral("unload"));

    openProbe();
    item("mnuFileExit")->trigger();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(probe.isNull());
    EXPECT_EQ(ProbeWindow::log.value(ProbeWindow::log.size() - 1), QStringLiteral("unload"));
}

TEST_F(BaseWindowTest, WindowOnAMissingFileIsNotLeftBehind) {
    showFrame();
    shell::DatabasePath = dir.filePath(QStringLiteral("missing.mdb"));
    try {
        RecordWindow::open<ProbeWindow>(*form);
        FAIL() << "opened a missing file";
    } catch (const platform::AppError& error) {
        EXPECT_EQ(error.number(), store::errFileNotFound);
        EXPECT_TRUE(error.text().contains(QStringLiteral("missing.mdb")))
            << error.text().toStdString();
    }
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(form->mdiArea()->subWindowList().isEmpty());
}

TEST_F(BaseWindowTest, StoreErrorShowsTheBoxAndPutsTheControlsBack) {
    ProbeWindow& window = openProbe();
    window.label->setEnabled(false);
    window.runKeepingState([&] {
        window.button->hide();
        window.data->setEnabled(false);
        window.label->setEnabled(true);
        window.ShutdownEnabled(false);
        store::raise(store::errNoCurrentRecord, QStringLiteral("There is no current row."));
    });
    ASSERT_EQ(boxes.count(), 1);
    EXPECT_EQ(boxes.last().prompt, QStringLiteral("Error #3021\r\nThere is no current row."));
    EXPECT_EQ(boxes.last().style, 48);
    EXPECT_EQ(boxes.last().title, QStringLiteral("Error"));
    EXPECT_TRUE(window.button->isVisible());
    EXPECT_TRUE(window.data->isEnabled());
    EXPECT_FALSE(window.label->isEnabled());
    expectCloseAllowed();
}
