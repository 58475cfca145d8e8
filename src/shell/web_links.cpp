#include "shell/web_links.h"

#include <QUrlQuery>

namespace lw {

QString Maker_Web_Address()
{
    // Shown without "www." so that it fits beside "Step 4" and in the about box.
    return QString::fromLatin1(Maker_Host).mid(4);
}

QUrl Home_Page_Url()
{
    QUrl url;
    url.setScheme(QStringLiteral("http"));
    url.setHost(QString::fromLatin1(Maker_Host));
    url.setPath(QStringLiteral("/HOME/default.asp"));
    QUrlQuery query;
    query.addQueryItem(QStringLiteral("frompg"), QStringLiteral("KQ4315"));
    url.setQuery(query);
    return url;
}

QUrl Default_Download_Page_Url()
{
    QUrl url;
    url.setScheme(QStringLiteral("http"));
    url.setHost(QString::fromLatin1(Maker_Host));
    url.setPath(QStringLiteral("/Home/download/download.asp"));
    url.setFragment(QStringLiteral("KG4315"));
    return url;
}

} // namespace lw
