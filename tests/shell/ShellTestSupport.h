#pragma once

#include "platform/RegistryStore.h"
#include "shell/AppState.h"
#include "shell/MDIForm1.h"
#include "support/MsgBoxRecorder.h"

#include <QFile>
#include <QSettings>
#include <gtest/gtest.h>
#include <memory>

namespace shell_test {

// One write through the remembered-path store.
struct RegistryWrite {
    std::uint32_t root;
    QString keyPath;
    QString valueName;
    QString text;
};

// The real store, with every write noted.
class RecordingRegistryStore : public platform::RegistryStore {
public:
    explicit RecordingRegistryStore(QList<RegistryWrite>& writes) : m_writes(writes) {}
    bool writeText(std::uint32_t root, const QString& keyPath, const QString& valueName,
                   const QString& text) override {
        m_writes.append({root, keyPath, valueName, text});
        return RegistryStore::writeText(root, keyPath, valueName, text);
    }

private:
    QList<RegistryWrite>& m_writes;
};

inline QString userSettingsFile() {
    return QSettings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Drivolex"),
                     QStringLiteral("Drivolex"))
        .fileName();
}

inline void rememberPath(const QString& path) {
    platform::RegistryStore().writeText(platform::HKEY_LOCAL_MACHINE,
                                        QStringLiteral("Drivolex\\Database"),
                                        QStringLiteral("LastOpened"), path);
}

// A main window over a clean settings file, with its store's writes and every message
// box recorded. The window is made by makeForm() so that tests can prepare settings.
class ShellTest : public ::testing::Test {
protected:
    void SetUp() override {
        QFile::remove(userSettingsFile());
        shell::DatabasePath.clear();
    }
    void TearDown() override {
        form.reset();
        QFile::remove(userSettingsFile());
        shell::DatabasePath.clear();
    }

    shell::MDIForm1& makeForm(bool load = true) {
        form = std::make_unique<shell::MDIForm1>();
        form->useRegistryStore(std::make_unique<RecordingRegistryStore>(writes));
        if (load)
            form->MDIForm_Load();
        return *form;
    }

    QAction* item(const char* name) const { return form->findChild<QAction*>(QLatin1String(name)); }

    testing_support::MsgBoxRecorder boxes;
    QList<RegistryWrite> writes;
    std::unique_ptr<shell::MDIForm1> form;
};

} // namespace shell_test
