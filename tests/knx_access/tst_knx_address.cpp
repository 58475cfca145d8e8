#include "knx_access/knx_address.h"

#include <QTest>

using lw::Check_KNX_Address;

class TestKnxAddress : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void individual_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("validWithZero");     // allow_zero true (KNX table)
        QTest::addColumn<bool>("validWithoutZero");  // allow_zero false (own address)

        QTest::newRow("highest") << "15.15.255" << true << true;
        QTest::newRow("typical") << "1.1.20" << true << true;
        QTest::newRow("area 16") << "16.15.255" << false << false;
        QTest::newRow("line 16") << "15.16.255" << false << false;
        QTest::newRow("device 256") << "15.15.256" << false << false;
        QTest::newRow("negative area") << "-1.1.1" << false << false;
        QTest::newRow("all zero") << "0.0.0" << true << false;
        QTest::newRow("only device") << "0.0.1" << true << true;
        QTest::newRow("only line") << "0.1.0" << true << true;
        QTest::newRow("only area") << "1.0.0" << true << true;
        QTest::newRow("blanks around parts") << "1 . 1 . 200" << true << true;
        QTest::newRow("tabs around parts") << "1\t.\t1\t.\t200" << true << true;
        QTest::newRow("hex parts") << "$F.0xF.xFF" << true << true;
        QTest::newRow("hex device 256") << "1.1.$100" << false << false;
        QTest::newRow("empty part") << "1..1" << false << false;
        QTest::newRow("trailing point") << "1.1." << false << false;
        QTest::newRow("four parts") << "1.1.1.1" << false << false;
        QTest::newRow("letters") << "a.b.c" << false << false;
        QTest::newRow("slash") << "1.1/1" << false << false;
        QTest::newRow("group form") << "1/1" << false << false;
        QTest::newRow("plain 1") << "1" << true << true;
        QTest::newRow("plain 65535") << "65535" << true << true;
        QTest::newRow("plain 0") << "0" << false << false;
        QTest::newRow("plain 65536") << "65536" << false << false;
        QTest::newRow("plain hex") << "$FFFF" << true << true;
        QTest::newRow("plain leading blank") << " 7" << true << true;
        QTest::newRow("plain trailing blank") << "7 " << false << false;
        QTest::newRow("empty") << "" << false << false;
        // Two parts: area 0 to 15 and device 0 to 255.
        QTest::newRow("two parts") << "1.200" << true << true;
        QTest::newRow("two parts highest") << "15.255" << true << true;
        QTest::newRow("two parts area 16") << "16.1" << false << false;
        QTest::newRow("two parts device 256") << "1.256" << false << false;
        QTest::newRow("two parts zero") << "0.0" << true << false;
        QTest::newRow("two parts device only") << "0.1" << true << true;
        QTest::newRow("two parts blanks") << " 1 . 2 " << true << true;
        QTest::newRow("two parts empty device") << "1." << false << false;
        QTest::newRow("two parts empty area") << ".1" << false << false;
        QTest::newRow("point only") << "." << false << false;
    }

    void individual()
    {
        QFETCH(QString, text);
        QFETCH(bool, validWithZero);
        QFETCH(bool, validWithoutZero);
        QCOMPARE(Check_KNX_Address(text, false, true), validWithZero ? 0 : 1);
        QCOMPARE(Check_KNX_Address(text, false, false), validWithoutZero ? 0 : 1);
    }

    void group_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("valid");

        QTest::newRow("two levels highest") << "31/2047" << true;
        QTest::newRow("two levels main 32") << "32/1" << false;
        QTest::newRow("two levels sub 2048") << "31/2048" << false;
        QTest::newRow("two levels both zero") << "0/0" << false;
        QTest::newRow("two levels sub only") << "0/1" << true;
        QTest::newRow("two levels main only") << "1/0" << true;
        QTest::newRow("two levels negative") << "-1/1" << false;
        QTest::newRow("three levels highest") << "31/7/255" << true;
        QTest::newRow("three levels main 32") << "32/7/255" << false;
        QTest::newRow("three levels middle 8") << "31/8/255" << false;
        QTest::newRow("three levels sub 256") << "31/7/256" << false;
        QTest::newRow("three levels all zero") << "0/0/0" << false;
        QTest::newRow("three levels sub only") << "0/0/1" << true;
        QTest::newRow("three levels middle only") << "0/1/0" << true;
        QTest::newRow("three levels main only") << "1/0/0" << true;
        QTest::newRow("three levels sub 2047") << "1/1/2047" << false;
        QTest::newRow("blanks around parts") << " 1 / 2 / 3 " << true;
        QTest::newRow("hex parts") << "$1F/x7/0xFF" << true;
        QTest::newRow("four levels") << "1/1/1/1" << false;
        QTest::newRow("empty sub") << "1/" << false;
        QTest::newRow("empty middle") << "1//1" << false;
        QTest::newRow("slash only") << "/" << false;
        QTest::newRow("point") << "1/1.1" << false;
        QTest::newRow("individual form") << "1.1.1" << false;
        QTest::newRow("plain 1") << "1" << true;
        QTest::newRow("plain 65535") << "65535" << true;
        QTest::newRow("plain 0") << "0" << false;
        QTest::newRow("plain 65536") << "65536" << false;
        QTest::newRow("plain letters") << "abc" << false;
        QTest::newRow("empty") << "" << false;
    }

    void group()
    {
        QFETCH(QString, text);
        QFETCH(bool, valid);
        // allow_zero plays no part for group addresses.
        QCOMPARE(Check_KNX_Address(text, true, true), valid ? 0 : 1);
        QCOMPARE(Check_KNX_Address(text, true, false), valid ? 0 : 1);
    }

    void isGroupAddress_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("group");
        QTest::newRow("three levels") << "31/7/255" << true;
        QTest::newRow("plain number") << "1234" << true;
        QTest::newRow("empty") << "" << true;
        QTest::newRow("individual") << "1.1.1" << false;
        QTest::newRow("point anywhere") << "1/1." << false;
    }

    void isGroupAddress()
    {
        QFETCH(QString, text);
        QFETCH(bool, group);
        QCOMPARE(lw::Is_Group_Address(text), group);
    }

    void splitAddress_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("count");
        QTest::addColumn<QStringList>("parts");
        QTest::newRow("no separator keeps text") << " 12 " << 1 << QStringList{" 12 ", "", ""};
        QTest::newRow("two parts stripped") << " 1 . 2 " << 2 << QStringList{"1", "2", ""};
        QTest::newRow("three parts stripped") << "1 . 2 . 3" << 3 << QStringList{"1", "2", "3"};
        QTest::newRow("further points stay in the last") << "1.2.3.4" << 3 << QStringList{"1", "2", "3.4"};
    }

    void splitAddress()
    {
        QFETCH(QString, text);
        QFETCH(int, count);
        QFETCH(QStringList, parts);
        const lw::Address_Split split = lw::Split_Address(text, u'.');
        const lw::Address_Parts views = lw::Split_Address_Parts(text, u'.');
        QCOMPARE(split.count, count);
        QCOMPARE(views.count, count);
        for (int i = 0; i < 3; ++i) {
            QCOMPARE(split.parts[i], parts[i]);
            QCOMPARE(views.parts[i].toString(), parts[i]);
        }
    }
};

QTEST_APPLESS_MAIN(TestKnxAddress)
#include "tst_knx_address.moc"
