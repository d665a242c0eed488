#pragma once

#include <QDialog>
#include <optional>

class QComboBox;
class QPushButton;

namespace importwindows {

// File > Export: one vehicle or all, in one of the export formats, to a file the user
// names next. The writing shows a progress bar with Cancel once it takes a while.
class frmExport : public QDialog {
    Q_OBJECT
public:
    explicit frmExport(const QString& databasePath, QWidget* parent = nullptr);

    QComboBox* cboVehicle;
    QComboBox* cboFormat;
    QPushButton* cmdExport;
    QPushButton* cmdCancel;

    // The files written, once written (the dialog is then accepted).
    const QStringList& filesWritten() const { return m_files; }

private:
    void cmdExport_Click();

    QString m_databasePath;
    QStringList m_files;
};

} // namespace importwindows
