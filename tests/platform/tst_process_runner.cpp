// Starting an external program and waiting for it with a time limit.

#include "platform/named_event.h"
#include "platform/process_runner.h"

#include "common/test_support.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <csignal>
#include <sys/types.h>
#include <unistd.h>

using namespace lw;

namespace {

QString Write_Script(const QTemporaryDir& dir, const QString& name, const QByteArray& body,
                     QFile::Permissions perms = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner)
{
    const QString path = dir.filePath(name);
    test::Write_Bytes(path, "#!/bin/sh\n" + body);
    QFile::setPermissions(path, perms);
    return path;
}

// The process state letter from /proc/<pid>/stat; empty when there is no such process.
QByteArray Process_State(qint64 pid)
{
    QFile f(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!f.open(QIODevice::ReadOnly))
        return {};
    const QByteArray stat = f.readAll();
    const qsizetype close = stat.lastIndexOf(')');
    return close < 0 ? QByteArray() : stat.mid(close + 2, 1);
}

} // namespace

class TestProcessRunner : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void programThatEndsAtOnce()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString script = Write_Script(dir, "quick", "exit 7\n");
        const Run_Result r = Start_Program(script, QString(), false);
        QCOMPARE(r.Outcome, Run_Outcome::Ended);
        QCOMPARE(r.Exit.How, Process_Exit::Exited);
        QCOMPARE(r.Exit.Code, 7);
        QVERIFY(r.Pid > 0);
        // Once the end is seen the wait takes one more pause and stops: far fewer pauses than the limit allows.
        QVERIFY(r.Pauses >= 1);
        QVERIFY(r.Pauses < int(Runner_Limit_Ms / Runner_Pause_Ms) / 10);
        QVERIFY(Process_State(r.Pid).isEmpty()); // collected, no zombie
    }

    void parameters_data()
    {
        QTest::addColumn<QString>("parameter");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("empty: no parameters") << QString() << QByteArray("0\n");
        QTest::newRow("two words") << QStringLiteral("FW PR") << QByteArray("2\nFW\nPR\n");
        QTest::newRow("quoted") << QStringLiteral("\"a b\" c") << QByteArray("2\na b\nc\n");
        QTest::newRow("no shell expansion") << QStringLiteral("$HOME;true") << QByteArray("1\n$HOME;true\n");
    }

    void parameters()
    {
        QFETCH(QString, parameter);
        QFETCH(QByteArray, expected);
        QTemporaryDir dir;
        const QString out = dir.filePath("args");
        Write_Script(dir, "show", "{ echo $#; for a in \"$@\"; do echo \"$a\"; done; } > \"" + out.toUtf8() + "\"\n");
        const Run_Result r = Start_Program(dir.filePath("show"), parameter, true);
        QCOMPARE(r.Outcome, Run_Outcome::Ended);
        QCOMPARE(r.Exit.Code, 0);
        QCOMPARE(test::Read_Bytes(out), expected);
    }

    void programThatCannotStart_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("missing") << "missing.exe";
        QTest::newRow("not executable") << "plain";
        QTest::newRow("folder") << "folder";
        QTest::newRow("empty name") << "";
    }

    void programThatCannotStart()
    {
        QFETCH(QString, name);
        QTemporaryDir dir;
        Write_Script(dir, "plain", "exit 0\n", QFile::ReadOwner | QFile::WriteOwner);
        QVERIFY(QDir(dir.path()).mkdir("folder"));
        const QString path = name.isEmpty() ? QString() : dir.filePath(name);
        const Run_Result r = Start_Program(path, QString(), false);
        QCOMPARE(r.Outcome, Run_Outcome::Not_Started);
        QCOMPARE(r.Pauses, 0);
        QVERIFY(!r.Error.isEmpty());
    }

    // A program that outlives the limit is left running; when it ends later it is reaped.
    void programThatOutlivesTheLimit()
    {
        QTemporaryDir dir;
        const QString script = Write_Script(dir, "slow", "exec sleep 60\n");
        Runner_Settings settings;
        settings.Limit_Ms = 300;
        const Run_Result r = Start_Program(script, QString(), false, settings);
        QCOMPARE(r.Outcome, Run_Outcome::Still_Running);
        QVERIFY(r.Elapsed_Ms >= settings.Limit_Ms);
        const QByteArray state = Process_State(r.Pid);
        QVERIFY2(!state.isEmpty() && state != "Z", state.constData());

        QCOMPARE(::kill(pid_t(r.Pid), SIGKILL), 0);
        QTRY_VERIFY_WITH_TIMEOUT(Process_State(r.Pid).isEmpty(), 20000);
    }

    // The elapsed time is an unsigned tick difference: a wrap of the counter does not end the wait early.
    void tickCounterWraps()
    {
        QTemporaryDir dir;
        const QString script = Write_Script(dir, "slow", "exec sleep 60\n");
        quint32 now = 0xFFFFFF00u;
        Runner_Settings settings;
        settings.Limit_Ms = 600;
        settings.Tick = [&now] { return now += 10; };
        // The caller hears of every pause, with the time elapsed before it.
        QList<quint32> heard;
        settings.Waiting = [&heard](quint32 elapsedMs) { heard << elapsedMs; };
        const Run_Result r = Start_Program(script, QString(), false, settings);
        ::kill(pid_t(r.Pid), SIGKILL);
        QCOMPARE(r.Outcome, Run_Outcome::Still_Running);
        QVERIFY(r.Elapsed_Ms >= 600);
        QVERIFY(r.Pauses >= 59);
        QVERIFY(now < 0xFFFFFF00u); // the counter did wrap
        QCOMPARE(heard.size(), r.Pauses);
        QVERIFY(std::is_sorted(heard.begin(), heard.end()));
        QVERIFY(heard.last() < 600);
    }

    void namedEvent()
    {
        const QString name = QStringLiteral("lw_test_event_%1").arg(::getpid());
        std::unique_ptr<Named_Event> a = Named_Event::Open(name);
        QVERIFY(a);
        std::unique_ptr<Named_Event> b = Named_Event::Open(name); // the existing one
        QVERIFY(b);
        QVERIFY(!a->Wait(10));
        b->Signal();
        b->Signal(); // an event, not a counter
        QVERIFY(a->Wait(1000));
        QVERIFY(!a->Wait(10)); // auto-reset
        b->Signal();
        a->Reset();
        QVERIFY(!b->Wait(10));
        QVERIFY(Named_Event::Remove(name));
        QVERIFY(!Named_Event::Open(QStringLiteral("bad/name")));
    }
};

QTEST_GUILESS_MAIN(TestProcessRunner)
#include "tst_process_runner.moc"
