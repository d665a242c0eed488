// Start-up of the main window: with nothing remembered, with a remembered path, and
// with settings that cannot be read.
#include "ShellTestSupport.h"

#include "shell/Twips.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QMenu>
#include <QScreen>
#include <QTest>
#include <QWindow>

using namespace shell_test;

TEST_F(ShellTest, FirstRunKeepsTheDesignCaptionAndWritesNothing) {
    makeForm();
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Drivolex"));
    EXPECT_TRUE(shell::DatabasePath.isEmpty());
    EXPECT_FALSE(item("mnuWindow")->isEnabled());
    EXPECT_TRUE(writes.isEmpty());
    EXPECT_FALSE(QSettings(userSettingsFile(), QSettings::IniFormat)
                     .contains(QStringLiteral("HKEY_LOCAL_MACHINE/Drivolex/Database/LastOpened")));
    EXPECT_TRUE(boxes.boxes().isEmpty());
}

TEST_F(ShellTest, RememberedPathIsTakenUnchangedEvenWhenTheFileIsGone) {
    const QString path = QStringLiteral("/no/such/folder/My Cars, old.mdb");
    rememberPath(path);
    makeForm();
    EXPECT_EQ(shell::DatabasePath, path);
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Drivolex - ") + path);
    EXPECT_TRUE(item("mnuWindow")->isEnabled());
    ASSERT_EQ(writes.size(), 1);
    EXPECT_EQ(writes[0].root, 0x80000002u);
    EXPECT_EQ(writes[0].keyPath, QStringLiteral("Drivolex\\Database"));
    EXPECT_EQ(writes[0].valueName, QStringLiteral("LastOpened"));
    EXPECT_EQ(writes[0].text, path);
    EXPECT_EQ(platform::RegistryStore().readText(platform::HKEY_LOCAL_MACHINE,
                                                 QStringLiteral("Drivolex\\Database"),
                                                 QStringLiteral("LastOpened")),
              path);
    EXPECT_TRUE(boxes.boxes().isEmpty());
}

// Qt reads "[*]" in a title as the place of the modified mark and would drop it.
TEST_F(ShellTest, CaptionShowsAFileNameWithMarkupAndPlaceholdersAsWritten) {
    const QString path = QStringLiteral("/data/<b>[*]</b> cars[*][*].mdb");
    rememberPath(path);
    makeForm().show();
    ASSERT_NE(form->windowHandle(), nullptr);
    EXPECT_EQ(form->windowHandle()->title(), QStringLiteral("Drivolex - ") + path);
}

TEST_F(ShellTest, DamagedSettingsStartLikeAFirstRunAndStayAsTheyWere) {
    QDir().mkpath(QFileInfo(userSettingsFile()).absolutePath());
    QFile file(userSettingsFile());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    const QByteArray damaged = "[HKEY_LOCAL_MACHINE\nDrivolex/Database/LastOpened=/x.mdb\n";
    file.write(damaged);
    file.close();
    makeForm();
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Drivolex"));
    EXPECT_FALSE(item("mnuWindow")->isEnabled());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), damaged);
}

TEST_F(ShellTest, LoadCentresTheWindowOnItsScreen) {
    makeForm(false);
    form->resize(400, 300);
    form->move(0, 0);
    form->MDIForm_Load();
    const QRect screen = form->screen()->geometry();
    EXPECT_NEAR(form->x(), screen.x() + (screen.width() - 400) / 2.0, 1.0);
    EXPECT_NEAR(form->y(), screen.y() + (screen.height() - 300) / 2.0, 1.0);
    EXPECT_EQ(form->size(), QSize(400, 300)) << "a window that fits keeps its size";
}

// The desktop gives the window its frame only once it is shown: then the frame, not the
// inner area, is what stands in the middle of the screen.
TEST_F(ShellTest, TheWindowIsCentredByItsFrameOnceShown) {
    makeForm(false);
    form->resize(400, 300);
    form->MDIForm_Load();
    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    QTest::qWait(20);
    const QRect frame = form->frameGeometry();
    ASSERT_NE(frame.size(), form->size()) << "the platform gives no frame";
    const QRect screen = form->screen()->geometry();
    EXPECT_NEAR(frame.left() - screen.left(), screen.right() - frame.right(), 1);
    EXPECT_NEAR(frame.top() - screen.top(), screen.bottom() - frame.bottom(), 1);

    // Once placed, the window stays where the user moves it.
    form->move(screen.left() + 3, screen.top() + 4);
    QTest::qWait(20);
    EXPECT_EQ(form->pos(), QPoint(screen.left() + 3, screen.top() + 4));
}

TEST_F(ShellTest, StatusLineSaysWhatToDoFirstThenTheFileInUse) {
    makeForm();
    const auto* line = form->findChild<QLabel*>(QStringLiteral("lblStatus"));
    ASSERT_NE(line, nullptr);
    EXPECT_EQ(line->text(),
              QStringLiteral("Create a database with File > New, or open one with File > Open."));
    EXPECT_EQ(line->textFormat(), Qt::PlainText);
    form.reset();

    const QString path = QStringLiteral("/data/<b>cars</b>.mdb");
    rememberPath(path);
    makeForm();
    EXPECT_EQ(form->findChild<QLabel*>(QStringLiteral("lblStatus"))->text(),
              QStringLiteral("Database in use: ") + path);
}

TEST_F(ShellTest, LoadCutsAFrameLargerThanTheScreenDownToItsFreeArea) {
    // As the design size comes out on a screen with twice the dots per inch.
    makeForm(false);
    const QRect room = form->screen()->availableGeometry();
    form->resize(room.width() + 800, room.height() / 2);
    form->MDIForm_Load();
    EXPECT_EQ(form->size(), QSize(room.width(), room.height() / 2));
    EXPECT_GE(form->x(), form->screen()->geometry().x()) << "the left edge stays on the screen";

    form->resize(room.width() + 800, room.height() + 600);
    form->MDIForm_Load();
    EXPECT_LE(form->frameGeometry().width(), room.width());
    EXPECT_LE(form->frameGeometry().height(), room.height());
}

TEST_F(ShellTest, ClosingIsRefusedUntilLoadAllowsIt) {
    makeForm(false);
    form->show();
    EXPECT_FALSE(form->close()) << "a window that has not loaded may not close";
    ASSERT_EQ(boxes.count(), 1);
    form->MDIForm_Load();
    EXPECT_TRUE(form->close());
    EXPECT_EQ(boxes.count(), 1);
}

TEST(Twips, ConversionFollowsTheScreensLogicalDotsPerInch) {
    const double dpi = QGuiApplication::primaryScreen()->logicalDotsPerInchX();
    EXPECT_DOUBLE_EQ(shell::twipsPerPixel(), 1440.0 / dpi);
    EXPECT_EQ(shell::twipsToPixels(1440), qRound(dpi));
    for (int pixels : {0, 1, 7, 800, -5})
        EXPECT_EQ(shell::twipsToPixels(shell::pixelsToTwips(pixels)), pixels);
}
