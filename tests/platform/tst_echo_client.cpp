// The system's echo client. Packets go only to 127.0.0.1, either in this
// host's loopback or in a network namespace the test makes for itself.

#include "platform/echo_client.h"
#include "platform/ipv4_address.h"
#include "update/ping_test.h"

#include <QFile>
#include <QTest>

#include <cstring>
#include <fcntl.h>
#include <net/if.h>
#include <sched.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

using namespace lw;

namespace {

const QString Loopback = QStringLiteral("127.0.0.1");

bool Write_Proc(const char* path, const char* value)
{
    const int fd = ::open(path, O_WRONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool ok = ::write(fd, value, strlen(value)) == ssize_t(strlen(value));
    ::close(fd);
    return ok;
}

bool Bring_Loopback_Up()
{
    const int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return false;
    ifreq req {};
    strncpy(req.ifr_name, "lo", IFNAMSIZ - 1);
    bool ok = ::ioctl(fd, SIOCGIFFLAGS, &req) == 0;
    req.ifr_flags |= IFF_UP;
    ok = ok && ::ioctl(fd, SIOCSIFFLAGS, &req) == 0;
    ::close(fd);
    return ok;
}

struct Namespace_Run {
    QString Skip;  // why the namespace could not be made
    Echo_Result Raw_Answered, Datagram_Answered, Raw_Dropped, Datagram_Dropped;
    Ping_Test_Result Ping;
};

} // namespace

class TestEchoClient : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void parseAddress_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("valid");
        QTest::addColumn<quint32>("address");
        QTest::newRow("loopback") << "127.0.0.1" << true << 0x7F000001u;
        QTest::newRow("zeros") << "0.0.0.0" << true << 0u;
        QTest::newRow("broadcast") << "255.255.255.255" << true << 0xFFFFFFFFu;
        QTest::newRow("leading zeros are decimal") << "192.168.000.010" << true << 0xC0A8000Au;
        QTest::newRow("letters") << "localhost" << false << 0u;
        QTest::newRow("dotted letters") << "abc.def.ghi.jkl" << false << 0u;
        QTest::newRow("name with digits") << "10.0.0.1.example" << false << 0u;
        QTest::newRow("trailing blank") << "127.0.0.1 " << false << 0u;
        QTest::newRow("leading blank") << " 127.0.0.1" << false << 0u;
        QTest::newRow("blank inside") << "127.0. 0.1" << false << 0u;
        QTest::newRow("three fields") << "127.0.1" << false << 0u;
        QTest::newRow("five fields") << "127.0.0.1.5" << false << 0u;
        QTest::newRow("field too large") << "127.0.0.256" << false << 0u;
        QTest::newRow("four digits") << "127.0.0.0001" << false << 0u;
        QTest::newRow("empty field") << "127..0.1" << false << 0u;
        QTest::newRow("trailing point") << "127.0.0.1." << false << 0u;
        QTest::newRow("hex") << "0x7f.0.0.1" << false << 0u;
        QTest::newRow("sign") << "+127.0.0.1" << false << 0u;
        QTest::newRow("IPv6") << "::1" << false << 0u;
        QTest::newRow("empty") << "" << false << 0u;
    }

    void parseAddress()
    {
        QFETCH(QString, text);
        QFETCH(bool, valid);
        QFETCH(quint32, address);
        const std::optional<quint32> got = Parse_Numeric_IPv4(text);
        QCOMPARE(got.has_value(), valid);
        if (valid)
            QCOMPARE(*got, address);
    }

    // Such hosts are refused before any socket is opened or name looked up.
    void hostThatIsNotAnAddress_data()
    {
        QTest::addColumn<QString>("host");
        QTest::newRow("name") << "localhost";
        QTest::newRow("letters in points") << "abc.def.ghi.jkl";
        QTest::newRow("blank in octet") << "127.0.0 .1";
        QTest::newRow("octet too large") << "127.0.0.300";
    }

    void hostThatIsNotAnAddress()
    {
        QFETCH(QString, host);
        const Echo_Result r = Make_System_Echo_Client()->Echo(host, host.toUtf8(), 0, 400);
        QVERIFY(!r.Ok);
        QVERIFY(!r.No_Socket);
        QVERIFY2(r.Error.contains(host), qPrintable(r.Error));

        // The ping test reports it as its error case.
        System_Ping_Clock clock;
        auto client = Make_System_Echo_Client();
        const Ping_Test_Result t = Ping_Test(host, *client, clock, {});
        QCOMPARE(t.Outcome, Ping_Outcome::Error);
        QCOMPARE(t.Echoes, 1);
    }

    void loopbackAnswers()
    {
        QFile ignore(QStringLiteral("/proc/sys/net/ipv4/icmp_echo_ignore_all"));
        if (ignore.open(QIODevice::ReadOnly) && ignore.readAll().trimmed() != "0")
            QSKIP("this host ignores every echo request (net.ipv4.icmp_echo_ignore_all)");
        auto client = Make_System_Echo_Client();
        const Echo_Result r = client->Echo(Loopback, Loopback.toUtf8(), 0, 2000);
        if (r.No_Socket)
            QSKIP(qPrintable(QStringLiteral("neither an ICMP datagram socket nor a raw socket can be opened here: ")
                             + r.Error));
        QVERIFY2(r.Ok, qPrintable(r.Error));
        // ICMP header (8 bytes) and the echoed data.
        QCOMPARE(r.Bytes_Received, 8 + int(Loopback.size()));

        System_Ping_Clock clock;
        int processed = 0;
        const Ping_Test_Result t = Ping_Test(Loopback, *client, clock, [&] { ++processed; });
        QCOMPARE(t.Outcome, Ping_Outcome::Found);
        QCOMPARE(t.Successes, 2);
        QVERIFY(processed >= 2);
    }

    // In a network namespace of its own the test first checks that both kinds
    // of socket get answers, then has the namespace drop every echo.
    void namespaceThatDropsEchoes()
    {
        Namespace_Run run;
        std::thread worker([&run] {
            // A network namespace belongs to the thread that makes it; it dies with the thread.
            if (::unshare(CLONE_NEWNET) != 0) {
                run.Skip = QStringLiteral("cannot make a network namespace here (unshare: %1)")
                               .arg(QString::fromLocal8Bit(strerror(errno)));
                return;
            }
            if (!Bring_Loopback_Up()) {
                run.Skip = QStringLiteral("cannot bring up the namespace's loopback interface");
                return;
            }
            auto client = Make_System_Echo_Client();
            const QByteArray data = Loopback.toUtf8();
            const char* range = "/proc/sys/net/ipv4/ping_group_range";
            const char* ignore = "/proc/sys/net/ipv4/icmp_echo_ignore_all";
            if (!Write_Proc(range, "1 0")) {
                run.Skip = QStringLiteral("cannot set the namespace's ping_group_range");
                return;
            }
            run.Raw_Answered = client->Echo(Loopback, data, 0, 2000);
            Write_Proc(range, "0 2147483647");
            run.Datagram_Answered = client->Echo(Loopback, data, 0, 2000);
            if (!Write_Proc(ignore, "1")) {
                run.Skip = QStringLiteral("cannot have the namespace drop echoes (icmp_echo_ignore_all)");
                return;
            }
            run.Datagram_Dropped = client->Echo(Loopback, data, 0, 400);
            Write_Proc(range, "1 0");
            run.Raw_Dropped = client->Echo(Loopback, data, 0, 400);
            System_Ping_Clock clock;
            run.Ping = Ping_Test(Loopback, *client, clock, {});
        });
        worker.join();
        if (!run.Skip.isEmpty())
            QSKIP(qPrintable(run.Skip));
        if (run.Raw_Answered.No_Socket)
            QSKIP(qPrintable(QStringLiteral("no raw ICMP socket in the namespace: ") + run.Raw_Answered.Error));

        QVERIFY2(run.Raw_Answered.Ok, qPrintable(run.Raw_Answered.Error));
        QCOMPARE(run.Raw_Answered.Socket_Kind, QStringLiteral("raw"));
        QVERIFY(run.Raw_Answered.Bytes_Received > 0);
        QVERIFY2(run.Datagram_Answered.Ok, qPrintable(run.Datagram_Answered.Error));
        QCOMPARE(run.Datagram_Answered.Socket_Kind, QStringLiteral("datagram"));
        QVERIFY(run.Datagram_Answered.Bytes_Received > 0);

        QVERIFY2(run.Datagram_Dropped.Ok, qPrintable(run.Datagram_Dropped.Error));
        QCOMPARE(run.Datagram_Dropped.Bytes_Received, 0);
        QVERIFY2(run.Raw_Dropped.Ok, qPrintable(run.Raw_Dropped.Error));
        QCOMPARE(run.Raw_Dropped.Socket_Kind, QStringLiteral("raw"));
        QCOMPARE(run.Raw_Dropped.Bytes_Received, 0);

        QCOMPARE(run.Ping.Outcome, Ping_Outcome::Not_Found);
        QCOMPARE(run.Ping.Successes, 0);
        QVERIFY(run.Ping.Echoes > 2);
    }
};

QTEST_GUILESS_MAIN(TestEchoClient)
#include "tst_echo_client.moc"
