// The connection test over a scripted echo client and a clock that only moves
// when the test's code sleeps or an echo waits.

#include "update/ping_test.h"

#include <QTest>

using namespace lw;

namespace {

class Fake_Clock : public Ping_Clock {
public:
    explicit Fake_Clock(quint32 start) : now(start) {}
    quint32 Tick_Ms() override { return now; }
    void Sleep_Ms(int ms) override { now += quint32(ms); ++sleeps; }
    quint32 now;
    int sleeps = 0;
};

// One scripted answer: bytes > 0 a reply with data, 0 no reply (the client
// waits its whole time-out), -1 an error. cost: the time the echo takes.
struct Step {
    int bytes;
    int cost;
};

class Fake_Echo : public Echo_Client {
public:
    Fake_Echo(Fake_Clock& clock, QList<Step> script, Step rest) : m_clock(clock), m_script(script), m_rest(rest) {}

    Echo_Result Echo(const QString& host, const QByteArray& data, quint16 sequence, int timeoutMs) override
    {
        hosts << host;
        payloads << data;
        sequences << sequence;
        timeouts << timeoutMs;
        const Step step = m_script.isEmpty() ? m_rest : m_script.takeFirst();
        m_clock.now += quint32(step.cost);
        Echo_Result r;
        if (step.bytes < 0) {
            r.Error = QStringLiteral("network refused the echo");
            return r;
        }
        r.Ok = true;
        r.Bytes_Received = step.bytes;
        return r;
    }

    QStringList hosts;
    QList<QByteArray> payloads;
    QList<int> sequences;
    QList<int> timeouts;

private:
    Fake_Clock& m_clock;
    QList<Step> m_script;
    Step m_rest;
};

const Step Data {40, 3};
const Step Slow_Data {40, 200};
const Step Silence {0, 400};
const Step Failure {-1, 0};

QList<Step> Repeat(Step s, int n)
{
    return QList<Step>(n, s);
}

} // namespace

Q_DECLARE_METATYPE(Step)
Q_DECLARE_METATYPE(QList<Step>)
Q_DECLARE_METATYPE(lw::Ping_Outcome)

class TestPingTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void pingReply()
    {
        QCOMPARE(PingReply(0), int(Ping_No_Data));
        QCOMPARE(PingReply(1), int(Ping_Data));
        QCOMPARE(PingReply(64), int(Ping_Data));
        QCOMPARE(PingReply(-5), int(Ping_No_Data));
    }

    void messageIndex()
    {
        QCOMPARE(Ping_Message_Index(Ping_Outcome::Found), 69);
        QCOMPARE(Ping_Message_Index(Ping_Outcome::Not_Found), 70);
        QCOMPARE(Ping_Message_Index(Ping_Outcome::Error), 71);
    }

    void outcome_data()
    {
        QTest::addColumn<quint32>("start");
        QTest::addColumn<QList<Step>>("script");
        QTest::addColumn<Step>("rest");
        QTest::addColumn<Ping_Outcome>("outcome");
        QTest::addColumn<int>("echoes");
        QTest::addColumn<int>("successes");

        // 400 ms of silence plus one 10 ms pause per echo: the 25th echo passes the 10 s bound.
        QTest::newRow("two replies with data") << 1000u << QList<Step>() << Data << Ping_Outcome::Found << 2 << 2;
        QTest::newRow("no reply for 10 s") << 1000u << QList<Step>() << Silence << Ping_Outcome::Not_Found << 25 << 0;
        QTest::newRow("tick counter wraps during the test")
            << 0xFFFFF000u << QList<Step>() << Silence << Ping_Outcome::Not_Found << 25 << 0;
        QTest::newRow("one reply with data, then silence")
            << 1000u << QList<Step>{Data} << Silence << Ping_Outcome::Not_Found << 26 << 1;
        QTest::newRow("replies after a few misses")
            << 1000u << Repeat(Silence, 3) << Data << Ping_Outcome::Found << 5 << 2;
        QTest::newRow("a miss between two replies")
            << 1000u << QList<Step>{Data, Silence} << Data << Ping_Outcome::Found << 3 << 2;
        QTest::newRow("single reply with data is the last one")
            << 1000u << Repeat(Silence, 24) + QList<Step>{Slow_Data} << Silence << Ping_Outcome::Found << 25 << 1;
        QTest::newRow("last reply without data")
            << 1000u << Repeat(Silence, 23) + QList<Step>{Data} << Silence << Ping_Outcome::Not_Found << 26 << 1;
        QTest::newRow("error at once") << 1000u << QList<Step>() << Failure << Ping_Outcome::Error << 1 << 0;
        QTest::newRow("error after a reply")
            << 1000u << QList<Step>{Data} << Failure << Ping_Outcome::Error << 2 << 1;
    }

    void outcome()
    {
        QFETCH(quint32, start);
        QFETCH(QList<Step>, script);
        QFETCH(Step, rest);
        QFETCH(Ping_Outcome, outcome);
        QFETCH(int, echoes);
        QFETCH(int, successes);

        Fake_Clock clock(start);
        Fake_Echo echo(clock, script, rest);
        int processed = 0;
        const QString host = QStringLiteral("192.168.0.5");
        const Ping_Test_Result r = Ping_Test(host, echo, clock, [&] { ++processed; });

        QCOMPARE(r.Outcome, outcome);
        QCOMPARE(r.Echoes, echoes);
        QCOMPARE(r.Successes, successes);
        QCOMPARE(echo.hosts.size(), echoes);
        QCOMPARE(r.Error.isEmpty(), outcome != Ping_Outcome::Error);
        for (int i = 0; i < echo.hosts.size(); ++i) {
            QCOMPARE(echo.hosts[i], host);
            QCOMPARE(echo.payloads[i], host.toUtf8());
            QCOMPARE(echo.sequences[i], 0);
            QCOMPARE(echo.timeouts[i], 400);
        }
        // One 10 ms pause, with the window system's turn, after every answered echo.
        QCOMPARE(processed, clock.sleeps);
        QCOMPARE(clock.sleeps, outcome == Ping_Outcome::Error ? echoes - 1 : echoes);
        if (outcome == Ping_Outcome::Not_Found)
            QVERIFY(quint32(clock.now - start) > Ping_Bound_Ms);
    }

    void hostIsPassedAsTyped()
    {
        Fake_Clock clock(0);
        Fake_Echo echo(clock, {}, Failure);
        const QString host = QStringLiteral(" 192.168.0 .5");
        const Ping_Test_Result r = Ping_Test(host, echo, clock, {});
        QCOMPARE(r.Outcome, Ping_Outcome::Error);
        QCOMPARE(echo.hosts, QStringList{host});
    }
};

QTEST_APPLESS_MAIN(TestPingTest)
#include "tst_ping_test.moc"
