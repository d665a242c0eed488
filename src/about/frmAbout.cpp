#include "frmAbout.h"

#include "AppIcon.h"
#include "AppVersion.h"
#include "platform/AppInfo.h"
#include "platform/ErrorReporting.h"
#include "platform/MsgBox.h"
#include "platform/ProcessStarter.h"
#include "platform/RegistryReader.h"
#include "platform/RegistryStore.h"

#include <QDir>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <array>

namespace about {

namespace {

// Where the system information tool is recorded: its full path first, else the folder
// that holds it.
const QString kSysInfoKey = QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO");
const QString kSysInfoValue = QStringLiteral("PATH");
const QString kSysInfoFolderKey = QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools Location");
const QString kSysInfoFolderValue = QStringLiteral("MSINFO");
const QString kSysInfoProgram = QStringLiteral("MSINFO32.EXE");

constexpr std::uint32_t kValueBufferSize = 1024;

// Measures in pixels at 96 dots per inch; on a denser screen that Qt does not scale
// for us they grow with its dots per inch.
constexpr int kBoxWidth = 520;
constexpr int kIconSize = 48;
constexpr int kGap = 8;
constexpr int kWideGap = 12;

const QColor kEtchShadow(128, 128, 128);

QLabel* label(QWidget* parent, const char* name, const QString& caption) {
    auto* control = new QLabel(caption, parent);
    control->setObjectName(QLatin1String(name));
    return control;
}

// An etched line: dark grey with a white one just below it. On a light background
// white would not show, so the lower line then takes a grey halfway between the dark
// line and the background.
QColor etchHighlight(const QColor& shadow, const QColor& background) {
    constexpr int kVisibleStep = 32; // lightness steps the eye tells apart on a screen
    const QColor white(Qt::white);
    if (white.lightness() - background.lightness() >= kVisibleStep)
        return white;
    return QColor((shadow.red() + background.red()) / 2, (shadow.green() + background.green()) / 2,
                  (shadow.blue() + background.blue()) / 2);
}

QFrame* etchLine(QWidget* parent, const QColor& colour) {
    auto* line = new QFrame(parent);
    line->setObjectName(QStringLiteral("Line1"));
    line->setFrameShape(QFrame::NoFrame);
    line->setFixedHeight(1);
    line->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    line->setStyleSheet(QStringLiteral("background-color: %1;").arg(colour.name()));
    return line;
}

// The tool in the folder, matched without regard to letter case; empty if absent.
QString programInFolder(const QString& folder) {
    if (folder.isEmpty())
        return QString();
    const QDir dir(folder);
    for (const QString& name : dir.entryList(QDir::Files))
        if (name.compare(kSysInfoProgram, Qt::CaseInsensitive) == 0)
            return dir.filePath(name);
    return QString();
}

void showUnavailable() {
    platform::MsgBox(QStringLiteral("System Information Is Unavailable At This Time"),
                     platform::vbOKOnly, platform::appTitle());
}

} // namespace

frmAbout::frmAbout(QWidget* parent)
    : QDialog(parent), picIcon(label(this, "picIcon", QString())),
      lblTitle(label(this, "lblTitle", QStringLiteral("Application Title"))),
      lblVersion(label(this, "lblVersion", QStringLiteral("Version"))),
      lblDescription(label(this, "lblDescription", QStringLiteral("App Description"))),
      Line1({etchLine(this, kEtchShadow),
             etchLine(this, etchHighlight(kEtchShadow, palette().color(QPalette::Window)))}),
      lblDisclaimer(label(this, "lblDisclaimer",
                          QStringLiteral("Warning: this program comes without any warranty. "
                                         "Keep a copy of your database file in a safe place."))),
      cmdOK(new QPushButton(QStringLiteral("OK"), this)),
      cmdSysInfo(new QPushButton(QStringLiteral("&System Info..."), this)) {
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("About MyApp"));
    setModal(true);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setDefault(true);
    cmdSysInfo->setObjectName(QStringLiteral("cmdSysInfo"));
    cmdSysInfo->setAutoDefault(false);
    const auto scaled = [dpi = logicalDpiX()](int pixelsAt96) {
        return qRound(pixelsAt96 * qMax(dpi, 96) / 96.0);
    };
    picIcon->setPixmap(appIconPixmap(scaled(kIconSize), devicePixelRatioF()));
    picIcon->setAlignment(Qt::AlignTop);
    lblTitle->setFont([font = lblTitle->font()]() mutable {
        font.setBold(true);
        font.setPointSizeF(font.pointSizeF() * 1.4);
        return font;
    }());
    lblDescription->setWordWrap(true);
    lblDisclaimer->setWordWrap(true);

    auto* texts = new QVBoxLayout;
    texts->addWidget(lblTitle);
    texts->addWidget(lblVersion);
    texts->addSpacing(scaled(kGap));
    texts->addWidget(lblDescription);
    auto* top = new QHBoxLayout;
    top->addWidget(picIcon, 0, Qt::AlignTop);
    top->addSpacing(scaled(kWideGap));
    top->addLayout(texts, 1);

    auto* buttons = new QVBoxLayout;
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdSysInfo);
    buttons->addStretch();
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(lblDisclaimer, 1);
    bottom->addSpacing(scaled(kWideGap));
    bottom->addLayout(buttons);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addSpacing(scaled(kGap));
    layout->addWidget(Line1[0]);
    layout->addWidget(Line1[1]);
    layout->setSpacing(0);
    layout->addSpacing(scaled(kGap));
    layout->addLayout(bottom);

    connect(cmdOK, &QPushButton::clicked, this, platform::reported([this] { cmdOK_Click(); }));
    connect(cmdSysInfo, &QPushButton::clicked, this,
            platform::reported([this] { cmdSysInfo_Click(); }));
    Form_Load();
    // The wrapped texts decide the height: the layout's own minimum counts one line per
    // label, which with large fonts cuts the description and the warning off.
    const int width = scaled(kBoxWidth);
    setFixedSize(width, layout->totalHeightForWidth(width));
}

void frmAbout::Form_Load() {
    setWindowTitle(QStringLiteral("About ") + platform::appTitle());
    lblVersion->setText(QStringLiteral("Version %1.%2.%3")
                            .arg(platform::kVersionMajor)
                            .arg(platform::kVersionMinor)
                            .arg(platform::kVersionPatch));
    lblTitle->setText(platform::appTitle());
    lblDescription->setText(
        QStringLiteral("Drivolex is a database program to record the maintenance, parts, gas use") +
        QStringLiteral(" and other aspects of automotive care."));
}

void frmAbout::cmdOK_Click() {
    accept();
}

void frmAbout::cmdSysInfo_Click() {
    StartSysInfo();
}

void frmAbout::StartSysInfo() {
    try {
        QString SysInfoPath;
        if (GetKeyValue(platform::HKEY_LOCAL_MACHINE, kSysInfoKey, kSysInfoValue, SysInfoPath)) {
            // The full path as recorded.
        } else if (GetKeyValue(platform::HKEY_LOCAL_MACHINE, kSysInfoFolderKey, kSysInfoFolderValue,
                               SysInfoPath)) {
            SysInfoPath = programInFolder(SysInfoPath);
            if (SysInfoPath.isEmpty())
                return showUnavailable();
        } else {
            return showUnavailable();
        }
        if (!platform::startDetached(SysInfoPath))
            showUnavailable();
    } catch (...) {
        showUnavailable();
    }
}

bool frmAbout::GetKeyValue(std::uint32_t KeyRoot, const QString& KeyName, const QString& SubKeyRef,
                           QString& KeyVal) {
    platform::RegistryReader& registry = platform::registryReader();
    platform::RegKey hKey = 0;
    std::uint32_t KeyValType = 0;
    std::array<char, kValueBufferSize> tmpVal{};
    std::uint32_t KeyValSize = kValueBufferSize;

    const bool read = registry.RegOpenKeyEx(KeyRoot, KeyName, 0, platform::KEY_ALL_ACCESS, hKey) ==
                          platform::ERROR_SUCCESS &&
                      registry.RegQueryValueEx(hKey, SubKeyRef, KeyValType, tmpVal.data(),
                                               KeyValSize) == platform::ERROR_SUCCESS &&
                      KeyValSize <= kValueBufferSize;
    if (!read) {
        KeyVal.clear();
        registry.RegCloseKey(hKey);
        return false;
    }

    switch (KeyValType) {
    case platform::REG_SZ: {
        // Text ends at the returned size, less its terminating zero when it has one.
        const bool terminated = KeyValSize > 0 && tmpVal[KeyValSize - 1] == '\0';
        KeyVal = QString::fromUtf8(tmpVal.data(), qsizetype(KeyValSize - (terminated ? 1 : 0)));
        break;
    }
    case platform::REG_DWORD: {
        // "&h" and the bytes in hexadecimal, highest first, two digits each.
        QString hex = QStringLiteral("&h");
        for (std::uint32_t i = KeyValSize; i > 0; --i)
            hex +=
                QStringLiteral("%1").arg(uchar(tmpVal[i - 1]), 2, 16, QLatin1Char('0')).toUpper();
        KeyVal = hex;
        break;
    }
    default:
        break; // other kinds of value have no text form: KeyVal stays as it was
    }
    registry.RegCloseKey(hKey);
    return true;
}

} // namespace about
