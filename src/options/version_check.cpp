#include "options/version_check.h"

#include "base/program_state.h"
#include "base/text_rules.h"

#include <QDeadlineTimer>
#include <QEventLoop>
#include <QNetworkProxy>
#include <QTcpSocket>
#include <QTimer>

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

namespace {

// Reads one HTTP/1.x response as it arrives: the status line and header
// fields (at most Max_Header_Bytes together, and as much again for the
// trailers of a chunked body), then a body of at most Max_Bytes, sized by
// Content-Length, in chunks, or up to the end of the connection. Nothing is
// kept beyond those caps, so no reply can grow memory.
class Reply_Reader {
public:
    explicit Reply_Reader(qint64 maxBytes) : m_maxBytes(maxBytes) {}

    // Takes the bytes that arrived; false once the reply is complete or has failed.
    bool Feed(const QByteArray& bytes)
    {
        m_pending += bytes;
        Process();
        return !m_done && m_failure.isEmpty();
    }

    // The connection ended: a body read up to the end is complete now.
    void Closed()
    {
        if (m_done || !m_failure.isEmpty())
            return;
        if (m_stage == Stage::Body && m_mode == Mode::Until_Close)
            m_done = true;
        else
            m_failure = QStringLiteral("the connection closed before the reply was complete");
    }

    bool Done() const { return m_done; }
    QString Failure() const { return m_failure; }
    int Status() const { return m_status; }
    const QByteArray& Body() const { return m_body; }

private:
    enum class Stage { Head, Body, Chunk_Size, Chunk_Data, Chunk_End, Trailers };
    enum class Mode { Length, Chunked, Until_Close };

    // One line of the head; false while no whole line has arrived.
    bool Take_Line(QByteArray& line, qint64& budget)
    {
        const qsizetype end = m_pending.indexOf('\n');
        if (end < 0) {
            if (m_pending.size() > budget)
                m_failure = QStringLiteral("the reply's header is longer than %1 bytes").arg(Version_Reply_Max_Header_Bytes);
            return false;
        }
        budget -= end + 1;
        if (budget < 0) {
            m_failure = QStringLiteral("the reply's header is longer than %1 bytes").arg(Version_Reply_Max_Header_Bytes);
            return false;
        }
        line = m_pending.left(end);
        m_pending.remove(0, end + 1);
        if (line.endsWith('\r'))
            line.chop(1);
        return true;
    }

    void Too_Large() { m_failure = QStringLiteral("the reply is longer than %1 bytes").arg(m_maxBytes); }

    void Append_Body(qsizetype n)
    {
        m_body += m_pending.left(n);
        m_pending.remove(0, n);
        if (m_body.size() > m_maxBytes)
            Too_Large();
    }

    void Head_Line(const QByteArray& line)
    {
        if (!m_haveStatus) {
            // "HTTP/1.1 200 OK"
            const QList<QByteArray> parts = line.split(' ');
            bool ok = false;
            m_status = parts.size() >= 2 && parts[0].startsWith("HTTP/1.") ? parts[1].toInt(&ok) : 0;
            if (!ok || m_status < 100 || m_status > 999) {
                m_failure = QStringLiteral("the reply is not an HTTP reply");
                return;
            }
            m_haveStatus = true;
            return;
        }
        if (line.isEmpty()) {
            // The end of the head. An interim reply (1xx) is followed by another head.
            if (m_status < 200) {
                m_haveStatus = false;
                m_length = -1;
                m_chunked = false;
                return;
            }
            if (m_chunked) {
                m_mode = Mode::Chunked;
                m_stage = Stage::Chunk_Size;
            } else if (m_length >= 0) {
                if (m_length > m_maxBytes) {
                    Too_Large();
                    return;
                }
                m_mode = Mode::Length;
                m_stage = Stage::Body;
                if (m_length == 0)
                    m_done = true;
            } else {
                m_mode = Mode::Until_Close;
                m_stage = Stage::Body;
            }
            return;
        }
        const qsizetype colon = line.indexOf(':');
        if (colon <= 0)
            return;
        const QByteArray name = line.left(colon).trimmed().toLower();
        const QByteArray value = line.mid(colon + 1).trimmed();
        if (name == "content-length") {
            bool ok = false;
            m_length = value.toLongLong(&ok);
            if (!ok || m_length < 0)
                m_failure = QStringLiteral("the reply's length is not a number");
        } else if (name == "transfer-encoding") {
            m_chunked = value.toLower().contains("chunked");
        }
    }

    void Process()
    {
        while (!m_done && m_failure.isEmpty()) {
            QByteArray line;
            switch (m_stage) {
            case Stage::Head:
                if (!Take_Line(line, m_headBudget))
                    return;
                Head_Line(line);
                break;
            case Stage::Body:
                if (m_mode == Mode::Length) {
                    Append_Body(qMin<qint64>(m_pending.size(), m_length - m_body.size()));
                    if (m_failure.isEmpty() && m_body.size() == m_length)
                        m_done = true;
                } else {
                    Append_Body(m_pending.size());
                }
                return;
            case Stage::Chunk_Size: {
                qint64 lineBudget = 1024;
                if (!Take_Line(line, lineBudget))
                    return;
                const qsizetype semicolon = line.indexOf(';');
                bool ok = false;
                m_chunkLeft = (semicolon < 0 ? line : line.left(semicolon)).trimmed().toLongLong(&ok, 16);
                if (!ok || m_chunkLeft < 0) {
                    m_failure = QStringLiteral("the reply's chunk size is not a number");
                    return;
                }
                if (m_body.size() + m_chunkLeft > m_maxBytes) {
                    Too_Large();
                    return;
                }
                m_stage = m_chunkLeft == 0 ? Stage::Trailers : Stage::Chunk_Data;
                m_headBudget = Version_Reply_Max_Header_Bytes;
                break;
            }
            case Stage::Chunk_Data: {
                const qsizetype n = qsizetype(qMin<qint64>(m_pending.size(), m_chunkLeft));
                Append_Body(n);
                m_chunkLeft -= n;
                if (m_chunkLeft > 0)
                    return;
                m_stage = Stage::Chunk_End;
                break;
            }
            case Stage::Chunk_End: {
                qint64 lineBudget = 2;
                if (!Take_Line(line, lineBudget))
                    return;
                m_stage = Stage::Chunk_Size;
                break;
            }
            case Stage::Trailers:
                if (!Take_Line(line, m_headBudget))
                    return;
                if (line.isEmpty())
                    m_done = true;
                break;
            }
        }
    }

    const qint64 m_maxBytes;
    QByteArray m_pending;
    QByteArray m_body;
    QString m_failure;
    Stage m_stage = Stage::Head;
    Mode m_mode = Mode::Until_Close;
    qint64 m_headBudget = Version_Reply_Max_Header_Bytes;
    bool m_haveStatus = false;
    int m_status = 0;
    qint64 m_length = -1;
    bool m_chunked = false;
    qint64 m_chunkLeft = 0;
    bool m_done = false;
};

} // namespace

Version_Query_Result Version_Query(const Version_Query_Settings& settings)
{
    Version_Query_Result result;
    const QUrl url = Version_Query_Url(settings);
    if (url.scheme() != QLatin1String("http") || url.host().isEmpty()) {
        result.Failure = QStringLiteral("%1 is not an http address").arg(url.toString());
        return result;
    }
    const int port = url.port(80);
    QByteArray host = url.host(QUrl::FullyEncoded).toUtf8();
    if (port != 80)
        host += ':' + QByteArray::number(port);
    // One request, closed by the server after its reply: no cookies, no
    // credentials, no proxy, no redirects followed.
    const QByteArray request = "GET " + url.path(QUrl::FullyEncoded).toUtf8() + '?'
        + url.query(QUrl::FullyEncoded).toUtf8() + " HTTP/1.1\r\nHost: " + host
        + "\r\nAccept: */*\r\nConnection: close\r\n\r\n";

    // The whole request, from the name lookup to the last byte, within the
    // time limit: the timer ends it, and every arrival looks at the clock too.
    const QDeadlineTimer deadline(settings.Timeout_Ms);
    QTcpSocket socket;
    socket.setProxy(QNetworkProxy::NoProxy);
    // The socket reads ahead of us at most this far.
    socket.setReadBufferSize(64 * 1024);
    Reply_Reader reader(settings.Max_Bytes);
    QString failure;
    bool timedOut = false;
    QEventLoop loop;
    QTimer timer;
    timer.setSingleShot(true);
    timer.setTimerType(Qt::PreciseTimer);

    bool over = false;  // the loop has ended: the socket's last signals change nothing
    const auto finish = [&] {
        over = true;
        timer.stop();
        loop.quit();
    };
    // Everything the socket holds, as far as the reader takes it.
    const auto drain = [&] {
        while (!over && socket.isOpen() && socket.bytesAvailable() > 0) {
            if (!reader.Feed(socket.read(64 * 1024)))
                finish();
        }
    };
    QObject::connect(&timer, &QTimer::timeout, &loop, [&] {
        if (over)
            return;
        timedOut = true;
        finish();
    });
    QObject::connect(&socket, &QTcpSocket::connected, &loop, [&] { socket.write(request); });
    QObject::connect(&socket, &QTcpSocket::readyRead, &loop, [&] {
        if (over)
            return;
        if (deadline.hasExpired()) {
            timedOut = true;
            finish();
            return;
        }
        drain();
    });
    // The last bytes are read before the socket closes.
    QObject::connect(&socket, &QTcpSocket::readChannelFinished, &loop, drain);
    QObject::connect(&socket, &QTcpSocket::disconnected, &loop, [&] {
        if (over)
            return;
        drain();
        if (over)
            return;
        reader.Closed();
        finish();
    });
    QObject::connect(&socket, &QTcpSocket::errorOccurred, &loop, [&](QAbstractSocket::SocketError error) {
        if (over || error == QAbstractSocket::RemoteHostClosedError)
            return;  // disconnected follows a close
        failure = socket.errorString();
        finish();
    });

    timer.start(int(qMax<qint64>(0, deadline.remainingTime())));
    socket.connectToHost(url.host(), quint16(port));
    loop.exec(QEventLoop::ExcludeUserInputEvents);
    timer.stop();
    socket.abort();

    if (timedOut && !reader.Done() && reader.Failure().isEmpty())
        result.Failure = QStringLiteral("no reply within %1 ms").arg(settings.Timeout_Ms);
    else if (!reader.Failure().isEmpty())
        result.Failure = reader.Failure();
    else if (!reader.Done())
        result.Failure = failure.isEmpty() ? QStringLiteral("no reply") : failure;
    else if (reader.Status() < 200 || reader.Status() > 299)
        result.Failure = QStringLiteral("HTTP status %1").arg(reader.Status());
    else
        result.Reply = QString::fromUtf8(reader.Body());
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
