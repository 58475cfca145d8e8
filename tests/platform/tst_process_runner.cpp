// Starting an external program and waiting for it with a time limit.

#include "platform/named_event.h"
#include "platform/process_runner.h"

#include "common/test_support.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <sched.h>
#include <semaphore.h>
#include <sys/mount.h>
#include <sys/stat.h>
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

// Why this process has no /dev/shm of its own; empty when it has one.
QString& Shm_Problem()
{
    static QString problem = QStringLiteral("not tried");
    return problem;
}

bool Write_Proc(const char* path, const QByteArray& text)
{
    const int fd = ::open(path, O_WRONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool ok = ::write(fd, text.constData(), size_t(text.size())) == text.size();
    ::close(fd);
    return ok;
}

// Called first in main(), while one thread runs: a private mount namespace
// (as root a plain one, else inside a user namespace) with an empty tmpfs on
// /dev/shm, so that the event objects planted below are seen by this process
// alone.
void Enter_Private_Shm()
{
    const uid_t uid = ::geteuid();
    const gid_t gid = ::getegid();
    if (::unshare(uid == 0 ? CLONE_NEWNS : CLONE_NEWUSER | CLONE_NEWNS) != 0) {
        Shm_Problem() = QStringLiteral("cannot make a mount namespace (unshare: %1)").arg(strerror(errno));
        return;
    }
    if (uid != 0) {
        Write_Proc("/proc/self/setgroups", "deny");
        if (!Write_Proc("/proc/self/uid_map", "0 " + QByteArray::number(uid) + " 1")
            || !Write_Proc("/proc/self/gid_map", "0 " + QByteArray::number(gid) + " 1")) {
            Shm_Problem() = QStringLiteral("cannot map the user into the new user namespace");
            return;
        }
    }
    if (::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0
        || ::mount("tmpfs", "/dev/shm", "tmpfs", MS_NOSUID | MS_NODEV, "mode=1777,size=1m") != 0) {
        Shm_Problem() = QStringLiteral("cannot mount a private /dev/shm (%1)").arg(strerror(errno));
        return;
    }
    Shm_Problem().clear();
}

// What is planted in the event's place before the wait.
enum Planted { Own_Semaphore, Empty_File, Foreign_Semaphore, Shared_Semaphore, Link_To_Semaphore, Folder };

// A well-formed semaphore made by the C library, posted once.
bool Make_Semaphore(const QByteArray& name)
{
    sem_t* sem = sem_open("/" + name, O_CREAT | O_EXCL, 0600, 0);
    if (sem == SEM_FAILED)
        return false;
    sem_post(sem);
    sem_close(sem);
    return true;
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

    // The event's name in /dev/shm is open to every user. What another user
    // planted there is refused and the wait runs on plain pauses: an empty
    // file (mapping it ends the program with SIGBUS at the first wait), a
    // foreign semaphore posted over and over (every pause would end at once),
    // one that others may write, a link, a folder. The object stays as it was.
    void foreignEventObject_data()
    {
        QTest::addColumn<int>("planted");
        QTest::addColumn<QString>("reason"); // empty: the event is used
        QTest::newRow("this user's own semaphore, used") << int(Own_Semaphore) << QString();
        QTest::newRow("empty file") << int(Empty_File) << "has 0 bytes";
        QTest::newRow("semaphore of another user, posted") << int(Foreign_Semaphore) << "belongs to user 4315";
        QTest::newRow("semaphore that other users may write") << int(Shared_Semaphore) << "may be written by other users";
        QTest::newRow("symbolic link to a semaphore") << int(Link_To_Semaphore) << "is a symbolic link";
        QTest::newRow("folder") << int(Folder) << "Is a directory";
    }

    void foreignEventObject()
    {
        QFETCH(int, planted);
        QFETCH(QString, reason);
        if (!Shm_Problem().isEmpty())
            QSKIP(qPrintable(Shm_Problem()));
        const QByteArray name = "HandleCed_" + QByteArray::number(planted);
        const QByteArray file = "/dev/shm/sem." + name;
        switch (Planted(planted)) {
        case Own_Semaphore:
            QVERIFY(Make_Semaphore(name));
            break;
        case Empty_File: {
            const int fd = ::open(file.constData(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC, 0600);
            QVERIFY(fd >= 0);
            ::close(fd);
            break;
        }
        case Foreign_Semaphore:
            QVERIFY(Make_Semaphore(name));
            if (::chown(file.constData(), 4315, 4315) != 0)
                QSKIP(qPrintable(QStringLiteral("cannot give a file to another user here (%1)").arg(strerror(errno))));
            break;
        case Shared_Semaphore:
            QVERIFY(Make_Semaphore(name));
            QVERIFY(::chmod(file.constData(), 0666) == 0);
            break;
        case Link_To_Semaphore:
            QVERIFY(Make_Semaphore("elsewhere_" + name));
            QVERIFY(::symlink(("/dev/shm/sem.elsewhere_" + name).constData(), file.constData()) == 0);
            break;
        case Folder:
            QVERIFY(::mkdir(file.constData(), 0700) == 0);
            break;
        }
        struct stat before {};
        QVERIFY(::lstat(file.constData(), &before) == 0);

        QTemporaryDir dir;
        const QString script = Write_Script(dir, "updater", "sleep 0.2\nexit 3\n");
        Runner_Settings settings;
        settings.Event_Name = QString::fromLatin1(name);
        const Run_Result r = Start_Program(script, QString(), false, settings);
        QCOMPARE(r.Outcome, Run_Outcome::Ended);
        QCOMPARE(r.Exit.Code, 3);
        QVERIFY(r.Pauses >= 1);
        if (reason.isEmpty()) {
            QVERIFY2(r.Event_Error.isEmpty(), qPrintable(r.Event_Error));
        } else {
            QVERIFY2(r.Event_Error.contains(reason), qPrintable(r.Event_Error));
            QVERIFY2(r.Event_Error.contains(QString::fromLatin1(file)), qPrintable(r.Event_Error));
            QCOMPARE(r.Signalled_Pauses, 0); // a foreign post never ends a pause
        }
        struct stat after {};
        QVERIFY(::lstat(file.constData(), &after) == 0);
        QCOMPARE(after.st_ino, before.st_ino);
        QCOMPARE(after.st_size, before.st_size);
        QCOMPARE(after.st_uid, before.st_uid);
        QCOMPARE(after.st_mode, before.st_mode);
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

int main(int argc, char* argv[])
{
    Enter_Private_Shm();
    QCoreApplication app(argc, argv);
    if (!Shm_Problem().isEmpty())
        qWarning("the foreign event object rows are skipped: %s", qPrintable(Shm_Problem()));
    TestProcessRunner test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_process_runner.moc"
