#include "frmExport.h"

#include "exporting/Export.h"
#include "history/HistoryReader.h"
#include "platform/AppError.h"
#include "platform/ErrorReporting.h"
#include "platform/FileDialog.h"
#include "platform/MsgBox.h"
#include "store/Connection.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QFormLayout>
#include <QLabel>
#include <QLocale>
#include <QProgressDialog>
#include <QPushButton>
#include <QVBoxLayout>

namespace importwindows {

namespace {

constexpr qint64 kAllVehicles = 0;

QLabel* buddyLabel(const QString& caption, const char* name, QWidget* buddy) {
    auto* label = new QLabel(caption);
    label->setObjectName(QLatin1String(name));
    label->setBuddy(buddy);
    QString accessible = caption;
    buddy->setAccessibleName(accessible.remove(QLatin1Char('&')).remove(QLatin1Char(':')));
    return label;
}

} // namespace

frmExport::frmExport(const QString& databasePath, QWidget* parent)
    : QDialog(parent), m_databasePath(databasePath) {
    setObjectName(QStringLiteral("frmExport"));
    setWindowTitle(QStringLiteral("Export"));
    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    cboVehicle = new QComboBox;
    cboVehicle->setObjectName(QStringLiteral("cboVehicle"));
    cboVehicle->addItem(QStringLiteral("All Vehicles"), kAllVehicles);
    platform::runReported([this] {
        store::ConnectionHandle connection = store::openReadOnlyConnection(m_databasePath);
        for (const history::VehicleName& vehicle :
             history::HistoryReader(connection.get()).vehicles())
            cboVehicle->addItem(vehicle.lookUp, vehicle.vehicleId);
    });
    form->addRow(buddyLabel(QStringLiteral("&Vehicle:"), "lblVehicle", cboVehicle), cboVehicle);
    cboFormat = new QComboBox;
    cboFormat->setObjectName(QStringLiteral("cboFormat"));
    for (const exporting::ExportFormat& format : exporting::exportFormats())
        cboFormat->addItem(format.name, format.id);
    form->addRow(buddyLabel(QStringLiteral("&Format:"), "lblFormat", cboFormat), cboFormat);
    layout->addLayout(form);
    auto* buttons = new QDialogButtonBox;
    cmdExport = buttons->addButton(QStringLiteral("&Export..."), QDialogButtonBox::AcceptRole);
    cmdExport->setObjectName(QStringLiteral("cmdExport"));
    cmdCancel = buttons->addButton(QStringLiteral("Cancel"), QDialogButtonBox::RejectRole);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    layout->addWidget(buttons);
    connect(cmdExport, &QPushButton::clicked, this,
            platform::reported([this] { cmdExport_Click(); }));
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
    resize(420, sizeHint().height());
}

void frmExport::cmdExport_Click() {
    const QString formatId = cboFormat->currentData().toString();
    const qint64 vehicle = cboVehicle->currentData().toLongLong();
    platform::FileDialog dialog;
    dialog.setDialogTitle(QStringLiteral("Export"));
    dialog.setInitDir(QFileInfo(m_databasePath).absolutePath());
    dialog.addFilter(QStringLiteral("CSV Files: *.csv"));
    dialog.setOption(platform::FileDialog::OverwritePrompt);
    dialog.setOption(platform::FileDialog::PathMustExist);
    const QString stem = vehicle == kAllVehicles ? QFileInfo(m_databasePath).completeBaseName()
                                                 : cboVehicle->currentText();
    dialog.setDefaultFileName(QStringLiteral("%1-%2.csv").arg(stem, formatId));
    dialog.show(this);
    if (dialog.fileName().isEmpty())
        return;
    const QString outPath = QDir(dialog.folder()).filePath(dialog.fileName());

    QProgressDialog progress(QStringLiteral("Exporting..."), QStringLiteral("Cancel"), 0, 100,
                             this);
    progress.setObjectName(QStringLiteral("prgExport"));
    progress.setWindowTitle(QStringLiteral("Export"));
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(500);
    progress.setAutoClose(false);
    progress.setAutoReset(false);
    exporting::ExportResult result;
    try {
        store::ConnectionHandle connection = store::openReadOnlyConnection(m_databasePath);
        result = exporting::exportDatabase(
            connection.get(), formatId,
            vehicle == kAllVehicles ? std::nullopt : std::optional<qint64>(vehicle), outPath,
            [&progress](qint64 done, qint64 total) {
                progress.setValue(total > 0 ? int(done * 100 / total) : 0);
                return !progress.wasCanceled();
            });
    } catch (const platform::AppError& error) {
        progress.close();
        platform::MsgBox(error.text() + QStringLiteral("\n\nNo file was written."),
                         platform::vbExclamation, QStringLiteral("Export"));
        return;
    }
    progress.close();
    if (result.cancelled) {
        platform::MsgBox(QStringLiteral("The export was cancelled. No file was written."),
                         platform::vbInformation, QStringLiteral("Export"));
        return;
    }
    QStringList shown;
    for (const QString& file : result.files)
        shown << QDir::toNativeSeparators(file);
    const QLocale english(QLocale::English, QLocale::UnitedStates);
    const auto counted = [&english](qint64 count, const char* one, const char* many) {
        return english.toString(count) + QLatin1Char(' ') + QLatin1String(count == 1 ? one : many);
    };
    platform::MsgBox(QStringLiteral("Exported %1 and %2 to %3.")
                         .arg(counted(result.fuelRows, "fuel purchase", "fuel purchases"),
                              counted(result.workOrders, "work order", "work orders"),
                              shown.join(QLatin1String(", "))),
                     platform::vbInformation, QStringLiteral("Export"));
    m_files = result.files;
    accept();
}

} // namespace importwindows
