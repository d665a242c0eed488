#pragma once

#include <QString>
#include <functional>

class QWidget;

namespace platform {

// Help commands, with the values of the help engine's interface.
inline constexpr unsigned HELP_QUIT = 0x2;
inline constexpr unsigned HELP_CONTENTS = 0x3;
inline constexpr unsigned HELP_PARTIALKEY = 0x105;

// Asks the help engine to show help from helpFile for the owner window. The built-in
// engine shows the manual in the program's help window: HELP_CONTENTS from its start,
// HELP_PARTIALKEY with the search field ready (filled with key). An empty file name
// shows nothing; a file that cannot be read raises AppError naming the file.
// Returns true when help was shown.
bool WinHelp(QWidget* owner, const QString& helpFile, unsigned command,
             const QString& key = QString());

// Tests install an engine that records its calls; an empty one restores the built-in.
using HelpEngine = std::function<bool(QWidget* owner, const QString& helpFile, unsigned command,
                                      const QString& key)>;
void setHelpEngine(HelpEngine engine);

// The application's help file name, empty until set.
QString appHelpFile();
void setAppHelpFile(const QString& fileName);

// Where the user manual lives: installed under share/drivolex/manual beside the
// program's bin folder, or in the source tree when running from a build folder.
// When neither exists, the installed location (so that a failure names it).
QString locateManual();

} // namespace platform
