#include "FileDialog.h"

#include <QFileDialog>
#include <QFileInfo>

namespace platform {

namespace {

FileDialog::Shower& shower() {
    static FileDialog::Shower instance;
    return instance;
}

QString defaultSuffixOf(const QString& filterText) {
    const int dot = filterText.lastIndexOf(QLatin1String("*."));
    return dot < 0 ? QString() : filterText.mid(dot + 2).trimmed();
}

QString runRealDialog(const FileDialog& config, QWidget* owner) {
    QFileDialog dialog(owner, config.dialogTitle(), config.initDir());
    QStringList filters;
    for (const QString& f : config.filters())
        filters << FileDialog::nameFilterOf(f);
    dialog.setNameFilters(filters);
    if (config.hasOption(FileDialog::FileMustExist)) {
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(QFileDialog::ExistingFile);
    } else {
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
        if (!config.filters().isEmpty())
            dialog.setDefaultSuffix(defaultSuffixOf(config.filters().first()));
    }
    dialog.setOption(QFileDialog::DontConfirmOverwrite,
                     !config.hasOption(FileDialog::OverwritePrompt));
    if (!config.defaultFileName().isEmpty())
        dialog.selectFile(config.defaultFileName());
    dialog.setWindowModality(Qt::ApplicationModal);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    return dialog.selectedFiles().first();
}

} // namespace

QString FileDialog::nameFilterOf(const QString& filterText) {
    const int colon = filterText.lastIndexOf(QLatin1Char(':'));
    if (colon < 0)
        return filterText;
    const QString pattern = filterText.mid(colon + 1).trimmed();
    QString description = filterText.left(colon).trimmed();
    // Descriptions often name the pattern already: it is shown once, in the brackets.
    if (description.endsWith(pattern))
        description.chop(pattern.size());
    description = description.trimmed();
    if (description.isEmpty())
        return pattern;
    return description + QLatin1String(" (") + pattern + QLatin1Char(')');
}

void FileDialog::setShower(Shower newShower) {
    shower() = std::move(newShower);
}

void FileDialog::show(QWidget* owner) {
    const QString chosen = shower() ? shower()(*this) : runRealDialog(*this, owner);
    if (chosen.isEmpty()) {
        m_folder.clear();
        m_fileName.clear();
        return;
    }
    const QFileInfo info(chosen);
    m_folder = info.absolutePath();
    m_fileName = info.fileName();
}

} // namespace platform
