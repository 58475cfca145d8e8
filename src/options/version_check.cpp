#include "options/version_check.h"

#include "base/program_state.h"
#include "base/text_rules.h"

#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkProxy>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>

#include <memory>

namespace lw {

namespace {

// The software code the server knows this program by.
const QString Query_Software_Code = QStringLiteral("KQ4315");

QUrl With_Path(const QUrl& base, const QString& path)
{
    QUrl url = base;
    url.setPath(path);
    url.setQuery(QString());
    url.setFragment(QString());
    return url;
}

} // namespace

QUrl Version_Query_Url(const Version_Query_Settings& settings)
{
    QUrl url = With_Path(settings.Base, QStringLiteral("/home/download/GetversionSW.asp"));
    url.setQuery(QStringLiteral("nomesw=") + Query_Software_Code);
    return url;
}

Version_Query_Result Version_Query(const Version_Query_Settings& settings)
{
    Version_Query_Result result;

    QNetworkAccessManager manager;
    manager.setProxy(QNetworkProxy::NoProxy);
    manager.setRedirectPolicy(QNetworkRequest::ManualRedirectPolicy);
    manager.setAutoDeleteReplies(false);

    QNetworkRequest request(Version_Query_Url(settings));
    request.setAttribute(QNetworkRequest::Http2AllowedAttribute, false);
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
    request.setAttribute(QNetworkRequest::CacheSaveControlAttribute, false);
    request.setAttribute(QNetworkRequest::CookieLoadControlAttribute, QNetworkRequest::Manual);
    request.setAttribute(QNetworkRequest::CookieSaveControlAttribute, QNetworkRequest::Manual);
    request.setAttribute(QNetworkRequest::AuthenticationReuseAttribute, QNetworkRequest::Manual);

    std::unique_ptr<QNetworkReply> reply(manager.get(request));
    // The client reads ahead of us only this far: a body that never ends, in
    // chunks or not, cannot pile up in memory before the cap below sees it.
    reply->setReadBufferSize(settings.Max_Bytes + 1);
    QByteArray body;
    bool timedOut = false;
    bool tooLarge = false;
    QEventLoop loop;
    QTimer timer;
    timer.setSingleShot(true);

    QObject::connect(&timer, &QTimer::timeout, &loop, [&] {
        timedOut = true;
        reply->abort();
    });
    QObject::connect(reply.get(), &QNetworkReply::metaDataChanged, &loop, [&] {
        const QVariant length = reply->header(QNetworkRequest::ContentLengthHeader);
        if (length.isValid() && length.toLongLong() > settings.Max_Bytes) {
            tooLarge = true;
            reply->abort();
        }
    });
    QObject::connect(reply.get(), &QNetworkReply::readyRead, &loop, [&] {
        body += reply->read(settings.Max_Bytes + 1 - body.size());
        if (body.size() > settings.Max_Bytes) {
            tooLarge = true;
            reply->abort();
        }
    });
    QObject::connect(reply.get(), &QNetworkReply::finished, &loop, &QEventLoop::quit);

    if (!reply->isFinished()) {
        timer.start(settings.Timeout_Ms);
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    }
    timer.stop();

    if (!tooLarge && reply->error() == QNetworkReply::NoError && body.size() <= settings.Max_Bytes)
        body += reply->read(settings.Max_Bytes + 1 - body.size());
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();

    if (timedOut)
        result.Failure = QStringLiteral("no reply within %1 ms").arg(settings.Timeout_Ms);
    else if (tooLarge || body.size() > settings.Max_Bytes)
        result.Failure = QStringLiteral("the reply is longer than %1 bytes").arg(settings.Max_Bytes);
    else if (reply->error() != QNetworkReply::NoError)
        result.Failure = reply->errorString();
    else if (status < 200 || status > 299)
        result.Failure = QStringLiteral("HTTP status %1").arg(status);
    else
        result.Reply = QString::fromUtf8(body);
    return result;
}

int Conv_Version(const QString& Ver_str)
{
    const qsizetype blank = Ver_str.indexOf(u' ');
    const QString text = Strip(blank < 0 ? QStringView(Ver_str) : QStringView(Ver_str).mid(blank + 1));
    if (text.size() < 5)
        return -1;
    const QString digits = QString(text[0]) + text[2] + text[3] + text[4];
    return Read_Integer_Or(digits, -1);
}

bool Is_Newer_Version_Reply(const QString& reply)
{
    const QString r = Strip(reply).toUpper();
    if (r == No_Update_Sentinel || r.isEmpty())
        return false;
    const int local = Conv_Version(QLatin1String(SW_Version));
    const int remote = Conv_Version(Strip(reply));
    return local != -1 && remote != -1 && remote > local;
}

bool Check_Version(const Version_Query_Settings& settings)
{
    return Is_Newer_Version_Reply(Version_Query(settings).Reply);
}

QString Download_Page_Link(const Version_Query_Settings& settings)
{
    QUrl url = With_Path(settings.Base, QStringLiteral("/Home/download/download.asp"));
    url.setFragment(QStringLiteral("KG4315"));
    return url.toString();
}

} // namespace lw
