// File > Export: the vehicle and the format chosen, the file named, the file written.
#include "ImportWindowFixture.h"

#include "importwindows/frmExport.h"

#include <QComboBox>

namespace importwindows_test {

TEST_F(ImportWindowTest, ExportWritesTheChosenVehicleInTheChosenFormat) {
    addVehicles({QStringLiteral("Wagon")});
    addPurchases(QStringLiteral("Wagon"), {{"2/1/2024", "12", "5000", true, "40"}});
    showFrame();
    importwindows::frmExport window(path);
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Export"));
    QStringList vehicles;
    for (int i = 0; i < window.cboVehicle->count(); ++i)
        vehicles << window.cboVehicle->itemText(i);
    EXPECT_EQ(vehicles, (QStringList{"All Vehicles", "Civic", "Wagon"}));
    window.cboVehicle->setCurrentIndex(window.cboVehicle->findText(QStringLiteral("Wagon")));
    window.cboFormat->setCurrentIndex(window.cboFormat->findData(QStringLiteral("fuelly")));

    const QString out = dir.filePath(QStringLiteral("wagon.csv"));
    QString offered;
    platform::FileDialog::setShower([&](const platform::FileDialog& dialog) {
        offered = dialog.defaultFileName();
        return out;
    });
    click(window.cmdExport);
    EXPECT_EQ(offered, QStringLiteral("Wagon-fuelly.csv"));
    ASSERT_EQ(window.filesWritten(), QStringList{out});
    QFile written(out);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(written.readAll());
    EXPECT_TRUE(text.startsWith(QLatin1String("car_name,"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QLatin1String("Wagon"))) << text.toStdString();
    EXPECT_FALSE(text.contains(QLatin1String("Civic"))) << "one vehicle only";
    EXPECT_TRUE(
        boxes.last().prompt.contains(QLatin1String("Exported 1 fuel purchase and 0 work orders")))
        << boxes.last().prompt.toStdString();

    // A folder that cannot be written: the box says why and nothing is written.
    platform::FileDialog::setShower([this](const platform::FileDialog&) {
        return dir.filePath(QStringLiteral("no-such-folder/out.csv"));
    });
    importwindows::frmExport again(path);
    click(again.cmdExport);
    EXPECT_TRUE(again.filesWritten().isEmpty());
    EXPECT_TRUE(boxes.last().prompt.contains(QLatin1String("No file was written")))
        << boxes.last().prompt.toStdString();
}

} // namespace importwindows_test
