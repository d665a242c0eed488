// The vehicle window's design, what it shows when it opens, its activations and how
// it is opened and closed.
#include "VehicleWindowFixture.h"

#include "shell/Twips.h"

#include <QLabel>

using namespace records_test;

TEST_F(VehicleWindowTest, DesignHasTheControlsCaptionsBindingsAndSize) {
    records::frmVehicleInfo& w = open();
    QMdiSubWindow* sub = w.subWindow();
    EXPECT_EQ(sub->windowTitle(), QStringLiteral("Vehicle Information"));
    EXPECT_EQ(sub->size(), QSize(shell::twipsToPixels(5595, sub), shell::twipsToPixels(3840, sub)));

    const QList<QPair<QPushButton*, const char*>> buttons = {
        {w.cmdAdd, "&Add"},       {w.cmdEdit, "&Edit"},     {w.cmdUpdate, "&Update"},
        {w.cmdCancel, "Ca&ncel"}, {w.cmdDelete, "&Delete"}, {w.cmdClose, "&Close"}};
    for (const auto& [button, text] : buttons)
        EXPECT_EQ(button->text(), QLatin1String(text)) << button->objectName().toStdString();

    const QList<QPair<records::BoundTextBox*, const char*>> boxesAndFields = {
        {w.txtLookUp, "VehicleLookup"},
        {w.txtMake, "VehicleMake"},
        {w.txtModel, "VehicleModel"},
        {w.txtYear, "VehicleYear"},
        {w.txtSerialNum, "VehicleSerialNum"}};
    for (const auto& [box, field] : boxesAndFields) {
        EXPECT_EQ(box->dataField(), QLatin1String(field));
        EXPECT_EQ(box->parentWidget(), w.Frame1) << field;
    }

    QStringList labels;
    for (QLabel* label : w.Label1)
        labels << label->text() + QLatin1Char('>') + label->buddy()->objectName();
    EXPECT_EQ(labels, (QStringList{"Make>txtMake", "Model>txtModel", "Look Up>txtLookUp",
                                   "Serial #>txtSerialNum", "Year>txtYear"}));

    EXPECT_EQ(w.Data1->objectName(), QStringLiteral("Data1"));
    EXPECT_EQ(w.Data1->RecordSource(), QStringLiteral("VehicleInfo"));
    EXPECT_EQ(w.Data1->Connect(), QStringLiteral("Access"));
    EXPECT_EQ(w.Data1->DatabaseName(), path);
}

TEST_F(VehicleWindowTest, UpdateAndCancelLieBeneathAddAndEditInTheButtonColumn) {
    records::frmVehicleInfo& w = open();
    EXPECT_EQ(w.cmdUpdate->geometry(), w.cmdAdd->geometry());
    EXPECT_EQ(w.cmdCancel->geometry(), w.cmdEdit->geometry());
    const QPoint addCentre = w.cmdAdd->geometry().center();
    EXPECT_EQ(w.childAt(addCentre), w.cmdAdd) << "Add covers Update";
    EXPECT_EQ(w.childAt(w.cmdEdit->geometry().center()), w.cmdEdit) << "Edit covers Cancel";

    // Add, Edit, Delete, Close from top to bottom, right of the frame; Data1 below all.
    QPushButton* const column[] = {w.cmdAdd, w.cmdEdit, w.cmdDelete, w.cmdClose};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(column[i]->x(), w.cmdAdd->x());
        EXPECT_GT(column[i]->x(), w.Frame1->geometry().right());
        if (i > 0) {
            EXPECT_GT(column[i]->y(), column[i - 1]->geometry().bottom());
        }
    }
    EXPECT_GT(w.Data1->y(),
              std::max(w.Frame1->geometry().bottom(), w.cmdClose->geometry().bottom()));
    EXPECT_GE(w.Data1->width(), w.width() * 9 / 10);
    EXPECT_LE(w.Data1->geometry().bottom(), w.rect().bottom());
}

TEST_F(VehicleWindowTest, TabGoesThroughTheBoxesThenTheButtons) {
    records::frmVehicleInfo& w = open();
    const QStringList named = {"txtLookUp",    "txtMake",   "txtModel", "txtYear",
                               "txtSerialNum", "cmdAdd",    "cmdEdit",  "cmdUpdate",
                               "cmdCancel",    "cmdDelete", "cmdClose", "Frame1"};
    QStringList order;
    QWidget* next = w.txtLookUp;
    do {
        if (named.contains(next->objectName()) && !order.contains(next->objectName()))
            order << next->objectName();
        next = next->nextInFocusChain();
    } while (next != w.txtLookUp);
    EXPECT_EQ(order, named);
}

TEST_F(VehicleWindowTest, EmptyTableOffersOnlyAddAndClose) {
    open();
    expectEmpty(false);
    EXPECT_FALSE(window->Frame1->isEnabled());
    EXPECT_EQ(caption(), QStringLiteral("Record 0 of 0"));
    EXPECT_TRUE(window->txtLookUp->text().isEmpty());
    EXPECT_EQ(boxes.count(), 0);
}

TEST_F(VehicleWindowTest, TableWithRowsOpensOnTheLastRow) {
    addVehicles({"Alpha", "Bravo", "Charlie"});
    open();
    EXPECT_EQ(window->txtLookUp->text(), QStringLiteral("Charlie"));
    EXPECT_EQ(window->txtYear->text(), QStringLiteral("2003"));
    EXPECT_EQ(caption(), QStringLiteral("Record 3 of 3"));
    expectBrowse();
    expectCloseAllowed();
}

TEST_F(VehicleWindowTest, LaterActivationsKeepTheCurrentRow) {
    addVehicles({"Alpha", "Bravo", "Charlie"});
    open();
    navigate("btnFirst");
    navigate("btnNext");
    ASSERT_EQ(caption(), QStringLiteral("Record 2 of 3"));

    QMdiSubWindow* other = form->addChildWindow(new QLabel(QStringLiteral("other")));
    other->show();
    form->mdiArea()->setActiveSubWindow(other);
    item("mnuVehicleInformation")->trigger(); // brought to the front, not made again
    EXPECT_EQ(form->mdiArea()->activeSubWindow(), window->subWindow());
    EXPECT_EQ(form->mdiArea()->subWindowList().size(), 2);
    EXPECT_EQ(caption(), QStringLiteral("Record 2 of 3"));
    EXPECT_EQ(window->txtLookUp->text(), QStringLiteral("Bravo"));
}

TEST_F(VehicleWindowTest, NavigationShowsEachRowWithItsPosition) {
    addVehicles({"Alpha", "Bravo"});
    open();
    navigate("btnPrevious");
    EXPECT_EQ(window->txtLookUp->text(), QStringLiteral("Alpha"));
    EXPECT_EQ(caption(), QStringLiteral("Record 1 of 2"));
    navigate("btnPrevious"); // stays on the first row
    EXPECT_EQ(caption(), QStringLiteral("Record 1 of 2"));
    navigate("btnLast");
    EXPECT_EQ(window->txtLookUp->text(), QStringLiteral("Bravo"));
    EXPECT_EQ(boxes.count(), 0);
}

TEST_F(VehicleWindowTest, CloseButtonIsTheOnlyWayOut) {
    addVehicles({"Alpha"});
    open();
    EXPECT_FALSE(window->subWindow()->close());
    EXPECT_TRUE(window->isVisible());

    click(window->cmdClose);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(window.isNull());
    EXPECT_EQ(form->openChildWindow(shell::ChildWindow::VehicleInformation), nullptr);

    open(); // a new window, loaded again
    EXPECT_EQ(window->txtLookUp->text(), QStringLiteral("Alpha"));
    expectBrowse();
}

TEST_F(VehicleWindowTest, MissingDatabaseFileIsReportedAndNoWindowIsLeft) {
    path = dir.filePath(QStringLiteral("gone.mdb"));
    showFrame();
    item("mnuVehicleInformation")->trigger();
    ASSERT_EQ(boxes.count(), 1);
    EXPECT_TRUE(boxes.last().prompt.contains(QStringLiteral("gone.mdb")))
        << boxes.last().prompt.toStdString();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(form->mdiArea()->subWindowList().isEmpty());
    EXPECT_EQ(form->openChildWindow(shell::ChildWindow::VehicleInformation), nullptr);
}
