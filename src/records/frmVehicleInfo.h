#pragma once

#include "RecordWindow.h"

#include <QList>

class QGroupBox;
class QLabel;
class QPushButton;

namespace store {
class Recordset;
}

namespace records {

class BoundTextBox;
class DataControl;

// The list of vehicles, one row of table VehicleInfo at a time: browse, add, edit,
// save, cancel and delete. A vehicle's fuel purchases and work orders go with it
// when it is deleted, through the database's cascading relations.
class frmVehicleInfo : public RecordWindow {
    Q_OBJECT
public:
    explicit frmVehicleInfo(shell::MDIForm1& frame);

    // Entry boxes, all inside Frame1.
    BoundTextBox* txtLookUp;
    BoundTextBox* txtMake;
    BoundTextBox* txtModel;
    BoundTextBox* txtYear;
    BoundTextBox* txtSerialNum;
    // Update lies exactly beneath Add, Cancel exactly beneath Edit.
    QPushButton* cmdAdd;
    QPushButton* cmdEdit;
    QPushButton* cmdUpdate;
    QPushButton* cmdCancel;
    QPushButton* cmdDelete;
    QPushButton* cmdClose;
    QGroupBox* Frame1;
    DataControl* Data1;
    // Captions "Make", "Model", "Look Up", "Serial #", "Year", in that order.
    QList<QLabel*> Label1;

    void Form_Load() override;
    void Form_Activate() override;
    void cmdAdd_Click();
    void cmdEdit_Click();
    void cmdUpdate_Click();
    void cmdCancel_Click();
    void cmdDelete_Click();
    void cmdClose_Click();
    void Data1_Reposition();

private:
    void EnableAddClose();
    void SetEditMode(bool editing);
    // Empty: only Add and Close usable; else the last row, every control usable, the
    // fields locked.
    void showRowsFromLast();
    void showRemainingRows() override;
    void showRowsThatCameBack() override;

    void createControls();
    void layOutControls();
    void connectHandlers();
    store::Recordset& records() const;
    bool isEmpty() const;

    bool FirstActivate = false;
};

} // namespace records
