#include "frmRestore.h"

#include "values/DateText.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace backupwindows {

namespace {

frmRestore::Chooser& chooser() {
    static frmRestore::Chooser instance;
    return instance;
}

QTableWidgetItem* cell(const QString& text, bool number = false) {
    auto* item = new QTableWidgetItem(text);
    item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
    if (number)
        item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return item;
}

// Why a backup was taken, as the list says it; a name it does not know, as it is.
QString reasonCaption(const QString& reason) {
    const struct {
        backup::Reason reason;
        const char* caption;
    } captions[] = {{backup::Reason::Daily, "First change of the day"},
                    {backup::Reason::BeforeDelete, "Before a vehicle delete"},
                    {backup::Reason::BeforeImport, "Before an import"},
                    {backup::Reason::BeforeRestore, "Before a restore"}};
    for (const auto& entry : captions)
        if (reason.startsWith(backup::reasonName(entry.reason)))
            return QLatin1String(entry.caption);
    return reason;
}

} // namespace

QString frmRestore::dateText(const QDateTime& taken) {
    return values::isoDateTimeText(taken);
}

frmRestore::frmRestore(const QString& databasePath, QList<BackupRow> rows, QWidget* owner)
    : QDialog(owner), m_rows(std::move(rows)), m_grid(new QTableWidget(this)),
      m_restore(new QPushButton(QStringLiteral("&Restore"), this)) {
    setObjectName(QStringLiteral("frmRestore"));
    setWindowTitle(QStringLiteral("Restore From Backup"));
    auto* label =
        new QLabel(QStringLiteral("&Backups of %1, newest first:").arg(databasePath), this);
    label->setObjectName(QStringLiteral("lblBackups"));
    label->setTextFormat(Qt::PlainText);
    label->setBuddy(m_grid);

    const QStringList headers{QStringLiteral("Taken"),          QStringLiteral("Why"),
                              QStringLiteral("Size"),           QStringLiteral("Vehicles"),
                              QStringLiteral("Fuel Purchases"), QStringLiteral("Work Orders")};
    m_grid->setObjectName(QStringLiteral("grdBackups"));
    m_grid->setAccessibleName(QStringLiteral("Backups"));
    m_grid->setColumnCount(int(headers.size()));
    m_grid->setHorizontalHeaderLabels(headers);
    m_grid->setRowCount(int(m_rows.size()));
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->verticalHeader()->hide();
    const QLocale locale;
    for (int row = 0; row < m_rows.size(); ++row) {
        const BackupRow& backup = m_rows[row];
        const auto count = [&](qint64 n) {
            return backup.contents.readable ? QString::number(n) : QStringLiteral("?");
        };
        m_grid->setItem(row, 0, cell(dateText(backup.entry.taken)));
        m_grid->setItem(row, 1, cell(reasonCaption(backup.entry.reason)));
        m_grid->setItem(row, 2, cell(locale.formattedDataSize(backup.entry.size), true));
        m_grid->setItem(row, 3, cell(count(backup.contents.vehicles), true));
        m_grid->setItem(row, 4, cell(count(backup.contents.fuelPurchases), true));
        m_grid->setItem(row, 5, cell(count(backup.contents.workOrders), true));
    }
    m_grid->resizeColumnsToContents();
    m_grid->horizontalHeader()->setStretchLastSection(true);
    if (!m_rows.isEmpty())
        m_grid->selectRow(0);

    auto* buttons = new QDialogButtonBox(this);
    m_restore->setObjectName(QStringLiteral("cmdRestore"));
    m_restore->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
    cancel->setObjectName(QStringLiteral("cmdCancel"));
    buttons->addButton(m_restore, QDialogButtonBox::AcceptRole);
    buttons->addButton(cancel, QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_grid, &QTableWidget::cellDoubleClicked, this, &QDialog::accept);
    connect(m_grid, &QTableWidget::itemSelectionChanged, this,
            [this] { m_restore->setEnabled(!m_grid->selectedItems().isEmpty()); });
    m_restore->setEnabled(!m_rows.isEmpty());

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(m_grid);
    layout->addWidget(buttons);
    resize(720, 360);
}

int frmRestore::chooseBackup() {
    if (chooser())
        return chooser()(*this);
    if (exec() != QDialog::Accepted)
        return -1;
    const QList<QTableWidgetItem*> selected = m_grid->selectedItems();
    return selected.isEmpty() ? -1 : selected.first()->row();
}

void frmRestore::setChooser(Chooser newChooser) {
    chooser() = std::move(newChooser);
}

} // namespace backupwindows
