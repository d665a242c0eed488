#include "MsgBox.h"

#include "AppInfo.h"
#include "WindowTitle.h"

#include <QApplication>
#include <QMessageBox>
#include <utility>

namespace platform {

namespace {

MsgBoxResponder& responder() {
    static MsgBoxResponder instance;
    return instance;
}

int showRealBox(const QString& prompt, int style, const QString& title) {
    QMessageBox box(QApplication::activeWindow());
    // Prompts and titles carry file names and typed values: shown as written, never
    // read as markup (a link in a box would be one click from the desktop's handler).
    box.setWindowTitle(literalWindowTitle(title));
    box.setTextFormat(Qt::PlainText);
    box.setText(prompt);
    const int icon = style & 0x70;
    switch (icon) {
    case vbQuestion:
        box.setIcon(QMessageBox::Question);
        break;
    case vbExclamation:
        box.setIcon(QMessageBox::Warning);
        break;
    case vbInformation:
        box.setIcon(QMessageBox::Information);
        break;
    default:
        box.setIcon(QMessageBox::NoIcon);
        break;
    }
    if ((style & 0x7) == vbYesNo) {
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(QMessageBox::Yes);
        box.setEscapeButton(QMessageBox::No);
        return box.exec() == QMessageBox::Yes ? vbYes : vbNo;
    }
    box.setStandardButtons(QMessageBox::Ok);
    box.exec();
    return vbOK;
}

} // namespace

int MsgBox(const QString& prompt, int style, const QString& title) {
    const QString shownTitle = title.isEmpty() ? appTitle() : title;
    if (responder())
        return responder()(prompt, style, shownTitle);
    return showRealBox(prompt, style, shownTitle);
}

MsgBoxResponder setMsgBoxResponder(MsgBoxResponder newResponder) {
    return std::exchange(responder(), std::move(newResponder));
}

} // namespace platform
