#pragma once

#include <QUrl>
#include <functional>

namespace platform {

// Opens an http or https address in the desktop's web browser. Any other scheme
// (file, mailto, a desktop handler, a command) is refused: links come from text that
// the program does not control. Returns true when the browser was asked to open it.
bool openWebLink(const QUrl& url);

// Whether openWebLink would pass the address on.
bool isWebLink(const QUrl& url);

// Tests install an opener that records the calls; an empty one restores the desktop's.
using WebLinkOpener = std::function<bool(const QUrl& url)>;
void setWebLinkOpener(WebLinkOpener opener);

} // namespace platform
