// Whole-file reads judge the file they opened, not the name they checked: a
// named pipe swapped into the file's place at any moment is refused and never
// waited on.

#include "platform/atomic_file.h"

#include "common/test_support.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <atomic>
#include <fcntl.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

using namespace lw;

class TestAtomicFile : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // One thread reads the file over and over while the test swaps a plain
    // file and a pipe into its place. A reader that checked the name first and
    // opened it afterwards would, sooner or later, open the pipe and wait for
    // a writer that never comes.
    void readNeverWaitsOnAPipeSwappedIn()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString target = dir.filePath("ParGen.xml");
        const QByteArray plain = QFile::encodeName(dir.filePath("plain"));
        const QByteArray fifo = QFile::encodeName(dir.filePath("fifo"));
        const QByteArray swap = QFile::encodeName(dir.filePath("swap"));
        const QByteArray name = QFile::encodeName(target);
        test::Write_Bytes(dir.filePath("plain"), "<ParGen/>");
        QVERIFY(::mkfifo(fifo.constData(), 0600) == 0);
        QVERIFY(::link(plain.constData(), name.constData()) == 0);

        std::atomic<bool> stop {false};
        std::atomic<bool> readerDone {false};
        std::atomic<int> reads {0};
        std::atomic<int> refused {0};
        std::atomic<int> otherErrors {0};
        std::thread reader([&] {
            while (!stop) {
                QByteArray data;
                QString error;
                if (Read_File(target, data, error, 1024))
                    ++reads;
                else if (error.contains("not a plain file"))
                    ++refused;
                else if (!error.contains("No such file"))
                    ++otherErrors;
            }
            readerDone = true;
        });
        for (int i = 0; i < 40000 && !(i > 4000 && reads > 50 && refused > 50); ++i) {
            ::unlink(swap.constData());
            if (::link((i % 2 ? plain : fifo).constData(), swap.constData()) == 0)
                ::rename(swap.constData(), name.constData());
        }
        stop = true;

        // A reader stuck in open() on the pipe is let go by a writer, so that
        // the test ends and reports it instead of hanging.
        for (int i = 0; i < 2000 && !readerDone; ++i)
            ::usleep(1000);
        bool wasStuck = false;
        for (int i = 0; i < 2000 && !readerDone; ++i) {
            const int fd = ::open(fifo.constData(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
            if (fd >= 0) {
                wasStuck = true;
                ::close(fd);
            }
            ::usleep(1000);
        }
        reader.join();
        QVERIFY2(!wasStuck, "a read waited on the named pipe");
        QVERIFY(reads > 0);
        QVERIFY(refused > 0);
        QCOMPARE(otherErrors.load(), 0);
    }
};

QTEST_GUILESS_MAIN(TestAtomicFile)
#include "tst_atomic_file.moc"
