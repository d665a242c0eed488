#include "ImportWriting.h"

#include "platform/AppError.h"
#include "platform/MsgBox.h"
#include "records/SharedDatabase.h"
#include "store/Database.h"

#include <QDir>
#include <QLocale>
#include <QProgressDialog>

namespace importwindows {

namespace {

QString number(int value) {
    return QLocale(QLocale::English, QLocale::UnitedStates).toString(value);
}

QString counted(int count, const char* one, const char* many) {
    return QStringLiteral("%1 %2").arg(number(count), QLatin1String(count == 1 ? one : many));
}

} // namespace

std::optional<importing::ImportResult>
writeWithProgress(QWidget* owner, const QString& databasePath, const importing::ImportPlan& plan) {
    QProgressDialog progress(QStringLiteral("Importing..."), QStringLiteral("Cancel"), 0,
                             plan.taken(), owner);
    progress.setObjectName(QStringLiteral("prgImport"));
    progress.setWindowTitle(QStringLiteral("Import"));
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(500);
    progress.setAutoClose(false);
    progress.setAutoReset(false);
    const QString asItWas = QStringLiteral("Nothing was imported: the file is as it was.");
    importing::ImportResult result;
    try {
        std::shared_ptr<store::Database> database = records::takeUpProgramDatabase(databasePath);
        result = importing::writeImport(database->handle(), databasePath, plan,
                                        [&progress](int done, int total) {
                                            progress.setMaximum(total);
                                            progress.setValue(done);
                                            return !progress.wasCanceled();
                                        });
    } catch (const platform::AppError& error) {
        progress.close();
        platform::MsgBox(error.text() + QStringLiteral("\n\n") + asItWas, platform::vbExclamation,
                         QStringLiteral("Import"));
        return std::nullopt;
    }
    progress.close();
    if (result.cancelled) {
        platform::MsgBox(QStringLiteral("The import was cancelled. ") + asItWas,
                         platform::vbInformation, QStringLiteral("Import"));
        return std::nullopt;
    }
    QString text = QStringLiteral("Imported %1 and %2 into %3.")
                       .arg(counted(result.fuelWritten, "fuel purchase", "fuel purchases"),
                            counted(result.workOrdersWritten, "work order", "work orders"),
                            QDir::toNativeSeparators(databasePath));
    if (result.remindersWritten)
        text += QStringLiteral(" %1 of their services came with them.")
                    .arg(counted(result.remindersWritten, "reminder", "reminders"));
    if (result.vehiclesMade)
        text += QStringLiteral(" %1 made.")
                    .arg(counted(result.vehiclesMade, "new vehicle was", "new vehicles were"));
    text += QStringLiteral("\n\nA copy of the file as it was before: ") +
            QDir::toNativeSeparators(result.backupPath);
    platform::MsgBox(text, platform::vbInformation, QStringLiteral("Import"));
    return result;
}

} // namespace importwindows
