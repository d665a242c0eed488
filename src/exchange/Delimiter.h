#pragma once

#include <QStringView>

namespace exchange {

// The field delimiter of a CSV text: of comma, semicolon and tab, the one most
// frequent outside quotes on the first line holding any of them (a section marker
// such as "##Refuelling" holds none, so the header after it decides). Comma wins
// ties and is the answer for a text with none.
char detectDelimiter(QStringView text);

} // namespace exchange
