#pragma once

#include "platform/FileDialog.h"

#include <QString>
#include <QStringList>

namespace shell_test {

// Answers every file dialog with one path and remembers how the dialog was set up.
class ScriptedDialog {
public:
    explicit ScriptedDialog(QString answer) : m_answer(std::move(answer)) {
        platform::FileDialog::setShower([this](const platform::FileDialog& dialog) {
            ++shown;
            title = dialog.dialogTitle();
            initDir = dialog.initDir();
            filters = dialog.filters();
            mustExist = dialog.hasOption(platform::FileDialog::FileMustExist);
            overwritePrompt = dialog.hasOption(platform::FileDialog::OverwritePrompt);
            return m_answer;
        });
    }
    ~ScriptedDialog() { platform::FileDialog::setShower({}); }

    int shown = 0;
    QString title, initDir;
    QStringList filters;
    bool mustExist = false, overwritePrompt = false;

private:
    QString m_answer;
};

} // namespace shell_test
