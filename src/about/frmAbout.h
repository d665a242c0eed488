#pragma once

#include <QDialog>
#include <QList>
#include <cstdint>

class QFrame;
class QLabel;
class QPushButton;

namespace about {

// The About box: title, version and description of the program, and a button that
// starts the system information tool found through the registry.
class frmAbout : public QDialog {
    Q_OBJECT
public:
    explicit frmAbout(QWidget* parent = nullptr);

    // Starts the system information tool, or says that it is unavailable.
    void StartSysInfo();

    void cmdOK_Click();
    void cmdSysInfo_Click();

    QLabel* picIcon;
    QLabel* lblTitle;
    QLabel* lblVersion;
    QLabel* lblDescription;
    QList<QFrame*> Line1;
    QLabel* lblDisclaimer;
    QPushButton* cmdOK;
    QPushButton* cmdSysInfo;

private:
    void Form_Load();
    // Reads one registry value as text into KeyVal; false (and KeyVal empty) when the
    // key or value cannot be read.
    bool GetKeyValue(std::uint32_t KeyRoot, const QString& KeyName, const QString& SubKeyRef,
                     QString& KeyVal);
};

} // namespace about
