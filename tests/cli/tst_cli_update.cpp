// loomwright-cli update, run in-process with a stand-in compiler, a scripted
// echo client and clock, and the stand-in updater (or scripts in its place).

#include "cli/cmd_update.h"
#include "lang/language_file.h"
#include "update/job_file.h"

#include "common/test_support.h"

#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

#include <csignal>

using namespace lw;

namespace {

class Fake_Clock : public Ping_Clock {
public:
    quint32 Tick_Ms() override { return now; }
    void Sleep_Ms(int ms) override { now += quint32(ms); }
    quint32 now = 5000;
};

// Every echo answers alike: with data (bytes > 0), silence (0) or an error (-1).
class Fake_Echo : public Echo_Client {
public:
    Fake_Echo(Fake_Clock& clock, int bytes, QStringList& hosts) : m_clock(clock), m_bytes(bytes), m_hosts(hosts) {}
    Echo_Result Echo(const QString& host, const QByteArray&, quint16, int timeoutMs) override
    {
        m_hosts << host;
        Echo_Result r;
        if (m_bytes < 0) {
            r.Error = QStringLiteral("the network refused the echo");
            return r;
        }
        m_clock.now += m_bytes > 0 ? 2u : quint32(timeoutMs);
        r.Ok = true;
        r.Bytes_Received = m_bytes;
        return r;
    }

private:
    Fake_Clock& m_clock;
    int m_bytes;
    QStringList& m_hosts;
};

QByteArray Valid_Image()
{
    QByteArray image(22528, '\0');
    quint32 sum = 0;
    for (int i = 0x5000; i < 0x57FC; ++i) {
        image[i] = char(i & 0x3F);
        sum += quint8(image[i]);
    }
    qToLittleEndian<quint32>(sum, image.data() + 0x57FC);
    return image;
}

struct Bench {
    QTemporaryDir dir;
    QString app, project;
    Fake_Clock clock;
    QStringList hosts;
    int echoBytes = 48;
    QString compileError;
    int compiles = 0;
    cli::Update_Road road;
    QString out, err;

    Bench()
    {
        app = dir.filePath("app");
        project = dir.filePath("PROJECTS/Plant 3");
        QDir().mkpath(project);
        test::Write_Bytes(app + "/MASTER/Sim4315.sim", "firmware");
        road.Dir_App = app;
        road.Clock = &clock;
        road.Compile = [this](const ProgramState& state, QString* summary) {
            ++compiles;
            if (!compileError.isEmpty())
                return compileError;
            test::Write_Bytes(state.Dir_Project + "/bin/bank.bin", Valid_Image());
            *summary = QStringLiteral("22528 bytes");
            return QString();
        };
        road.Make_Echo_Client = [this] { return std::make_unique<Fake_Echo>(clock, echoBytes, hosts); };
    }

    void Use_Stand_In() { QVERIFY(QFile::copy(test::Bin_Dir() + "/NetLoader.exe", app + "/NetLoader.exe")); }

    void Use_Script(const QByteArray& body)
    {
        test::Write_Bytes(app + "/NetLoader.exe", "#!/bin/sh\n" + body);
        QFile::setPermissions(app + "/NetLoader.exe", QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }

    int Run(const QStringList& args)
    {
        QString o, e;
        QTextStream os(&o), es(&e);
        cli::CliIO io{os, es};
        const int code = cli::Run_Update(args, io, road);
        os.flush();
        es.flush();
        out = o;
        err = e;
        return code;
    }

    ProgramState State() const
    {
        ProgramState s;
        s.Dir_App = app;
        s.Dir_Master = app + "/MASTER";
        s.Dir_Project = project;
        return s;
    }
    QString Job() const { return app + "/NetLoader.xml"; }
};

QString Entry(int index)
{
    ProgramState s;
    Load_Language(s);
    return s.Text(index);
}

} // namespace

class TestCliUpdate : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { qputenv("NETLOADER_NO_WINDOW", "1"); }

    void wholeRoad_data()
    {
        QTest::addColumn<QStringList>("flags");
        QTest::addColumn<int>("bits"); // firmware, read firmware, configuration, read configuration
        QTest::newRow("all four") << QStringList() << 15;
        QTest::newRow("no firmware") << QStringList{"--no-firmware"} << 14;
        QTest::newRow("no configuration") << QStringList{"--no-configuration"} << 11;
        QTest::newRow("no read-backs") << QStringList{"--no-read-firmware", "--no-read-configuration"} << 5;
        QTest::newRow("nothing to write") << QStringList{"--no-firmware", "--no-configuration"} << 10;
        QTest::newRow("nothing at all")
            << QStringList{"--no-firmware", "--no-read-firmware", "--no-configuration", "--no-read-configuration"}
            << 0;
    }

    void wholeRoad()
    {
        QFETCH(QStringList, flags);
        QFETCH(int, bits);
        Bench b;
        b.Use_Stand_In();
        const int code = b.Run(QStringList{b.project, "--ip", " 127.0.0.1 "} + flags);
        QVERIFY2(code == 0, qPrintable(b.out + b.err));
        QCOMPARE(b.compiles, 1);
        QCOMPARE(b.hosts, (QStringList{"127.0.0.1", "127.0.0.1"}));
        QVERIFY(b.out.contains(Entry(69)));
        QVERIFY(b.out.contains("The updater ended with exit code 0."));

        // The job file is exactly what the update dialog writes for these options.
        const QByteArray written = test::Read_Bytes(b.Job());
        Update_Options o;
        o.Write_Firmware = bits & 1;
        o.Read_Firmware = bits & 2;
        o.Write_Configuration = bits & 4;
        o.Read_Configuration = bits & 8;
        QCOMPARE(Compile_XML_Parameter("127", "0", "0", "1", o, b.State()), QString());
        QCOMPARE(written, test::Read_Bytes(b.Job()));
        // The settings file is not written.
        QVERIFY(!QFileInfo::exists(b.app + "/Loomwright.xml"));
    }

    void settingsFileIsLeftAlone()
    {
        Bench b;
        b.Use_Stand_In();
        const QByteArray settings = "<Conf_Settings><lastipadd><ipaddress>10.1.1.1</ipaddress></lastipadd></Conf_Settings>";
        test::Write_Bytes(b.app + "/Loomwright.xml", settings);
        QCOMPARE(b.Run({b.project, "--ip", "127.0.0.1"}), 0);
        QCOMPARE(test::Read_Bytes(b.app + "/Loomwright.xml"), settings);
    }

    void compileStops()
    {
        Bench b;
        b.Use_Stand_In();
        b.compileError = QStringLiteral("Error row 3");
        QCOMPARE(b.Run({b.project, "--ip", "127.0.0.1"}), 1);
        QVERIFY(b.err.contains("Error row 3"));
        QVERIFY(b.hosts.isEmpty());
        QVERIFY(!QFileInfo::exists(b.Job()));
    }

    void missingProject()
    {
        Bench b;
        QCOMPARE(b.Run({b.dir.filePath("PROJECTS/none"), "--ip", "127.0.0.1"}), 1);
        QCOMPARE(b.compiles, 0);
        QVERIFY(b.err.contains("does not exist"));
    }

    void addressRefused_data()
    {
        QTest::addColumn<QString>("address");
        QTest::newRow("octet too large") << "192.168.0.256";
        QTest::newRow("three octets") << "192.168.0";
        QTest::newRow("name") << "converter.local";
        QTest::newRow("empty") << "";
    }

    void addressRefused()
    {
        QFETCH(QString, address);
        Bench b;
        b.Use_Stand_In();
        QCOMPARE(b.Run({b.project, "--ip", address}), 2);
        QCOMPARE(b.compiles, 1);
        QVERIFY(b.hosts.isEmpty());
        QVERIFY(!QFileInfo::exists(b.Job()));
    }

    void pingFails_data()
    {
        QTest::addColumn<int>("bytes");
        QTest::addColumn<int>("entry");
        QTest::newRow("no reply") << 0 << 70;
        QTest::newRow("error") << -1 << 71;
    }

    void pingFails()
    {
        QFETCH(int, bytes);
        QFETCH(int, entry);
        Bench b;
        b.Use_Stand_In();
        b.echoBytes = bytes;
        QCOMPARE(b.Run({b.project, "--ip", "127.0.0.1"}), 3);
        QVERIFY(b.out.endsWith(Entry(entry) + "\n"));
        if (bytes < 0)
            QVERIFY(b.err.contains("the network refused the echo"));
        QVERIFY(!QFileInfo::exists(b.Job()));
    }

    void updaterMissing()
    {
        Bench b;
        QCOMPARE(b.Run({b.project, "--ip", "127.0.0.1"}), 4);
        QVERIFY(b.err.contains("the updater was not started"));
        QVERIFY(QFileInfo::exists(b.Job()));
    }

    void jobFileCannotBeWritten()
    {
        Bench b;
        b.Use_Script("touch \"$(dirname \"$0\")/started\"\n");
        QVERIFY(QDir().mkpath(b.Job()));
        QCOMPARE(b.Run({b.project, "--ip", "127.0.0.1"}), 4);
        QVERIFY(b.err.contains("NetLoader.xml"));
        QVERIFY(!QFileInfo::exists(b.app + "/started"));
    }

    // The updater's own codes are not the tool's: 0 stays 0, any other end
    // is 5, with the updater's code or signal on stderr.
    void updaterEnd_data()
    {
        QTest::addColumn<QByteArray>("script");
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("said");
        QTest::newRow("exit code 0") << QByteArray("exit 0\n") << 0 << "";
        QTest::newRow("exit code 1 (not the tool's compile stop)") << QByteArray("exit 1\n") << 5
                                                                  << "the updater ended with exit code 1";
        QTest::newRow("exit code 3 (not the tool's ping failure)") << QByteArray("exit 3\n") << 5
                                                                  << "the updater ended with exit code 3";
        QTest::newRow("exit code 7, once the job file is there")
            << QByteArray("[ -f \"$(dirname \"$0\")/NetLoader.xml\" ] && [ $# -eq 0 ] && exit 7\nexit 1\n") << 5
            << "the updater ended with exit code 7";
        QTest::newRow("ended by SIGTERM") << QByteArray("kill -TERM $$\n") << 5
                                          << QStringLiteral("the updater was ended by signal %1").arg(SIGTERM);
    }

    void updaterEnd()
    {
        QFETCH(QByteArray, script);
        QFETCH(int, code);
        QFETCH(QString, said);
        Bench b;
        b.Use_Script(script);
        QCOMPARE(b.Run({b.project, "--ip", "127.0.0.1"}), code);
        if (said.isEmpty())
            QVERIFY2(b.err.isEmpty(), qPrintable(b.err));
        else
            QVERIFY2(b.err.contains(said), qPrintable(b.err));
    }

    // The real road checks the project before it compiles: values the
    // checks refuse stop it with exit code 1 and the check's message, before
    // any image, ping or job file.
    void checksRefuseTheProject()
    {
        Bench b;
        b.Use_Stand_In();
        b.road.Compile = cli::Default_Update_Road().Compile;
        test::Write_Bytes(b.project + "/ParGen.xml", "<Par_Gen><PROFINET_IP1>300</PROFINET_IP1></Par_Gen>");
        QCOMPARE(b.Run({b.project, "--ip", "127.0.0.1"}), 1);
        QVERIFY2(b.err.contains(Entry(957)), qPrintable(b.err));
        QVERIFY(!QFileInfo::exists(b.project + "/bin/bank.bin"));
        QVERIFY(b.hosts.isEmpty());
        QVERIFY(!QFileInfo::exists(b.Job()));
    }

    void updaterStillRunning()
    {
        Bench b;
        b.Use_Script("exec sleep 60\n");
        b.road.Runner.Limit_Ms = 300;
        QCOMPARE(b.Run({b.project, "--ip", "127.0.0.1"}), 4);
        const QRegularExpressionMatch m = QRegularExpression("process (\\d+)\\) is still running").match(b.out);
        QVERIFY2(m.hasMatch(), qPrintable(b.out));
        const qint64 pid = m.captured(1).toLongLong();
        QCOMPARE(::kill(pid_t(pid), 0), 0);
        ::kill(pid_t(pid), SIGKILL);
    }

    void usageErrors_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::newRow("nothing") << QStringList();
        QTest::newRow("no address") << QStringList{"project"};
        QTest::newRow("--ip without value") << QStringList{"project", "--ip"};
        QTest::newRow("no project") << QStringList{"--ip", "127.0.0.1"};
        QTest::newRow("unknown option") << QStringList{"project", "--ip", "127.0.0.1", "--fast"};
        QTest::newRow("two projects") << QStringList{"a", "b", "--ip", "127.0.0.1"};
    }

    void usageErrors()
    {
        QFETCH(QStringList, args);
        Bench b;
        QCOMPARE(b.Run(args), 2);
        QCOMPARE(b.compiles, 0);
        QVERIFY(b.err.contains("Try 'loomwright-cli --help'"));
    }

    // The real echo client against 127.0.0.1 and the stand-in updater.
    void realEchoOnLoopback()
    {
        Bench b;
        b.Use_Stand_In();
        b.road.Clock = nullptr;
        b.road.Make_Echo_Client = [] { return Make_System_Echo_Client(); };
        const Echo_Result probe = Make_System_Echo_Client()->Echo("127.0.0.1", "127.0.0.1", 0, 2000);
        if (probe.No_Socket)
            QSKIP(qPrintable("neither an ICMP datagram socket nor a raw socket can be opened here: " + probe.Error));
        if (probe.Bytes_Received == 0)
            QSKIP("this host does not answer echoes on 127.0.0.1");
        QCOMPARE(b.Run({b.project, "--ip=127.0.0.1"}), 0);
    }

    void toolBinary()
    {
        QProcess p;
        p.start(test::Bin_Dir() + "/loomwright-cli", {"update", "project"});
        QVERIFY(p.waitForFinished(30000));
        QCOMPARE(p.exitCode(), 2);
        QVERIFY(p.readAllStandardError().contains("--ip"));
    }
};

QTEST_GUILESS_MAIN(TestCliUpdate)
#include "tst_cli_update.moc"
