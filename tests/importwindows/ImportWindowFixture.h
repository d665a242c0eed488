#pragma once

#include "importwindows/ImportCommands.h"
#include "importwindows/PreviewModel.h"
#include "importwindows/frmImport.h"
#include "platform/FileDialog.h"
#include "records/GasWindowFixture.h"

#include <QApplication>
#include <QFile>
#include <QMenu>
#include <QPushButton>
#include <QTableView>
#include <QTableWidget>
#include <QTimer>

namespace importwindows_test {

using importwindows::PreviewModel;
using records_test::scalar;

// The main window on a file with one vehicle and one purchase, and File > Import.
class ImportWindowTest : public records_test::GasWindowTest {
protected:
    void SetUp() override {
        GasWindowTest::SetUp();
        addVehicles({QStringLiteral("Civic")});
        addPurchases(QStringLiteral("Civic"), {{"1/5/2024", "10", "1000", true, "30"}});
    }
    void TearDown() override {
        platform::FileDialog::setShower({});
        GasWindowTest::TearDown();
    }

    // A file beside the database, written as another program writes it.
    QString writeFile(const QString& name, const QByteArray& text) const {
        const QString file = dir.filePath(name);
        QFile out(file);
        EXPECT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(text);
        return file;
    }

    // A Fuelly export of Civic: a purchase stored already, a new one with a note, a
    // day that does not exist, a partial fill.
    QString fuellyFile() const {
        return writeFile(
            QStringLiteral("fuelly.csv"),
            "car_name,model,mpg,odometer,miles,gallons,price,city_percentage,fuelup_date,"
            "date_added,tags,notes,missed_fuelup,partial_fuelup,latitude,longitude,brand\r\n"
            "Civic,Civic,,1000,,10,3.00,0,01/05/2024 0:00,,,,0,0,,,\r\n"
            "Civic,Civic,30,1300,300,10.5,3.10,0,02/01/2024 0:00,,,\"fine, thanks\",0,0,,,Shell\r\n"
            "Civic,Civic,,1500,200,5,3.20,0,02/31/2024 0:00,,,,0,0,,,\r\n"
            "Civic,Civic,,1600,100,8,3.00,0,02/20/2024 0:00,,,,0,1,,,\r\n");
    }

    // Waits, running the events, until the window shows what it read.
    static void waitForPreview(importwindows::frmImport& window) {
        EXPECT_TRUE(QTest::qWaitFor([&window] { return !window.isReading(); }, 30000))
            << "the file was still being read";
    }

    static QStringList column(const importwindows::frmImport& window, int column,
                              int role = Qt::DisplayRole) {
        QStringList texts;
        const PreviewModel& model = *window.previewModel();
        for (int row = 0; row < model.rowCount(); ++row)
            texts << model.index(row, column).data(role).toString();
        return texts;
    }

    // File > Import as a user goes through it: the file chosen in the file dialog, then
    // `drive` run on the import window once it shows its preview.
    void importThroughTheMenu(const QString& file,
                              const std::function<void(importwindows::frmImport&)>& drive) {
        importwindows::registerImportCommands(*form);
        platform::FileDialog::setShower([file](const platform::FileDialog&) { return file; });
        bool driven = false;
        QTimer::singleShot(0, form.get(), [&] {
            auto* window =
                qobject_cast<importwindows::frmImport*>(QApplication::activeModalWidget());
            ASSERT_NE(window, nullptr) << "no import window";
            waitForPreview(*window);
            driven = true;
            drive(*window);
            if (window->isVisible())
                window->reject();
        });
        item("mnuFileImport")->trigger();
        EXPECT_TRUE(driven);
    }
};

} // namespace importwindows_test
