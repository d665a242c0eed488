// Centring: the arithmetic, inside the main window, and on the screen.
#include "ShellTestSupport.h"

#include "shell/Twips.h"
#include "shell/modDrivolex.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMoveEvent>
#include <QScreen>
#include <QTest>

using namespace shell_test;
using shell::modDrivolex::CenterForm;
using shell::modDrivolex::centerOffset;

TEST(CenterOffset, HalfTheDifferenceKeepingHalvesAndGoingNegative) {
    EXPECT_FLOAT_EQ(centerOffset(12000, 6000), 3000.0f);
    EXPECT_FLOAT_EQ(centerOffset(12001, 6000), 3000.5f);
    EXPECT_FLOAT_EQ(centerOffset(6000, 6000), 0.0f);
    EXPECT_FLOAT_EQ(centerOffset(6000, 9001), -1500.5f);
    EXPECT_FLOAT_EQ(centerOffset(0, 15), -7.5f);
}

namespace {

// Records the positions a window passes through.
class MoveRecorder : public QObject {
public:
    QList<QPoint> positions;
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Move)
            positions.append(static_cast<QMoveEvent*>(event)->pos());
        return false;
    }
};

} // namespace

TEST_F(ShellTest, RecordWindowIsCentredInTheClientAreaLeftFirst) {
    makeForm().resize(900, 700);
    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    auto* content = new QWidget;
    QMdiSubWindow* sub = form->addChildWindow(content);
    sub->resize(301, 200);
    sub->move(5, 7);
    sub->show();
    MoveRecorder recorder;
    sub->installEventFilter(&recorder);

    CenterForm(*form, *content); // given the content, the sub-window moves
    const QSize client = form->mdiArea()->viewport()->size();
    const int left = shell::twipsToPixels(
        centerOffset(shell::pixelsToTwips(client.width()), shell::pixelsToTwips(301)));
    const int top = shell::twipsToPixels(
        centerOffset(shell::pixelsToTwips(client.height()), shell::pixelsToTwips(200)));
    EXPECT_EQ(sub->pos(), QPoint(left, top));
    EXPECT_NEAR(left, (client.width() - 301) / 2.0, 0.5);
    ASSERT_EQ(recorder.positions.size(), 2);
    EXPECT_EQ(recorder.positions[0], QPoint(left, 7)) << "left is set before top";
    EXPECT_EQ(sub->size(), QSize(301, 200));
}

TEST_F(ShellTest, RecordWindowLargerThanTheFrameGetsNegativeCoordinates) {
    makeForm().resize(500, 400);
    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    QMdiSubWindow* sub = form->addChildWindow(new QWidget);
    sub->resize(900, 800);
    sub->show();
    CenterForm(*form->mdiArea(), *sub);
    EXPECT_LT(sub->x(), 0);
    EXPECT_LT(sub->y(), 0);
}

TEST(CenterFormOnScreen, WindowLargerThanTheScreenGetsNegativeCoordinates) {
    QWidget window;
    const QRect screen = window.screen()->geometry();
    window.resize(screen.width() + 201, screen.height() + 100);
    CenterForm(*window.screen(), window);
    EXPECT_NEAR(window.x(), screen.x() - 100.5, 0.5);
    EXPECT_EQ(window.y(), screen.y() - 50);
}
