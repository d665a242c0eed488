// A vehicle's life in the program: bought (added), fuelled, serviced, its records
// corrected and trimmed, and finally sold (deleted) with everything recorded about it,
// while a second vehicle's records stay untouched. Only menus, buttons and keys go in;
// what the windows show and what the file holds come out.
#include "RecordWindowsByHand.h"

using namespace e2e;

namespace {

struct Purchase {
    QString date;
    QString gallons;
    QString miles;
    bool full;
    QString cost;
    QString city;
    QString state;
};

struct Part {
    QString quantity;
    QString number;
    QString description;
    QString cost;
    QString shownCost;
    QString shownTotal;
};

struct Order {
    QString date;
    QString miles;
    QList<const char*> ticks; // service check boxes
    QStringList services;
    QList<Part> parts;
    QString notes;
};

class VehicleLife : public RecordWindowsByHand {
protected:
    // Every box the program showed, for a failure message.
    std::string shownBoxes() const {
        QStringList prompts;
        for (const auto& box : boxes.boxes())
            prompts << box.title + QStringLiteral(": ") + box.prompt;
        return prompts.join(QStringLiteral(" | ")).toStdString();
    }

    QComboBox* vehicleList(QWidget* window) {
        return qobject_cast<QComboBox*>(labelled(window, QStringLiteral("Vehicle")));
    }

    QString vehicleId(const QString& lookup) const {
        return value(QStringLiteral("SELECT VehicleID FROM VehicleInfo WHERE VehicleLookup = '%1'")
                         .arg(lookup));
    }

    static void recordPurchase(QWidget* gas, const Purchase& p) {
        press(gas, "cmdAdd");
        typeInto(gas, QStringLiteral("Date"), p.date);
        if (p.full)
            click(gas, "Check1");
        typeInto(gas, QStringLiteral("Gals"), p.gallons);
        typeInto(gas, QStringLiteral("Cost"), p.cost);
        typeInto(gas, QStringLiteral("Miles"), p.miles);
        typeInto(gas, QStringLiteral("City"), p.city);
        typeInto(gas, QStringLiteral("State"), p.state);
        press(gas, "cmdUpdate");
    }

    // The MPG on every row, first to last, as the user steps through them.
    static QStringList mpgOfEveryRow(QWidget* gas, int rowCount) {
        QStringList figures;
        navigate(gas, "btnFirst");
        for (int row = 0; row < rowCount; ++row) {
            figures << shown(labelled(gas, QStringLiteral("MPG")));
            navigate(gas, "btnNext");
        }
        return figures;
    }

    // New Order, its date and miles, Update; then its details on the tabs.
    static void recordOrder(QWidget* orders, const Order& order) {
        press(orders, "cmdAdd");
        typeInto(orders, QStringLiteral("Date"), order.date);
        typeInto(orders, QStringLiteral("Miles"), order.miles);
        press(orders, "cmdUpdate");

        chooseTab(orders, QStringLiteral("&Services"));
        // A new order has no service ticked; each tick is a service row of the order.
        for (const char* box : {"Check1", "Check2", "Check3", "Check4"})
            EXPECT_FALSE(ticked(orders, box)) << box;
        for (const char* box : order.ticks) {
            click(orders, box);
            EXPECT_TRUE(ticked(orders, box)) << box;
        }

        // The services typed follow the rows of the ticks.
        chooseTab(orders, QStringLiteral("&WorkDone"));
        QTableView* services = grid(orders, "dbgService");
        for (int row = 0; row < order.services.size(); ++row) {
            ASSERT_NO_FATAL_FAILURE(clickCell(services, int(order.ticks.size()) + row, 0));
            typeKeys(order.services[row]);
        }

        // Enter walks Qty, Part #, Description, Cost, then Qty of the next row.
        chooseTab(orders, QStringLiteral("&Parts Used"));
        QTableView* parts = grid(orders, "dbgParts");
        ASSERT_NO_FATAL_FAILURE(clickCell(parts, 0, 0));
        for (const Part& part : order.parts)
            for (const QString& text : {part.quantity, part.number, part.description, part.cost}) {
                typeKeys(text);
                pressKey(Qt::Key_Return);
            }
        for (int row = 0; row < order.parts.size(); ++row) {
            EXPECT_EQ(cell(parts, row, 3), order.parts[row].shownCost) << "row " << row;
            EXPECT_EQ(cell(parts, row, 4), order.parts[row].shownTotal) << "row " << row;
        }

        chooseTab(orders, QStringLiteral("No&tes"));
        typeKeys(order.notes);
        chooseTab(orders, QStringLiteral("&Services")); // leaving the box saves the note
    }

    // Date, order number, first service and notes of every order, first to last.
    static QStringList ordersAsShown(QWidget* orders, int count) {
        QStringList shownOrders;
        navigate(orders, "btnFirst");
        for (int i = 0; i < count; ++i) {
            shownOrders << QStringList{shown(labelled(orders, QStringLiteral("Date"))),
                                       shown(labelled(orders, QStringLiteral("Order #"))),
                                       cell(grid(orders, "dbgService"), 0, 0),
                                       shown(orders->findChild<QPlainTextEdit*>(
                                           QStringLiteral("txtNotes")))}
                               .join(QStringLiteral(" / "));
            navigate(orders, "btnNext");
        }
        return shownOrders;
    }

    // Everything the file holds about a vehicle, row by row.
    QStringList everythingOf(const QString& vehicle) const {
        const QString orders = QStringLiteral("(SELECT WorkOrderID FROM WorkOrder "
                                              "WHERE VehicleID = %1)")
                                   .arg(vehicle);
        QStringList all;
        all << query(QStringLiteral("SELECT * FROM VehicleInfo WHERE VehicleID = %1").arg(vehicle))
            << query(QStringLiteral("SELECT * FROM Fuel WHERE VehicleID = %1 ORDER BY FuelId")
                         .arg(vehicle))
            << query(QStringLiteral("SELECT * FROM WorkOrder WHERE VehicleID = %1 ORDER BY "
                                    "WorkOrderID")
                         .arg(vehicle))
            << query(QStringLiteral("SELECT * FROM WorkDone WHERE WorkOrderID IN %1 ORDER BY "
                                    "WorkDoneID")
                         .arg(orders))
            << query(QStringLiteral("SELECT * FROM PartsUsed WHERE WorkOrderId IN %1 ORDER BY "
                                    "PartID")
                         .arg(orders))
            << query(QStringLiteral("SELECT * FROM WorkOrderMemo WHERE WorkOrderID IN %1 ORDER "
                                    "BY WorkOrderID")
                         .arg(orders));
        return all;
    }
};

TEST_F(VehicleLife, FromPurchaseToSaleOfAVehicle) {
    ASSERT_NO_FATAL_FAILURE(startWithNewDatabase());

    // ---- Two vehicles.
    QWidget* vehicles =
        openWindow(QStringLiteral("Vehicle Information"), QStringLiteral("Vehicle Information"));
    ASSERT_NE(vehicles, nullptr);
    ASSERT_NO_FATAL_FAILURE(addVehicle(vehicles, QStringLiteral("Civic"), QStringLiteral("Honda"),
                                       QStringLiteral("Civic"), QStringLiteral("2015")));
    ASSERT_NO_FATAL_FAILURE(addVehicle(vehicles, QStringLiteral("Ranger"), QStringLiteral("Ford"),
                                       QStringLiteral("Ranger"), QStringLiteral("2009")));
    ASSERT_EQ(boxes.count(), 0) << shownBoxes();
    EXPECT_EQ(position(vehicles), QStringLiteral("Record 2 of 2"));
    EXPECT_EQ(rows(QStringLiteral("SELECT VehicleLookup || '/' || VehicleMake || '/' || "
                                  "VehicleModel || '/' || VehicleYear FROM VehicleInfo ORDER BY "
                                  "VehicleID")),
              QStringLiteral("Civic/Honda/Civic/2015;Ranger/Ford/Ranger/2009"));
    const QString civic = vehicleId(QStringLiteral("Civic"));
    const QString ranger = vehicleId(QStringLiteral("Ranger"));

    // ---- Fuel. The Civic's receipt of 2/23 turns up after the one of 3/1; its partial
    // fill still counts toward the 3/1 tank, as the list is in date order.
    QWidget* gas = openWindow(QStringLiteral("Gas Purchases"), QStringLiteral("Gas Purchases"));
    ASSERT_NE(gas, nullptr);
    pick(vehicleList(gas), QStringLiteral("Civic"));
    const QList<Purchase> civicFuel = {
        {"1/5/2024", "12", "10000", true, "40", "Dayton", "OH"},
        {"1/19/2024", "11.5", "10345", true, "38.5", "Dayton", "OH"},
        {"2/2/2024", "5", "10500", false, "17.25", "Xenia", "OH"},
        {"2/9/2024", "10", "10790", true, "33.9", "Dayton", "OH"},
        {"3/1/2024", "9.8", "11130", true, "34.3", "Troy", "OH"},
        {"2/23/2024", "4.2", "10900", false, "14.7", "Piqua", "OH"},
    };
    for (const Purchase& purchase : civicFuel)
        ASSERT_NO_FATAL_FAILURE(recordPurchase(gas, purchase));
    ASSERT_EQ(boxes.count(), 0) << shownBoxes();
    EXPECT_EQ(position(gas), QStringLiteral("Record 5 of 6")) << "on the saved row, 2/23";
    EXPECT_EQ(shown(labelled(gas, QStringLiteral("Date"))), QStringLiteral("2/23/2024"));
    EXPECT_EQ(shown(labelled(gas, QStringLiteral("Cost"))), QStringLiteral("$14.70"));
    EXPECT_EQ(mpgOfEveryRow(gas, 6), (QStringList{
                                         "",      // no earlier full tank
                                         "30.00", // (10345 - 10000) / 11.5
                                         "",      // partial fill
                                         "29.67", // (10790 - 10345) / (10 + 5)
                                         "",      // partial fill
                                         "24.29", // (11130 - 10790) / (9.8 + 4.2)
                                     }));
    EXPECT_EQ(
        rows(QStringLiteral("SELECT substr(FuelDate, 1, 10) || '/' || printf('%.2f', FuelGals) "
                            "|| '/' || FuelMiles || '/' || (coalesce(FuelFull, 0) <> 0) || '/' || "
                            "(FuelCost / 10000.0) || '/' || FuelCity || '/' || FuelState "
                            "FROM Fuel WHERE VehicleID = %1 ORDER BY FuelDate")
                 .arg(civic)),
        QStringLiteral("2024-01-05/12.00/10000/1/40.0/Dayton/OH;"
                       "2024-01-19/11.50/10345/1/38.5/Dayton/OH;"
                       "2024-02-02/5.00/10500/0/17.25/Xenia/OH;"
                       "2024-02-09/10.00/10790/1/33.9/Dayton/OH;"
                       "2024-02-23/4.20/10900/0/14.7/Piqua/OH;"
                       "2024-03-01/9.80/11130/1/34.3/Troy/OH"));

    pickAgain(vehicleList(gas), QStringLiteral("Ranger"));
    EXPECT_EQ(position(gas), QStringLiteral("Record 0 of 0"));
    ASSERT_NO_FATAL_FAILURE(
        recordPurchase(gas, {"1/3/2024", "15", "50000", true, "52", "Lima", "OH"}));
    ASSERT_NO_FATAL_FAILURE(
        recordPurchase(gas, {"1/20/2024", "14", "50280", true, "49", "Lima", "OH"}));
    EXPECT_EQ(position(gas), QStringLiteral("Record 2 of 2")) << "none of the Civic's rows";
    EXPECT_EQ(shown(labelled(gas, QStringLiteral("MPG"))), QStringLiteral("20.00"))
        << "(50280 - 50000) / 14";
    ASSERT_EQ(boxes.count(), 0) << shownBoxes();

    // ---- Service. The third order's date is typed wrong at first.
    QWidget* orders = openWindow(QStringLiteral("Service Records"), QStringLiteral("Work Order"));
    ASSERT_NE(orders, nullptr);
    pick(vehicleList(orders), QStringLiteral("Civic"));
    const QList<Order> civicOrders = {
        {"4/10/2024",
         "10950",
         {"Check1", "Check2"},
         {"Oil and filter change", "Rotate tyres"},
         {{"5", "OF-5W30", "Oil 5W-30 quart", "6.49", "$6.49", "$32.45"},
          {"1", "FLT-22", "Oil filter", "8.99", "$8.99", "$8.99"}},
         "Next change at 13950"},
        {"6/2/2024",
         "12100",
         {"Check1"},
         {"Front brake pads"},
         {{"2", "BP-118", "Brake pad set", "45.50", "$45.50", "$91.00"}},
         "Squeal on cold mornings"},
        {"9/5/2024",
         "11500",
         {"Check4"},
         {"Tune up"},
         {{"4", "SP-7", "Spark plug", "3.75", "$3.75", "$15.00"}},
         "Plugs gapped to 0.044"},
    };
    for (const Order& order : civicOrders)
        ASSERT_NO_FATAL_FAILURE(recordOrder(orders, order));
    ASSERT_EQ(boxes.count(), 0) << shownBoxes();
    const auto orderId = [&](const char* miles) {
        return value(QStringLiteral("SELECT WorkOrderID FROM WorkOrder WHERE Mileage = %1")
                         .arg(QLatin1String(miles)));
    };
    const QString oilChange = orderId("10950");
    const QString brakes = orderId("12100");
    const QString tuneUp = orderId("11500");
    const auto number = [](const QString& id) { return id.rightJustified(4, QLatin1Char('0')); };
    EXPECT_EQ(shown(labelled(orders, QStringLiteral("Order #"))), number(tuneUp));
    EXPECT_EQ(rows(QStringLiteral("SELECT WorkOrderID || ':' || WorkDescription FROM WorkDone "
                                  "ORDER BY WorkDoneID")),
              QStringLiteral("%1:Grease;%1:Change Oil;%1:Oil and filter change;%1:Rotate tyres;"
                             "%2:Grease;%2:Front brake pads;%3:Tune Up;%3:Tune up")
                  .arg(oilChange, brakes, tuneUp));
    EXPECT_EQ(rows(QStringLiteral("SELECT WorkOrderId || ':' || PartQty || '/' || PartNum || "
                                  "'/' || PartDescription || '/' || (PartCost / 10000.0) FROM "
                                  "PartsUsed ORDER BY PartID")),
              QStringLiteral("%1:5/OF-5W30/Oil 5W-30 quart/6.49;%1:1/FLT-22/Oil filter/8.99;"
                             "%2:2/BP-118/Brake pad set/45.5;%3:4/SP-7/Spark plug/3.75")
                  .arg(oilChange, brakes, tuneUp));
    EXPECT_EQ(rows(QStringLiteral("SELECT WorkOrderID || ':' || WorkOrderMemo FROM "
                                  "WorkOrderMemo ORDER BY WorkOrderID")),
              QStringLiteral("%1:Next change at 13950;%2:Squeal on cold mornings;"
                             "%3:Plugs gapped to 0.044")
                  .arg(oilChange, brakes, tuneUp));

    pickAgain(vehicleList(orders), QStringLiteral("Ranger"));
    ASSERT_NO_FATAL_FAILURE(
        recordOrder(orders, {"2/1/2024",
                             "50300",
                             {},
                             {"Wiper blades"},
                             {{"2", "WB-20", "Wiper blade", "12", "$12.00", "$24.00"}},
                             "Rear wiper next time"}));
    ASSERT_EQ(boxes.count(), 0) << shownBoxes();

    // ---- The wrong date corrected: the order moves between the other two.
    pickAgain(vehicleList(orders), QStringLiteral("Civic"));
    EXPECT_EQ(position(orders), QStringLiteral("Record 3 of 3"));
    ASSERT_EQ(shown(labelled(orders, QStringLiteral("Date"))), QStringLiteral("9/5/2024"));
    press(orders, "cmdEdit");
    typeInto(orders, QStringLiteral("Date"), QStringLiteral("5/9/2024"));
    press(orders, "cmdUpdate");
    ASSERT_EQ(boxes.count(), 0) << shownBoxes();
    EXPECT_EQ(position(orders), QStringLiteral("Record 2 of 3")) << "on the corrected order";
    EXPECT_EQ(shown(labelled(orders, QStringLiteral("Order #"))), number(tuneUp));
    EXPECT_EQ(
        ordersAsShown(orders, 3),
        (QStringList{"4/10/2024 / " + number(oilChange) + " / Grease / Next change at 13950",
                     "5/9/2024 / " + number(tuneUp) + " / Tune Up / Plugs gapped to 0.044",
                     "6/2/2024 / " + number(brakes) + " / Grease / Squeal on cold mornings"}));
    EXPECT_EQ(
        rows(QStringLiteral("SELECT WorkOrderID || ':' || substr(Date, 1, 10) FROM "
                            "WorkOrder WHERE VehicleID = %1 ORDER BY Date, Mileage")
                 .arg(civic)),
        QStringLiteral("%1:2024-04-10;%2:2024-05-09;%3:2024-06-02").arg(oilChange, tuneUp, brakes));

    // ---- The brake job deleted, with its services, parts and notes.
    navigate(orders, "btnLast");
    ASSERT_EQ(shown(labelled(orders, QStringLiteral("Order #"))), number(brakes));
    press(orders, "cmdDelete");
    ASSERT_EQ(boxes.count(), 1);
    EXPECT_EQ(boxes.last().prompt,
              QStringLiteral("Are you sure you want to delete the current record?\r\nDeleting "
                             "this record will also delete all other records that are related "
                             "to this record."));
    EXPECT_EQ(boxes.last().style, 4 + 32) << "Yes/No, question";
    EXPECT_EQ(boxes.last().title, QStringLiteral("Delete Record?"));
    EXPECT_EQ(position(orders), QStringLiteral("Record 2 of 2"));
    EXPECT_EQ(shown(labelled(orders, QStringLiteral("Order #"))), number(tuneUp));
    for (const char* table : {"WorkOrder", "WorkDone", "PartsUsed", "WorkOrderMemo"})
        EXPECT_EQ(value(QStringLiteral("SELECT count(*) FROM %1 WHERE WorkOrderID = %2")
                            .arg(QLatin1String(table), brakes)),
                  QStringLiteral("0"))
            << table;
    EXPECT_EQ(value(QStringLiteral("SELECT count(*) FROM WorkDone WHERE WorkOrderID IN (%1, %2)")
                        .arg(oilChange, tuneUp)),
              QStringLiteral("6"))
        << "the other orders keep their services";
    EXPECT_EQ(value(QStringLiteral("SELECT count(*) FROM PartsUsed WHERE WorkOrderID IN (%1, %2)")
                        .arg(oilChange, tuneUp)),
              QStringLiteral("3"));
    EXPECT_EQ(value(QStringLiteral("SELECT count(*) FROM WorkOrderMemo")), QStringLiteral("3"));
    boxes.clear();

    // ---- The Civic sold: one Yes removes everything recorded about it.
    const QStringList rangerBefore = everythingOf(ranger);
    ASSERT_EQ(rangerBefore.size(), 7) << "the vehicle, two tanks, one order, its three details";
    ASSERT_NO_FATAL_FAILURE(bringForward(QStringLiteral("Vehicle Information")));
    navigate(vehicles, "btnFirst");
    ASSERT_EQ(shown(labelled(vehicles, QStringLiteral("Look Up"))), QStringLiteral("Civic"));
    press(vehicles, "cmdDelete");
    ASSERT_EQ(boxes.count(), 1);
    EXPECT_EQ(boxes.last().prompt,
              QStringLiteral("Are you sure you want to delete the current record?"));
    EXPECT_EQ(boxes.last().style, 4 + 32);
    EXPECT_EQ(boxes.last().title, QStringLiteral("Delete Record?"));
    EXPECT_EQ(position(vehicles), QStringLiteral("Record 1 of 1"));
    EXPECT_EQ(shown(labelled(vehicles, QStringLiteral("Look Up"))), QStringLiteral("Ranger"));

    EXPECT_EQ(everythingOf(civic), QStringList{});
    for (const QString& order : {oilChange, tuneUp})
        for (const char* table : {"WorkDone", "PartsUsed", "WorkOrderMemo"})
            EXPECT_EQ(value(QStringLiteral("SELECT count(*) FROM %1 WHERE WorkOrderID = %2")
                                .arg(QLatin1String(table), order)),
                      QStringLiteral("0"))
                << table << " of order " << order.toStdString();
    EXPECT_EQ(everythingOf(ranger), rangerBefore);
    EXPECT_EQ(value(QStringLiteral(
                  "SELECT (SELECT count(*) FROM VehicleInfo) + (SELECT count(*) FROM Fuel) + "
                  "(SELECT count(*) FROM WorkOrder) + (SELECT count(*) FROM WorkDone) + "
                  "(SELECT count(*) FROM PartsUsed) + (SELECT count(*) FROM WorkOrderMemo)")),
              QString::number(rangerBefore.size()))
        << "rows of no vehicle are left";

    // The fuel window lists the remaining vehicle only.
    ASSERT_NO_FATAL_FAILURE(bringForward(QStringLiteral("Gas Purchases")));
    QComboBox* list = vehicleList(gas);
    ASSERT_EQ(list->count(), 1);
    EXPECT_EQ(list->itemText(0), QStringLiteral("Ranger"));
    EXPECT_EQ(boxes.count(), 1) << shownBoxes();
    expectFileSound();
}

} // namespace
