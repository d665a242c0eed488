#pragma once

#include "backup/BackupFolder.h"
#include "backup/Contents.h"

#include <QDialog>
#include <QList>
#include <functional>

class QPushButton;
class QTableWidget;

namespace backupwindows {

// One backup as the list shows it.
struct BackupRow {
    backup::BackupEntry entry;
    backup::Contents contents;
};

// The list of a file's backups, newest first, with the date, why it was taken, its
// size and how many vehicles, fuel purchases and work orders it holds; Restore takes
// the selected one.
class frmRestore : public QDialog {
    Q_OBJECT
public:
    frmRestore(const QString& databasePath, QList<BackupRow> rows, QWidget* owner);

    // Shows the list modally; the row chosen, or -1 after Cancel.
    int chooseBackup();

    QTableWidget* grid() const { return m_grid; }
    const QList<BackupRow>& rows() const { return m_rows; }

    // The seam for tests: instead of showing the dialog, the chooser gets it (filled
    // in, not shown) and returns the row chosen or -1. Empty: the real dialog.
    using Chooser = std::function<int(frmRestore& dialog)>;
    static void setChooser(Chooser chooser);

    // How the list writes a backup's date and time.
    static QString dateText(const QDateTime& taken);

private:
    QList<BackupRow> m_rows;
    QTableWidget* m_grid;
    QPushButton* m_restore;
};

} // namespace backupwindows
