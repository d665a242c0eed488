#include "frmImport.h"

#include "ImportWriting.h"
#include "PreviewModel.h"
#include "platform/ErrorReporting.h"
#include "platform/MsgBox.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFormLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QProgressBar>
#include <QPushButton>
#include <QTableView>
#include <QTableWidget>
#include <QVBoxLayout>
#include <QtConcurrent/QtConcurrentRun>
#include <algorithm>

namespace importwindows {

namespace {

// The destinations a file vehicle's list offers besides the database's vehicles.
constexpr qint64 kNewVehicle = -1;
constexpr qint64 kNewVehicleCut = -2;
constexpr int kLookUpSize = 10;

QComboBox* comboIn(const QTableWidget* table, int row) {
    return qobject_cast<QComboBox*>(table->cellWidget(row, 1));
}

QString number(qsizetype value) {
    return QLocale(QLocale::English, QLocale::UnitedStates).toString(qint64(value));
}

} // namespace

frmImport::frmImport(const QString& filePath, const QString& databasePath, QWidget* parent)
    : QDialog(parent), m_filePath(filePath), m_databasePath(databasePath),
      m_model(new PreviewModel(this)) {
    setObjectName(QStringLiteral("frmImport"));
    setWindowTitle(QStringLiteral("Import"));
    buildControls();
    connect(&m_watcher, &QFutureWatcher<PreviewResult>::finished, this, &frmImport::readingDone);
    connect(m_model, &PreviewModel::takenChanged, this, &frmImport::showSummary);
    startReading(Again::Everything);
}

frmImport::~frmImport() {
    // A read still running ends on its own; nothing waits for its result.
    m_watcher.disconnect(this);
    m_watcher.waitForFinished();
}

void frmImport::buildControls() {
    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    lblFileName = new QLabel(QDir::toNativeSeparators(m_filePath));
    lblFileName->setObjectName(QStringLiteral("lblFileName"));
    lblFileName->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto* lblFile = new QLabel(QStringLiteral("File:"));
    lblFile->setObjectName(QStringLiteral("lblFile"));
    lblFile->setBuddy(lblFileName);
    lblFileName->setAccessibleName(QStringLiteral("File"));
    form->addRow(lblFile, lblFileName);

    cboFormat = new QComboBox;
    cboFormat->setObjectName(QStringLiteral("cboFormat"));
    for (const exchange::ImportFormat& format : exchange::importFormats())
        cboFormat->addItem(format.name, format.id);
    cboFormat->setCurrentIndex(-1);
    auto* lblFormat = new QLabel(QStringLiteral("&Format:"));
    lblFormat->setObjectName(QStringLiteral("lblFormat"));
    lblFormat->setBuddy(cboFormat);
    cboFormat->setAccessibleName(QStringLiteral("Format"));
    form->addRow(lblFormat, cboFormat);
    layout->addLayout(form);

    fraColumns = new QGroupBox(QStringLiteral("Columns"));
    fraColumns->setObjectName(QStringLiteral("fraColumns"));
    auto* columnsLayout = new QVBoxLayout(fraColumns);
    dbgColumns = new QTableWidget(0, 2);
    dbgColumns->setObjectName(QStringLiteral("dbgColumns"));
    dbgColumns->setAccessibleName(QStringLiteral("Columns"));
    dbgColumns->setHorizontalHeaderLabels(
        {QStringLiteral("Column of the file"), QStringLiteral("Read as")});
    dbgColumns->horizontalHeader()->setStretchLastSection(true);
    dbgColumns->verticalHeader()->hide();
    dbgColumns->setMaximumHeight(150);
    columnsLayout->addWidget(dbgColumns);
    fraColumns->hide();
    layout->addWidget(fraColumns);

    auto* lblVehicles = new QLabel(QStringLiteral("&Vehicles:"));
    lblVehicles->setObjectName(QStringLiteral("lblVehicles"));
    dbgVehicles = new QTableWidget(0, 2);
    dbgVehicles->setObjectName(QStringLiteral("dbgVehicles"));
    dbgVehicles->setAccessibleName(QStringLiteral("Vehicles"));
    dbgVehicles->setHorizontalHeaderLabels(
        {QStringLiteral("Vehicle in the file"), QStringLiteral("Goes to")});
    dbgVehicles->horizontalHeader()->setStretchLastSection(true);
    dbgVehicles->horizontalHeader()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    dbgVehicles->verticalHeader()->hide();
    dbgVehicles->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    lblVehicles->setBuddy(dbgVehicles);
    layout->addWidget(lblVehicles);
    layout->addWidget(dbgVehicles);

    auto* lblPreview = new QLabel(QStringLiteral("&Preview:"));
    lblPreview->setObjectName(QStringLiteral("lblPreview"));
    dbgPreview = new QTableView;
    dbgPreview->setObjectName(QStringLiteral("dbgPreview"));
    dbgPreview->setAccessibleName(QStringLiteral("Preview"));
    dbgPreview->setModel(m_model);
    dbgPreview->setSelectionBehavior(QAbstractItemView::SelectRows);
    dbgPreview->setWordWrap(false);
    // Rows of one height: a file of 100,000 rows lays out without measuring each.
    dbgPreview->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    dbgPreview->verticalHeader()->hide();
    dbgPreview->horizontalHeader()->setStretchLastSection(true);
    dbgPreview->setColumnWidth(PreviewModel::Take, 60);
    dbgPreview->setColumnWidth(PreviewModel::Line, 50);
    dbgPreview->setColumnWidth(PreviewModel::Status, 80);
    dbgPreview->setColumnWidth(PreviewModel::Vehicle, 90);
    dbgPreview->setColumnWidth(PreviewModel::Becomes, 400);
    lblPreview->setBuddy(dbgPreview);
    layout->addWidget(lblPreview);
    layout->addWidget(dbgPreview, 1);

    lblSummary = new QLabel;
    lblSummary->setObjectName(QStringLiteral("lblSummary"));
    lblSummary->setWordWrap(true);
    lblSummary->setAccessibleName(QStringLiteral("Summary"));
    layout->addWidget(lblSummary);
    prgReading = new QProgressBar;
    prgReading->setObjectName(QStringLiteral("prgReading"));
    prgReading->setAccessibleName(QStringLiteral("Reading"));
    prgReading->setRange(0, 0); // busy: a read cannot say how far it has come
    prgReading->setTextVisible(false);
    layout->addWidget(prgReading);

    auto* buttons = new QDialogButtonBox;
    cmdImport = buttons->addButton(QStringLiteral("&Import"), QDialogButtonBox::AcceptRole);
    cmdImport->setObjectName(QStringLiteral("cmdImport"));
    cmdImport->setEnabled(false);
    cmdCancel = buttons->addButton(QStringLiteral("Cancel"), QDialogButtonBox::RejectRole);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    layout->addWidget(buttons);
    connect(cmdImport, &QPushButton::clicked, this,
            platform::reported([this] { cmdImport_Click(); }));
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);

    connect(cboFormat, &QComboBox::currentIndexChanged, this, [this] {
        if (!m_filling)
            startReading(Again::Everything);
    });
    resize(1000, 640);
}

void frmImport::startReading(Again again) {
    PreviewRequest request;
    request.filePath = m_filePath;
    request.databasePath = m_databasePath;
    request.formatId = cboFormat->currentData().toString();
    if (again == Again::ColumnsChanged)
        request.columns = chosenColumns();
    if (again == Again::TargetsChanged) {
        request.formatId = m_formatId;
        request.rowsRead = m_rowsRead;
        request.targets = chosenTargets();
    }
    cmdImport->setEnabled(false);
    lblSummary->setText(QStringLiteral("Reading %1...").arg(QFileInfo(m_filePath).fileName()));
    prgReading->show();
    if (m_reading) {
        m_pending = std::move(request);
        return;
    }
    m_reading = true;
    m_watcher.setFuture(QtConcurrent::run([request] { return readPreview(request); }));
}

void frmImport::readingDone() {
    m_reading = false;
    if (m_pending) {
        PreviewRequest request = std::move(*m_pending);
        m_pending.reset();
        m_reading = true;
        m_watcher.setFuture(QtConcurrent::run([request] { return readPreview(request); }));
        return;
    }
    prgReading->hide();
    PreviewResult result = m_watcher.result();
    m_filling = true;
    cboFormat->setCurrentIndex(cboFormat->findData(result.formatId));
    m_filling = false;
    m_formatId = result.formatId;
    if (result.columns)
        showColumns(*result.columns);
    fraColumns->setVisible(bool(result.columns));
    m_rowsRead = result.rowsRead;
    m_plan = result.plan;
    m_model->setPlan(m_plan);
    if (!result.fileError.isEmpty()) {
        lblSummary->setText(result.fileError);
    } else if (result.failure) {
        lblSummary->setText(QStringLiteral("The database could not be read."));
        platform::runReported([&result] { std::rethrow_exception(result.failure); });
    } else {
        m_vehicles = result.vehicles;
        showVehicles();
        showSummary();
    }
    emit previewShown();
}

void frmImport::showColumns(const exchange::GenericColumns& columns) {
    m_filling = true;
    dbgColumns->setRowCount(int(columns.headers.size()));
    static const exchange::GenericField kFields[] = {
        exchange::GenericField::Ignore,       exchange::GenericField::Vehicle,
        exchange::GenericField::Date,         exchange::GenericField::Odometer,
        exchange::GenericField::TripDistance, exchange::GenericField::Volume,
        exchange::GenericField::TotalCost,    exchange::GenericField::UnitPrice,
        exchange::GenericField::Full,         exchange::GenericField::Partial,
        exchange::GenericField::Missed,       exchange::GenericField::City,
        exchange::GenericField::State,        exchange::GenericField::Station,
        exchange::GenericField::Note,         exchange::GenericField::Tags,
    };
    for (int row = 0; row < int(columns.headers.size()); ++row) {
        auto* header = new QTableWidgetItem(columns.headers[row]);
        header->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
        dbgColumns->setItem(row, 0, header);
        auto* choice = new QComboBox;
        choice->setObjectName(QStringLiteral("cboColumn%1").arg(row));
        choice->setAccessibleName(QStringLiteral("Read %1 as").arg(columns.headers[row]));
        for (exchange::GenericField field : kFields)
            choice->addItem(exchange::genericFieldName(field), int(field));
        choice->setCurrentIndex(choice->findData(int(columns.fields[size_t(row)])));
        connect(choice, &QComboBox::currentIndexChanged, this, [this] {
            if (!m_filling)
                startReading(Again::ColumnsChanged);
        });
        dbgColumns->setCellWidget(row, 1, choice);
    }
    m_filling = false;
}

std::optional<exchange::GenericColumns> frmImport::chosenColumns() const {
    if (!fraColumns->isVisible() && dbgColumns->rowCount() == 0)
        return std::nullopt;
    exchange::GenericColumns columns;
    for (int row = 0; row < dbgColumns->rowCount(); ++row) {
        columns.headers << dbgColumns->item(row, 0)->text();
        columns.fields.push_back(
            exchange::GenericField(comboIn(dbgColumns, row)->currentData().toInt()));
    }
    return columns;
}

void frmImport::showVehicles() {
    if (!m_plan)
        return;
    m_filling = true;
    dbgVehicles->setRowCount(int(m_plan->targets.size()));
    for (int row = 0; row < int(m_plan->targets.size()); ++row) {
        const importing::VehicleTarget& target = m_plan->targets[size_t(row)];
        auto* name = new QTableWidgetItem(target.sourceName);
        name->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
        dbgVehicles->setItem(row, 0, name);
        auto* choice = new QComboBox;
        choice->setObjectName(QStringLiteral("cboVehicle%1").arg(row));
        choice->setAccessibleName(QStringLiteral("%1 goes to").arg(target.sourceName));
        const QString newName = target.newLookup.isEmpty() ? target.sourceName : target.newLookup;
        choice->addItem(QStringLiteral("A new vehicle '%1'").arg(newName), kNewVehicle);
        if (newName.size() > kLookUpSize)
            choice->addItem(QStringLiteral("A new vehicle '%1' (the name cut to %2 characters)")
                                .arg(newName.left(kLookUpSize))
                                .arg(kLookUpSize),
                            kNewVehicleCut);
        for (const auto& [id, lookUp] : m_vehicles)
            choice->addItem(lookUp, id);
        const qint64 chosen = target.existingId   ? *target.existingId
                              : target.cutAllowed ? kNewVehicleCut
                                                  : kNewVehicle;
        choice->setCurrentIndex(std::max(0, choice->findData(chosen)));
        choice->setProperty("newLookup", newName);
        connect(choice, &QComboBox::currentIndexChanged, this, [this] {
            if (!m_filling)
                startReading(Again::TargetsChanged);
        });
        dbgVehicles->setCellWidget(row, 1, choice);
    }
    // As tall as its rows, up to four; the preview takes the rest.
    const int shown = std::clamp(dbgVehicles->rowCount(), 1, 4);
    dbgVehicles->setFixedHeight(dbgVehicles->horizontalHeader()->height() +
                                shown * dbgVehicles->verticalHeader()->defaultSectionSize() +
                                2 * dbgVehicles->frameWidth());
    m_filling = false;
}

std::vector<importing::VehicleTarget> frmImport::chosenTargets() const {
    std::vector<importing::VehicleTarget> targets;
    for (int row = 0; row < dbgVehicles->rowCount(); ++row) {
        const QComboBox* choice = comboIn(dbgVehicles, row);
        importing::VehicleTarget target;
        target.sourceName = dbgVehicles->item(row, 0)->text();
        const qint64 chosen = choice->currentData().toLongLong();
        if (chosen > 0) {
            target.existingId = chosen;
        } else {
            target.newLookup = choice->property("newLookup").toString();
            target.cutAllowed = chosen == kNewVehicleCut;
        }
        targets.push_back(target);
    }
    return targets;
}

void frmImport::showSummary() {
    if (!m_plan)
        return;
    int warned = 0;
    int duplicatesTaken = 0;
    for (const importing::PlannedRow& row : m_plan->rows) {
        warned += row.warnings.isEmpty() ? 0 : 1;
        duplicatesTaken += row.status == importing::RowStatus::Duplicate && row.take ? 1 : 0;
    }
    const int duplicates = m_plan->count(importing::RowStatus::Duplicate);
    const auto rows = [](qsizetype count) {
        return number(count) + QLatin1String(count == 1 ? " row" : " rows");
    };
    QString text =
        QStringLiteral("%1: %2 new, %3 (%4 taken in), %5 refused; %6 with "
                       "warnings. %7 will be imported%8.")
            .arg(rows(qsizetype(m_plan->rows.size())))
            .arg(number(m_plan->count(importing::RowStatus::New)))
            .arg(number(duplicates) + QLatin1String(duplicates == 1 ? " duplicate" : " duplicates"))
            .arg(number(duplicatesTaken))
            .arg(number(m_plan->count(importing::RowStatus::Refused)))
            .arg(number(warned))
            .arg(rows(m_plan->taken()));
    // The reminders a Fuelio backup keeps with its costs come with them.
    const int reminders = m_plan->remindersTaken();
    text = text.arg(reminders == 0
                        ? QString()
                        : QStringLiteral(", with %1 %2")
                              .arg(number(reminders),
                                   QLatin1String(reminders == 1 ? "reminder" : "reminders")));
    lblSummary->setText(text);
    cmdImport->setEnabled(m_plan->taken() > 0);
}

void frmImport::cmdImport_Click() {
    if (!m_plan || m_reading || m_plan->taken() == 0)
        return;
    const int refused = m_plan->count(importing::RowStatus::Refused);
    if (refused > 0 &&
        platform::MsgBox(QStringLiteral("%1 rows are refused and will not be imported (the "
                                        "preview gives each one's reason). Import the other "
                                        "%2 rows?")
                             .arg(number(refused), number(m_plan->taken())),
                         platform::vbYesNo | platform::vbQuestion,
                         QStringLiteral("Import")) != platform::vbYes)
        return;
    writeImport();
}

void frmImport::writeImport() {
    const std::optional<importing::ImportResult> result =
        writeWithProgress(this, m_databasePath, *m_plan);
    if (!result)
        return; // told already: cancelled or failed, the file as it was
    m_result = result;
    accept();
}

} // namespace importwindows
