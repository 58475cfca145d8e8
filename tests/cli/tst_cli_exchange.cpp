// import-ga, export-csv and import-csv: arguments, output, exit codes and
// what they write.
#include "cli/cli_run.h"
#include "common/test_support.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTest>

using namespace lw;

namespace {

const QByteArray Export =
    "\"Group name\";\"Address\";\"Central\";\"Unfiltered\";\"Description\";\"DatapointType\";\"Security\"\r\n"
    "\"Lights\";\"1/-/-\";\"\";\"\";\"\";\"\";\"Auto\"\r\n"
    "\"Switch\";\"1/1/1\";\"\";\"\";\"\";\"DPST-1-1\";\"Auto\"\r\n"
    "\"Temperature\";\"1/1/2\";\"\";\"\";\"\";\"DPST-9-1\";\"Auto\"\r\n"
    "\"Again\";\"2305\";\"\";\"\";\"\";\"DPST-1-1\";\"Auto\"\r\n"
    "\"Wrong\";\"1/9/1\";\"\";\"\";\"\";\"DPST-1-1\";\"Auto\"\r\n";

const QByteArray Existing =
    "<BACnet_to_KNX><KNX_in_Read/><KNX_in_Write><row Enable=\"Y\" Source_Address=\"1.1.7\" "
    "Destination_Address=\"5/5/5\" APCI=\"Write\" Priority=\"Low\" Format=\"None\" Extended=\"N\" ReTest=\"N\" "
    "On_Command=\"N\" On_Change=\"N\" On_Timer=\"N\" Poll_Time=\"\" Position=\"10\" Bit_Mode=\"No\" Length=\"4\" "
    "Mnemonic=\"old\"/></KNX_in_Write></BACnet_to_KNX>";

const QByteArray Par_Gen = "<Par_Gen><KNX_ID_DEV> 1.1.50 </KNX_ID_DEV></Par_Gen>";

struct Project {
    QTemporaryDir dir;
    QString Path(const char* name) const { return dir.filePath(QString::fromLatin1(name)); }
    QString Knx() const { return Path("KNX_SetAccess.xml"); }
    Project()
    {
        test::Write_Bytes(Knx(), Existing);
        test::Write_Bytes(Path("ParGen.xml"), Par_Gen);
        test::Write_Bytes(Path("ga.csv"), Export);
    }
};

test::Cli_Run Run(const QStringList& args)
{
    return test::Run_Tool(args);
}

} // namespace

class Tst_Cli_Exchange : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void import_ga_appends_and_reports()
    {
        Project p;
        const test::Cli_Run run = Run({"import-ga", p.dir.path(), p.Path("ga.csv")});
        QCOMPARE(run.code, 0);
        QCOMPARE(run.out, QStringLiteral("2 imported, 2 skipped\n"));
        QCOMPARE(run.err, QStringLiteral("line 5: 2305: duplicate: already on line 3 of the file\n"
                                         "line 6: 1/9/1: skipped: not a valid group address\n"));
        const QByteArray written = test::Read_Bytes(p.Knx());
        QVERIFY(written.contains("Mnemonic=\"old\"/><row Enable=\"Y\" Source_Address=\"1.1.50\" "
                                 "Destination_Address=\"1/1/1\""));
        QVERIFY(written.contains("Position=\"14\" Bit_Mode=\"0\" Length=\"1\" Mnemonic=\"Switch\""));
        QVERIFY(written.contains("Position=\"15\" Bit_Mode=\"No\" Length=\"2\" Mnemonic=\"Temperature\""));
    }

    void import_ga_json_dry_run_with_options()
    {
        Project p;
        const test::Cli_Run run = Run({"import-ga", p.dir.path(), p.Path("ga.csv"), "--dry-run", "--json",
                                       "--source", "2.2.2", "--start-position=100"});
        QCOMPARE(run.code, 0);
        const QJsonObject json = QJsonDocument::fromJson(run.out.toUtf8()).object();
        const QJsonArray imported = json.value("imported").toArray();
        QCOMPARE(imported.size(), 2);
        const QJsonObject first = imported[0].toObject();
        QCOMPARE(first.value("address").toString(), QStringLiteral("1/1/1"));
        QCOMPARE(first.value("name").toString(), QStringLiteral("Switch"));
        QCOMPARE(first.value("dpt").toString(), QStringLiteral("DPST-1-1"));
        QCOMPARE(first.value("position").toInt(), 100);
        QCOMPARE(first.value("bit_mode").toString(), QStringLiteral("0"));
        QCOMPARE(first.value("length").toInt(), 1);
        QCOMPARE(first.value("row").toInt(), 2);
        const QJsonArray skipped = json.value("skipped").toArray();
        QCOMPARE(skipped.size(), 2);
        QCOMPARE(skipped[1].toObject().value("line").toInt(), 6);
        QCOMPARE(skipped[1].toObject().value("address").toString(), QStringLiteral("1/9/1"));
        QCOMPARE(test::Read_Bytes(p.Knx()), Existing);
    }

    void import_ga_exit_codes_data()
    {
        QTest::addColumn<QStringList>("extra");
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<bool>("projectExists");
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("err");
        QTest::newRow("bad source fails the check") << QStringList{"--source", "99.1.1"} << Export << true << 1
                                                    << "Error row 2";
        QTest::newRow("past the last byte") << QStringList{"--start-position", "1438"} << Export << true << 1
                                            << "would end past byte 1438";
        QTest::newRow("none of the formats") << QStringList{} << QByteArray("a;b\n1;2\n") << true << 2
                                             << "not a group-address export";
        QTest::newRow("quote left open") << QStringList{} << Export + "\"x;1/1/7\r\n" << true << 2 << "Line 7: a quote";
        QTest::newRow("no project folder") << QStringList{} << Export << false << 2 << "no such project folder";
        QTest::newRow("start out of range") << QStringList{"--start-position", "1439"} << Export << true << 2
                                            << "--start-position";
    }
    void import_ga_exit_codes()
    {
        QFETCH(QStringList, extra);
        QFETCH(QByteArray, file);
        QFETCH(bool, projectExists);
        QFETCH(int, code);
        QFETCH(QString, err);
        Project p;
        test::Write_Bytes(p.Path("ga.csv"), file);
        const QString dir = projectExists ? p.dir.path() : p.Path("missing");
        const test::Cli_Run run = Run(QStringList{"import-ga", dir, p.Path("ga.csv")} + extra);
        QCOMPARE(run.code, code);
        QVERIFY2(run.err.contains(err), qPrintable(run.err));
        QCOMPARE(test::Read_Bytes(p.Knx()), Existing);
    }

    void csv_round_trip_is_byte_identical()
    {
        Project p;
        QCOMPARE(Run({"import-ga", p.dir.path(), p.Path("ga.csv")}).code, 0);
        const QByteArray before = test::Read_Bytes(p.Knx());
        const test::Cli_Run toStdout = Run({"export-csv", p.dir.path()});
        QCOMPARE(toStdout.code, 0);
        QCOMPARE(Run({"export-csv", p.dir.path(), p.Path("table.csv")}).code, 0);
        const QByteArray csv = test::Read_Bytes(p.Path("table.csv"));
        QVERIFY(csv.startsWith("\xEF\xBB\xBF" "Enable;Source_Address;"));
        QVERIFY(csv.endsWith(";Temperature\r\n"));
        // Without FILE the same text goes to stdout.
        QCOMPARE(toStdout.out, QString::fromUtf8(csv));
        QFile::remove(p.Knx());
        QCOMPARE(Run({"import-csv", p.dir.path(), p.Path("table.csv"), "--dry-run"}).code, 0);
        QVERIFY(!QFile::exists(p.Knx()));
        QCOMPARE(Run({"import-csv", p.dir.path(), p.Path("table.csv")}).code, 0);
        QCOMPARE(test::Read_Bytes(p.Knx()), before);
    }

    void import_csv_exit_codes_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("err");
        const QByteArray header = "Enable;Source_Address;Destination_Address;APCI;Priority;Format;Extended;ReTest;"
                                  "On_Command;On_Change;On_Timer;Poll_Time;Position;Bit_Mode;Length;Mnemonic\r\n";
        QTest::newRow("fails the check") << header + "Y;1.1.1;1/1/1;Write;Low;None;N;N;N;Y;N;;0;No;99;\r\n" << 1
                                         << "Error row 1";
        QTest::newRow("missing column") << QByteArray("Enable;Source_Address\r\nY;1.1.1\r\n") << 2
                                        << "the column Destination_Address is missing";
        QTest::newRow("NUL character") << header + QByteArray("Y;\0", 3) << 2 << "Line 2: the text holds a NUL";
    }
    void import_csv_exit_codes()
    {
        QFETCH(QByteArray, file);
        QFETCH(int, code);
        QFETCH(QString, err);
        Project p;
        test::Write_Bytes(p.Path("t.csv"), file);
        const test::Cli_Run run = Run({"import-csv", p.dir.path(), p.Path("t.csv")});
        QCOMPARE(run.code, code);
        QVERIFY2(run.err.contains(err), qPrintable(run.err));
        QCOMPARE(test::Read_Bytes(p.Knx()), Existing);
        QCOMPARE(Run({"import-csv", p.dir.path(), p.Path("absent.csv")}).code, 2);
    }
};

QTEST_GUILESS_MAIN(Tst_Cli_Exchange)
#include "tst_cli_exchange.moc"
