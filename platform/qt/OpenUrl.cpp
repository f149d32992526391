#include "platform/qt/OpenUrl.h"

#include <QDesktopServices>

#include <utility>

namespace {

TOpenUrlHandler& Handler()
{
    static TOpenUrlHandler handler;
    return handler;
}

}  // namespace

bool OpenUrl(const QUrl& url)
{
    if (!url.isValid())
        return false;
    if (const TOpenUrlHandler& h = Handler())
        return h(url);
    return QDesktopServices::openUrl(url);
}

TOpenUrlHandler SetOpenUrlHandler(TOpenUrlHandler handler)
{
    return std::exchange(Handler(), std::move(handler));
}
