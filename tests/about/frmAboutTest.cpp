// The About box: what it shows, and starting the system information tool.
#include "FakeRegistryReader.h"

#include "about/frmAbout.h"
#include "platform/ProcessStarter.h"
#include "support/MsgBoxRecorder.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>
#include <cstdlib>
#include <gtest/gtest.h>

using about::frmAbout;
using about_test::FakeRegistryReader;

namespace {

const QString kPathKey = QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO");
const QString kFolderKey = QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools Location");
const QString kUnavailable = QStringLiteral("System Information Is Unavailable At This Time");

class AboutTest : public ::testing::Test {
protected:
    void SetUp() override {
        auto fake = std::make_unique<FakeRegistryReader>();
        registry = fake.get();
        platform::setRegistryReader(std::move(fake));
        platform::setProcessStarter([this](const QString& program) {
            started << program;
            return startSucceeds;
        });
    }
    void TearDown() override {
        platform::setProcessStarter({});
        platform::setRegistryReader(nullptr);
    }

    void expectUnavailableBoxOnly() {
        ASSERT_EQ(boxes.count(), 1);
        EXPECT_EQ(boxes.last().prompt, kUnavailable);
        EXPECT_EQ(boxes.last().style, 0);
        EXPECT_EQ(boxes.last().title, QStringLiteral("Drivolex"));
    }

    // A folder holding the tool under the given file name.
    QString folderWith(const QString& fileName) {
        QFile tool(dir.filePath(fileName));
        EXPECT_TRUE(tool.open(QIODevice::WriteOnly));
        return dir.path();
    }

    testing_support::MsgBoxRecorder boxes;
    FakeRegistryReader* registry = nullptr;
    QStringList started;
    bool startSucceeds = true;
    QTemporaryDir dir;
    frmAbout box;
};

} // namespace

TEST_F(AboutTest, ShowsTitleVersionAndDescription) {
    EXPECT_EQ(box.objectName(), QStringLiteral("frmAbout"));
    EXPECT_EQ(box.windowTitle(), QStringLiteral("About Drivolex"));
    EXPECT_EQ(box.lblTitle->text(), QStringLiteral("Drivolex"));
    EXPECT_EQ(box.lblVersion->text(), QStringLiteral("Version 1.0.0"));
    EXPECT_EQ(box.lblDescription->text(),
              QStringLiteral("Drivolex is a database program to record the maintenance, parts, "
                             "gas use and other aspects of automotive care."));
    EXPECT_TRUE(box.lblDisclaimer->text().startsWith(QStringLiteral("Warning: ")));
    EXPECT_EQ(box.cmdOK->text(), QStringLiteral("OK"));
    EXPECT_EQ(box.cmdSysInfo->text(), QStringLiteral("&System Info..."));
    EXPECT_FALSE(box.picIcon->pixmap().isNull());
    ASSERT_EQ(box.Line1.size(), 2);
    EXPECT_NE(box.Line1[0]->styleSheet(), box.Line1[1]->styleSheet());
    // Both lines of the separator show on the box's background: the dark one and the
    // one beneath it.
    const auto lightness = [](const QFrame* line) { // "background-color: #rrggbb;"
        const QString colour = line->styleSheet().section(QLatin1Char(':'), 1);
        return QColor(colour.left(colour.indexOf(QLatin1Char(';'))).trimmed()).lightness();
    };
    const int background = box.palette().color(QPalette::Window).lightness();
    const int upper = lightness(box.Line1[0]);
    const int lower = lightness(box.Line1[1]);
    EXPECT_GE(std::abs(lower - background), 32) << "the lower line vanishes into the background";
    EXPECT_GE(background - upper, 32);
    EXPECT_GT(lower, upper);
    for (const char* name : {"picIcon", "lblTitle", "lblVersion", "lblDescription", "lblDisclaimer",
                             "cmdOK", "cmdSysInfo", "Line1"})
        EXPECT_NE(box.findChild<QWidget*>(QLatin1String(name)), nullptr) << name;
}

TEST_F(AboutTest, OkClosesTheBox) {
    box.show();
    QTest::mouseClick(box.cmdOK, Qt::LeftButton);
    EXPECT_FALSE(box.isVisible());
    EXPECT_EQ(box.result(), QDialog::Accepted);
}

TEST_F(AboutTest, RecordedPathIsStartedUnchangedAndTheFolderNeverRead) {
    registry->setText(kPathKey, QStringLiteral("PATH"),
                      QByteArray("C:\\Program Files\\Tools\\msinfo32.exe") + '\0');
    registry->setText(kFolderKey, QStringLiteral("MSINFO"), folderWith("MSINFO32.EXE").toUtf8());
    QTest::mouseClick(box.cmdSysInfo, Qt::LeftButton);
    EXPECT_EQ(started, QStringList{QStringLiteral("C:\\Program Files\\Tools\\msinfo32.exe")});
    EXPECT_TRUE(boxes.boxes().isEmpty());
    EXPECT_EQ(registry->calls,
              (QStringList{QStringLiteral("open ") + kPathKey, QStringLiteral("query PATH"),
                           QStringLiteral("close 1")}));
}

TEST_F(AboutTest, TextWithoutATerminatingZeroKeepsItsLastCharacter) {
    registry->setText(kPathKey, QStringLiteral("PATH"), QByteArray("/opt/sysinfo"));
    box.StartSysInfo();
    EXPECT_EQ(started, QStringList{QStringLiteral("/opt/sysinfo")});
}

TEST_F(AboutTest, FolderLocationIsUsedWhenThePathIsMissing) {
    registry->addKey(kPathKey); // the key exists, its value does not
    const QString folder = folderWith(QStringLiteral("MSINFO32.EXE"));
    registry->setText(kFolderKey, QStringLiteral("MSINFO"), folder.toUtf8() + '\0');
    box.StartSysInfo();
    EXPECT_EQ(started, QStringList{QDir(folder).filePath(QStringLiteral("MSINFO32.EXE"))});
    EXPECT_TRUE(boxes.boxes().isEmpty());
    EXPECT_EQ(registry->calls,
              (QStringList{QStringLiteral("open ") + kPathKey, QStringLiteral("query PATH"),
                           QStringLiteral("close 1"), QStringLiteral("open ") + kFolderKey,
                           QStringLiteral("query MSINFO"), QStringLiteral("close 2")}));
}

TEST_F(AboutTest, ToolIsFoundWhateverTheLetterCaseOfItsFileName) {
    const QString folder = folderWith(QStringLiteral("msinfo32.exe"));
    registry->setText(kFolderKey, QStringLiteral("MSINFO"), folder.toUtf8() + '\0');
    box.StartSysInfo();
    EXPECT_EQ(started, QStringList{QDir(folder).filePath(QStringLiteral("msinfo32.exe"))});
}

TEST_F(AboutTest, FolderWithoutTheToolShowsTheFailureBoxAndStartsNothing) {
    registry->setText(kFolderKey, QStringLiteral("MSINFO"), dir.path().toUtf8() + '\0');
    QDir(dir.path()).mkdir(QStringLiteral("MSINFO32.EXE")); // a folder is not the program
    box.StartSysInfo();
    EXPECT_TRUE(started.isEmpty());
    expectUnavailableBoxOnly();
}

TEST_F(AboutTest, EmptyFolderValueDoesNotSearchTheWorkingFolder) {
    const QString previous = QDir::currentPath();
    folderWith(QStringLiteral("MSINFO32.EXE"));
    QDir::setCurrent(dir.path());
    registry->setText(kFolderKey, QStringLiteral("MSINFO"), QByteArray("\0", 1));
    box.StartSysInfo();
    QDir::setCurrent(previous);
    EXPECT_TRUE(started.isEmpty());
    expectUnavailableBoxOnly();
}

TEST_F(AboutTest, NeitherLocationShowsTheFailureBoxAndClosesNothingItDidNotOpen) {
    box.StartSysInfo();
    EXPECT_TRUE(started.isEmpty());
    expectUnavailableBoxOnly();
    EXPECT_EQ(registry->calls,
              (QStringList{QStringLiteral("open ") + kPathKey, QStringLiteral("close 0"),
                           QStringLiteral("open ") + kFolderKey, QStringLiteral("close 0")}));
}

TEST_F(AboutTest, PathValueOfAnotherKindCountsAsReadButLeavesNothingToStart) {
    registry->setValue(kPathKey, QStringLiteral("PATH"), platform::REG_BINARY,
                       QByteArray("\x01\x02", 2));
    registry->setText(kFolderKey, QStringLiteral("MSINFO"),
                      folderWith(QStringLiteral("MSINFO32.EXE")).toUtf8() + '\0');
    box.StartSysInfo();
    EXPECT_TRUE(started.isEmpty());
    expectUnavailableBoxOnly();
    EXPECT_FALSE(registry->calls.contains(QStringLiteral("open ") + kFolderKey));
}

TEST_F(AboutTest, NumberValueReadsAsHexadecimalHighestByteFirst) {
    registry->setValue(kPathKey, QStringLiteral("PATH"), platform::REG_DWORD,
                       QByteArray("\xef\x0d\xab\x00", 4));
    box.StartSysInfo();
    EXPECT_EQ(started, QStringList{QStringLiteral("&h00AB0DEF")});
}

TEST_F(AboutTest, ValueTooLongForTheBufferIsAFailure) {
    registry->setText(kPathKey, QStringLiteral("PATH"), QByteArray(1500, 'x'));
    box.StartSysInfo();
    EXPECT_TRUE(started.isEmpty());
    expectUnavailableBoxOnly();
}

TEST_F(AboutTest, FailedStartShowsTheFailureBoxAndTheBoxStaysOpen) {
    box.show();
    startSucceeds = false;
    registry->setText(kPathKey, QStringLiteral("PATH"), QByteArray("/opt/missing\0", 13));
    QTest::mouseClick(box.cmdSysInfo, Qt::LeftButton);
    EXPECT_EQ(started, QStringList{QStringLiteral("/opt/missing")});
    expectUnavailableBoxOnly();
    EXPECT_TRUE(box.isVisible());
}

// Large fonts (a dense screen without scaling, or the user's choice) wrap the texts
// onto more lines; the box grows to hold them instead of cutting them off.
TEST(AboutLayout, EveryTextFitsWhateverTheFontSize) {
    const QFont normal = QApplication::font();
    const auto restore = qScopeGuard([&] { QApplication::setFont(normal); });
    for (const qreal factor : {1.0, 2.0, 3.0}) {
        QFont font = normal;
        font.setPointSizeF(normal.pointSizeF() * factor);
        QApplication::setFont(font);
        frmAbout box;
        box.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&box));
        for (QLabel* text : {box.lblTitle, box.lblVersion, box.lblDescription, box.lblDisclaimer}) {
            const int needed = text->hasHeightForWidth() ? text->heightForWidth(text->width())
                                                         : text->sizeHint().height();
            EXPECT_GE(text->height(), needed) << text->objectName().toStdString() << " x" << factor;
            EXPECT_TRUE(box.rect().contains(text->geometry()))
                << text->objectName().toStdString() << " x" << factor;
        }
        for (QPushButton* button : {box.cmdOK, box.cmdSysInfo})
            EXPECT_GE(button->width(), button->sizeHint().width())
                << button->objectName().toStdString() << " x" << factor;
    }
}
