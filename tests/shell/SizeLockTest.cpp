// The size lock of hooked record windows.
#include "ShellTestSupport.h"

#include "shell/modAPIWrapr.h"
#include "shell/modDrivolex.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTest>

using namespace shell_test;
namespace api = shell::modAPIWrapr;

namespace {

class SizeLockTest : public ShellTest {
protected:
    void SetUp() override {
        ShellTest::SetUp();
        makeForm().resize(1000, 800);
        form->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    }

    // Loads a record window the way the record windows do: design size, trimmed menu,
    // hook, centring.
    QMdiSubWindow* loadRecordWindow(QSize designSize, short mode = api::kLockBoth) {
        auto* content = new QWidget;
        QMdiSubWindow* sub = form->addChildWindow(content);
        sub->resize(designSize);
        shell::modDrivolex::TrimSystemMenu(*sub);
        api::HookWindow(sub, mode);
        shell::modDrivolex::CenterForm(*form, *content);
        sub->show();
        return sub;
    }

    const api::WindowSlot* slotOf(const QWidget* window) const {
        for (const api::WindowSlot& slot : api::windowTable())
            if (slot.hWnd == window)
                return &slot;
        return nullptr;
    }
};

} // namespace

TEST_F(SizeLockTest, DesignSizeIsCapturedAndHeldAgainstEveryResize) {
    QMdiSubWindow* sub = loadRecordWindow({420, 310});
    const api::WindowSlot* slot = slotOf(sub);
    ASSERT_NE(slot, nullptr);
    EXPECT_TRUE(slot->WidthCaptured && slot->HeightCaptured);
    EXPECT_EQ(slot->LockedWidth, 420);
    EXPECT_EQ(slot->LockedHeight, 310);

    sub->resize(600, 500);
    EXPECT_EQ(sub->size(), QSize(420, 310));
    sub->setGeometry(10, 20, 100, 50);
    EXPECT_EQ(sub->size(), QSize(420, 310));
    EXPECT_EQ(sub->pos(), QPoint(10, 20));
    // Even code that loosens the limits does not get its way for long.
    sub->setMinimumSize(0, 0);
    sub->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    sub->resize(700, 600);
    EXPECT_EQ(sub->size(), QSize(420, 310));
}

TEST_F(SizeLockTest, MovingStillWorks) {
    QMdiSubWindow* sub = loadRecordWindow({300, 200});
    sub->move(33, 44);
    EXPECT_EQ(sub->pos(), QPoint(33, 44));
    EXPECT_EQ(sub->size(), QSize(300, 200));
}

TEST_F(SizeLockTest, MaximiseMinimiseAndCascadeKeepTheSize) {
    QMdiSubWindow* sub = loadRecordWindow({300, 200});
    sub->showMaximized();
    EXPECT_EQ(sub->size(), QSize(300, 200));
    sub->showNormal();
    sub->showMinimized();
    EXPECT_EQ(sub->size(), QSize(300, 200));
    sub->showNormal();
    form->mdiArea()->tileSubWindows();
    EXPECT_EQ(sub->size(), QSize(300, 200));
    form->mdiArea()->cascadeSubWindows();
    EXPECT_EQ(sub->size(), QSize(300, 200));
}

TEST_F(SizeLockTest, WidthModeLocksOnlyTheWidth) {
    QMdiSubWindow* sub = loadRecordWindow({300, 200}, api::kLockWidth);
    EXPECT_EQ(api::sizeLockMode(), api::kLockWidth);
    sub->resize(500, 260);
    EXPECT_EQ(sub->size(), QSize(300, 260));
    EXPECT_FALSE(slotOf(sub)->HeightCaptured);
}

TEST_F(SizeLockTest, ClosedWindowsSlotIsFreedAndAReopenedWindowCapturedAnew) {
    QPointer<QMdiSubWindow> first = loadRecordWindow({300, 200});
    first->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ASSERT_FALSE(first);

    QMdiSubWindow* again = loadRecordWindow({320, 240});
    const api::WindowSlot* slot = slotOf(again);
    ASSERT_NE(slot, nullptr);
    EXPECT_EQ(slot->LockedWidth, 320);
    EXPECT_EQ(slot->LockedHeight, 240);
    int used = 0;
    for (const api::WindowSlot& s : api::windowTable())
        used += s.hWnd ? 1 : 0;
    EXPECT_EQ(used, 1);
}

TEST_F(SizeLockTest, FifthWindowFindsNoSlotAndIsLeftAlone) {
    QList<QMdiSubWindow*> windows;
    for (int i = 0; i < 4; ++i)
        windows << loadRecordWindow({200 + i, 150});
    QMdiSubWindow* fifth = loadRecordWindow({250, 180});
    EXPECT_EQ(slotOf(fifth), nullptr);
    fifth->resize(400, 300);
    EXPECT_EQ(fifth->size(), QSize(400, 300));
    for (int i = 0; i < 4; ++i) {
        windows[i]->resize(500, 500);
        EXPECT_EQ(windows[i]->size(), QSize(200 + i, 150));
    }
}
