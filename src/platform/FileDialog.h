#pragma once

#include <QString>
#include <QWidget>
#include <functional>

namespace platform {

// The file dialog of File New and File Open: set the initial folder, title, filter
// and options, show it modally, then read back the chosen folder and file name
// (an empty file name after a cancel).
class FileDialog {
public:
    enum Option : unsigned {
        HideReadOnly = 0x1,    // no "open read-only" choice
        PathMustExist = 0x2,   // the folder typed must exist
        FileMustExist = 0x4,   // only an existing file can be chosen
        OverwritePrompt = 0x8, // ask before replacing an existing file
        CreatePrompt = 0x10,   // the dialog names a file that is about to be created
        NoChangeDir = 0x20,    // the working folder stays as it was
    };

    void setInitDir(const QString& folder) { m_initDir = folder; }
    void setDialogTitle(const QString& title) { m_title = title; }
    // A filter text "Description: pattern", e.g. "Database Files: *.mdb".
    // The dialog shows it as "Database Files (*.mdb)" (see nameFilterOf).
    void addFilter(const QString& filterText) { m_filters.append(filterText); }
    void setOption(Option option) { m_options |= option; }
    // The name the dialog offers before the user types one.
    void setDefaultFileName(const QString& name) { m_defaultName = name; }

    QString initDir() const { return m_initDir; }
    QString dialogTitle() const { return m_title; }
    QStringList filters() const { return m_filters; }
    bool hasOption(Option option) const { return (m_options & option) != 0; }
    QString defaultFileName() const { return m_defaultName; }

    // Shows the dialog modally over owner; returns when the user confirms or cancels.
    void show(QWidget* owner);

    QString folder() const { return m_folder; }
    QString fileName() const { return m_fileName; }

    // How the dialog lists a filter text: its description once, the pattern after it in
    // brackets ("Database Files *.mdb: *.mdb" and "Database Files: *.mdb" both become
    // "Database Files (*.mdb)").
    static QString nameFilterOf(const QString& filterText);

    // The seam for tests: instead of a real dialog, the shower gets the configured
    // dialog and returns the chosen full path, or empty text for a cancel.
    using Shower = std::function<QString(const FileDialog& dialog)>;
    static void setShower(Shower shower);

private:
    QString m_initDir;
    QString m_title;
    QStringList m_filters;
    unsigned m_options = 0;
    QString m_defaultName;
    QString m_folder;
    QString m_fileName;
};

} // namespace platform
