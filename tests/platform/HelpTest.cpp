#include "platform/Help.h"
#include "platform/AppError.h"
#include "platform/HelpWindow.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>
#include <QUrl>
#include <QWidget>
#include <gtest/gtest.h>

using namespace platform;

namespace {

class HelpTest : public ::testing::Test {
protected:
    void SetUp() override {
        setHelpEngine({});
        manual = dir.filePath(QStringLiteral("manual.md"));
        QFile file(manual);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("# Guide\n\nWelcome.\n\n## Fuel\n\nRecord every tankful.\n\n"
                   "## Vehicles\n\nKeep the odometer current.\n");
    }

    HelpWindow* helpWindow() const {
        return owner.findChild<HelpWindow*>(QStringLiteral("helpWindow"));
    }

    QTemporaryDir dir;
    QString manual;
    QWidget owner;
};

QStringList indexEntries(const HelpWindow& window) {
    QStringList entries;
    for (int row = 0; row < window.index()->count(); ++row)
        if (!window.index()->item(row)->isHidden())
            entries << window.index()->item(row)->text().trimmed();
    return entries;
}

} // namespace

TEST_F(HelpTest, EmptyFileNameShowsNothing) {
    EXPECT_FALSE(WinHelp(&owner, QString(), HELP_CONTENTS));
    EXPECT_FALSE(WinHelp(&owner, QString(), HELP_PARTIALKEY));
    EXPECT_EQ(helpWindow(), nullptr);
}

TEST_F(HelpTest, MissingManualRaisesAnErrorNamingTheFile) {
    const QString missing = dir.filePath(QStringLiteral("gone/manual.md"));
    for (unsigned command : {HELP_CONTENTS, HELP_PARTIALKEY}) {
        try {
            WinHelp(&owner, missing, command);
            ADD_FAILURE() << "no error for a missing manual";
        } catch (const AppError& error) {
            EXPECT_EQ(error.number(), 53);
            EXPECT_TRUE(error.text().contains(missing)) << error.text().toStdString();
        }
    }
    EXPECT_EQ(helpWindow(), nullptr);
    // A folder is not a manual either.
    EXPECT_THROW(WinHelp(&owner, dir.path(), HELP_CONTENTS), AppError);
}

TEST_F(HelpTest, ContentsShowsTheManualWithAnIndexOfItsHeadings) {
    ASSERT_TRUE(WinHelp(&owner, manual, HELP_CONTENTS));
    HelpWindow* window = helpWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(window->isWindow());
    EXPECT_TRUE(window->browser()->toPlainText().contains(QStringLiteral("Record every tankful.")));
    EXPECT_EQ(indexEntries(*window), (QStringList{QStringLiteral("Guide"), QStringLiteral("Fuel"),
                                                  QStringLiteral("Vehicles")}));
    EXPECT_EQ(window->browser()->textCursor().position(), 0);

    // Picking an index entry moves to that heading.
    window->index()->setCurrentRow(2);
    EXPECT_TRUE(
        window->browser()->textCursor().block().text().contains(QStringLiteral("Vehicles")));
}

TEST_F(HelpTest, SearchReusesTheWindowAndFindsTextWrappingOnce) {
    WinHelp(&owner, manual, HELP_CONTENTS);
    ASSERT_TRUE(WinHelp(&owner, manual, HELP_PARTIALKEY, QStringLiteral("fuel")));
    EXPECT_EQ(owner.findChildren<HelpWindow*>().size(), 1);
    HelpWindow* window = helpWindow();
    EXPECT_EQ(window->searchField()->text(), QStringLiteral("fuel"));
    EXPECT_EQ(indexEntries(*window), QStringList{QStringLiteral("Fuel")});

    window->searchField()->setText(QStringLiteral("odometer"));
    EXPECT_TRUE(window->findNext());
    EXPECT_EQ(window->browser()->textCursor().selectedText(), QStringLiteral("odometer"));
    EXPECT_TRUE(window->findNext()) << "the second search wraps to the start";

    window->searchField()->setText(QStringLiteral("carburettor"));
    EXPECT_FALSE(window->findNext());
    EXPECT_TRUE(window->findChild<QLabel*>(QStringLiteral("helpStatus"))
                    ->text()
                    .contains(QStringLiteral("carburettor")));
}

TEST_F(HelpTest, InstalledEngineReceivesEveryCall) {
    struct Call {
        QWidget* owner;
        QString file;
        unsigned command;
        QString key;
    };
    QList<Call> calls;
    setHelpEngine([&](QWidget* o, const QString& f, unsigned c, const QString& k) {
        calls.append({o, f, c, k});
        return true;
    });
    WinHelp(&owner, QStringLiteral("x.md"), HELP_PARTIALKEY, QString());
    setHelpEngine({});
    ASSERT_EQ(calls.size(), 1);
    EXPECT_EQ(calls[0].owner, &owner);
    EXPECT_EQ(calls[0].command, 0x105u);
    EXPECT_EQ(helpWindow(), nullptr);
}

TEST(HelpManual, ShippedManualIsFoundAndHasHeadings) {
    const QString manual = locateManual();
    ASSERT_TRUE(QFile::exists(manual)) << manual.toStdString();
    QWidget owner;
    ASSERT_TRUE(WinHelp(&owner, manual, HELP_CONTENTS));
    auto* window = owner.findChild<HelpWindow*>(QStringLiteral("helpWindow"));
    ASSERT_NE(window, nullptr);
    EXPECT_GE(window->index()->count(), 5);
    EXPECT_TRUE(window->browser()->toPlainText().contains(QStringLiteral("File, Open")));
}

TEST(HelpManual, EveryPictureOfTheManualIsShown) {
    const QString manual = locateManual();
    QWidget owner;
    ASSERT_TRUE(WinHelp(&owner, manual, HELP_CONTENTS));
    QTextBrowser* browser = owner.findChild<HelpWindow*>()->browser();
    QStringList pictures;
    for (QTextBlock block = browser->document()->begin(); block.isValid(); block = block.next())
        for (auto it = block.begin(); !it.atEnd(); ++it)
            if (it.fragment().charFormat().isImageFormat())
                pictures.append(it.fragment().charFormat().toImageFormat().name());
    EXPECT_GE(pictures.size(), 8) << "the manual shows each window";
    for (const QString& picture : pictures) {
        EXPECT_FALSE(QFileInfo(picture).isAbsolute())
            << "found only on this machine: " << picture.toStdString();
        // The browser reads the file relative to the manual and hands back its bytes.
        const QVariant data = browser->loadResource(QTextDocument::ImageResource, QUrl(picture));
        const QImage image = data.canConvert<QImage>() && data.typeId() != QMetaType::QByteArray
                                 ? data.value<QImage>()
                                 : QImage::fromData(data.toByteArray());
        EXPECT_FALSE(image.isNull()) << "missing or unreadable picture " << picture.toStdString();
    }
}

TEST(HelpManual, AppHelpFileIsEmptyUntilSet) {
    EXPECT_TRUE(appHelpFile().isEmpty());
    setAppHelpFile(QStringLiteral("/m.md"));
    EXPECT_EQ(appHelpFile(), QStringLiteral("/m.md"));
    setAppHelpFile(QString());
}
