// The updater's job file, element by element, for every combination of the
// four update options.

#include "update/job_file.h"

#include "common/test_support.h"
#include "xml/xml_document.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

using namespace lw;

namespace {

struct Fixture {
    QTemporaryDir dir;
    ProgramState state;
    Fixture()
    {
        state.Dir_App = dir.filePath("app");
        state.Dir_Master = state.Dir_App + "/MASTER";
        state.Dir_Projects = state.Dir_App + "/PROJECTS";
        state.Dir_Project = state.Dir_Projects + "/Plant 7";
        QDir().mkpath(state.Dir_App);
    }
};

// One line per element: its path from the root, and its text for leaves.
void Flatten(const xml::Node& node, const QString& path, QStringList& out)
{
    if (node.Raw().first_attribute())
        out << path + " has attributes";
    const std::vector<xml::Node> children = node.Children();
    bool hasElements = false;
    for (const xml::Node& c : children)
        hasElements = hasElements || c.Is_Element();
    if (hasElements) {
        out << path;
        for (const xml::Node& c : children) {
            if (c.Is_Element())
                Flatten(c, path + "/" + c.Name(), out);
            else
                out << path + " has a non-element child";
        }
    } else {
        out << path + "=" + node.Text().value_or("<not text>");
    }
}

QStringList Expected_Operation(bool firmware, const Fixture& f, bool readBack, bool goToAppAfter)
{
    const QString p = "NetLoader/Operations/Operation";
    QStringList e{p,
                  p + "/Ope_Protection_Enabled=",
                  p + "/Ope_GoToBoot_Before=0",
                  p + "/Ope_GoToApp_Before=0",
                  p + "/Ope_IP_Address=",
                  p + "/Ope_Port=2008",
                  p + "/Ope_Port_Sec=2007",
                  p + "/Ope_Erase_Memory=0"};
    if (firmware) {
        e << p + "/Ope_FileName=" + f.state.Dir_Master + "/Sim4315.sim" << p + "/Ope_Start_Address=0x8000"
          << p + "/Ope_Memory_Type=0" << p + "/Ope_Bank_Type=1";
    } else {
        e << p + "/Ope_FileName=" + f.state.Dir_Project + "/bin/bank.bin" << p + "/Ope_Start_Address=0x63000"
          << p + "/Ope_Memory_Type=0" << p + "/Ope_Bank_Type=2";
    }
    e << p + "/Ope_Read_Back=" + (readBack ? "1" : "0");
    e << p + "/Ope_Write_CSS=" + (firmware ? "1" : "0");
    e << p + "/Ope_Address_CSS=" + (firmware ? "0x78100" : "0x50100");
    e << p + "/Ope_Command_CSS=0x0B";
    e << p + "/Ope_GoToApp_After=" + (goToAppAfter ? "1" : "0");
    return e;
}

QStringList Expected_Job(const Fixture& f, const QString& address, const Update_Options& o)
{
    QStringList e{"NetLoader",
                  "NetLoader/Version=1000",
                  "NetLoader/Title=Veltrona - KQ4315 NetLoader",
                  "NetLoader/IP_Address_Dev=" + address,
                  "NetLoader/Application_Port=10000",
                  "NetLoader/Boot_Port=2008",
                  "NetLoader/Boot_Port_Sec=2007",
                  "NetLoader/Address_Protection=0x78000",
                  "NetLoader/Protections",
                  "NetLoader/Protections/Protection=0x5E9"};
    e << (o.Write_Firmware || o.Write_Configuration ? "NetLoader/Operations" : "NetLoader/Operations=");
    if (o.Write_Firmware)
        e << Expected_Operation(true, f, o.Read_Firmware, !o.Write_Configuration);
    if (o.Write_Configuration)
        e << Expected_Operation(false, f, o.Read_Configuration, true);
    return e;
}

QStringList Read_Job(const QString& path)
{
    xml::Document doc;
    const QString error = doc.Load(path);
    if (!error.isEmpty())
        return {error};
    QStringList out;
    const std::vector<xml::Node> top = doc.Top_Level();
    if (top.size() != 1)
        out << QStringLiteral("%1 top-level nodes").arg(top.size());
    Flatten(doc.First_Node(), doc.First_Node().Name(), out);
    return out;
}

void Compare_Lines(const QStringList& actual, const QStringList& expected)
{
    for (qsizetype i = 0; i < qMin(actual.size(), expected.size()); ++i)
        QCOMPARE(actual[i], expected[i]);
    QCOMPARE(actual.size(), expected.size());
}

} // namespace

Q_DECLARE_METATYPE(lw::Update_Options)

class TestJobFile : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void everyCombination_data()
    {
        QTest::addColumn<Update_Options>("options");
        for (int bits = 0; bits < 16; ++bits) {
            Update_Options o;
            o.Write_Firmware = bits & 1;
            o.Read_Firmware = bits & 2;
            o.Write_Configuration = bits & 4;
            o.Read_Configuration = bits & 8;
            const QString name = QStringLiteral("%1 %2 %3 %4")
                                     .arg(o.Write_Firmware ? "FW" : "--", o.Read_Firmware ? "FR" : "--",
                                          o.Write_Configuration ? "PW" : "--", o.Read_Configuration ? "PR" : "--");
            QTest::newRow(qPrintable(name)) << o;
        }
    }

    void everyCombination()
    {
        QFETCH(Update_Options, options);
        Fixture f;
        QCOMPARE(Compile_XML_Parameter("192", "168", "0", "5", options, f.state), QString());
        const QString path = f.state.Dir_App + "/NetLoader.xml";
        QCOMPARE(Job_File_Path(f.state), path);
        Compare_Lines(Read_Job(path), Expected_Job(f, "192.168.0.5", options));
        // No declaration: the file starts with the root.
        QVERIFY(test::Read_Bytes(path).startsWith("<NetLoader>"));
    }

    void octetsAsTyped()
    {
        Fixture f;
        QCOMPARE(Compile_XML_Parameter("192", " 168", "0", "5 ", Update_Options(), f.state), QString());
        const QStringList lines = Read_Job(f.state.Dir_App + "/NetLoader.xml");
        QVERIFY(lines.size() > 3);
        QCOMPARE(lines[3], QStringLiteral("NetLoader/IP_Address_Dev=192. 168.0.5 "));
    }

    void secondWriteReplacesTheFirst()
    {
        Fixture f;
        const QString path = f.state.Dir_App + "/NetLoader.xml";
        test::Write_Bytes(path, QByteArray(10000, 'x'));
        QCOMPARE(Compile_XML_Parameter("10", "0", "0", "1", Update_Options(), f.state), QString());
        Update_Options none;
        none.Write_Firmware = none.Write_Configuration = false;
        QCOMPARE(Compile_XML_Parameter("10", "0", "0", "2", none, f.state), QString());
        Compare_Lines(Read_Job(path), Expected_Job(f, "10.0.0.2", none));
    }

    void writeFailureIsReported()
    {
        Fixture f;
        // The job file's name is taken by a folder: the write fails and the folder stays.
        QVERIFY(QDir().mkpath(f.state.Dir_App + "/NetLoader.xml"));
        const QString error = Compile_XML_Parameter("10", "0", "0", "1", Update_Options(), f.state);
        QVERIFY(error.contains("NetLoader.xml"));
        QVERIFY(QFileInfo(f.state.Dir_App + "/NetLoader.xml").isDir());

        f.state.Dir_App = f.dir.filePath("no such folder");
        QVERIFY(!Compile_XML_Parameter("10", "0", "0", "1", Update_Options(), f.state).isEmpty());
        QVERIFY(!QFileInfo::exists(f.state.Dir_App));
    }

    void updaterPath()
    {
        Fixture f;
        QCOMPARE(Updater_Path(f.state), f.state.Dir_App + "/NetLoader.exe");
    }

    void argumentLine_data()
    {
        QTest::addColumn<int>("bits");
        QTest::addColumn<QString>("line");
        QTest::newRow("all") << 15 << "192.168.0.5 2007 FW FR PW PR ";
        QTest::newRow("none") << 0 << "192.168.0.5 2007 NO NO NO NO ";
        QTest::newRow("firmware only") << 1 << "192.168.0.5 2007 FW NO NO NO ";
        QTest::newRow("read-backs only") << 10 << "192.168.0.5 2007 NO FR NO PR ";
        QTest::newRow("configuration and its read-back") << 12 << "192.168.0.5 2007 NO NO PW PR ";
    }

    void argumentLine()
    {
        QFETCH(int, bits);
        QFETCH(QString, line);
        Update_Options o;
        o.Write_Firmware = bits & 1;
        o.Read_Firmware = bits & 2;
        o.Write_Configuration = bits & 4;
        o.Read_Configuration = bits & 8;
        QCOMPARE(Updater_Argument_Line("192", "168", "0", "5", o), line);
    }
};

QTEST_APPLESS_MAIN(TestJobFile)
#include "tst_job_file.moc"
