// The record windows' trimmed system menu and caption buttons.
#include "ShellTestSupport.h"

#include "shell/modDrivolex.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QTest>

using namespace shell_test;

TEST_F(ShellTest, TrimmedSystemMenuKeepsRestoreMoveAndMinimizeOnly) {
    makeForm().show();
    QMdiSubWindow* sub = form->addChildWindow(new QWidget);
    sub->show();
    shell::modDrivolex::TrimSystemMenu(*sub);
    EXPECT_TRUE(sub->isVisible()) << "trimming keeps a shown window shown";

    QStringList items;
    for (QAction* action : sub->systemMenu()->actions())
        items << action->text();
    EXPECT_EQ(items, (QStringList{QMdiSubWindow::tr("&Restore"), QMdiSubWindow::tr("&Move"),
                                  QMdiSubWindow::tr("Mi&nimize")}));
    EXPECT_FALSE(sub->windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_FALSE(sub->windowFlags() & Qt::WindowCloseButtonHint);
    EXPECT_TRUE(sub->windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_TRUE(sub->windowFlags() & Qt::WindowSystemMenuHint);
}

TEST_F(ShellTest, TrimmedWindowIgnoresTheCloseKeys) {
    makeForm().show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    auto* content = new QWidget;
    QMdiSubWindow* sub = form->addChildWindow(content);
    shell::modDrivolex::TrimSystemMenu(*sub);
    sub->show();
    form->mdiArea()->setActiveSubWindow(sub);
    QPointer<QMdiSubWindow> alive = sub;
    QTest::keyClick(content, Qt::Key_F4, Qt::ControlModifier);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ASSERT_TRUE(alive);
    EXPECT_TRUE(sub->isVisible());
}

TEST_F(ShellTest, UntrimmedWindowClosesWithCtrlF4) {
    // The same keys do close an ordinary sub-window, so the test above means something.
    makeForm().show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    auto* content = new QWidget;
    QMdiSubWindow* sub = form->addChildWindow(content);
    sub->show();
    form->mdiArea()->setActiveSubWindow(sub);
    QPointer<QMdiSubWindow> alive = sub;
    QTest::keyClick(content, Qt::Key_F4, Qt::ControlModifier);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(alive);
}
