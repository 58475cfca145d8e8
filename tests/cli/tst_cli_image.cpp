#include "cli/cli_io.h"
#include "cli/cli_run.h"

#include "image/image_project.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTest>

using namespace lw::test;

namespace {

using Run = lw::test::Cli_Run;

Run Cli(const QStringList& args)
{
    return lw::test::Run_Tool(args);
}

// A project folder with both files and its bin folder.
QString Make_Project(const QTemporaryDir& tmp, const QByteArray& access,
                     const QByteArray& settings = ParGen_Xml(Example_Settings()))
{
    const QString dir = tmp.path() + QStringLiteral("/Project");
    QDir().mkpath(dir + QStringLiteral("/bin"));
    Write_Bytes(dir + QStringLiteral("/ParGen.xml"), settings);
    if (!access.isEmpty())
        Write_Bytes(dir + QStringLiteral("/KNX_SetAccess.xml"), access);
    return dir;
}

} // namespace

class TestCliImage : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void compileDefault()
    {
        QTemporaryDir tmp;
        const QString dir = Make_Project(tmp, KNX_Access_Xml({Example_Row(), Example_Row({"Enable=N"})}));
        const Run run = Cli({"compile", dir});
        QCOMPARE(run.code, 0);
        QCOMPARE(run.err, QString());
        const QString bank = QDir::cleanPath(dir) + QStringLiteral("/bin/bank.bin");
        const QByteArray bytes = Read_Bytes(bank);
        QCOMPARE(bytes.size(), 22528);
        QCOMPARE(run.out, QStringLiteral("%1: 22528 bytes, 1 command, checksum %2\n").arg(bank).arg(U32_At(bytes, 0x57FC)));
        QCOMPARE(bytes.mid(0x2800, 20), Record_Bytes(500, 3, 2, 0x102A, 0x80, 0x110A, 0x0A03, 4));
    }

    void compileOutput()
    {
        QTemporaryDir tmp;
        const QString dir = Make_Project(tmp, QByteArray(), QByteArray());
        QFile::remove(dir + QStringLiteral("/ParGen.xml"));
        const QString file = tmp.path() + QStringLiteral("/elsewhere.bin");
        const Run run = Cli({"compile", dir, "--output", file});
        QCOMPARE(run.code, 0);
        QVERIFY(run.out.contains(QStringLiteral("22528 bytes, 0 commands, checksum 4606")));
        QCOMPARE(Read_Bytes(file).mid(0x57FC, 4), QByteArray::fromHex("FE110000"));
        QVERIFY(!QFileInfo::exists(dir + QStringLiteral("/bin/bank.bin")));
    }

    void compileCreatesBin()
    {
        QTemporaryDir tmp;
        const QString dir = Make_Project(tmp, QByteArray());
        QVERIFY(QDir(dir + QStringLiteral("/bin")).removeRecursively());
        QCOMPARE(Cli({"compile", dir}).code, 0);
        QCOMPARE(Read_Bytes(dir + QStringLiteral("/bin/bank.bin")).size(), 22528);
    }

    // A compile that stops: exit 1, the message on stderr, the file as it was.
    void compileStops_data()
    {
        QTest::addColumn<QByteArray>("access");
        QTest::addColumn<bool>("output");
        QTest::addColumn<bool>("existing");
        const QByteArray missing = KNX_Access_Xml({Example_Row({"-Length"})});
        QTest::newRow("default file kept") << missing << false << true;
        QTest::newRow("default file stays absent") << missing << false << false;
        QTest::newRow("output file kept") << missing << true << true;
        QTest::newRow("output file stays absent") << missing << true << false;
        QTest::newRow("no KNX_in_Write") << QByteArray("<BACnet_to_KNX/>") << false << true;
        QTest::newRow("not well-formed") << QByteArray("<BACnet_to_KNX>") << true << true;
        QTest::newRow("comment before the root") << QByteArray("<!--x--><BACnet_to_KNX><KNX_in_Write/></BACnet_to_KNX>")
                                                 << false << true;
    }
    void compileStops()
    {
        QFETCH(QByteArray, access);
        QFETCH(bool, output);
        QFETCH(bool, existing);
        QTemporaryDir tmp;
        const QString dir = Make_Project(tmp, access);
        const QString file = output ? tmp.path() + QStringLiteral("/out.bin") : dir + QStringLiteral("/bin/bank.bin");
        const QByteArray old("earlier image");
        if (existing)
            Write_Bytes(file, old);
        QStringList args{"compile", dir};
        if (output)
            args << "--output" << file;
        const Run run = Cli(args);
        QCOMPARE(run.code, 1);
        QCOMPARE(run.out, QString());
        QVERIFY(run.err.contains(QStringLiteral("KNX_SetAccess.xml")));
        if (existing)
            QCOMPARE(Read_Bytes(file), old);
        else
            QVERIFY(!QFileInfo::exists(file));
    }

    // A settings file whose first node is not its root element compiles with
    // the defaults, as before, and says so in one warning line on stderr;
    // with --no-check as well.
    void compileSettingsNotRooted_data()
    {
        QTest::addColumn<QByteArray>("settings");
        QTest::addColumn<QStringList>("options");
        QTest::newRow("declaration first") << QByteArray("<?xml version=\"1.0\"?><Par_Gen/>") << QStringList();
        QTest::newRow("comment first") << QByteArray("<!--x--><Par_Gen/>") << QStringList();
        QTest::newRow("comment first, --no-check") << QByteArray("<!--x--><Par_Gen/>") << QStringList{"--no-check"};
    }
    void compileSettingsNotRooted()
    {
        QFETCH(QByteArray, settings);
        QFETCH(QStringList, options);
        QTemporaryDir tmp;
        const QString dir = Make_Project(tmp, QByteArray(), settings);
        const Run run = Cli(QStringList{"compile", dir} + options);
        QCOMPARE(run.code, 0);
        QCOMPARE(run.err.count(u'\n'), 1);
        QVERIFY2(run.err.startsWith("loomwright-cli: warning: "), qPrintable(run.err));
        QVERIFY2(run.err.contains("ParGen.xml does not begin with its root element"), qPrintable(run.err));
        QVERIFY(QFileInfo::exists(dir + QStringLiteral("/bin/bank.bin")));
    }

    void compileUsage_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("message");
        QTest::newRow("no project") << QStringList{"compile"} << "needs a project folder";
        QTest::newRow("project missing") << QStringList{"compile", "@/no-such-project"} << "does not exist";
        QTest::newRow("output folder missing") << QStringList{"compile", "@", "--output", "@/no-such-folder/bank.bin"}
                                               << "does not exist";
        QTest::newRow("output is a folder") << QStringList{"compile", "@", "--output", "@/bin"} << "folder";
        QTest::newRow("output without name") << QStringList{"compile", "@", "--output"} << "--output needs";
        QTest::newRow("output of an empty name") << QStringList{"compile", "@", "--output", ""} << "--output needs";
        QTest::newRow("unknown option") << QStringList{"compile", "@", "--force"} << "unknown option";
        QTest::newRow("two projects") << QStringList{"compile", "@", "@"} << "unexpected argument";
    }
    void compileUsage()
    {
        QFETCH(QStringList, args);
        QFETCH(QString, message);
        QTemporaryDir tmp;
        const QString dir = Make_Project(tmp, QByteArray());
        args.replaceInStrings(QStringLiteral("@"), dir);
        const Run run = Cli(args);
        QCOMPARE(run.code, 2);
        QVERIFY2(run.err.contains(message), qPrintable(run.err));
        QVERIFY(!QFileInfo::exists(dir + QStringLiteral("/bin/bank.bin")));
        QVERIFY(!QFileInfo::exists(dir + QStringLiteral("/no-such-folder")));
    }

    void inspectText()
    {
        QTemporaryDir tmp;
        const QString dir = Make_Project(tmp, KNX_Access_Xml({Example_Row({"Bit_Mode=3"})}));
        QCOMPARE(Cli({"compile", dir}).code, 0);
        const Run run = Cli({"inspect", dir + QStringLiteral("/bin/bank.bin")});
        QCOMPARE(run.code, 0);
        QCOMPARE(run.err, QString());
        const QStringList lines = run.out.split(u'\n');
        for (const char* line : {"Size: 22528 bytes", "Checksum: stored 5712, computed 5712 (valid)",
                                 "IP address: 192.168.0.5", "Subnet mask: 255.255.255.0", "Gateway: not enabled",
                                 "Station name: devicename1", "KNX address: 4552 (1.1.200)",
                                 "Records: 1 write, 0 read",
                                 "Write record 0: poll time 500, priority Low, length 2, flags ReTest On_Command Group "
                                 "Bit_Mode, format Swap16, APCI Write, source 1.1.10, destination 1/2/3 (group), "
                                 "position 4 bit 3",
                                 "Differences: none"})
            QVERIFY2(lines.contains(QLatin1String(line)), line);
    }

    // A station name is bytes from the image: no control character of it
    // reaches the terminal, in the text or in the JSON output.
    void inspectControlCharacters_data()
    {
        QTest::addColumn<QByteArray>("xmlName");   // as written in ParGen.xml
        QTest::addColumn<QString>("shown");        // as the text report shows it
        QTest::newRow("escape sequence that retitles a terminal") << QByteArray("a&#27;]0;x&#7;b")
                                                                << QStringLiteral("a\\x1B]0;x\\x07b");
        QTest::newRow("C1 control sequence introducer") << QByteArray("&#155;31m") << QStringLiteral("\\u009B31m");
        QTest::newRow("DEL") << QByteArray("a&#127;") << QStringLiteral("a\\x7F");
        QTest::newRow("backslash") << QByteArray("a\\b") << QStringLiteral("a\\\\b");
    }
    void inspectControlCharacters()
    {
        QFETCH(QByteArray, xmlName);
        QFETCH(QString, shown);
        QTemporaryDir tmp;
        const QString dir = Make_Project(tmp, QByteArray(),
                                         "<Par_Gen><PROFINET_NAME_STA>" + xmlName + "</PROFINET_NAME_STA></Par_Gen>");
        QCOMPARE(Cli({"compile", dir}).code, 0);
        const QString bank = dir + QStringLiteral("/bin/bank.bin");
        const Run text = Cli({"inspect", bank});
        QCOMPARE(text.code, 0);
        QVERIFY2(text.out.contains("Station name: " + shown + "\n"), qPrintable(text.out));
        const Run json = Cli({"inspect", bank, "--json"});
        QCOMPARE(json.code, 0);
        for (const Run* run : {&text, &json}) {
            for (const QChar c : run->out)
                QVERIFY2(c == u'\n' || c == u' ' || (c.unicode() > 0x20 && c.unicode() != 0x7F
                                                      && (c.unicode() < 0x80 || c.unicode() > 0x9F)),
                         qPrintable(QString::number(c.unicode(), 16)));
        }
        QJsonParseError error;
        const QJsonObject o = QJsonDocument::fromJson(json.out.toUtf8(), &error).object();
        QCOMPARE(error.error, QJsonParseError::NoError);
        QString name = QString::fromUtf8(xmlName).replace("&#27;", QChar(27)).replace("&#7;", QChar(7));
        name.replace("&#155;", QChar(155)).replace("&#127;", QChar(127));
        QCOMPARE(o.value("station_name").toString(), name);
    }

    void inspectJson()
    {
        QTemporaryDir tmp;
        const QString dir = Make_Project(tmp, KNX_Access_Xml({Example_Row(), Example_Row({"APCI=read"})}),
                                         ParGen_Xml(Example_Settings({"PROFINET_EN_GAT=1"})));
        QCOMPARE(Cli({"compile", dir}).code, 0);
        const Run run = Cli({"inspect", dir + QStringLiteral("/bin/bank.bin"), "--json"});
        QCOMPARE(run.code, 0);
        QJsonParseError error;
        const QJsonDocument doc = QJsonDocument::fromJson(run.out.toUtf8(), &error);
        QCOMPARE(error.error, QJsonParseError::NoError);
        const QJsonObject o = doc.object();
        for (const char* key : {"size", "checksum", "ip", "mask", "gateway", "station_name", "knx_address",
                                "write_count", "read_count", "records"})
            QVERIFY2(o.contains(QLatin1String(key)), key);
        QCOMPARE(o.value("gateway").toArray(), (QJsonArray{192, 168, 0, 1}));
        QCOMPARE(o.value("checksum").toObject().value("valid").toBool(), true);
        QCOMPARE(o.value("write_count").toInt(), 2);
        const QJsonArray records = o.value("records").toArray();
        QCOMPARE(records.size(), 2);
        QCOMPARE(records[1].toObject().value("apci").toInt(), 0);
        for (const char* key : {"poll_time", "priority", "length", "flags", "apci", "source", "destination", "position"})
            QVERIFY2(records[0].toObject().value(QLatin1String(key)).isDouble(), key);
    }

    void inspectChecksumMismatch()
    {
        QTemporaryDir tmp;
        const QString dir = Make_Project(tmp, QByteArray());
        QCOMPARE(Cli({"compile", dir}).code, 0);
        const QString bank = dir + QStringLiteral("/bin/bank.bin");
        QByteArray bytes = Read_Bytes(bank);
        bytes[0x5000 + 0x1AF] = 2;   // a fixed value
        Write_Bytes(bank, bytes);
        const Run run = Cli({"inspect", bank});
        QCOMPARE(run.code, 1);
        QVERIFY(run.out.contains(QStringLiteral("(MISMATCH)")));
        QVERIFY(run.out.contains(QStringLiteral("block offset 0x1AF (file offset 0x51AF, 1 bytes): 2, expected 1")));
        QVERIFY(run.err.contains(QStringLiteral("checksum")));
        const Run json = Cli({"inspect", "--json", bank});
        QCOMPARE(json.code, 1);
        QCOMPARE(QJsonDocument::fromJson(json.out.toUtf8()).object().value("checksum").toObject().value("valid").toBool(true),
                 false);
    }

    // Stray bytes and differing fixed values are reported; only the checksum sets the exit code.
    void inspectDifferences()
    {
        QTemporaryDir tmp;
        const QString dir = Make_Project(tmp, QByteArray());
        QCOMPARE(Cli({"compile", dir}).code, 0);
        const QString bank = dir + QStringLiteral("/bin/bank.bin");
        QByteArray bytes = Read_Bytes(bank);
        bytes[0x10] = 1;   // read area
        Write_Bytes(bank, bytes);
        const Run run = Cli({"inspect", bank});
        QCOMPARE(run.code, 0);
        QVERIFY(run.out.contains(QStringLiteral("Differences: 1")));
        QVERIFY(run.out.contains(QStringLiteral("read record 0 (file offset 0x0000)")));
    }

    void inspectWrongFile_data()
    {
        QTest::addColumn<int>("size");   // -1: no file
        QTest::addColumn<QStringList>("extra");
        QTest::newRow("missing file") << -1 << QStringList();
        QTest::newRow("empty file") << 0 << QStringList();
        QTest::newRow("one byte short") << 22527 << QStringList();
        QTest::newRow("one byte over") << 22529 << QStringList{"--json"};
        QTest::newRow("unknown option") << 22528 << QStringList{"--all"};
    }
    void inspectWrongFile()
    {
        QFETCH(int, size);
        QFETCH(QStringList, extra);
        QTemporaryDir tmp;
        const QString file = tmp.path() + QStringLiteral("/bank.bin");
        if (size >= 0)
            Write_Bytes(file, QByteArray(size, '\0'));
        const Run run = Cli(QStringList{"inspect", file} + extra);
        QCOMPARE(run.code, 2);
        QCOMPARE(run.out, QString());
        QVERIFY(!run.err.isEmpty());
        if (size >= 0 && extra != QStringList{"--all"})
            QVERIFY(run.err.contains(QStringLiteral("%1 bytes; a device image is 22528 bytes").arg(size)));
    }

    void inspectFolder()
    {
        QTemporaryDir tmp;
        const Run run = Cli({"inspect", tmp.path()});
        QCOMPARE(run.code, 2);
        QVERIFY(!run.err.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestCliImage)
#include "tst_cli_image.moc"
