#pragma once

#include <QString>
#include <functional>

namespace platform {

// Message box styles and answers, with the values the program's boxes use.
enum MsgBoxStyle : int {
    vbOKOnly = 0,
    vbYesNo = 4,
    vbQuestion = 32,
    vbExclamation = 48,
    vbInformation = 64,
};

enum MsgBoxResult : int {
    vbOK = 1,
    vbCancel = 2,
    vbYes = 6,
    vbNo = 7,
};

// Shows a modal message box and returns the button pressed. An empty title shows
// the application title. The box belongs to the window that holds the keyboard focus
// (the one whose handler raised it); once it is answered, that window is in front
// again and the control that had the focus has it back.
int MsgBox(const QString& prompt, int style = vbOKOnly, const QString& title = QString());

// The one seam for every message box: tests install a responder that records each
// box and answers from a script. An empty responder restores the real boxes. Returns
// the responder installed before, so that it can be put back.
using MsgBoxResponder = std::function<int(const QString& prompt, int style, const QString& title)>;
MsgBoxResponder setMsgBoxResponder(MsgBoxResponder responder);

} // namespace platform
