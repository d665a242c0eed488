#pragma once

#include "shell/MDIForm1.h"

#include <QList>

namespace backupwindows {

// Closes every record window before the file in use is replaced. Each window that
// holds a row not saved yet asks first whether to give it up; when the user keeps
// one, no window closes and the result is false. The windows are gone (and their
// hold on the file with them) when this returns true; `closed` lists which were open.
bool closeRecordWindows(shell::MDIForm1& frame, QList<shell::ChildWindow>* closed);

} // namespace backupwindows
