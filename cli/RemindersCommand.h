#pragma once

#include <QStringList>
#include <QTextStream>

namespace cli {

// `reminders DB [--vehicle NAME] [--ics OUT.ics]`: the reminders of the vehicle (of
// each without --vehicle), one a line with its vehicle, name, state and what is due,
// as the Reminders window shows them today; --ics also writes them as a calendar file.
int listReminders(const QStringList& arguments, QTextStream& out, QTextStream& err);

} // namespace cli
