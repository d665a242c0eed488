// File > Import on a real file: the preview of every row before anything is written,
// the choices that change it, and the writing with the record windows following.
#include "ImportWindowFixture.h"

#include "shell/AppState.h"

#include <QComboBox>
#include <QFileInfo>
#include <QLabel>
#include <QRegularExpression>

namespace importwindows_test {

TEST_F(ImportWindowTest, PreviewTellsEveryRowsStatusAndWritesNothing) {
    showFrame();
    importwindows::frmImport window(fuellyFile(), path);
    waitForPreview(window);
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Import"));
    EXPECT_EQ(window.cboFormat->currentData().toString(), QStringLiteral("fuelly"))
        << "found from the content";
    EXPECT_EQ(column(window, PreviewModel::Line), (QStringList{"2", "3", "4", "5"}));
    EXPECT_EQ(column(window, PreviewModel::Status),
              (QStringList{"Duplicate", "New", "Refused", "New"}));
    EXPECT_EQ(column(window, PreviewModel::Take, Qt::AccessibleTextRole),
              (QStringList{"Skip", "Import", "Skip", "Import"}));
    const QStringList remarks = column(window, PreviewModel::Remarks);
    EXPECT_TRUE(remarks[2].contains(QLatin1String("02/31/2024"))) << remarks[2].toStdString();
    EXPECT_TRUE(column(window, PreviewModel::Becomes)[3].contains(QLatin1String("partial")))
        << column(window, PreviewModel::Becomes)[3].toStdString();
    // The file's vehicle goes to the stored one of that Look Up.
    ASSERT_EQ(window.dbgVehicles->rowCount(), 1);
    EXPECT_EQ(qobject_cast<QComboBox*>(window.dbgVehicles->cellWidget(0, 1))->currentText(),
              QStringLiteral("Civic"));
    EXPECT_TRUE(window.lblSummary->text().contains(QLatin1String("2 rows will be imported")))
        << window.lblSummary->text().toStdString();
    EXPECT_TRUE(window.cmdImport->isEnabled());
    EXPECT_EQ(count("Fuel"), 1) << "a preview writes nothing";

    // A duplicate taken in by hand counts; a refused row cannot be ticked.
    PreviewModel& model = *window.previewModel();
    EXPECT_TRUE(model.setData(model.index(0, PreviewModel::Take), Qt::Checked, Qt::CheckStateRole));
    EXPECT_FALSE(model.flags(model.index(2, PreviewModel::Take)) & Qt::ItemIsUserCheckable);
    EXPECT_TRUE(window.lblSummary->text().contains(QLatin1String("3 rows will be imported")));
}

TEST_F(ImportWindowTest, PreviewCountsTheRemindersThatComeWithTheTakenCosts) {
    showFrame();
    // A Fuelio backup: an oil change due again at 55,500 miles, a wash with no reminder.
    const QString backup = writeFile(
        QStringLiteral("rav4.csv"),
        "\"## Vehicle\"\n\"Name\",\"DistUnit\",\"FuelUnit\"\n\"Rav4\",\"1\",\"1\"\n"
        "\"## Log\"\n"
        "\"Data\",\"Odo (mi)\",\"Fuel (us gallons)\",\"Full\",\"Price (optional)\","
        "\"Missed\",\"VolumePrice\"\n"
        "\"2024-05-01 08:00\",\"55820\",\"11\",\"1\",\"40.00\",\"0\",\"3.6\"\n"
        "\"## Costs\"\n"
        "\"CostTitle\",\"Date\",\"Odo\",\"CostTypeID\",\"Notes\",\"Cost\",\"RemindOdo\","
        "\"RemindDate\",\"isTemplate\",\"RepeatOdo\",\"RepeatMonths\",\"isIncome\"\n"
        "\"Change Oil\",\"2024-01-10\",\"50000\",\"0\",\"\",\"45.00\",\"55500\",\"\",\"0\","
        "\"5000\",\"0\",\"0\"\n"
        "\"Wash\",\"2024-02-10\",\"51000\",\"0\",\"\",\"9.00\",\"0\",\"\",\"0\",\"0\","
        "\"0\",\"0\"\n");
    importwindows::frmImport window(backup, path);
    waitForPreview(window);
    ASSERT_EQ(window.cboFormat->currentData().toString(), QStringLiteral("fuelio"));
    EXPECT_TRUE(window.lblSummary->text().contains(
        QLatin1String("3 rows will be imported, with 1 reminder.")))
        << window.lblSummary->text().toStdString();

    // The oil change left out: its reminder stays out too.
    const QStringList becomes = column(window, PreviewModel::Becomes);
    const int oil = int(becomes.indexOf(QRegularExpression(QStringLiteral(".*Change Oil.*"))));
    ASSERT_GE(oil, 0) << becomes.join(u'|').toStdString();
    PreviewModel& model = *window.previewModel();
    EXPECT_TRUE(
        model.setData(model.index(oil, PreviewModel::Take), Qt::Unchecked, Qt::CheckStateRole));
    EXPECT_TRUE(window.lblSummary->text().contains(QLatin1String("2 rows will be imported.")))
        << window.lblSummary->text().toStdString();
}

TEST_F(ImportWindowTest, ImportWritesTheTakenRowsAfterACopyAndTheRecordWindowsFollow) {
    records::frmGas& gas = open();
    pick(QStringLiteral("Civic"));
    EXPECT_EQ(caption(), QStringLiteral("Record 1 of 1"));
    boxes.answerNext(platform::vbYes); // import the rows that are not refused
    importThroughTheMenu(fuellyFile(),
                         [this](importwindows::frmImport& window) { click(window.cmdImport); });
    ASSERT_GE(boxes.count(), 2);
    EXPECT_TRUE(boxes.boxes()[0].prompt.contains(QLatin1String("1 rows are refused")))
        << boxes.boxes()[0].prompt.toStdString();
    const QString done = boxes.last().prompt;
    EXPECT_TRUE(done.contains(QLatin1String("Imported 2 fuel purchases"))) << done.toStdString();
    const QString copy = done.section(QStringLiteral("as it was before: "), 1).trimmed();
    EXPECT_TRUE(QFileInfo::exists(copy)) << done.toStdString();
    EXPECT_EQ(scalar(copy, "SELECT count(*) FROM Fuel"), QStringLiteral("1"))
        << "the copy holds the file as it was";

    EXPECT_EQ(count("Fuel"), 3);
    EXPECT_EQ(scalar(path, "SELECT FuelCost / 10000.0 FROM Fuel WHERE FuelMiles = 1300"),
              QStringLiteral("32.55"))
        << "price per gallon times gallons";
    EXPECT_EQ(scalar(path, "SELECT FuelFull FROM Fuel WHERE FuelMiles = 1600"),
              QStringLiteral("0"));
    expectFileConsistent();

    // The fuel window, at the front again, shows the new rows.
    switchAwayAndBack();
    QTest::qWait(50);
    EXPECT_EQ(caption().section(QLatin1Char(' '), -1), QStringLiteral("3"))
        << caption().toStdString();
    EXPECT_FALSE(gas.holdsRowNotSaved());
}

TEST_F(ImportWindowTest, ALongVehicleNameIsCutOnlyWhenTheUserChoosesSo) {
    showFrame();
    const QString file =
        writeFile(QStringLiteral("long.csv"),
                  "car_name,model,mpg,odometer,miles,gallons,price,city_percentage,fuelup_date,"
                  "date_added,tags,notes,missed_fuelup,partial_fuelup,latitude,longitude,brand\n"
                  "Family Station Wagon,,,500,,9,3.00,0,03/01/2024 0:00,,,,0,0,,,\n");
    importwindows::frmImport window(file, path);
    waitForPreview(window);
    EXPECT_EQ(column(window, PreviewModel::Status), (QStringList{"Refused"}));
    EXPECT_TRUE(column(window, PreviewModel::Remarks)[0].contains(QLatin1String("10 characters")))
        << column(window, PreviewModel::Remarks)[0].toStdString();
    auto* choice = qobject_cast<QComboBox*>(window.dbgVehicles->cellWidget(0, 1));
    ASSERT_NE(choice, nullptr);
    const int cut = choice->findText(QStringLiteral("'Family Sta'"), Qt::MatchContains);
    ASSERT_GE(cut, 0);
    choice->setCurrentIndex(cut);
    waitForPreview(window);
    EXPECT_EQ(column(window, PreviewModel::Status), (QStringList{"New"}));
    EXPECT_EQ(column(window, PreviewModel::Vehicle), (QStringList{"Family Sta"}));

    // Or the stored vehicle.
    choice = qobject_cast<QComboBox*>(window.dbgVehicles->cellWidget(0, 1));
    choice->setCurrentIndex(choice->findText(QStringLiteral("Civic")));
    waitForPreview(window);
    EXPECT_EQ(column(window, PreviewModel::Vehicle), (QStringList{"Civic"}));
    EXPECT_EQ(count("VehicleInfo"), 1);
}

TEST_F(ImportWindowTest, ColumnsOfAnUnknownFileArePlacedByHand) {
    showFrame();
    const QString file =
        writeFile(QStringLiteral("own.csv"), "date,when read,litres,city\n"
                                             "2024-03-01,1000,40,Saint-Jean-sur-Richelieu Ouest\n"
                                             "2024-03-15,1300,38,Laval\n");
    importwindows::frmImport window(file, path);
    waitForPreview(window);
    EXPECT_EQ(window.cboFormat->currentData().toString(), QStringLiteral("generic"));
    ASSERT_TRUE(window.fraColumns->isVisible() || !window.fraColumns->isHidden());
    EXPECT_TRUE(window.lblSummary->text().contains(QLatin1String("Odometer")))
        << window.lblSummary->text().toStdString();
    EXPECT_FALSE(window.cmdImport->isEnabled());

    auto* reading = window.findChild<QComboBox*>(QStringLiteral("cboColumn1"));
    ASSERT_NE(reading, nullptr);
    reading->setCurrentIndex(reading->findData(int(exchange::GenericField::Odometer)));
    waitForPreview(window);
    EXPECT_EQ(column(window, PreviewModel::Status), (QStringList{"New", "New"}));
    // 40 L in US gallons; a City too long for its field is a warning, never a silent cut.
    EXPECT_TRUE(column(window, PreviewModel::Becomes)[0].contains(QLatin1String("10.567")))
        << column(window, PreviewModel::Becomes)[0].toStdString();
    EXPECT_TRUE(column(window, PreviewModel::Remarks)[0].contains(QLatin1String("20 characters")))
        << column(window, PreviewModel::Remarks)[0].toStdString();
}

TEST_F(ImportWindowTest, FileMenuOffersImportAndExportOnlyWithAFileInUse) {
    showFrame();
    importwindows::registerImportCommands(*form);
    const QStringList names = [this] {
        QStringList list;
        for (QAction* action : form->findChild<QMenu*>(QStringLiteral("mnuFile"))->actions())
            if (action->isVisible() && !action->isSeparator())
                list << action->objectName();
        return list;
    }();
    EXPECT_EQ(names.mid(0, 4),
              (QStringList{"mnuFileNew", "mnuFileOpen", "mnuFileImport", "mnuFileExport"}));
    EXPECT_TRUE(item("mnuFileImport")->isEnabled());
    EXPECT_EQ(item("mnuFileImport")->text(), QStringLiteral("&Import..."));
    // A cancelled file dialog: no window, nothing written.
    platform::FileDialog::setShower([](const platform::FileDialog&) { return QString(); });
    item("mnuFileImport")->trigger();
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_EQ(count("Fuel"), 1);
}

} // namespace importwindows_test
