#pragma once

#include "PreviewReading.h"
#include "importing/ImportPlan.h"

#include <QDialog>
#include <QFutureWatcher>
#include <optional>

class QComboBox;
class QGroupBox;
class QLabel;
class QProgressBar;
class QPushButton;
class QTableView;
class QTableWidget;

namespace importwindows {

class PreviewModel;

// File > Import: the chosen file read as its format, and a preview of every row it
// gives (what it becomes, new, duplicate or refused with its line) before anything is
// written. The format, the generic format's columns and each of the file's vehicles
// can be changed; the preview follows. Reading and planning run off this thread.
class frmImport : public QDialog {
    Q_OBJECT
public:
    frmImport(const QString& filePath, const QString& databasePath, QWidget* parent = nullptr);
    ~frmImport() override;

    QLabel* lblFileName;
    QComboBox* cboFormat;
    QGroupBox* fraColumns;
    QTableWidget* dbgColumns;
    QTableWidget* dbgVehicles;
    QTableView* dbgPreview;
    QLabel* lblSummary;
    QProgressBar* prgReading;
    QPushButton* cmdImport;
    QPushButton* cmdCancel;

    PreviewModel* previewModel() const { return m_model; }
    bool isReading() const { return m_reading; }
    // What the import wrote, once it has (the dialog is then accepted).
    const std::optional<importing::ImportResult>& result() const { return m_result; }

signals:
    // A read ended: its preview, or why there is none, is on show.
    void previewShown();

private:
    enum class Again { Everything, ColumnsChanged, TargetsChanged };
    void buildControls();
    void startReading(Again again);
    void readingDone();
    void showColumns(const exchange::GenericColumns& columns);
    std::optional<exchange::GenericColumns> chosenColumns() const;
    void showVehicles();
    std::vector<importing::VehicleTarget> chosenTargets() const;
    void showSummary();
    void cmdImport_Click();
    void writeImport();

    QString m_filePath;
    QString m_databasePath;
    PreviewModel* m_model;
    QFutureWatcher<PreviewResult> m_watcher;
    bool m_reading = false;
    std::optional<PreviewRequest> m_pending; // asked for while a read was running
    QString m_formatId;                      // the format of the rows on show
    std::shared_ptr<const exchange::ImportedFile> m_rowsRead;
    std::shared_ptr<importing::ImportPlan> m_plan;
    std::vector<std::pair<qint64, QString>> m_vehicles; // the database's, key and Look Up
    bool m_filling = false; // the controls are being filled, not changed by the user
    std::optional<importing::ImportResult> m_result;
};

} // namespace importwindows
