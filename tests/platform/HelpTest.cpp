#include "platform/Help.h"
#include "platform/AppError.h"
#include "platform/HelpWindow.h"
#include "platform/ManualIndex.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QRegularExpression>
#include <QScreen>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>
#include <QTextLayout>
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

TEST_F(HelpTest, SearchFindsEveryWordOfTheTextAndShowsWhereItStands) {
    ASSERT_TRUE(WinHelp(&owner, manual, HELP_PARTIALKEY, QStringLiteral("odometer")));
    HelpWindow* window = helpWindow();
    const auto* status = window->findChild<QLabel*>(QStringLiteral("helpStatus"));
    // A word of the body text finds its section, not only a word of a heading.
    EXPECT_EQ(indexEntries(*window), QStringList{QStringLiteral("Vehicles")});
    EXPECT_EQ(status->text(), QStringLiteral("Found in 1 section."));
    EXPECT_EQ(window->browser()->extraSelections().size(), 1) << "the word is marked";

    // Picking the section selects the word in it.
    window->index()->setCurrentRow(2);
    EXPECT_EQ(window->browser()->textCursor().selectedText(), QStringLiteral("odometer"));

    // Every word must stand in the section, in any order and letter case; a heading's
    // word and a body word count together.
    const struct {
        const char* query;
        QStringList sections;
    } searches[] = {
        {"TANKFUL record", {QStringLiteral("Fuel")}},
        {"vehicles current", {QStringLiteral("Vehicles")}},
        {"e", {QStringLiteral("Guide"), QStringLiteral("Fuel"), QStringLiteral("Vehicles")}},
        {"odometer tankful", {}},
        {"   ", {QStringLiteral("Guide"), QStringLiteral("Fuel"), QStringLiteral("Vehicles")}},
    };
    for (const auto& search : searches) {
        window->searchField()->setText(QString::fromUtf8(search.query));
        EXPECT_EQ(indexEntries(*window), search.sections) << search.query;
    }
    window->searchField()->setText(QStringLiteral("odometer tankful"));
    EXPECT_EQ(status->text(), QStringLiteral("\"odometer tankful\" is not in the manual."));
    // Find goes to each word in turn.
    window->browser()->moveCursor(QTextCursor::Start);
    ASSERT_TRUE(window->findNext());
    EXPECT_EQ(window->browser()->textCursor().selectedText(), QStringLiteral("tankful"));
    ASSERT_TRUE(window->findNext());
    EXPECT_EQ(window->browser()->textCursor().selectedText(), QStringLiteral("odometer"));
}

// Each section of the shipped manual is found by every word of its text.
TEST(HelpManual, EveryWordOfTheShippedManualFindsItsSection) {
    QWidget owner;
    ASSERT_TRUE(WinHelp(&owner, locateManual(), HELP_CONTENTS));
    const ManualIndex index(*owner.findChild<HelpWindow*>()->browser()->document());
    ASSERT_GE(index.sections().size(), 10);
    static const QRegularExpression word(QStringLiteral("\\w{4,}"));
    int words = 0;
    for (int i = 0; i < index.sections().size(); ++i)
        for (const auto& found : word.globalMatch(index.sections()[i].foldedText)) {
            ++words;
            ASSERT_TRUE(index.matching(found.captured().toUpper()).contains(i))
                << found.captured().toStdString() << " in "
                << index.sections()[i].heading.toStdString();
        }
    EXPECT_GT(words, 500);
}

TEST_F(HelpTest, OpensOverItsOwnerWithRoomForTextAndStaysWhereTheUserPutsIt) {
    const QRect room = owner.screen()->availableGeometry();
    owner.setGeometry(room.left() + 300, room.top() + 280, 360, 240);
    owner.show();
    ASSERT_TRUE(WinHelp(&owner, manual, HELP_CONTENTS));
    HelpWindow* window = helpWindow();
    const QRect placed = window->frameGeometry();
    EXPECT_TRUE(room.contains(placed)) << "all of it on the screen";
    const QPoint centre = owner.frameGeometry().center();
    EXPECT_EQ(placed.left(), qBound(room.left(), centre.x() - placed.width() / 2,
                                    room.right() - placed.width() + 1));
    EXPECT_EQ(placed.top(), qBound(room.top(), centre.y() - placed.height() / 2,
                                   room.bottom() - placed.height() + 1));
    const int characters = window->browser()->viewport()->width() /
                           window->browser()->fontMetrics().averageCharWidth();
    EXPECT_TRUE(characters >= 70 || placed.width() == room.width()) << characters;
    EXPECT_GE(placed.height(), room.height() / 2);
    EXPECT_GT(window->index()->width(),
              window->index()->fontMetrics().horizontalAdvance(QStringLiteral("Vehicles")));

    window->setGeometry(room.left() + 5, room.top() + 5, 300, 200);
    const QRect moved = window->geometry();
    WinHelp(&owner, manual, HELP_CONTENTS);
    EXPECT_EQ(window->geometry(), moved);
}

// The size at which each picture is laid out, in document order.
QList<QSizeF> laidOutPictures(QTextDocument& doc) {
    QList<QSizeF> sizes;
    QTextObjectInterface* pictures =
        doc.documentLayout()->handlerForObject(QTextFormat::ImageObject);
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
        doc.documentLayout()->blockBoundingRect(block); // lays the block out
        for (auto it = block.begin(); !it.atEnd(); ++it)
            if (it.fragment().charFormat().isImageFormat()) {
                const QSizeF size = pictures->intrinsicSize(&doc, it.fragment().position(),
                                                            it.fragment().charFormat());
                // The line holding only the picture is as wide as the picture it got.
                EXPECT_NEAR(block.layout()->lineAt(0).naturalTextWidth(), size.width(), 1);
                sizes.append(size);
            }
    }
    return sizes;
}

TEST_F(HelpTest, WidePicturesShrinkToANarrowPaneAndNeverGrowPastTheirSize) {
    QImage wide(800, 200, QImage::Format_RGB32);
    wide.fill(Qt::darkBlue);
    ASSERT_TRUE(wide.save(dir.filePath(QStringLiteral("wide.png"))));
    QImage small(120, 60, QImage::Format_RGB32);
    small.fill(Qt::darkRed);
    ASSERT_TRUE(small.save(dir.filePath(QStringLiteral("small.png"))));
    const QString pictures = dir.filePath(QStringLiteral("pictures.md"));
    QFile file(pictures);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("# Pictures\n\n![wide](wide.png)\n\n![small](small.png)\n\n"
               "- In a list:\n\n  ![indented](wide.png)\n");
    file.close();

    ASSERT_TRUE(WinHelp(&owner, pictures, HELP_CONTENTS));
    HelpWindow* window = helpWindow();
    QTextBrowser* browser = window->browser();
    QTextDocument& doc = *browser->document();
    window->resize(420, 500);
    const int pane = browser->viewport()->width();
    ASSERT_LT(pane, 800);

    QList<QSizeF> sizes = laidOutPictures(doc);
    ASSERT_EQ(sizes.size(), 3);
    EXPECT_LE(sizes[0].width(), pane - 2 * doc.documentMargin());
    EXPECT_GT(sizes[0].width(), pane / 2) << "fills the pane, not less";
    EXPECT_NEAR(sizes[0].height(), sizes[0].width() / 4, 1) << "aspect kept";
    EXPECT_EQ(sizes[1], QSizeF(120, 60)) << "a small picture keeps its size";
    EXPECT_LT(sizes[2].width(), sizes[0].width()) << "the list's indent leaves less room";
    EXPECT_LE(doc.size().width(), pane) << "nothing to scroll sideways";

    // A wide pane shows the pictures at their own size, and no larger.
    window->resize(1600, 700);
    ASSERT_GT(browser->viewport()->width(), 900);
    sizes = laidOutPictures(doc);
    EXPECT_EQ(sizes[0], QSizeF(800, 200));
    EXPECT_EQ(sizes[1], QSizeF(120, 60));
    EXPECT_EQ(sizes[2], QSizeF(800, 200));

    // Narrow again: they follow.
    window->resize(420, 500);
    sizes = laidOutPictures(doc);
    EXPECT_LE(sizes[0].width(), browser->viewport()->width() - 2 * doc.documentMargin());
    EXPECT_LE(doc.size().width(), browser->viewport()->width());
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
