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
