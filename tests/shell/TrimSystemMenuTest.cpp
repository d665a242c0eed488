// The record windows' trimmed system menu and caption buttons.
#include "ShellTestSupport.h"

#include "shell/modDrivolex.h"

#include <QApplication>
#include <QImage>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPushButton>
#include <QStyleOptionTitleBar>
#include <QTest>

using namespace shell_test;

namespace {
// A sub-window's caption as a style is asked about it.
QStyleOptionTitleBar captionOf(const QMdiSubWindow& sub) {
    QStyleOptionTitleBar option;
    option.initFrom(&sub);
    option.rect = QRect(0, 0, sub.width(),
                        sub.style()->pixelMetric(QStyle::PM_TitleBarHeight, &option, &sub));
    option.titleBarFlags = sub.windowFlags();
    option.titleBarState = sub.windowState();
    option.subControls = QStyle::SC_All;
    return option;
}
} // namespace

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

TEST_F(ShellTest, TrimmedCaptionShowsNoCloseButtonAndKeepsMinimize) {
    makeForm().show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    auto* content = new QPushButton(QStringLiteral("Inside"));
    QMdiSubWindow* sub = form->addChildWindow(content);
    sub->resize(320, 200);
    shell::modDrivolex::TrimSystemMenu(*sub);
    sub->show();
    form->mdiArea()->setActiveSubWindow(sub);
    QPointer<QStyle> captionStyle = sub->style();
    shell::modDrivolex::TrimSystemMenu(*sub);
    EXPECT_EQ(sub->style(), captionStyle.data()) << "trimming again changes nothing";

    const QStyleOptionTitleBar caption = captionOf(*sub);
    QStyle* const plain = QApplication::style();
    const QRect wasClose =
        plain->subControlRect(QStyle::CC_TitleBar, &caption, QStyle::SC_TitleBarCloseButton, sub);
    ASSERT_FALSE(wasClose.isEmpty()) << "the program's style has a close button here";
    EXPECT_TRUE(
        sub->style()
            ->subControlRect(QStyle::CC_TitleBar, &caption, QStyle::SC_TitleBarCloseButton, sub)
            .isEmpty());
    EXPECT_NE(
        sub->style()->hitTestComplexControl(QStyle::CC_TitleBar, &caption, wasClose.center(), sub),
        QStyle::SC_TitleBarCloseButton);
    // Nothing is drawn where the button was: each row there is of one colour.
    const QImage shown = sub->grab().toImage();
    int drawnRows = 0;
    for (int y = wasClose.top(); y <= wasClose.bottom(); ++y)
        for (int x = wasClose.left(); x <= wasClose.right(); ++x)
            if (shown.pixel(x, y) != shown.pixel(wasClose.left(), y)) {
                ++drawnRows;
                break;
            }
    EXPECT_EQ(drawnRows, 0);
    // A click there leaves the window open.
    QPointer<QMdiSubWindow> alive = sub;
    QTest::mouseMove(sub, wasClose.center());
    QTest::mouseClick(sub, Qt::LeftButton, {}, wasClose.center());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ASSERT_TRUE(alive);
    EXPECT_TRUE(sub->isVisible());

    // The contents keep the program's look.
    EXPECT_EQ(content->style(), plain);

    const QPoint minimize =
        sub->style()
            ->subControlRect(QStyle::CC_TitleBar, &caption, QStyle::SC_TitleBarMinButton, sub)
            .center();
    // After a click on the caption's free part the sub-window notices the part under
    // the mouse only from the second move on.
    QTest::mouseMove(sub, minimize - QPoint(1, 0));
    QTest::mouseMove(sub, minimize);
    QTest::mouseClick(sub, Qt::LeftButton, {}, minimize);
    EXPECT_TRUE(sub->isMinimized());

    delete sub;
    EXPECT_TRUE(captionStyle.isNull()) << "the style goes with its window";
}
