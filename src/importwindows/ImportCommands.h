#pragma once

namespace shell {
class MDIForm1;
}

namespace importwindows {

// Gives the frame its File > Import and File > Export commands.
void registerImportCommands(shell::MDIForm1& frame);

// File > Import on the file in use: the file to read is asked for, then the import
// window previews it; open record windows show the new rows when next at the front.
void importIntoFileInUse(shell::MDIForm1& frame);
void exportFileInUse(shell::MDIForm1& frame);

} // namespace importwindows
