#include "WebLinks.h"

#include <QDesktopServices>

namespace platform {

namespace {

WebLinkOpener& installedOpener() {
    static WebLinkOpener opener;
    return opener;
}

} // namespace

bool isWebLink(const QUrl& url) {
    const QString scheme = url.scheme().toLower();
    return url.isValid() && !url.host().isEmpty() &&
           (scheme == QLatin1String("http") || scheme == QLatin1String("https"));
}

bool openWebLink(const QUrl& url) {
    if (!isWebLink(url))
        return false;
    if (installedOpener())
        return installedOpener()(url);
    return QDesktopServices::openUrl(url);
}

void setWebLinkOpener(WebLinkOpener opener) {
    installedOpener() = std::move(opener);
}

} // namespace platform
