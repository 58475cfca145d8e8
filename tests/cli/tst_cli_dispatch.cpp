// What the tool's dispatch gives every command: "COMMAND --help" prints that
// command's usage and exits 0; a write to stdout or stderr that fails makes
// the exit code 2, whatever the command returned.

#include "cli/cli_io.h"
#include "cli/cli_run.h"

#include <QIODevice>
#include <QTemporaryDir>
#include <QTest>

namespace {

// A device that takes nothing, as a full disk.
class Full_Device : public QIODevice {
public:
    Full_Device() { open(QIODevice::WriteOnly); }

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char*, qint64) override
    {
        setErrorString(QStringLiteral("No space left on device"));
        return -1;
    }
};

} // namespace

class TestCliDispatch : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void commandHelp_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("usage");   // how the usage line begins
        QTest::newRow("lang") << QStringList{"lang", "--help"} << "lang LANGUAGE_DIR NAME";
        QTest::newRow("lang-check") << QStringList{"lang-check", "--help"} << "lang-check FILE";
        QTest::newRow("check") << QStringList{"check", "--help"} << "check PROJECT_DIR";
        QTest::newRow("compile") << QStringList{"compile", "--help"} << "compile PROJECT_DIR";
        QTest::newRow("inspect") << QStringList{"inspect", "--help"} << "inspect BANK_BIN";
        QTest::newRow("update") << QStringList{"update", "--help"} << "update PROJECT_DIR --ip ADDRESS";
        QTest::newRow("-h") << QStringList{"compile", "-h"} << "compile PROJECT_DIR";
        QTest::newRow("after other arguments, nothing run") << QStringList{"compile", "/no/such/project", "--help"}
                                                            << "compile PROJECT_DIR";
    }

    void commandHelp()
    {
        QFETCH(QStringList, args);
        QFETCH(QString, usage);
        const lw::test::Cli_Run run = lw::test::Run_Tool(args);
        QCOMPARE(run.code, 0);
        QVERIFY2(run.out.startsWith("Usage: loomwright-cli " + usage), qPrintable(run.out));
        QCOMPARE(run.err, QString());
    }

    void unknownCommandWithHelp()
    {
        const lw::test::Cli_Run run = lw::test::Run_Tool({"frobnicate", "--help"});
        QCOMPARE(run.code, 2);
        QVERIFY2(run.err.contains("unknown command 'frobnicate'"), qPrintable(run.err));
    }

    // The dispatch itself turns a failed write into exit code 2: a command
    // added to the table gets it without code of its own.
    void failedStream_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<bool>("fullOut");
        QTest::addColumn<int>("code");   // the code with both streams working
        QTest::newRow("--version, stdout full") << QStringList{"--version"} << true << 0;
        QTest::newRow("compile --help, stdout full") << QStringList{"compile", "--help"} << true << 0;
        QTest::newRow("usage error, stderr full") << QStringList{"compile"} << false << 2;
        QTest::newRow("inspect of a missing file, stderr full") << QStringList{"inspect", "/no/such/bank.bin"} << false
                                                                << 2;
        QTest::newRow("--version, stderr full (not written)") << QStringList{"--version"} << false << 0;
    }

    void failedStream()
    {
        QFETCH(QStringList, args);
        QFETCH(bool, fullOut);
        QFETCH(int, code);
        QString text;
        QTextStream good(&text);
        Full_Device full;
        QTextStream bad(&full);
        lw::cli::CliIO io{fullOut ? bad : good, fullOut ? good : bad};
        const int got = lw::cli::Run_Cli(args, io);
        // A stream that was never written to has not failed.
        const bool written = fullOut || code != 0;
        QCOMPARE(got, written ? 2 : code);
        if (fullOut)
            QVERIFY2(text.contains("cannot write to standard output"), qPrintable(text));
    }
};

QTEST_GUILESS_MAIN(TestCliDispatch)
#include "tst_cli_dispatch.moc"
