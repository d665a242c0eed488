// Help Contents, Search and About from the main window's Help menu.
#include "ShellTestSupport.h"

#include "about/frmAbout.h"
#include "platform/AppError.h"
#include "platform/Help.h"
#include "platform/HelpWindow.h"

#include <QApplication>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace shell_test;

namespace {

struct HelpCall {
    QWidget* owner;
    QString file;
    unsigned command;
    QString key;
};

class HelpMenuTest : public ShellTest {
protected:
    void SetUp() override {
        ShellTest::SetUp();
        platform::setAppHelpFile(QStringLiteral("/usr/share/drivolex/manual/index.md"));
        makeForm();
    }
    void TearDown() override {
        platform::setHelpEngine({});
        platform::setAppHelpFile(QString());
        ShellTest::TearDown();
    }
    void recordHelp() {
        platform::setHelpEngine([this](QWidget* o, const QString& f, unsigned c, const QString& k) {
            calls.append({o, f, c, k});
            return true;
        });
    }
    QList<HelpCall> calls;
};

} // namespace

TEST_F(HelpMenuTest, ContentsAndSearchAskTheHelpEngineForTheAppHelpFile) {
    recordHelp();
    item("mnuHelpContents")->trigger();
    item("mnuHelpSearch")->trigger();
    ASSERT_EQ(calls.size(), 2);
    EXPECT_EQ(calls[0].owner, form.get());
    EXPECT_EQ(calls[0].file, QStringLiteral("/usr/share/drivolex/manual/index.md"));
    EXPECT_EQ(calls[0].command, 3u);
    EXPECT_EQ(calls[1].command, 0x105u);
    EXPECT_EQ(calls[1].key, QString());
    EXPECT_TRUE(boxes.boxes().isEmpty());
}

TEST_F(HelpMenuTest, EmptyHelpFileNameStillCallsAndShowsNothing) {
    platform::setAppHelpFile(QString());
    recordHelp();
    item("mnuHelpContents")->trigger();
    ASSERT_EQ(calls.size(), 1);
    EXPECT_TRUE(calls[0].file.isEmpty());
    platform::setHelpEngine({});
    item("mnuHelpContents")->trigger();
    EXPECT_EQ(form->findChild<platform::HelpWindow*>(), nullptr);
    EXPECT_TRUE(boxes.boxes().isEmpty());
}

TEST_F(HelpMenuTest, HelpFailureShowsTheErrorTextAndChangesNothing) {
    platform::setHelpEngine([](QWidget*, const QString&, unsigned, const QString&) -> bool {
        throw platform::AppError(53, QStringLiteral("The help engine is not installed."));
    });
    const QString caption = form->windowTitle();
    item("mnuHelpSearch")->trigger();
    ASSERT_EQ(boxes.count(), 1);
    EXPECT_EQ(boxes.last().prompt, QStringLiteral("The help engine is not installed."));
    EXPECT_EQ(boxes.last().style, 0);
    EXPECT_EQ(boxes.last().title, QStringLiteral("Drivolex"));
    EXPECT_EQ(form->windowTitle(), caption);
}

TEST_F(HelpMenuTest, MissingManualShowsTheFailureBoxNamingIt) {
    QTemporaryDir dir;
    const QString missing = dir.filePath(QStringLiteral("index.md"));
    platform::setAppHelpFile(missing);
    item("mnuHelpContents")->trigger();
    ASSERT_EQ(boxes.count(), 1);
    EXPECT_TRUE(boxes.last().prompt.contains(missing)) << boxes.last().prompt.toStdString();
    EXPECT_EQ(boxes.last().style, 0);
    EXPECT_EQ(boxes.last().title, QStringLiteral("Drivolex"));
    EXPECT_EQ(form->findChild<platform::HelpWindow*>(), nullptr);
}

TEST_F(HelpMenuTest, ShippedManualOpensInTheHelpWindow) {
    platform::setAppHelpFile(platform::locateManual());
    item("mnuHelpContents")->trigger();
    auto* window = form->findChild<platform::HelpWindow*>(QStringLiteral("helpWindow"));
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    item("mnuHelpSearch")->trigger();
    EXPECT_EQ(form->findChildren<platform::HelpWindow*>().size(), 1);
    EXPECT_TRUE(window->searchField()->isVisible());
    EXPECT_TRUE(boxes.boxes().isEmpty());
}

TEST_F(HelpMenuTest, AboutIsModalAndOkReturnsToTheMainWindow) {
    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    QString seenTitle;
    bool seenModal = false;
    QTimer::singleShot(0, [&] {
        auto* about = qobject_cast<about::frmAbout*>(QApplication::activeModalWidget());
        if (!about)
            return;
        seenTitle = about->windowTitle();
        seenModal = about->isModal() && about->parentWidget() == form.get();
        QTest::mouseClick(about->cmdOK, Qt::LeftButton);
    });
    QTimer::singleShot(5000, [] { // never hang the suite if the box did not appear as expected
        if (QWidget* modal = QApplication::activeModalWidget())
            modal->close();
    });
    item("mnuHelpAbout")->trigger(); // returns once the box is closed
    EXPECT_EQ(seenTitle, QStringLiteral("About Drivolex"));
    EXPECT_TRUE(seenModal);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_EQ(form->findChild<about::frmAbout*>(), nullptr) << "the box is unloaded";
    EXPECT_TRUE(boxes.boxes().isEmpty());
}

TEST_F(HelpMenuTest, F1OpensContentsFromTheMainWindowARecordWindowAndTheHelpWindow) {
    QTemporaryDir dir;
    const QString manual = dir.filePath(QStringLiteral("index.md"));
    QFile file(manual);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("# Manual\n\nText.\n");
    file.close();
    platform::setAppHelpFile(manual);
    form->show();
    auto* entry = new QLineEdit;
    form->addChildWindow(entry)->show();
    entry->setFocus();
    item("mnuHelpSearch")->trigger(); // the real help window, with the search field focused
    auto* help = form->findChild<platform::HelpWindow*>(QStringLiteral("helpWindow"));
    ASSERT_NE(help, nullptr);

    recordHelp();
    for (QWidget* where : {static_cast<QWidget*>(form.get()), static_cast<QWidget*>(entry),
                           static_cast<QWidget*>(help->searchField())}) {
        where->activateWindow(); // the user is in that window
        QApplication::setActiveWindow(where->window());
        QTest::keyClick(where, Qt::Key_F1);
        ASSERT_EQ(calls.size(), 1) << where->metaObject()->className();
        EXPECT_EQ(calls[0].command, platform::HELP_CONTENTS);
        calls.clear();
    }
}
