#include "base/check_result.h"
#include "cli/cli_io.h"
#include "cli/cli_run.h"
#include "common/test_support.h"
#include "lang/language_file.h"
#include "lang/language_table.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

using namespace lw;

namespace {

using Run = test::Cli_Run;

Run Run_Check(const QStringList& args)
{
    return test::Run_Tool(QStringList{QStringLiteral("check")} + args);
}

const QByteArray Valid_Row = "<row Enable=\"Y\" Source_Address=\"1.1.1\" Destination_Address=\"1/1/1\" APCI=\"Write\" "
                             "Priority=\"Low\" Format=\"None\" Extended=\"N\" ReTest=\"N\" On_Command=\"N\" On_Change=\"N\" "
                             "On_Timer=\"N\" Poll_Time=\"\" Position=\"0\" Bit_Mode=\"No\" Length=\"1\" Mnemonic=\"\"/>";

QByteArray Row_With(const QByteArray& attribute, const QByteArray& value)
{
    QByteArray row = Valid_Row;
    const qsizetype at = row.indexOf(' ' + attribute + "=\"") + attribute.size() + 3;
    const qsizetype end = row.indexOf('"', at);
    return row.replace(at, end - at, value);
}

QByteArray Knx_File(const QByteArray& rows)
{
    return "<BACnet_to_KNX><KNX_in_Read/><KNX_in_Write>" + rows + "</KNX_in_Write></BACnet_to_KNX>";
}

QByteArray Par_Gen(const QByteArray& children)
{
    return "<Par_Gen>" + children + "</Par_Gen>";
}

// The language table the tool builds without a language option.
ProgramState Default_State()
{
    ProgramState state;
    Set_Default_Texts(state);
    return state;
}

} // namespace

Q_DECLARE_METATYPE(lw::Check_Result)

class TestCliCheck : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_project;
    int m_count = 0;

private Q_SLOTS:
    void init()
    {
        QVERIFY(m_dir.isValid());
        m_project = m_dir.filePath(QStringLiteral("P%1").arg(++m_count));
        QVERIFY(QDir().mkpath(m_project));
    }

    void check_data()
    {
        QTest::addColumn<QByteArray>("parGen");       // null: no file
        QTest::addColumn<QByteArray>("knx");          // null: no file
        QTest::addColumn<int>("code");
        QTest::addColumn<Check_Result>("failure");    // for code 1
        QTest::addColumn<QString>("errorName");       // file named on stderr for code 2
        QTest::addColumn<QStringList>("errorParts");  // further texts on stderr

        const QByteArray none;
        const Check_Result pass = Check_Result::Pass();
        const QStringList noParts;

        QTest::newRow("empty project") << none << none << 0 << pass << "" << noParts;
        QTest::newRow("valid files") << Par_Gen("<KNX_ID_DEV> 2.3.4 </KNX_ID_DEV>") << Knx_File(Valid_Row + Valid_Row)
                                     << 0 << pass << "" << noParts;
        QTest::newRow("id device all zero") << Par_Gen("<KNX_ID_DEV>0.0.0</KNX_ID_DEV>") << none << 1
                                            << Check_Result::Fail(123) << "" << noParts;
        QTest::newRow("ip 3") << Par_Gen("<PROFINET_IP3>300</PROFINET_IP3>") << none << 1 << Check_Result::Fail(959)
                              << "" << noParts;
        QTest::newRow("gateway unused") << Par_Gen("<PROFINET_GAT2>300</PROFINET_GAT2>") << none << 0 << pass << ""
                                        << noParts;
        QTest::newRow("gateway used")
            << Par_Gen("<PROFINET_GAT2>300</PROFINET_GAT2><PROFINET_EN_GAT>1</PROFINET_EN_GAT>") << none << 1
            << Check_Result::Fail(966) << "" << noParts;
        // Defaults, and one warning line saying so: the default address would go to the converter.
        QTest::newRow("declaration first gives defaults, with a warning")
            << QByteArray("<?xml version=\"1.0\"?>" + Par_Gen("<KNX_ID_DEV>0.0.0</KNX_ID_DEV>")) << none << 0 << pass
            << "" << QStringList{"warning", "ParGen.xml does not begin with its root element"};
        QTest::newRow("comment first gives defaults, with a warning")
            << QByteArray("<!-- x -->" + Par_Gen("<KNX_ID_DEV>0.0.0</KNX_ID_DEV>")) << none << 0 << pass
            << "" << QStringList{"warning", "ParGen.xml does not begin with its root element"};
        QTest::newRow("comment first, then a refused row: warning and exit 1")
            << QByteArray("<!-- x -->" + Par_Gen("")) << Knx_File(Row_With("Length", "15")) << 1
            << Check_Result::Fail(225, 1, "14") << "" << QStringList{"ParGen.xml does not begin with its root element"};
        QTest::newRow("knx length row 3")
            << none << Knx_File(Valid_Row + Valid_Row + Row_With("Length", "15")) << 1
            << Check_Result::Fail(225, 3, "14") << "" << noParts;
        QTest::newRow("knx position")
            << none << Knx_File(Row_With("Position", "1439")) << 1 << Check_Result::Fail(223, 1, "1438") << ""
            << noParts;
        QTest::newRow("knx span")
            << none << Knx_File(Row_With("Position", "1426").replace("Length=\"1\"", "Length=\"14\"")) << 1
            << Check_Result::Fail(226, 1, "1439") << "" << noParts;
        QTest::newRow("knx group destination")
            << none << Knx_File(Valid_Row + Row_With("Destination_Address", "31/8/255")) << 1
            << Check_Result::Fail(229, 2) << "" << noParts;
        QTest::newRow("knx priority read as Normal")
            << none << Knx_File(Row_With("Priority", "high")) << 0 << pass << "" << noParts;
        QTest::newRow("knx missing Format reads as None")
            << none << Knx_File(QByteArray(Valid_Row).replace("Format=\"None\" ", "")) << 0 << pass << "" << noParts;
        QTest::newRow("knx empty Format")
            << none << Knx_File(Row_With("Format", "")) << 1 << Check_Result::Fail(350, 1) << "" << noParts;
        QTest::newRow("knx disabled invalid row")
            << none << Knx_File(Row_With("Enable", "N").replace("Length=\"1\"", "Length=\"0\"") + Valid_Row) << 0
            << pass << "" << noParts;
        QTest::newRow("knx end of table")
            << none << Knx_File(Valid_Row + Row_With("Source_Address", " ") + Row_With("Length", "0")) << 0 << pass
            << "" << noParts;
        QTest::newRow("knx rows past 512")
            << none << Knx_File(Valid_Row.repeated(512) + Row_With("Length", "0")) << 0 << pass << "" << noParts;
        QTest::newRow("knx row 512")
            << none << Knx_File(Valid_Row.repeated(511) + Row_With("APCI", "1024")) << 1
            << Check_Result::Fail(220, 512) << "" << noParts;
        QTest::newRow("settings checked first")
            << Par_Gen("<PROFINET_SM1>x</PROFINET_SM1>") << QByteArray("<broken") << 1 << Check_Result::Fail(961)
            << "" << noParts;

        QTest::newRow("settings not well-formed") << QByteArray("<Par_Gen><KNX_ID_DEV>") << none << 2 << pass
                                                  << "ParGen.xml" << noParts;
        QTest::newRow("knx not well-formed") << none << QByteArray("<BACnet_to_KNX>") << 2 << pass
                                             << "KNX_SetAccess.xml" << noParts;
        QTest::newRow("knx comment first") << none << QByteArray("<!--x-->" + Knx_File(Valid_Row)) << 2 << pass
                                           << "KNX_SetAccess.xml" << noParts;
        QTest::newRow("knx without KNX_in_Write") << none << QByteArray("<BACnet_to_KNX><KNX_in_Read/></BACnet_to_KNX>")
                                                  << 2 << pass << "KNX_SetAccess.xml" << noParts;
        QTest::newRow("knx row lacks an attribute")
            << none << Knx_File(Valid_Row + QByteArray(Valid_Row).replace("APCI=\"Write\" ", "")) << 2 << pass
            << "KNX_SetAccess.xml" << QStringList{"row 2", "APCI"};
    }

    void check()
    {
        QFETCH(QByteArray, parGen);
        QFETCH(QByteArray, knx);
        QFETCH(int, code);
        QFETCH(Check_Result, failure);
        QFETCH(QString, errorName);
        QFETCH(QStringList, errorParts);

        if (!parGen.isNull())
            test::Write_Bytes(QDir(m_project).filePath(QStringLiteral("ParGen.xml")), parGen);
        if (!knx.isNull())
            test::Write_Bytes(QDir(m_project).filePath(QStringLiteral("KNX_SetAccess.xml")), knx);

        const Run run = Run_Check({m_project});
        QCOMPARE(run.code, code);
        if (code == 1)
            QCOMPARE(run.out, Check_Message(failure, Default_State()) + u'\n');
        else
            QCOMPARE(run.out, QString());
        if (code == 2) {
            QVERIFY2(run.err.contains(QDir(m_project).filePath(errorName)), qPrintable(run.err));
            for (const QString& part : errorParts)
                QVERIFY2(run.err.contains(part), qPrintable(run.err));
        } else if (!errorParts.isEmpty()) {
            // One warning line.
            QCOMPARE(run.err.count(u'\n'), 1);
            for (const QString& part : errorParts)
                QVERIFY2(run.err.contains(part), qPrintable(run.err));
        } else {
            QCOMPARE(run.err, QString());
        }
    }

    void unreadableEntries_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("settings folder") << "ParGen.xml";
        QTest::newRow("table folder") << "KNX_SetAccess.xml";
    }

    void unreadableEntries()
    {
        QFETCH(QString, name);
        const QString path = QDir(m_project).filePath(name);
        QVERIFY(QDir().mkpath(path));
        const Run run = Run_Check({m_project});
        QCOMPARE(run.code, 2);
        QVERIFY(run.out.isEmpty());
        QVERIFY2(run.err.contains(path), qPrintable(run.err));
    }

    void arguments_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("code");
        QTest::newRow("no project") << QStringList{} << 2;
        QTest::newRow("missing folder") << QStringList{"/nonexistent/loomwright/project"} << 2;
        QTest::newRow("two projects") << QStringList{"@", "@"} << 2;
        QTest::newRow("unknown option") << QStringList{"@", "--verbose"} << 2;
        QTest::newRow("language dir alone") << QStringList{"@", "--language-dir", "@"} << 2;
        QTest::newRow("language alone") << QStringList{"@", "--language", "English"} << 2;
        QTest::newRow("option without value") << QStringList{"@", "--language-dir", "@", "--language"} << 2;
        QTest::newRow("both language options") << QStringList{"@", "--language-dir", "@", "--language", "English"} << 0;
        QTest::newRow("options first, with =") << QStringList{"--language=English", "--language-dir=@", "@"} << 0;
    }

    void arguments()
    {
        QFETCH(QStringList, args);
        QFETCH(int, code);
        args.replaceInStrings(QStringLiteral("@"), m_project);
        const Run run = Run_Check(args);
        QCOMPARE(run.code, code);
        QVERIFY(run.out.isEmpty());
        QCOMPARE(run.err.isEmpty(), code == 0);
    }

    void languageIsLoadedAsTheProgramDoes()
    {
        const QString langDir = m_dir.filePath(QStringLiteral("LANGUAGE"));
        test::Write_Bytes(QDir(langDir).filePath(QStringLiteral("Test.lng")),
                          QByteArray("\xEF\xBB\xBF") + "STR207 =\xC2\xB6" "Fehler Zeile \xC2\xB6\r\n"
                              + "STR225 =\xC2\xB6: L\xC3\xA4nge 1 bis \xC2\xB6\r\n");
        test::Write_Bytes(QDir(m_project).filePath(QStringLiteral("KNX_SetAccess.xml")),
                          Knx_File(Valid_Row + Row_With("Length", "15")));

        ProgramState expected;
        expected.Dir_Language = langDir;
        expected.Language_Name = QStringLiteral("Test");
        Load_Language(expected);

        const Run run = Run_Check({m_project, QStringLiteral("--language-dir"), langDir, QStringLiteral("--language"),
                                   QStringLiteral("Test")});
        QCOMPARE(run.code, 1);
        QCOMPARE(run.out, Check_Message(Check_Result::Fail(225, 2, "14"), expected) + u'\n');
    }
};

QTEST_GUILESS_MAIN(TestCliCheck)
#include "tst_cli_check.moc"
