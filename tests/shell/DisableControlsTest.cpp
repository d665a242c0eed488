// Switching all of a window's controls off and on.
#include "platform/AppError.h"
#include "shell/modDrivolex.h"

#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <gtest/gtest.h>

using shell::modDrivolex::DisableControls;

namespace {

struct Window {
    QWidget form;
    QLabel* enabledLabel = new QLabel(QStringLiteral("Make:"), &form);
    QLabel* disabledLabel = new QLabel(QStringLiteral("Model:"), &form);
    QLineEdit* txtMake = new QLineEdit(&form);
    QPushButton* cmdUpdate = new QPushButton(QStringLiteral("&Update"), &form);
    QComboBox* cboVehicle = new QComboBox(&form);
    QTableView* dbgParts = new QTableView(&form);
    QFrame* Frame1 = new QFrame(&form);

    Window() {
        disabledLabel->setEnabled(false);
        cmdUpdate->setEnabled(false); // disabled at design
        cboVehicle->setEditable(true);
    }
    QList<QWidget*> Controls() const {
        return {enabledLabel, disabledLabel, txtMake, cmdUpdate, cboVehicle, dbgParts, Frame1};
    }
};

} // namespace

TEST(DisableControls, TrueDisablesEverythingButLabelsWhichKeepTheirState) {
    Window window;
    DisableControls(window.Controls(), true);
    EXPECT_TRUE(window.enabledLabel->isEnabled());
    EXPECT_FALSE(window.disabledLabel->isEnabled());
    for (QWidget* control :
         {static_cast<QWidget*>(window.txtMake), static_cast<QWidget*>(window.cmdUpdate),
          static_cast<QWidget*>(window.cboVehicle), static_cast<QWidget*>(window.dbgParts),
          static_cast<QWidget*>(window.Frame1)})
        EXPECT_FALSE(control->isEnabled()) << control->metaObject()->className();
    EXPECT_TRUE(window.form.isEnabled()) << "the window itself stays enabled";
}

TEST(DisableControls, FalseEnablesEveryControlLabelsAndDesignDisabledOnesIncluded) {
    Window window;
    DisableControls(window.Controls(), true);
    DisableControls(window.Controls(), false);
    for (QWidget* control : window.Controls())
        EXPECT_TRUE(control->isEnabled()) << control->metaObject()->className();
    // Inner parts that were never listed are left to their owners.
    EXPECT_TRUE(window.cboVehicle->lineEdit()->isEnabled());
}

TEST(DisableControls, ControlThatNoLongerExistsStopsTheWalkWithAnError) {
    Window window;
    QList<QWidget*> controls = window.Controls();
    controls.insert(3, nullptr);
    EXPECT_THROW(DisableControls(controls, true), platform::AppError);
    EXPECT_FALSE(window.txtMake->isEnabled()) << "controls before the gap were handled";
    EXPECT_TRUE(window.cboVehicle->isEnabled()) << "controls after the gap were not reached";
}
