#pragma once

namespace shell {
class MDIForm1;
}

namespace backupwindows {

// File > Back Up: asks for a name (the file's name with the date and time offered)
// and writes a copy of the file in use there, with a progress box that can cancel
// when it takes a while. A failure is told in a box naming the file and the reason.
void backUpFileInUse(shell::MDIForm1& frame);

} // namespace backupwindows
