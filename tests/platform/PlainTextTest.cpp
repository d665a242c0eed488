// File names and typed values that look like markup or like Qt's title placeholder are
// shown as written: in the real message box, in window titles, in the help window.
#include "platform/HelpWindow.h"
#include "platform/MsgBox.h"
#include "platform/WebLinks.h"
#include "platform/WindowTitle.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QTimer>
#include <QWindow>
#include <gtest/gtest.h>

using namespace platform;

namespace {

const QString kMarkupName = QStringLiteral("<a href=\"x-scheme:run\">cars</a> <b>[*]</b>.mdb");

struct ShownBox {
    bool found = false;
    Qt::TextFormat format = Qt::AutoText;
    QString text;
    QString shownTitle;
};

// Shows the real box (no test seam) and reads it while it is on the screen.
ShownBox showRealBox(const QString& prompt, const QString& title) {
    const MsgBoxResponder previous = setMsgBoxResponder({});
    ShownBox seen;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box)
            return;
        seen = {true, box->textFormat(), box->text(),
                box->windowHandle() ? box->windowHandle()->title() : QString()};
        box->button(QMessageBox::Ok)->click();
    });
    MsgBox(prompt, vbExclamation, title);
    setMsgBoxResponder(previous);
    return seen;
}

} // namespace

TEST(PlainText, RealMessageBoxShowsMarkupAndPlaceholdersAsWritten) {
    const QString prompt = QStringLiteral("Cannot open ") + kMarkupName;
    const ShownBox seen = showRealBox(prompt, kMarkupName);
    ASSERT_TRUE(seen.found) << "no message box was shown";
    EXPECT_EQ(seen.format, Qt::PlainText);
    EXPECT_EQ(seen.text, prompt);
    EXPECT_EQ(seen.shownTitle, kMarkupName);
}

TEST(PlainText, WindowTitleKeepsEveryPlaceholderItIsGiven) {
    for (const QString& text :
         {QStringLiteral("Drivolex - /data/[*]cars.mdb"), QStringLiteral("[*][*][*]"),
          QStringLiteral("a[*"), QStringLiteral("plain")}) {
        QWidget window;
        window.setWindowTitle(literalWindowTitle(text));
        window.show();
        ASSERT_NE(window.windowHandle(), nullptr);
        EXPECT_EQ(window.windowHandle()->title(), text);
    }
}

TEST(PlainText, OnlyHttpAndHttpsAreWebLinks) {
    struct Case {
        const char* url;
        bool web;
    } const cases[] = {
        {"https://example.org/manual", true},
        {"HTTP://example.org", true},
        {"file:///etc/passwd", false},
        {"mailto:a@example.org", false},
        {"x-scheme:run", false},
        {"javascript:alert(1)", false},
        {"http:relative", false},
        {"ftp://example.org", false},
    };
    QList<QUrl> opened;
    setWebLinkOpener([&](const QUrl& url) {
        opened << url;
        return true;
    });
    for (const Case& c : cases) {
        opened.clear();
        EXPECT_EQ(openWebLink(QUrl(QString::fromLatin1(c.url))), c.web) << c.url;
        EXPECT_EQ(opened.size(), c.web ? 1 : 0) << c.url;
    }
    setWebLinkOpener({});
}

// The manual's links: its own pages open inside the window, web pages in the browser,
// everything else nowhere.
class HelpLinksTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("manual")));
        manual = write(QStringLiteral("manual/index.md"),
                       "# Guide\n\n[Second](second.md) [Web](https://example.org/x) "
                       "[Mail](mailto:a@example.org) [Run](x-scheme:run) "
                       "[Outside](../outside.md) [Missing](gone.md)\n");
        write(QStringLiteral("manual/second.md"), "# Second page\n\nMore.\n");
        write(QStringLiteral("outside.md"), "# Not the manual\n");
        setWebLinkOpener([this](const QUrl& url) {
            opened << url;
            return true;
        });
        window = new HelpWindow(&owner);
        window->showContents(manual);
    }
    void TearDown() override { setWebLinkOpener({}); }

    QString write(const QString& name, const QByteArray& text) {
        QFile file(dir.filePath(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
        return file.fileName();
    }

    QTemporaryDir dir;
    QString manual;
    QWidget owner;
    HelpWindow* window = nullptr;
    QList<QUrl> opened;
};

TEST_F(HelpLinksTest, ManualPagesOpenInsideWebPagesInTheBrowserAndNothingElse) {
    EXPECT_FALSE(window->browser()->openLinks()) << "the browser would follow any link itself";
    EXPECT_FALSE(window->browser()->openExternalLinks());

    for (const char* ignored : {"mailto:a@example.org", "x-scheme:run", "../outside.md", "gone.md",
                                "file:///etc/passwd"}) {
        EXPECT_FALSE(window->followLink(QUrl(QString::fromLatin1(ignored)))) << ignored;
        EXPECT_EQ(window->fileName(), manual) << ignored;
    }
    EXPECT_TRUE(opened.isEmpty());

    EXPECT_TRUE(window->followLink(QUrl(QStringLiteral("https://example.org/x"))));
    EXPECT_EQ(opened, (QList<QUrl>{QUrl(QStringLiteral("https://example.org/x"))}));
    EXPECT_EQ(window->fileName(), manual);

    EXPECT_TRUE(window->followLink(QUrl(QStringLiteral("second.md"))));
    EXPECT_TRUE(window->browser()->toPlainText().contains(QLatin1String("Second page")));
    EXPECT_EQ(opened.size(), 1);
}

TEST_F(HelpLinksTest, SearchTextIsEchoedAsPlainText) {
    window->searchField()->setText(QStringLiteral("<b>nowhere</b>"));
    EXPECT_FALSE(window->findNext());
    auto* status = window->findChild<QLabel*>(QStringLiteral("helpStatus"));
    ASSERT_NE(status, nullptr);
    EXPECT_EQ(status->textFormat(), Qt::PlainText);
    EXPECT_TRUE(status->text().contains(QLatin1String("<b>nowhere</b>")));
}
