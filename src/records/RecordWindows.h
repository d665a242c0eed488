#pragma once

namespace shell {
class MDIForm1;
}

namespace records {

// Tells the main window how to make each record window its Window menu opens.
void registerRecordWindows(shell::MDIForm1& frame);

} // namespace records
