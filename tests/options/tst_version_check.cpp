// The version query against an HTTP server on 127.0.0.1 that the test runs.

#include "options/version_check.h"

#include <QElapsedTimer>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <QTimer>

using namespace lw;

namespace {

// Answers every request with one scripted reply; records the request heads.
class Loopback_Server : public QObject {
public:
    enum Mode { Answer, Silent };

    Loopback_Server()
    {
        connect(&m_server, &QTcpServer::newConnection, this, &Loopback_Server::Accept);
    }

    bool Listen() { return m_server.listen(QHostAddress::LocalHost, 0); }
    QUrl Base() const { return QUrl(QStringLiteral("http://127.0.0.1:%1").arg(m_server.serverPort())); }

    Mode mode = Answer;
    QByteArray reply; // the whole response: head and body
    QList<QByteArray> requests;

private:
    void Accept()
    {
        while (QTcpSocket* s = m_server.nextPendingConnection()) {
            s->setParent(this);
            auto head = std::make_shared<QByteArray>();
            connect(s, &QTcpSocket::readyRead, this, [this, s, head] {
                *head += s->readAll();
                const qsizetype end = head->indexOf("\r\n\r\n");
                if (end < 0)
                    return;
                requests << head->left(end);
                head->clear();
                if (mode == Silent)
                    return;
                s->write(reply);
                s->disconnectFromHost();
            });
        }
    }

    QTcpServer m_server;
};

QByteArray Response(const QByteArray& status, const QByteArray& body, const QByteArray& extraHeaders = {},
                    bool withLength = true)
{
    QByteArray r = "HTTP/1.1 " + status + "\r\nContent-Type: text/html\r\nConnection: close\r\n" + extraHeaders;
    if (withLength)
        r += "Content-Length: " + QByteArray::number(body.size()) + "\r\n";
    return r + "\r\n" + body;
}

QByteArray Huge_Body()
{
    QByteArray body = "VER. 1.003";
    body += QByteArray(10 * 1024 * 1024 - body.size(), ' ');
    return body;
}

} // namespace

class TestVersionCheck : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void convVersion_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("number");
        QTest::newRow("word and version") << "VER. 1.002" << 1002;
        QTest::newRow("version alone") << "1.003" << 1003;
        QTest::newRow("blanks around the version") << "VER.   1.003  " << 1003;
        QTest::newRow("second character skipped") << "1x002" << 1002;
        QTest::newRow("text after the version") << "VER. 1.0025 beta" << 1002;
        QTest::newRow("first blank decides") << "A B 1.002" << -1;
        QTest::newRow("too short") << "VER. 1.00" << -1;
        QTest::newRow("letters") << "VER. a.bcd" << -1;
        QTest::newRow("empty") << "" << -1;
        QTest::newRow("html") << "<html><body>Internal error</body></html>" << -1;
        QTest::newRow("sentinel") << "VER. 0.000" << 0;
    }

    void convVersion()
    {
        QFETCH(QString, text);
        QFETCH(int, number);
        QCOMPARE(Conv_Version(text), number);
    }

    void addresses()
    {
        QVERIFY(Maker_Web_Host.endsWith(QLatin1String(".example")));
        QCOMPARE(Version_Query_Url().toString(),
                 QStringLiteral("http://www.veltrona.example/home/download/GetversionSW.asp?nomesw=KQ4315"));
        QCOMPARE(Download_Page_Link(), QStringLiteral("http://www.veltrona.example/Home/download/download.asp#KG4315"));
        Version_Query_Settings local;
        local.Base = QUrl("http://127.0.0.1:8080");
        QCOMPARE(Download_Page_Link(local), QStringLiteral("http://127.0.0.1:8080/Home/download/download.asp#KG4315"));
    }

    void checkVersion_data()
    {
        QTest::addColumn<QByteArray>("response");
        QTest::addColumn<bool>("newer");
        QTest::addColumn<bool>("failure");

        QTest::newRow("newer") << Response("200 OK", "VER. 1.003") << true << false;
        QTest::newRow("newer with line end") << Response("200 OK", "VER. 1.003\r\n") << true << false;
        QTest::newRow("much newer") << Response("200 OK", "VER. 2.000") << true << false;
        QTest::newRow("equal") << Response("200 OK", "VER. 1.002") << false << false;
        QTest::newRow("equal, lower case") << Response("200 OK", "ver. 1.002") << false << false;
        QTest::newRow("older") << Response("200 OK", "VER. 0.999") << false << false;
        QTest::newRow("no information") << Response("200 OK", "VER. 0.000") << false << false;
        QTest::newRow("version without word") << Response("200 OK", "1.003") << true << false;
        QTest::newRow("HTML error page")
            << Response("200 OK", "<html><head><title>Error</title></head><body>Server error</body></html>")
            << false << false;
        QTest::newRow("empty body") << Response("200 OK", "") << false << false;
        QTest::newRow("not found") << Response("404 Not Found", "VER. 1.003") << false << true;
        QTest::newRow("server error") << Response("500 Internal Server Error", "VER. 1.003") << false << true;
        QTest::newRow("redirect is not followed")
            << Response("302 Found", "", "Location: /elsewhere\r\n") << false << true;
        QTest::newRow("authentication is not answered")
            << Response("401 Unauthorized", "VER. 1.003", "WWW-Authenticate: Basic realm=\"x\"\r\n") << false << true;
        QTest::newRow("10 MB body") << Response("200 OK", Huge_Body()) << false << true;
        QTest::newRow("10 MB body without length") << Response("200 OK", Huge_Body(), {}, false) << false << true;
        QTest::newRow("body one byte over the cap")
            << Response("200 OK", "VER. 1.003" + QByteArray(4096 - 10 + 1, ' '), {}, false) << false << true;
        QTest::newRow("body at the cap")
            << Response("200 OK", "VER. 1.003" + QByteArray(4096 - 10, ' '), {}, false) << true << false;
    }

    void checkVersion()
    {
        QFETCH(QByteArray, response);
        QFETCH(bool, newer);
        QFETCH(bool, failure);
        Loopback_Server server;
        QVERIFY(server.Listen());
        server.reply = response;
        Version_Query_Settings settings;
        settings.Base = server.Base();

        const Version_Query_Result r = Version_Query(settings);
        QCOMPARE(!r.Failure.isEmpty(), failure);
        if (failure)
            QVERIFY(r.Reply.isEmpty());
        if (response.size() > 4096 + 200)
            QVERIFY2(r.Failure.contains("longer than 4096 bytes"), qPrintable(r.Failure));
        QCOMPARE(Is_Newer_Version_Reply(r.Reply), newer);
        QCOMPARE(Check_Version(settings), newer);

        // The HTTP client may resend a request once when the server closes the connection at once.
        QVERIFY(server.requests.size() >= 2);
        for (const QByteArray& request : server.requests) {
            const QList<QByteArray> lines = request.split('\n');
            QCOMPARE(lines[0].trimmed(), QByteArray("GET /home/download/GetversionSW.asp?nomesw=KQ4315 HTTP/1.1"));
            for (const QByteArray& line : lines) {
                const QByteArray name = line.left(line.indexOf(':')).toLower();
                QVERIFY2(name != "cookie" && name != "authorization" && name != "proxy-authorization",
                         line.constData());
            }
        }
    }

    void cookiesAreNotKept()
    {
        Loopback_Server server;
        QVERIFY(server.Listen());
        server.reply = Response("200 OK", "VER. 1.002", "Set-Cookie: session=abc; Path=/\r\n");
        Version_Query_Settings settings;
        settings.Base = server.Base();
        QCOMPARE(Version_Query(settings).Reply, QStringLiteral("VER. 1.002"));
        QCOMPARE(Version_Query(settings).Reply, QStringLiteral("VER. 1.002"));
        QVERIFY(server.requests.size() >= 2);
        for (const QByteArray& request : server.requests)
            QVERIFY(!request.toLower().contains("cookie:"));
    }

    // A server that never answers: the query gives up at its limit, and the
    // event loop keeps running meanwhile.
    void serverThatNeverAnswers()
    {
        Loopback_Server server;
        QVERIFY(server.Listen());
        server.mode = Loopback_Server::Silent;
        Version_Query_Settings settings;
        settings.Base = server.Base();
        settings.Timeout_Ms = 500;
        int ticks = 0;
        QTimer ticker;
        connect(&ticker, &QTimer::timeout, this, [&] { ++ticks; });
        ticker.start(20);

        const Version_Query_Result r = Version_Query(settings);
        QVERIFY(r.Reply.isEmpty());
        QVERIFY2(r.Failure.contains("no reply within 500 ms"), qPrintable(r.Failure));
        QVERIFY(!server.requests.isEmpty());
        QVERIFY(ticks > 0);
        QVERIFY(!Check_Version(settings));
    }

    void nothingListening()
    {
        QTcpServer closed;
        QVERIFY(closed.listen(QHostAddress::LocalHost, 0));
        Version_Query_Settings settings;
        settings.Base = QUrl(QStringLiteral("http://127.0.0.1:%1").arg(closed.serverPort()));
        closed.close();
        const Version_Query_Result r = Version_Query(settings);
        QVERIFY(r.Reply.isEmpty());
        QVERIFY(!r.Failure.isEmpty());
        QVERIFY(!Check_Version(settings));
    }
};

QTEST_MAIN(TestVersionCheck)
#include "tst_version_check.moc"
