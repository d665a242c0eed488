#pragma once

#include "RecordWindowTestSupport.h"

#include "records/BoundTextBox.h"
#include "records/DataControl.h"
#include "records/frmVehicleInfo.h"

#include <QApplication>
#include <QGroupBox>
#include <QToolButton>

namespace records_test {

// The vehicle window opened from the Window menu, driven through its widgets.
class VehicleWindowTest : public RecordWindowTest {
protected:
    records::frmVehicleInfo& open() {
        if (!form)
            showFrame();
        item("mnuVehicleInformation")->trigger();
        window = qobject_cast<records::frmVehicleInfo*>(
            form->openChildWindow(shell::ChildWindow::VehicleInformation));
        EXPECT_NE(window, nullptr);
        return *window;
    }

    static void click(QAbstractButton* button) { QTest::mouseClick(button, Qt::LeftButton); }
    void navigate(const char* button) {
        click(window->Data1->findChild<QToolButton*>(QLatin1String(button)));
    }

    // Types one value into each box from the focused one on, moving with Tab.
    static void typeFromFocus(const QStringList& values) {
        for (const QString& value : values) {
            QWidget* box = QApplication::focusWidget();
            ASSERT_NE(box, nullptr);
            QTest::keyClicks(box, value);
            QTest::keyClick(box, Qt::Key_Tab);
        }
    }
    // Replaces a box's text as a user would: select all, type.
    static void retype(QLineEdit* box, const QString& text) {
        box->setFocus();
        box->selectAll();
        if (text.isEmpty())
            QTest::keyClick(box, Qt::Key_Delete);
        else
            QTest::keyClicks(box, text);
    }

    QString caption() const { return window->Data1->Caption(); }
    QStringList usable() const { return usableButtons(*window); }

    void expectBrowse() const {
        EXPECT_EQ(usable(), (QStringList{"cmdAdd", "cmdClose", "cmdDelete", "cmdEdit"}));
        EXPECT_FALSE(window->Frame1->isEnabled());
        EXPECT_TRUE(window->Data1->isEnabled());
    }
    void expectEditing() const {
        EXPECT_EQ(usable(), (QStringList{"cmdCancel", "cmdUpdate"}));
        EXPECT_TRUE(window->txtLookUp->isEnabled()) << "the fields accept input";
        EXPECT_FALSE(window->Data1->isEnabled());
    }
    // Only Add and Close; the fields locked.
    void expectEmpty(bool navigationEnabled) const {
        EXPECT_EQ(usable(), (QStringList{"cmdAdd", "cmdClose"}));
        EXPECT_TRUE(window->cmdEdit->isVisible());
        EXPECT_FALSE(window->txtLookUp->isEnabled());
        EXPECT_EQ(window->Data1->isEnabled(), navigationEnabled);
    }

    void expectErrorBox(int number, const QString& mentions) const {
        ASSERT_GE(boxes.count(), 1);
        const QString prefix = QStringLiteral("Error #%1\r\n").arg(number);
        EXPECT_TRUE(boxes.last().prompt.startsWith(prefix)) << boxes.last().prompt.toStdString();
        EXPECT_TRUE(boxes.last().prompt.contains(mentions)) << boxes.last().prompt.toStdString();
        EXPECT_EQ(boxes.last().style, 48);
        EXPECT_EQ(boxes.last().title, QStringLiteral("Error"));
    }
    void expectDeleteQuestion() const {
        ASSERT_GE(boxes.count(), 1);
        EXPECT_EQ(boxes.last().prompt,
                  QStringLiteral("Are you sure you want to delete the current record?"));
        EXPECT_EQ(boxes.last().style, 36);
        EXPECT_EQ(boxes.last().title, QStringLiteral("Delete Record?"));
    }

    QPointer<records::frmVehicleInfo> window;
};

} // namespace records_test
