#include "StatisticsText.h"

#include "HistoryText.h"

namespace history {

QStringList statisticCaptions() {
    return {QStringLiteral("Average MPG"),
            QStringLiteral("Best MPG"),
            QStringLiteral("Worst MPG"),
            QStringLiteral("Last MPG"),
            QStringLiteral("Fill-Ups"),
            QStringLiteral("Gallons"),
            QStringLiteral("Fuel Cost"),
            QStringLiteral("Average Price/Gal"),
            QStringLiteral("Miles Driven"),
            QStringLiteral("Miles per Month"),
            QStringLiteral("Fuel Cost per Mile"),
            QStringLiteral("Parts Cost"),
            QStringLiteral("Parts Cost per Mile"),
            QStringLiteral("Total Cost per Mile"),
            QStringLiteral("Work Orders")};
}

QStringList statisticTexts(const Statistics& f) {
    return {mpgText(f.averageMpg),
            mpgText(f.bestMpg),
            mpgText(f.worstMpg),
            mpgText(f.lastMpg),
            countText(f.fillUps),
            gallonsText(f.gallons),
            scaledMoneyText(f.fuelCostScaled),
            perUnitMoneyText(f.averagePricePerGallon),
            milesText(f.milesDriven),
            milesText(f.milesPerMonth),
            perUnitMoneyText(f.fuelCostPerMile),
            centsText(f.partsCostCents),
            perUnitMoneyText(f.partsCostPerMile),
            perUnitMoneyText(f.totalCostPerMile),
            countText(f.workOrders)};
}

} // namespace history
