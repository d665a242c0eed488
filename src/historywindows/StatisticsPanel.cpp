#include "StatisticsPanel.h"

#include "history/HistoryText.h"

#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QStackedWidget>
#include <QStandardItemModel>
#include <QTableView>
#include <QVBoxLayout>

namespace historywindows {

namespace {

// Two columns of figures: fuel on the left, costs and miles on the right.
constexpr int kFiguresPerColumn = 8;

} // namespace

QStringList StatisticsPanel::captions() {
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

QStringList StatisticsPanel::texts(const history::Statistics& f) {
    using namespace history;
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

StatisticsPanel::StatisticsPanel(QWidget* parent)
    : QWidget(parent), dbgStatistics(new QTableView), pages(new QStackedWidget(this)),
      m_table(new QStandardItemModel(this)) {
    auto* figures = new QWidget;
    figures->setObjectName(QStringLiteral("fraFigures"));
    auto* grid = new QGridLayout(figures);
    grid->setHorizontalSpacing(12);
    const QStringList names = captions();
    for (int i = 0; i < names.size(); ++i) {
        auto* caption = new QLabel(names[i] + QLatin1Char(':'));
        caption->setObjectName(QStringLiteral("lblCaption%1").arg(i));
        auto* value = new QLabel;
        value->setObjectName(QStringLiteral("lblFigure%1").arg(i));
        value->setAccessibleName(names[i]);
        value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        value->setTextInteractionFlags(Qt::TextSelectableByMouse);
        value->setMinimumWidth(fontMetrics().horizontalAdvance(QStringLiteral("$1,234,567.89")));
        caption->setBuddy(value);
        const int row = i % kFiguresPerColumn;
        const int column = (i / kFiguresPerColumn) * 3;
        grid->addWidget(caption, row, column);
        grid->addWidget(value, row, column + 1);
        lblFigure.append(value);
    }
    grid->setColumnMinimumWidth(2, 36);
    grid->setColumnStretch(6, 1);
    grid->setRowStretch(kFiguresPerColumn, 1);

    dbgStatistics->setObjectName(QStringLiteral("dbgStatistics"));
    dbgStatistics->setAccessibleName(QStringLiteral("Statistics per vehicle"));
    dbgStatistics->setModel(m_table);
    dbgStatistics->setEditTriggers(QAbstractItemView::NoEditTriggers);
    dbgStatistics->setSelectionBehavior(QAbstractItemView::SelectRows);
    dbgStatistics->verticalHeader()->hide();

    pages->addWidget(figures);
    pages->addWidget(dbgStatistics);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(pages);
}

void StatisticsPanel::showVehicle(const history::Statistics& figures) {
    const QStringList values = texts(figures);
    for (int i = 0; i < lblFigure.size(); ++i)
        lblFigure[i]->setText(values[i]);
    pages->setCurrentIndex(0);
}

void StatisticsPanel::showAllVehicles(const std::vector<history::VehicleStatistics>& rows,
                                      const history::Statistics& total,
                                      const QHash<qint64, QString>& names) {
    m_table->clear();
    QStringList header{QStringLiteral("Vehicle")};
    header += captions();
    m_table->setHorizontalHeaderLabels(header);
    const auto addRow = [this](const QString& name, const history::Statistics& figures) {
        QList<QStandardItem*> items{new QStandardItem(name)};
        for (const QString& text : texts(figures)) {
            auto* item = new QStandardItem(text);
            item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            items.append(item);
        }
        m_table->appendRow(items);
    };
    for (const history::VehicleStatistics& row : rows)
        addRow(names.value(row.vehicleId), row.figures);
    addRow(QStringLiteral("Total"), total);
    QFont bold = dbgStatistics->font();
    bold.setBold(true);
    for (int column = 0; column < m_table->columnCount(); ++column)
        m_table->item(m_table->rowCount() - 1, column)->setFont(bold);
    dbgStatistics->resizeColumnsToContents();
    pages->setCurrentIndex(1);
}

} // namespace historywindows
