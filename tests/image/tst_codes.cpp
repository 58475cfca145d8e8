#include "image/image_codes.h"
#include "knx_access/knx_address.h"

#include <QTest>

using namespace lw::image;

class TestImageCodes : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void apciCode_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("code");
        QTest::newRow("WRITE") << "WRITE" << 0x0080;
        QTest::newRow("write lower case") << "write" << 0x0080;
        QTest::newRow("Write mixed") << "Write" << 0x0080;
        QTest::newRow("READ") << "READ" << 0x0000;
        QTest::newRow("read lower case") << "read" << 0x0000;
        QTest::newRow("WRITE then blank is not a keyword") << "WRITE " << 0;
        QTest::newRow("blank then Write") << " Write" << 0;
        QTest::newRow("number") << "64" << 64;
        QTest::newRow("leading blanks number") << "  64" << 64;
        QTest::newRow("hex") << "0x3FF" << 0x3FF;
        QTest::newRow("dollar hex") << "$10" << 16;
        QTest::newRow("letters") << "abc" << 0;
        QTest::newRow("empty") << "" << 0;
        QTest::newRow("16 bits kept") << "70000" << (70000 & 0xFFFF);
        QTest::newRow("negative") << "-1" << 0xFFFF;
        QTest::newRow("dotless i is no keyword") << QString::fromUtf8("wr\xC4\xB1te") << 0x0000;
        QTest::newRow("accented letter") << QString::fromUtf8("wr\xC3\xAFte") << 0;
    }
    void apciCode()
    {
        QFETCH(QString, text);
        QFETCH(int, code);
        QCOMPARE(int(APCI_Code(text)), code);
    }

    void priorityCode_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("code");
        QTest::newRow("System") << "System" << 0;
        QTest::newRow("SYSTEM") << "SYSTEM" << 0;
        QTest::newRow("Urgent") << "Urgent" << 2;
        QTest::newRow("urgent") << "urgent" << 2;
        QTest::newRow("Normal") << "Normal" << 1;
        QTest::newRow("Low") << "Low" << 3;
        QTest::newRow("lOw") << "lOw" << 3;
        QTest::newRow("blank before") << " Low" << 1;
        QTest::newRow("blank after") << "Urgent " << 1;
        QTest::newRow("empty") << "" << 1;
        QTest::newRow("number") << "3" << 1;
        QTest::newRow("other") << "High" << 1;
    }
    void priorityCode()
    {
        QFETCH(QString, text);
        QFETCH(int, code);
        QCOMPARE(int(Priority_Code(text)), code);
    }

    void formatCode_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("code");
        QTest::newRow("None") << "None" << 0x0000;
        QTest::newRow("Swap16") << "Swap16" << 0x1000;
        QTest::newRow("SWAP32") << "SWAP32" << 0x2000;
        QTest::newRow("Swap All") << "Swap All" << 0x3000;
        QTest::newRow("Int to Float") << "Int to Float" << 0x4000;
        QTest::newRow("Float to Int") << "Float to Int" << 0x5000;
        QTest::newRow("Float16 to Float32") << "Float16 to Float32" << 0x6000;
        QTest::newRow("Float16 to Int") << "Float16 to Int" << 0x7000;
        QTest::newRow("float16 to int * 10") << "float16 to int * 10" << 0x8000;
        QTest::newRow("FLOAT16 TO INT * 100") << "FLOAT16 TO INT * 100" << 0x9000;
        QTest::newRow("blank before") << " Swap16" << 0;
        QTest::newRow("blank after") << "Swap16 " << 0;
        QTest::newRow("inner blank") << "Swap 16" << 0;
        QTest::newRow("empty") << "" << 0;
        QTest::newRow("number") << "3" << 0;
        QTest::newRow("long s is no keyword") << QString::fromUtf8("\xC5\xBFwap32") << 0x0000;
        QTest::newRow("sharp s upper-cases to SS") << QString::fromUtf8("\xC3\x9F" "wap all") << 0;
    }
    void formatCode()
    {
        QFETCH(QString, text);
        QFETCH(int, code);
        QCOMPARE(int(Format_Code(text)), code);
    }

    void encodeKnxAddress_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("group");
        QTest::addColumn<int>("value");
        QTest::newRow("group three levels") << "1/2/3" << true << 0x0A03;
        QTest::newRow("group two levels max") << "31/2047" << true << 0xFFFF;
        QTest::newRow("group three levels max") << "31/7/255" << true << 0xFFFF;
        QTest::newRow("group plain number") << "100" << true << 100;
        QTest::newRow("group blanks around parts") << " 1 / 2 / 3 " << true << 0x0A03;
        QTest::newRow("group control characters around") << "\t1/2/3\n" << true << 0x0A03;
        QTest::newRow("group main masked to 5 bits") << "32/5" << true << 5;
        QTest::newRow("group sub masked to 11 bits") << "1/2048" << true << 0x0800;
        QTest::newRow("group middle masked to 3 bits") << "1/8/0" << true << 0x0800;
        QTest::newRow("group sub masked to 8 bits") << "1/2/256" << true << 0x0A00;
        QTest::newRow("group negative main") << "-1/0" << true << 0xF800;
        QTest::newRow("group hex parts") << "$1F/0x7FF" << true << 0xFFFF;
        QTest::newRow("group letters") << "a/b" << true << 0;
        QTest::newRow("group four levels") << "1/2/3/4" << true << 0x0A00;
        QTest::newRow("group empty") << "" << true << 0;
        QTest::newRow("group plain number 16 bits") << "70000" << true << (70000 & 0xFFFF);
        QTest::newRow("group trailing slash") << "1/" << true << 0x0800;
        QTest::newRow("individual") << "1.1.10" << false << 0x110A;
        QTest::newRow("individual max") << "15.15.255" << false << 0xFFFF;
        QTest::newRow("individual two parts") << "1.5" << false << 0x1005;
        QTest::newRow("individual masked") << "16.16.256" << false << 0x0000;
        QTest::newRow("individual blanks") << " 1 . 1 . 5 " << false << 0x1105;
        QTest::newRow("individual four parts") << "1.1.5.6" << false << 0x1100;
        QTest::newRow("individual plain number") << "4660" << false << 4660;
        QTest::newRow("individual with slashes") << "1/2" << false << 0;
        QTest::newRow("individual letters") << "a.b.c" << false << 0;
        QTest::newRow("individual hex") << "$F.$F.$FF" << false << 0xFFFF;
        QTest::newRow("individual all zero") << "0.0.0" << false << 0;
    }
    void encodeKnxAddress()
    {
        QFETCH(QString, text);
        QFETCH(bool, group);
        QFETCH(int, value);
        QCOMPARE(int(Encode_KNX_Address(text, group)), value);
    }

    void encodeDeviceAddress_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("value");
        QTest::newRow("1.1.20") << "1.1.20" << 0x1114;
        QTest::newRow("1.1.200") << "1.1.200" << 0x11C8;
        QTest::newRow("15.15.255") << "15.15.255" << 0xFFFF;
        QTest::newRow("not a number, no point") << "abc" << 0x1114;
        QTest::newRow("empty") << "" << 0x1114;
        QTest::newRow("plain number") << "4660" << 4660;
        QTest::newRow("plain hex") << "0x1234" << 0x1234;
        QTest::newRow("plain with leading blank") << " 4660" << 4660;
        QTest::newRow("plain with trailing blank") << "4660 " << 4660;
        QTest::newRow("plain between control characters") << "\t4660\r\n" << 4660;
        QTest::newRow("plain 16 bits kept") << "70000" << (70000 & 0xFFFF);
        QTest::newRow("parts not integers") << "a.b.c" << 0x1114;
        QTest::newRow("area not integer") << "x.2.3" << 0x1203;
        QTest::newRow("device not integer") << "2.3.x" << 0x2314;
        QTest::newRow("blanks around parts") << " 1 . 1 . 20 " << 0x1114;
        QTest::newRow("line not masked") << "1.16.0" << 0x2000;
        QTest::newRow("device not masked") << "0.0.256" << 0x0100;
        QTest::newRow("area overflows 16 bits") << "16.0.0" << 0x0000;
        QTest::newRow("two parts: area and device, line 0") << "1.5" << 0x1005;
        QTest::newRow("two parts, area not integer") << "x.5" << 0x1005;
        QTest::newRow("four parts: device not integer") << "1.1.5.6" << 0x1114;
        QTest::newRow("all zero") << "0.0.0" << 0;
    }
    void encodeDeviceAddress()
    {
        QFETCH(QString, text);
        QFETCH(int, value);
        QCOMPARE(int(Encode_Device_Address(text)), value);
    }

    void isGroupAddress_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("group");
        QTest::newRow("three levels") << "1/2/3" << true;
        QTest::newRow("plain number") << "100" << true;
        QTest::newRow("empty") << "" << true;
        QTest::newRow("individual") << "1.1.5" << false;
        QTest::newRow("point anywhere") << "1/2.3" << false;
    }
    void isGroupAddress()
    {
        QFETCH(QString, text);
        QFETCH(bool, group);
        QCOMPARE(lw::Is_Group_Address(text), group);
    }

    void names_data()
    {
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("priority");
        QTest::addColumn<QString>("format");
        QTest::newRow("0") << 0 << "System" << "None";
        QTest::newRow("1") << 1 << "Normal" << "Swap16";
        QTest::newRow("2") << 2 << "Urgent" << "Swap32";
        QTest::newRow("3") << 3 << "Low" << "Swap All";
        QTest::newRow("8") << 8 << "" << "Float16 to Int * 10";
        QTest::newRow("9") << 9 << "" << "Float16 to Int * 100";
        QTest::newRow("10") << 10 << "" << "";
    }
    void names()
    {
        QFETCH(int, code);
        QFETCH(QString, priority);
        QFETCH(QString, format);
        QCOMPARE(Priority_Name(code), priority);
        QCOMPARE(Format_Name(code), format);
        // Every name reads back to its code.
        if (!priority.isEmpty())
            QCOMPARE(int(Priority_Code(priority)), code);
        if (!format.isEmpty())
            QCOMPARE(int(Format_Code(format)), code << 12);
    }

    void addressTexts()
    {
        QCOMPARE(Individual_Address_Text(0x110A), QStringLiteral("1.1.10"));
        QCOMPARE(Individual_Address_Text(0xFFFF), QStringLiteral("15.15.255"));
        QCOMPARE(Group_Address_Text(0x0A03), QStringLiteral("1/2/3"));
        QCOMPARE(Group_Address_Text(0xFFFF), QStringLiteral("31/7/255"));
        QCOMPARE(APCI_Name(0x0080), QStringLiteral("Write"));
        QCOMPARE(APCI_Name(0x0000), QStringLiteral("Read"));
        QCOMPARE(APCI_Name(64), QStringLiteral("64"));
    }
};

QTEST_GUILESS_MAIN(TestImageCodes)
#include "tst_codes.moc"
