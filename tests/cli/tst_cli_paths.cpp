#include "cli/cli_run.h"
#include "cli/cmd_paths.h"
#include "base/program_state.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

using lw::test::Run_Tool;

class TestCliPaths : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        qputenv("XDG_DATA_HOME", m_dir.filePath("data").toUtf8());
    }

    // The test runs from the build's tests folder, which holds no LANGUAGE
    // folder: the tool names the user's data folder and creates nothing.
    void pathsOfTheRunningTool()
    {
        const lw::test::Cli_Run run = Run_Tool({"--paths"});
        QCOMPARE(run.code, 0);
        QCOMPARE(run.err, QString());
        const QString data = m_dir.filePath("data/Loomwright");
        const QString expected = QStringLiteral(
            "Program folder:    %1\n"
            "Data folder:       %2 (the user's data folder), not created yet\n"
            "Settings file:     %2/Loomwright.xml\n"
            "Configurations:    %2/PROJECTS\n"
            "Languages:         %2/LANGUAGE\n"
            "Shipped languages: (none found)\n"
            "Firmware:          %2/MASTER/Sim4315.sim\n"
            "Updater:           %2/NetLoader.exe\n"
            "Updater job file:  %2/NetLoader.xml\n").arg(lw::Executable_Folder(), data);
        QCOMPARE(run.out, expected);
        QVERIFY(!QFileInfo::exists(m_dir.filePath("data")));
    }

    void pathsBesideTheProgram()
    {
        lw::Data_Folder_Choice choice;
        choice.Program_Folder = choice.Folder = m_dir.path();
        choice.Beside_Program = true;
        choice.Shipped_Languages = m_dir.path() + "/LANGUAGE";
        QString out;
        QTextStream stream(&out);
        lw::cli::Print_Paths(choice, stream);
        stream.flush();
        const QStringList lines = out.split('\n');
        QCOMPARE(lines.value(1), "Data folder:       " + m_dir.path() + " (beside the program)");
        QCOMPARE(lines.value(5), "Shipped languages: " + m_dir.path() + "/LANGUAGE");
    }

    void extraArgumentIsAUsageError()
    {
        const lw::test::Cli_Run run = Run_Tool({"--paths", "x"});
        QCOMPARE(run.code, 2);
        QVERIFY(run.err.contains("unexpected argument 'x'"));
        QCOMPARE(run.out, QString());
    }
};

QTEST_GUILESS_MAIN(TestCliPaths)
#include "tst_cli_paths.moc"
