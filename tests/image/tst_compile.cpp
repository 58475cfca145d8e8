#include "image/image_compile.h"

#include "image/image_project.h"

#include <QDir>
#include <QFileInfo>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>

using namespace lw::test;
using lw::ProgramState;
namespace image = lw::image;

namespace {

constexpr int Block = 0x5000;
constexpr int Write_Area = 0x2800;

// One configuration folder with its bin folder, in a temporary folder.
struct Project {
    QTemporaryDir tmp;
    ProgramState state;

    Project()
    {
        state.Dir_Project = tmp.path() + QStringLiteral("/Project");
        QDir().mkpath(state.Dir_Project + QStringLiteral("/bin"));
        lw::Set_Files(state);
    }
    void Settings(const QByteArray& xml) { Write_Bytes(state.File_ParGen, xml); }
    void Access(const QByteArray& xml) { Write_Bytes(state.File_KNX_Access, xml); }
    void Rows(const QList<Xml_Fields>& rows) { Access(KNX_Access_Xml(rows)); }
    QString Bank() const { return image::Image_File(state); }

    // The compiled image in memory, or empty with the message in error.
    QByteArray Compile(QString* error = nullptr) const
    {
        image::Image_Buffer buffer;
        const QString e = image::Compile_Image(state, buffer);
        if (error)
            *error = e;
        if (!e.isEmpty())
            return {};
        return QByteArray(reinterpret_cast<const char*>(buffer.Data()), qsizetype(buffer.Image_Length));
    }
};

QByteArray Record(const QByteArray& image, int index)
{
    return image.mid(Write_Area + index * 20, 20);
}

} // namespace

class TestImageCompile : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void emptyProject()
    {
        Project p;
        QString summary;
        QCOMPARE(lw::Compile_And_Save_Image(p.state, &summary), QString());
        const QByteArray bank = Read_Bytes(p.Bank());
        QCOMPARE(bank.size(), 22528);
        QCOMPARE(bank.left(0x5000), QByteArray(0x5000, '\0'));
        QCOMPARE(U32_At(bank, 0x57FC), 4606u);
        QCOMPARE(bank.mid(0x57FC, 4), QByteArray::fromHex("FE110000"));
        QCOMPARE(bank.mid(Block + 0x028, 12), QByteArray::fromHex("C0A802CD FFFFFF00 FFFFFFFF"));
        QCOMPARE(bank.mid(Block + 0x050, 16), QByteArray(16, '\0'));
        QCOMPARE(U16_At(bank, Block + 0x1CE), 0);
        QCOMPARE(U32_At(bank, Block + 0x1C8), 0u);
        QCOMPARE(summary, QStringLiteral("22528 bytes, 0 commands, checksum 4606"));
    }

    void settingsExample()
    {
        Project p;
        p.Settings(ParGen_Xml(Example_Settings()));
        const QByteArray image = p.Compile();
        QCOMPARE(image.size(), 22528);
        QCOMPARE(U32_At(image, 0x57FC), 5711u);
        QCOMPARE(image.mid(0x57FC, 4), QByteArray::fromHex("4F160000"));
    }

    // What the settings file gives: IP, mask and gateway octets, the
    // converter's KNX address and the 16 bytes of the station name.
    void settings_data()
    {
        QTest::addColumn<QByteArray>("xml");
        QTest::addColumn<QByteArray>("octets");   // IP, mask, gateway
        QTest::addColumn<int>("knx");
        QTest::addColumn<QByteArray>("name");

        const QByteArray exampleOctets = QByteArray::fromHex("C0A80005 FFFFFF00 FFFFFFFF");
        const QByteArray exampleName = QByteArray("devicename1").leftJustified(16, '\0');
        auto row = [&](const char* title, const QStringList& changes, const QByteArray& octets, int knx,
                       const QByteArray& name) {
            QTest::newRow(title) << ParGen_Xml(Example_Settings(changes)) << octets << knx << name;
        };
        row("example", {}, exampleOctets, 0x11C8, exampleName);
        row("IP4 letters gives 5", {"PROFINET_IP4=abc"}, exampleOctets, 0x11C8, exampleName);
        row("IP4 missing gives 5", {"-PROFINET_IP4"}, exampleOctets, 0x11C8, exampleName);
        row("IP4 empty gives 5", {"PROFINET_IP4="}, exampleOctets, 0x11C8, exampleName);
        row("IP4 with trailing blank gives 5", {"PROFINET_IP4=7 "}, exampleOctets, 0x11C8, exampleName);
        row("octets read as integers", {"PROFINET_IP1=10", "PROFINET_IP2= 1", "PROFINET_IP3=$FF", "PROFINET_IP4=0x10"},
            QByteArray::fromHex("0A01FF10 FFFFFF00 FFFFFFFF"), 0x11C8, exampleName);
        row("octet low 8 bits", {"PROFINET_IP1=300", "PROFINET_IP2=-1"},
            QByteArray::fromHex("2CFF0005 FFFFFF00 FFFFFFFF"), 0x11C8, exampleName);
        row("every element missing", {"-KNX_TYPE", "-KNX_ID_DEV", "-PROFINET_IP1", "-PROFINET_IP2", "-PROFINET_IP3",
                                      "-PROFINET_IP4", "-PROFINET_SM1", "-PROFINET_SM2", "-PROFINET_SM3",
                                      "-PROFINET_SM4", "-PROFINET_GAT1", "-PROFINET_GAT2", "-PROFINET_GAT3",
                                      "-PROFINET_GAT4", "-PROFINET_EN_GAT", "-PROFINET_NAME_STA"},
            exampleOctets, 0x11C8, exampleName);
        row("mask letters", {"PROFINET_SM1=x", "PROFINET_SM2=y", "PROFINET_SM3=z", "PROFINET_SM4=w"},
            exampleOctets, 0x11C8, exampleName);
        row("mask read", {"PROFINET_SM3=0", "PROFINET_SM4=128"},
            QByteArray::fromHex("C0A80005 FFFF0080 FFFFFFFF"), 0x11C8, exampleName);
        const QStringList gateway = {"PROFINET_GAT1=10", "PROFINET_GAT2=0", "PROFINET_GAT3=0", "PROFINET_GAT4=254"};
        row("gateway enabled", QStringList(gateway) << "PROFINET_EN_GAT=1",
            QByteArray::fromHex("C0A80005 FFFFFF00 0A0000FE"), 0x11C8, exampleName);
        row("gateway defaults enabled", {"PROFINET_EN_GAT=1", "PROFINET_GAT2=x", "-PROFINET_GAT4"},
            QByteArray::fromHex("C0A80005 FFFFFF00 C0A80001"), 0x11C8, exampleName);
        for (const char* flag : {"0", " 1", "1 ", "true", "", "01"}) {
            QTest::newRow(qPrintable(QStringLiteral("gateway flag '%1' not enabled").arg(QLatin1String(flag))))
                << ParGen_Xml(Example_Settings(QStringList(gateway) << QStringLiteral("PROFINET_EN_GAT=") + flag))
                << exampleOctets << 0x11C8 << exampleName;
        }
        row("gateway flag missing", QStringList(gateway) << "-PROFINET_EN_GAT", exampleOctets, 0x11C8, exampleName);
        row("KNX_ID_DEV 1.1.20", {"KNX_ID_DEV=1.1.20"}, exampleOctets, 0x1114, exampleName);
        row("KNX_ID_DEV 15.15.255", {"KNX_ID_DEV=15.15.255"}, exampleOctets, 0xFFFF, exampleName);
        row("KNX_ID_DEV with blanks", {"KNX_ID_DEV= 1.1.20 "}, exampleOctets, 0x1114, exampleName);
        row("KNX_ID_DEV not a number", {"KNX_ID_DEV=abc"}, exampleOctets, 0x1114, exampleName);
        row("KNX_ID_DEV empty", {"KNX_ID_DEV="}, exampleOctets, 0x1114, exampleName);
        row("KNX_ID_DEV plain number", {"KNX_ID_DEV=$1234"}, exampleOctets, 0x1234, exampleName);
        row("KNX_ID_DEV missing", {"-KNX_ID_DEV"}, exampleOctets, 0x11C8, exampleName);
        row("KNX_TYPE not used", {"KNX_TYPE=abc"}, exampleOctets, 0x11C8, exampleName);
        row("name of 15 characters", {"PROFINET_NAME_STA=abcdefghijklmno"}, exampleOctets, 0x11C8,
            QByteArray("abcdefghijklmno\0", 16));
        row("name of 16 characters", {"PROFINET_NAME_STA=abcdefghijklmnop"}, exampleOctets, 0x11C8,
            QByteArray("abcdefghijklmnop"));
        row("name longer than 16 characters cut", {"PROFINET_NAME_STA=abcdefghijklmnopqrstuvwxyz"}, exampleOctets,
            0x11C8, QByteArray("abcdefghijklmnop"));
        row("name empty", {"PROFINET_NAME_STA="}, exampleOctets, 0x11C8, QByteArray(16, '\0'));
        row("name kept as typed", {"PROFINET_NAME_STA= Dev 1 "}, exampleOctets, 0x11C8,
            QByteArray(" Dev 1 ").leftJustified(16, '\0'));
        row("name low 8 bits", {QString::fromUtf8("PROFINET_NAME_STA=\xC3\xA9\xE2\x82\xAC" "a")}, exampleOctets,
            0x11C8, QByteArray("\xE9\xAC" "a").leftJustified(16, '\0'));
        row("name missing", {"-PROFINET_NAME_STA"}, exampleOctets, 0x11C8, exampleName);

        // Document forms.
        const QByteArray allMissingOctets = exampleOctets;
        QTest::newRow("root named otherwise")
            << ParGen_Xml(Example_Settings({"PROFINET_IP4=77"}), QStringLiteral("Other"))
            << QByteArray::fromHex("C0A8004D FFFFFF00 FFFFFFFF") << 0x11C8 << exampleName;
        QTest::newRow("comment first: every value missing")
            << QByteArray("<!--x-->") + ParGen_Xml(Example_Settings({"PROFINET_IP4=77", "KNX_ID_DEV=2.2.2"}))
            << allMissingOctets << 0x11C8 << exampleName;
        QTest::newRow("declaration first: every value missing")
            << QByteArray("<?xml version=\"1.0\"?>") + ParGen_Xml(Example_Settings({"PROFINET_IP4=77"}))
            << allMissingOctets << 0x11C8 << exampleName;
        QTest::newRow("empty root") << QByteArray("<Par_Gen/>") << allMissingOctets << 0x11C8 << exampleName;
        QTest::newRow("first of two elements counts")
            << QByteArray("<Par_Gen><PROFINET_IP4>9</PROFINET_IP4><PROFINET_IP4>8</PROFINET_IP4></Par_Gen>")
            << QByteArray::fromHex("C0A80009 FFFFFF00 FFFFFFFF") << 0x11C8 << exampleName;
        QTest::newRow("element not directly below the root")
            << QByteArray("<Par_Gen><x><PROFINET_IP4>9</PROFINET_IP4></x></Par_Gen>") << allMissingOctets << 0x11C8
            << exampleName;
        QTest::newRow("element with child elements counts as missing")
            << QByteArray("<Par_Gen><KNX_ID_DEV><a/></KNX_ID_DEV><PROFINET_NAME_STA><b/></PROFINET_NAME_STA>"
                          "<PROFINET_EN_GAT><c/></PROFINET_EN_GAT></Par_Gen>")
            << allMissingOctets << 0x11C8 << exampleName;
        QTest::newRow("character data")
            << QByteArray("<Par_Gen><PROFINET_NAME_STA><![CDATA[a<b]]></PROFINET_NAME_STA></Par_Gen>")
            << allMissingOctets << 0x11C8 << QByteArray("a<b").leftJustified(16, '\0');
    }
    void settings()
    {
        QFETCH(QByteArray, xml);
        QFETCH(QByteArray, octets);
        QFETCH(int, knx);
        QFETCH(QByteArray, name);
        Project p;
        p.Settings(xml);
        QString error;
        const QByteArray image = p.Compile(&error);
        QCOMPARE(error, QString());
        QCOMPARE(image.mid(Block + 0x028, 12).toHex(' '), octets.toHex(' '));
        QCOMPARE(U16_At(image, Block + 0x1CE), knx);
        QCOMPARE(image.mid(Block + 0x050, 16), name);
        std::uint32_t sum = 0;
        for (int i = 0; i < 0x7FC; ++i)
            sum += std::uint8_t(image[Block + i]);
        QCOMPARE(U32_At(image, 0x57FC), sum);
    }

    // One row of the KNX access file and the record it becomes (an empty
    // record when the row is skipped).
    void row_data()
    {
        QTest::addColumn<QStringList>("changes");
        QTest::addColumn<int>("count");
        QTest::addColumn<QByteArray>("record");

        const auto rec = [](std::uint32_t poll, int priority, int length, int flags, int apci, int source,
                            int destination, int position) {
            return Record_Bytes(poll, priority, length, flags, apci, source, destination, position);
        };
        // The worked example: F4 01 00 00 00 00 00 00 03 02 2A 10 80 00 0A 11 03 0A 04 00.
        const QByteArray example = rec(500, 3, 2, 0x102A, 0x80, 0x110A, 0x0A03, 4);
        QTest::newRow("worked example") << QStringList() << 1 << example;
        QTest::newRow("bit mode 3") << QStringList{"Bit_Mode=3"} << 1 << rec(500, 3, 2, 0x106A, 0x80, 0x110A, 0x0A03, 35);

        QTest::newRow("Enable y between blanks") << QStringList{"Enable= y "} << 1 << example;
        QTest::newRow("Enable with control characters") << QStringList{"Enable=\tY\n"} << 1 << example;
        QTest::newRow("Enable N skips") << QStringList{"Enable=N"} << 0 << QByteArray(20, '\0');
        QTest::newRow("Enable empty skips") << QStringList{"Enable="} << 0 << QByteArray(20, '\0');
        QTest::newRow("Enable Yes skips") << QStringList{"Enable=Yes"} << 0 << QByteArray(20, '\0');
        QTest::newRow("Enable missing compiles") << QStringList{"-Enable"} << 1 << example;
        QTest::newRow("disabled row may lack anything")
            << QStringList{"Enable=N", "-APCI", "-Source_Address", "-Length"} << 0 << QByteArray(20, '\0');

        QTest::newRow("APCI write lower case") << QStringList{"APCI=write"} << 1 << example;
        QTest::newRow("APCI read") << QStringList{"APCI=Read"} << 1 << rec(500, 3, 2, 0x102A, 0, 0x110A, 0x0A03, 4);
        QTest::newRow("APCI WRITE with blank") << QStringList{"APCI=WRITE "} << 1 << rec(500, 3, 2, 0x102A, 0, 0x110A, 0x0A03, 4);
        QTest::newRow("APCI 64") << QStringList{"APCI=64"} << 1 << rec(500, 3, 2, 0x102A, 64, 0x110A, 0x0A03, 4);
        QTest::newRow("APCI long text") << QStringList{QStringLiteral("APCI=") + QString(70, u' ') + QStringLiteral("64")} << 1
                                        << rec(500, 3, 2, 0x102A, 64, 0x110A, 0x0A03, 4);
        // Upper-casing folds only a to z, as in the data check: other letters match no keyword.
        QTest::newRow("APCI dotless i is no keyword") << QStringList{QString::fromUtf8("APCI=wr\xC4\xB1te")} << 1
                                                      << rec(500, 3, 2, 0x102A, 0, 0x110A, 0x0A03, 4);
        QTest::newRow("Format long s is no keyword") << QStringList{QString::fromUtf8("Format=\xC5\xBFwap16")} << 1
                                                     << rec(500, 3, 2, 0x002A, 0x80, 0x110A, 0x0A03, 4);
        QTest::newRow("APCI hex") << QStringList{"APCI=$3FF"} << 1 << rec(500, 3, 2, 0x102A, 0x3FF, 0x110A, 0x0A03, 4);

        QTest::newRow("Priority Urgent") << QStringList{"Priority=Urgent"} << 1 << rec(500, 2, 2, 0x102A, 0x80, 0x110A, 0x0A03, 4);
        QTest::newRow("Priority system lower") << QStringList{"Priority=system"} << 1 << rec(500, 0, 2, 0x102A, 0x80, 0x110A, 0x0A03, 4);
        QTest::newRow("Priority other") << QStringList{"Priority=Fast"} << 1 << rec(500, 1, 2, 0x102A, 0x80, 0x110A, 0x0A03, 4);
        QTest::newRow("Priority with blank") << QStringList{"Priority=Low "} << 1 << rec(500, 1, 2, 0x102A, 0x80, 0x110A, 0x0A03, 4);

        QTest::newRow("Format lower case x10") << QStringList{"Format=float16 to int * 10"} << 1
                                               << rec(500, 3, 2, 0x802A, 0x80, 0x110A, 0x0A03, 4);
        QTest::newRow("Format other") << QStringList{"Format=Swap 16"} << 1 << rec(500, 3, 2, 0x002A, 0x80, 0x110A, 0x0A03, 4);
        QTest::newRow("Format missing") << QStringList{"-Format"} << 1 << rec(500, 3, 2, 0x002A, 0x80, 0x110A, 0x0A03, 4);

        QTest::newRow("Extended y") << QStringList{"Extended=y"} << 1 << rec(500, 3, 2, 0x103A, 0x80, 0x110A, 0x0A03, 4);
        QTest::newRow("Extended Y with blank") << QStringList{"Extended=Y "} << 1 << example;
        QTest::newRow("ReTest N") << QStringList{"ReTest=N"} << 1 << rec(500, 3, 2, 0x1028, 0x80, 0x110A, 0x0A03, 4);
        QTest::newRow("ReTest blank Y") << QStringList{"ReTest= Y"} << 1 << rec(500, 3, 2, 0x1028, 0x80, 0x110A, 0x0A03, 4);
        QTest::newRow("On_Command empty") << QStringList{"On_Command="} << 1 << rec(500, 3, 2, 0x1022, 0x80, 0x110A, 0x0A03, 4);
        QTest::newRow("On_Command missing") << QStringList{"-On_Command"} << 1 << rec(500, 3, 2, 0x1022, 0x80, 0x110A, 0x0A03, 4);
        QTest::newRow("On_Change y") << QStringList{"On_Change=y"} << 1 << rec(500, 3, 2, 0x102B, 0x80, 0x110A, 0x0A03, 4);

        QTest::newRow("destination 31/2047") << QStringList{"Destination_Address=31/2047"} << 1
                                             << rec(500, 3, 2, 0x102A, 0x80, 0x110A, 0xFFFF, 4);
        QTest::newRow("destination individual") << QStringList{"Destination_Address=1.1.5"} << 1
                                                << rec(500, 3, 2, 0x100A, 0x80, 0x110A, 0x1105, 4);
        QTest::newRow("destination plain number is a group") << QStringList{"Destination_Address=100"} << 1
                                                             << rec(500, 3, 2, 0x102A, 0x80, 0x110A, 100, 4);
        QTest::newRow("destination with blanks") << QStringList{"Destination_Address= 1 / 2 / 3 "} << 1 << example;
        QTest::newRow("destination empty is a group 0") << QStringList{"Destination_Address="} << 1
                                                        << rec(500, 3, 2, 0x102A, 0x80, 0x110A, 0, 4);
        QTest::newRow("source 1.5") << QStringList{"Source_Address=1.5"} << 1 << rec(500, 3, 2, 0x102A, 0x80, 0x1005, 0x0A03, 4);
        QTest::newRow("source 15.15.255") << QStringList{"Source_Address=15.15.255"} << 1
                                          << rec(500, 3, 2, 0x102A, 0x80, 0xFFFF, 0x0A03, 4);
        QTest::newRow("source 0.0.0") << QStringList{"Source_Address=0.0.0"} << 1 << rec(500, 3, 2, 0x102A, 0x80, 0, 0x0A03, 4);

        QTest::newRow("poll time empty gives 1000") << QStringList{"Poll_Time="} << 1
                                                    << rec(1000, 3, 2, 0x102A, 0x80, 0x110A, 0x0A03, 4);
        QTest::newRow("poll time 250") << QStringList{"Poll_Time=250"} << 1 << rec(250, 3, 2, 0x102A, 0x80, 0x110A, 0x0A03, 4);
        QTest::newRow("poll time hex") << QStringList{"Poll_Time=0x10"} << 1 << rec(16, 3, 2, 0x102A, 0x80, 0x110A, 0x0A03, 4);
        QTest::newRow("poll time large") << QStringList{"Poll_Time=100000000"} << 1
                                         << rec(100000000, 3, 2, 0x102A, 0x80, 0x110A, 0x0A03, 4);
        QTest::newRow("poll time negative") << QStringList{"Poll_Time=-1"} << 1
                                            << rec(0xFFFFFFFF, 3, 2, 0x102A, 0x80, 0x110A, 0x0A03, 4);
        QTest::newRow("On_Timer y lower case") << QStringList{"On_Timer=y"} << 1 << example;
        QTest::newRow("On_Timer N") << QStringList{"On_Timer=N", "Poll_Time=250"} << 1 << rec(0, 3, 2, 0x102A, 0x80, 0x110A, 0x0A03, 4);
        QTest::newRow("On_Timer N without Poll_Time") << QStringList{"On_Timer=N", "-Poll_Time"} << 1
                                                      << rec(0, 3, 2, 0x102A, 0x80, 0x110A, 0x0A03, 4);
        QTest::newRow("On_Timer missing") << QStringList{"-On_Timer"} << 1 << rec(0, 3, 2, 0x102A, 0x80, 0x110A, 0x0A03, 4);
        QTest::newRow("Poll_Time missing") << QStringList{"-Poll_Time"} << 1 << rec(0, 3, 2, 0x102A, 0x80, 0x110A, 0x0A03, 4);

        QTest::newRow("byte mode position 7") << QStringList{"Position=7"} << 1 << rec(500, 3, 2, 0x102A, 0x80, 0x110A, 0x0A03, 7);
        QTest::newRow("bit 5 position 7") << QStringList{"Position=7", "Bit_Mode=5"} << 1
                                          << rec(500, 3, 2, 0x106A, 0x80, 0x110A, 0x0A03, 61);
        QTest::newRow("bit mode empty is bit 0") << QStringList{"Position=7", "Bit_Mode="} << 1
                                                 << rec(500, 3, 2, 0x106A, 0x80, 0x110A, 0x0A03, 56);
        QTest::newRow("Bit_Mode no lower case") << QStringList{"Position=7", "Bit_Mode=no"} << 1
                                                << rec(500, 3, 2, 0x102A, 0x80, 0x110A, 0x0A03, 7);
        QTest::newRow("Bit_Mode No with blank is bit mode") << QStringList{"Position=7", "Bit_Mode=No "} << 1
                                                            << rec(500, 3, 2, 0x106A, 0x80, 0x110A, 0x0A03, 56);
        QTest::newRow("position not an integer") << QStringList{"Position=abc"} << 1
                                                 << rec(500, 3, 2, 0x102A, 0x80, 0x110A, 0x0A03, 0);
        QTest::newRow("position low 16 bits") << QStringList{"Position=70000"} << 1
                                              << rec(500, 3, 2, 0x102A, 0x80, 0x110A, 0x0A03, 70000 & 0xFFFF);
        QTest::newRow("bit mode low 16 bits") << QStringList{"Position=10000", "Bit_Mode=7"} << 1
                                              << rec(500, 3, 2, 0x106A, 0x80, 0x110A, 0x0A03, 80007 & 0xFFFF);
        QTest::newRow("bit mode huge position wraps") << QStringList{"Position=2147483647", "Bit_Mode=7"} << 1
                                                      << rec(500, 3, 2, 0x106A, 0x80, 0x110A, 0x0A03, 0xFFFF);
        QTest::newRow("length empty gives 1") << QStringList{"Length="} << 1 << rec(500, 3, 1, 0x102A, 0x80, 0x110A, 0x0A03, 4);
        QTest::newRow("length 300 gives 44") << QStringList{"Length=300"} << 1 << rec(500, 3, 44, 0x102A, 0x80, 0x110A, 0x0A03, 4);
        QTest::newRow("length hex") << QStringList{"Length=$FF"} << 1 << rec(500, 3, 255, 0x102A, 0x80, 0x110A, 0x0A03, 4);
        QTest::newRow("Mnemonic missing") << QStringList{"-Mnemonic"} << 1 << example;
        QTest::newRow("unknown attribute") << QStringList{"Extra=1"} << 1 << example;
    }
    void row()
    {
        QFETCH(QStringList, changes);
        QFETCH(int, count);
        QFETCH(QByteArray, record);
        Project p;
        p.Rows({Example_Row(changes)});
        QString error;
        const QByteArray image = p.Compile(&error);
        QCOMPARE(error, QString());
        QCOMPARE(Record(image, 0).toHex(' '), record.toHex(' '));
        QCOMPARE(U32_At(image, Block + 0x1C8), std::uint32_t(count));
        QCOMPARE(image.mid(Write_Area + 20, 0x5000 - Write_Area - 20), QByteArray(0x5000 - Write_Area - 20, '\0'));
        QCOMPARE(image.left(Write_Area), QByteArray(Write_Area, '\0'));
    }

    void fullArea()
    {
        QList<Xml_Fields> rows;
        for (int i = 0; i < 512; ++i)
            rows << Example_Row({QStringLiteral("Source_Address=%1").arg(i + 1), QStringLiteral("Position=%1").arg(i)});
        Project p;
        p.Rows(rows);
        QString summary;
        QCOMPARE(lw::Compile_And_Save_Image(p.state, &summary), QString());
        const QByteArray image = Read_Bytes(p.Bank());
        QCOMPARE(image.size(), 22528);
        QCOMPARE(U32_At(image, Block + 0x1C8), 512u);
        QCOMPARE(Record(image, 0), Record_Bytes(500, 3, 2, 0x102A, 0x80, 1, 0x0A03, 0));
        // The last record ends at file offset 0x4FFF.
        QCOMPARE(image.mid(0x4FEC, 20), Record_Bytes(500, 3, 2, 0x102A, 0x80, 512, 0x0A03, 511));
        QVERIFY(summary.contains(QStringLiteral("512 commands")));
    }

    // Disabled rows take no record: the compiled rows stay packed.
    void disabledRowsLeaveNoGap()
    {
        Project p;
        p.Rows({Example_Row({"Source_Address=1.1.1"}), Example_Row({"Source_Address=1.1.2", "Enable=N"}),
                Example_Row({"Source_Address=1.1.3"})});
        const QByteArray image = p.Compile();
        QCOMPARE(U32_At(image, Block + 0x1C8), 2u);
        QCOMPARE(Record(image, 0), Record_Bytes(500, 3, 2, 0x102A, 0x80, 0x1101, 0x0A03, 4));
        QCOMPARE(Record(image, 1), Record_Bytes(500, 3, 2, 0x102A, 0x80, 0x1103, 0x0A03, 4));
        QCOMPARE(Record(image, 2), QByteArray(20, '\0'));
    }

    // Only compiled rows count towards the 512 records.
    void manyRowsWithDisabled()
    {
        // 600 rows, every seventh disabled: 514 enabled.
        QList<Xml_Fields> rows;
        for (int i = 0; i < 600; ++i)
            rows << Example_Row({QStringLiteral("Source_Address=%1").arg(i + 1),
                                 QStringLiteral("Enable=") + (i % 7 == 0 ? u'N' : u'Y')});
        Project p;
        p.Rows(rows);
        QString error;
        const QByteArray image = p.Compile(&error);
        QVERIFY2(error.contains(QStringLiteral("at most 512")), qPrintable(error));
        QVERIFY(image.isEmpty());

        // Two more disabled rows bring it to 512.
        rows[1] = Example_Row({"Enable=N"});
        rows[2] = Example_Row({"Enable=N"});
        p.Rows(rows);
        const QByteArray full = p.Compile(&error);
        QCOMPARE(error, QString());
        QCOMPARE(U32_At(full, Block + 0x1C8), 512u);
    }

    void nonRowContent()
    {
        Project p;
        p.Access(QByteArray("<BACnet_to_KNX><KNX_in_Read>") + Row_Xml(Example_Row()).toUtf8()
                 + "</KNX_in_Read><KNX_in_Write>\n  <!-- note -->\n  " + Row_Xml(Example_Row()).toUtf8()
                 + "\n  <?pi x?>" + Row_Xml(Example_Row({"Source_Address=1.1.11"})).toUtf8()
                 + "</KNX_in_Write></BACnet_to_KNX>");
        const QByteArray image = p.Compile();
        QCOMPARE(U32_At(image, Block + 0x1C8), 2u);
        QCOMPARE(U32_At(image, Block + 0x1C4), 0u);
        QCOMPARE(image.left(Write_Area), QByteArray(Write_Area, '\0'));
        QCOMPARE(U16_At(image, Write_Area + 20 + 14), 0x110B);
    }

    void emptyTables_data()
    {
        QTest::addColumn<QByteArray>("xml");
        QTest::newRow("no rows") << KNX_Access_Xml({});
        QTest::newRow("blanks in the table") << QByteArray("<BACnet_to_KNX><KNX_in_Write>\n</KNX_in_Write></BACnet_to_KNX>");
        QTest::newRow("root named otherwise") << QByteArray("<Other><KNX_in_Write/></Other>");
        QTest::newRow("only disabled rows") << KNX_Access_Xml({Example_Row({"Enable=N"}), Example_Row({"Enable=n"})});
    }
    void emptyTables()
    {
        QFETCH(QByteArray, xml);
        Project p;
        p.Access(xml);
        QString error;
        const QByteArray image = p.Compile(&error);
        QCOMPARE(error, QString());
        QCOMPARE(image.left(0x5000), QByteArray(0x5000, '\0'));
        QCOMPARE(U32_At(image, 0x57FC), 4606u);
    }

    // Every stop leaves an existing bank.bin byte for byte, and an absent one absent.
    void stops_data()
    {
        QTest::addColumn<QByteArray>("settings");
        QTest::addColumn<QByteArray>("access");
        QTest::addColumn<QString>("message");

        const QByteArray settings = ParGen_Xml(Example_Settings());
        for (const char* attr : {"APCI", "Priority", "Extended", "Destination_Address", "ReTest", "Source_Address",
                                 "On_Change", "Bit_Mode", "Position", "Length"}) {
            const QString name = QLatin1String(attr);
            QTest::newRow(qPrintable(QStringLiteral("%1 missing").arg(name)))
                << settings
                << KNX_Access_Xml({Example_Row(), Example_Row({QStringLiteral("-") + name})})
                << QStringLiteral("row 2 has no %1 attribute").arg(name);
        }
        QTest::newRow("Position missing in byte mode")
            << settings << KNX_Access_Xml({Example_Row({"-Position", "Bit_Mode=NO"})}) << "row 1 has no Position";
        QTest::newRow("missing after a disabled row")
            << settings << KNX_Access_Xml({Example_Row({"Enable=N"}), Example_Row({"-Enable", "-Length"})})
            << "row 2 has no Length";
        QTest::newRow("settings not well-formed") << QByteArray("<Par_Gen><KNX_ID_DEV>") << KNX_Access_Xml({})
                                                  << "not well-formed";
        QTest::newRow("settings empty file") << QByteArray() << KNX_Access_Xml({}) << "not well-formed";
        QTest::newRow("access not well-formed") << settings << QByteArray("<BACnet_to_KNX><KNX_in_Write>")
                                                << "not well-formed";
        QTest::newRow("no KNX_in_Write") << settings << QByteArray("<BACnet_to_KNX><KNX_in_Read/></BACnet_to_KNX>")
                                         << "no KNX_in_Write";
        QTest::newRow("KNX_in_Write deeper down")
            << settings << QByteArray("<BACnet_to_KNX><x><KNX_in_Write/></x></BACnet_to_KNX>") << "no KNX_in_Write";
        QTest::newRow("comment before the root")
            << settings << QByteArray("<!--c-->") + KNX_Access_Xml({Example_Row()}) << "does not start with its root";
        QTest::newRow("declaration before the root")
            << settings << QByteArray("<?xml version=\"1.0\" encoding=\"UTF-8\"?>") + KNX_Access_Xml({Example_Row()})
            << "does not start with its root";
        QList<Xml_Fields> rows;
        for (int i = 0; i < 513; ++i)
            rows << Example_Row();
        QTest::newRow("513 enabled rows") << settings << KNX_Access_Xml(rows) << "row 513 is enabled command number 513";
    }
    void stops()
    {
        QFETCH(QByteArray, settings);
        QFETCH(QByteArray, access);
        QFETCH(QString, message);

        const QByteArray old("an earlier image, kept as it is");
        for (bool existing : {true, false}) {
            Project p;
            p.Settings(settings);
            p.Access(access);
            if (existing)
                Write_Bytes(p.Bank(), old);
            QString summary = QStringLiteral("untouched");
            const QString error = lw::Compile_And_Save_Image(p.state, &summary);
            QVERIFY2(error.contains(message), qPrintable(error));
            QCOMPARE(summary, QStringLiteral("untouched"));
            if (existing)
                QCOMPARE(Read_Bytes(p.Bank()), old);
            else
                QVERIFY(!QFile::exists(p.Bank()));
            QCOMPARE(QDir(p.state.Dir_Project + QStringLiteral("/bin")).entryList(QDir::NoDotAndDotDot | QDir::AllEntries).size(),
                     existing ? 1 : 0);
        }
    }

    // A stopped compile leaves the caller's buffer as it was.
    void stopLeavesBuffer()
    {
        Project p;
        p.Rows({Example_Row({"-Length"})});
        image::Image_Buffer buffer;
        buffer.Data()[0] = 0x5A;
        buffer.Image_Length = 7;
        QVERIFY(!image::Compile_Image(p.state, buffer).isEmpty());
        QCOMPARE(buffer.Image_Length, 7u);
        QCOMPARE(int(buffer.Data()[0]), 0x5A);
    }

    void identicalCompiles()
    {
        Project p;
        p.Settings(ParGen_Xml(Example_Settings({"PROFINET_EN_GAT=1"})));
        p.Rows({Example_Row(), Example_Row({"Bit_Mode=3"}), Example_Row({"Enable=N"})});
        QCOMPARE(lw::Compile_And_Save_Image(p.state), QString());
        const QByteArray first = Read_Bytes(p.Bank());
        QCOMPARE(lw::Compile_And_Save_Image(p.state), QString());
        QCOMPARE(Read_Bytes(p.Bank()), first);

        // A buffer holding an earlier, larger compile gives the same bytes.
        Project big;
        QList<Xml_Fields> rows;
        for (int i = 0; i < 100; ++i)
            rows << Example_Row();
        big.Rows(rows);
        image::Image_Buffer buffer;
        QCOMPARE(image::Compile_Image(big.state, buffer), QString());
        std::fill(buffer.Data(), buffer.Data() + buffer.Capacity(), std::uint8_t(0xAA));
        QCOMPARE(image::Compile_Image(p.state, buffer), QString());
        QCOMPARE(QByteArray(reinterpret_cast<const char*>(buffer.Data()), qsizetype(buffer.Image_Length)), first);
    }

    // The checksum covers the block only.
    void checksumIgnoresAreas()
    {
        Project a;
        a.Rows({Example_Row({"Source_Address=1.1.1"})});
        Project b;
        b.Rows({Example_Row({"Source_Address=2.2.2", "Length=9"})});
        const QByteArray ia = a.Compile();
        const QByteArray ib = b.Compile();
        QVERIFY(ia.mid(Write_Area, 20) != ib.mid(Write_Area, 20));
        QCOMPARE(ia.mid(Block), ib.mid(Block));

        Project c;
        c.Settings(ParGen_Xml(Example_Settings({"PROFINET_NAME_STA=devicename2"})));
        Project d;
        d.Settings(ParGen_Xml(Example_Settings()));
        QCOMPARE(U32_At(c.Compile(), 0x57FC), U32_At(d.Compile(), 0x57FC) + 1);
    }

    void saveFolders()
    {
        // Only the bin folder missing: it is created.
        Project p;
        QVERIFY(QDir(p.state.Dir_Project + QStringLiteral("/bin")).removeRecursively());
        QCOMPARE(lw::Compile_And_Save_Image(p.state), QString());
        QCOMPARE(Read_Bytes(p.Bank()).size(), 22528);

        // The configuration folder itself missing: reported, nothing created.
        Project gone;
        QVERIFY(QDir(gone.state.Dir_Project).removeRecursively());
        const QString error = lw::Compile_And_Save_Image(gone.state);
        QVERIFY2(error.contains(QStringLiteral("does not exist")), qPrintable(error));
        QVERIFY(!QFileInfo::exists(gone.state.Dir_Project));

        // bank.bin taken by a folder: reported, the folder stays.
        Project taken;
        QVERIFY(QDir().mkpath(taken.Bank() + QStringLiteral("/inside")));
        QVERIFY(!lw::Compile_And_Save_Image(taken.state).isEmpty());
        QVERIFY(QFileInfo(taken.Bank() + QStringLiteral("/inside")).isDir());

        // bin taken by a file: reported, the file stays.
        Project file;
        QVERIFY(QDir(file.state.Dir_Project + QStringLiteral("/bin")).removeRecursively());
        Write_Bytes(file.state.Dir_Project + QStringLiteral("/bin"), "x");
        QVERIFY(!lw::Compile_And_Save_Image(file.state).isEmpty());
        QCOMPARE(Read_Bytes(file.state.Dir_Project + QStringLiteral("/bin")), QByteArray("x"));

        ProgramState none;
        QVERIFY(!lw::Compile_And_Save_Image(none).isEmpty());
    }

    void saveWithoutCompile()
    {
        Project p;
        Write_Bytes(p.Bank(), "old");
        QVERIFY(!image::Save_Image(p.state, image::Image_Buffer()).isEmpty());
        QCOMPARE(Read_Bytes(p.Bank()), QByteArray("old"));
    }
};

QTEST_GUILESS_MAIN(TestImageCompile)
#include "tst_compile.moc"
