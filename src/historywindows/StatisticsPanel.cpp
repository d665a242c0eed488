#include "StatisticsPanel.h"

#include "history/StatisticsText.h"

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

StatisticsPanel::StatisticsPanel(QWidget* parent)
    : QWidget(parent), dbgStatistics(new QTableView), pages(new QStackedWidget(this)),
      m_table(new QStandardItemModel(this)) {
    auto* figures = new QWidget;
    figures->setObjectName(QStringLiteral("fraFigures"));
    auto* grid = new QGridLayout(figures);
    grid->setHorizontalSpacing(12);
    const QStringList names = history::statisticCaptions();
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
    const QStringList values = history::statisticTexts(figures);
    for (int i = 0; i < lblFigure.size(); ++i)
        lblFigure[i]->setText(values[i]);
    pages->setCurrentIndex(0);
}

void StatisticsPanel::showAllVehicles(const std::vector<history::VehicleStatistics>& rows,
                                      const history::Statistics& total,
                                      const QHash<qint64, QString>& names) {
    m_table->clear();
    QStringList header{QStringLiteral("Vehicle")};
    header += history::statisticCaptions();
    m_table->setHorizontalHeaderLabels(header);
    const auto addRow = [this](const QString& name, const history::Statistics& figures) {
        QList<QStandardItem*> items{new QStandardItem(name)};
        for (const QString& text : history::statisticTexts(figures)) {
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
