#pragma once

namespace shell {
class MDIForm1;
}

namespace historywindows {

// Tells the main window how to make the Vehicle History its Window menu opens.
void registerHistoryWindow(shell::MDIForm1& frame);

} // namespace historywindows
