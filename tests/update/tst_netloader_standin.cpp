// The stand-in updater NetLoader.exe, run as a program on job files beside it.

#include "update/job_file.h"

#include "common/test_support.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

using namespace lw;

namespace {

constexpr int Image_Size = 22528;

QByteArray Valid_Image()
{
    QByteArray image(Image_Size, '\0');
    quint32 sum = 0;
    for (int i = 0x5000; i < 0x57FC; ++i) {
        image[i] = char((i * 7) & 0xFF);
        sum += quint8(image[i]);
    }
    qToLittleEndian<quint32>(sum, image.data() + 0x57FC);
    return image;
}

struct Installation {
    QTemporaryDir dir;
    ProgramState state;
    Installation()
    {
        state.Dir_App = dir.filePath("app");
        state.Dir_Master = state.Dir_App + "/MASTER";
        state.Dir_Projects = state.Dir_App + "/PROJECTS";
        state.Dir_Project = state.Dir_Projects + "/Plant";
        test::Write_Bytes(state.Dir_Master + "/Sim4315.sim", QByteArray(4096, '\x5A'));
        test::Write_Bytes(Image_Path(), Valid_Image());
        QFile::copy(test::Bin_Dir() + "/NetLoader.exe", state.Dir_App + "/NetLoader.exe");
    }
    QString Image_Path() const { return state.Dir_Project + "/bin/bank.bin"; }
    QString Job_Path() const { return state.Dir_App + "/NetLoader.xml"; }

    int Run(QByteArray* out = nullptr)
    {
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("NETLOADER_NO_WINDOW", "1");
        p.setProcessEnvironment(env);
        p.setWorkingDirectory(dir.path());
        p.start(state.Dir_App + "/NetLoader.exe", {});
        if (!p.waitForFinished(60000) || p.exitStatus() != QProcess::NormalExit)
            return -1;
        if (out)
            *out = p.readAllStandardOutput();
        return p.exitCode();
    }
};

Update_Options Options(int bits)
{
    Update_Options o;
    o.Write_Firmware = bits & 1;
    o.Read_Firmware = bits & 2;
    o.Write_Configuration = bits & 4;
    o.Read_Configuration = bits & 8;
    return o;
}

QByteArray Swap_Operations(const QByteArray& xml)
{
    const qsizetype a = xml.indexOf("<Operation>");
    const qsizetype b = xml.indexOf("<Operation>", a + 1);
    const qsizetype end = xml.indexOf("</Operations>");
    return xml.left(a) + xml.mid(b, end - b) + xml.mid(a, b - a) + xml.mid(end);
}

} // namespace

class TestNetLoaderStandIn : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY2(QFileInfo(test::Bin_Dir() + "/NetLoader.exe").isExecutable(), "NetLoader.exe is not built");
    }

    void soundJobs_data()
    {
        QTest::addColumn<int>("bits");
        for (int bits = 0; bits < 16; ++bits)
            QTest::newRow(qPrintable(QString::number(bits))) << bits;
    }

    void soundJobs()
    {
        QFETCH(int, bits);
        Installation inst;
        QCOMPARE(Compile_XML_Parameter("127", "0", "0", "1", Options(bits), inst.state), QString());
        QByteArray out;
        QCOMPARE(inst.Run(&out), 0);
        QVERIFY2(out.contains("Verdict: the job is sound."), out.constData());
        QVERIFY2(out.contains("Converter at 127.0.0.1"), out.constData());
        const Update_Options o = Options(bits);
        QCOMPARE(out.contains("write the firmware from " + inst.state.Dir_Master.toUtf8() + "/Sim4315.sim"),
                 o.Write_Firmware);
        QCOMPARE(out.contains("write the configuration from " + inst.Image_Path().toUtf8()), o.Write_Configuration);
        QCOMPARE(out.contains("No operation"), !o.Write_Firmware && !o.Write_Configuration);
    }

    void faultyJobs_data()
    {
        QTest::addColumn<QByteArray>("from");
        QTest::addColumn<QByteArray>("to");
        QTest::addColumn<int>("code");
        QTest::addColumn<QByteArray>("problem");

        QTest::newRow("not XML") << QByteArray("</NetLoader>") << QByteArray("") << 2 << QByteArray("not well-formed");
        QTest::newRow("wrong version") << QByteArray("<Version>1000<") << QByteArray("<Version>1001<") << 1
                                       << QByteArray("Version is \"1001\", expected \"1000\"");
        QTest::newRow("host with letters") << QByteArray(">127.0.0.1<") << QByteArray(">converter.local<") << 1
                                           << QByteArray("IP_Address_Dev \"converter.local\" is not");
        QTest::newRow("blank in address") << QByteArray(">127.0.0.1<") << QByteArray(">127.0. 0.1<") << 1
                                          << QByteArray("IP_Address_Dev");
        QTest::newRow("wrong boot port") << QByteArray("<Boot_Port>2008<") << QByteArray("<Boot_Port>2009<") << 1
                                         << QByteArray("Boot_Port is \"2009\"");
        QTest::newRow("wrong protection") << QByteArray(">0x5E9<") << QByteArray(">0x5E8<") << 1
                                          << QByteArray("Protection is \"0x5E8\"");
        QTest::newRow("extra element") << QByteArray("<Operations>") << QByteArray("<Extra/><Operations>") << 1
                                       << QByteArray("NetLoader holds [");
        QTest::newRow("attribute") << QByteArray("<Title>") << QByteArray("<Title lang=\"en\">") << 1
                                   << QByteArray("Title carries attributes");
        QTest::newRow("firmware op returns to application too early")
            << QByteArray("<Ope_GoToApp_After>0<") << QByteArray("<Ope_GoToApp_After>1<") << 1
            << QByteArray("Operation 1 Ope_GoToApp_After is \"1\", expected \"0\"");
        QTest::newRow("read-back not a flag") << QByteArray("<Ope_Read_Back>1<") << QByteArray("<Ope_Read_Back>2<")
                                              << 1 << QByteArray("Ope_Read_Back is \"2\"");
        QTest::newRow("unknown start address") << QByteArray(">0x63000<") << QByteArray(">0x64000<") << 1
                                               << QByteArray("neither the firmware");
        QTest::newRow("wrong bank") << QByteArray("<Ope_Bank_Type>2<") << QByteArray("<Ope_Bank_Type>1<") << 1
                                    << QByteArray("Operation 2 Ope_Bank_Type is \"1\", expected \"2\"");
        QTest::newRow("firmware elsewhere") << QByteArray("/MASTER/Sim4315.sim<") << QByteArray("/Sim4315.sim<")
                                            << 1 << QByteArray("expected the firmware file");
        QTest::newRow("image elsewhere") << QByteArray("/bin/bank.bin<") << QByteArray("/bank.bin<") << 1
                                         << QByteArray("expected a project's bin/bank.bin");
        QTest::newRow("three operations") << QByteArray("</Operations>")
                                          << QByteArray("<Operation/></Operations>") << 1
                                          << QByteArray("holds 3 operations");
        QTest::newRow("operations swapped") << QByteArray("swap") << QByteArray() << 1
                                            << QByteArray("must come before");
        QTest::newRow("declaration is no part of the job")
            << QByteArray("<NetLoader>") << QByteArray("<?xml version=\"1.0\"?><NetLoader>") << 1
            << QByteArray("first node of the file is not the element NetLoader");
    }

    void faultyJobs()
    {
        QFETCH(QByteArray, from);
        QFETCH(QByteArray, to);
        QFETCH(int, code);
        QFETCH(QByteArray, problem);
        Installation inst;
        QCOMPARE(Compile_XML_Parameter("127", "0", "0", "1", Update_Options(), inst.state), QString());
        QByteArray xml = test::Read_Bytes(inst.Job_Path());
        if (from == "swap") {
            xml = Swap_Operations(xml);
        } else {
            const qsizetype at = xml.indexOf(from);
            QVERIFY(at >= 0);
            xml.replace(at, from.size(), to);
        }
        test::Write_Bytes(inst.Job_Path(), xml);
        QByteArray out;
        QCOMPARE(inst.Run(&out), code);
        QVERIFY2(out.contains("Verdict: the job is not sound"), out.constData());
        QVERIFY2(out.contains(problem), out.constData());
    }

    void namedFiles_data()
    {
        QTest::addColumn<QString>("file");     // "firmware" or "image"
        QTest::addColumn<QByteArray>("content"); // empty: the file is removed
        QTest::addColumn<QByteArray>("problem");
        QByteArray badSum = Valid_Image();
        badSum[0x5001] = char(badSum[0x5001] + 1);
        QByteArray shortImage = Valid_Image().left(Image_Size - 1);
        QTest::newRow("firmware missing") << "firmware" << QByteArray() << QByteArray("is missing");
        QTest::newRow("image missing") << "image" << QByteArray() << QByteArray("device image");
        QTest::newRow("image too short") << "image" << shortImage << QByteArray("has 22527 bytes, expected 22528");
        QTest::newRow("image checksum wrong") << "image" << badSum << QByteArray("checksum");
    }

    void namedFiles()
    {
        QFETCH(QString, file);
        QFETCH(QByteArray, content);
        QFETCH(QByteArray, problem);
        Installation inst;
        QCOMPARE(Compile_XML_Parameter("127", "0", "0", "1", Update_Options(), inst.state), QString());
        const QString path = file == "firmware" ? inst.state.Dir_Master + "/Sim4315.sim" : inst.Image_Path();
        if (content.isEmpty())
            QVERIFY(QFile::remove(path));
        else
            test::Write_Bytes(path, content);
        QByteArray out;
        QCOMPARE(inst.Run(&out), 1);
        QVERIFY2(out.contains(problem), out.constData());
    }

    void noJobFile()
    {
        Installation inst;
        QByteArray out;
        QCOMPARE(inst.Run(&out), 2);
        QVERIFY2(out.contains("there is no job file"), out.constData());
    }
};

QTEST_GUILESS_MAIN(TestNetLoaderStandIn)
#include "tst_netloader_standin.moc"
