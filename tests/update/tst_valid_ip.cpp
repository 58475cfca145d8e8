// Splitting a dotted address text into its four octet texts.

#include "update/valid_ip.h"

#include <QTest>

class TestValidIp : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void split_data()
    {
        QTest::addColumn<QString>("ip");
        QTest::addColumn<bool>("valid");
        QTest::addColumn<QStringList>("octets"); // as far as the splitting got

        QTest::newRow("plain") << "192.168.0.5" << true << QStringList{"192", "168", "0", "5"};
        QTest::newRow("blanks around") << " 192.168.0.5 " << true << QStringList{"192", "168", "0", "5"};
        QTest::newRow("blanks inside") << "192 . 168 .0. 5" << true << QStringList{"192", "168", "0", "5"};
        QTest::newRow("zeros") << "0.0.0.0" << true << QStringList{"0", "0", "0", "0"};
        QTest::newRow("top") << "255.255.255.255" << true << QStringList{"255", "255", "255", "255"};
        QTest::newRow("leading zeros") << "192.168.000.005" << true << QStringList{"192", "168", "000", "005"};
        QTest::newRow("hex octet reads as integer") << "$C0.168.0.5" << true << QStringList{"$C0", "168", "0", "5"};
        QTest::newRow("octet above 255") << "192.168.0.256" << false << QStringList{"192", "168", "0", "256"};
        QTest::newRow("negative octet") << "192.168.-1.5" << false << QStringList{"192", "168", "-1", "5"};
        QTest::newRow("three parts") << "192.168.0" << false << QStringList{"192", "168", "", ""};
        QTest::newRow("five parts") << "192.168.0.5.1" << false << QStringList{"192", "168", "0", "5.1"};
        QTest::newRow("letters") << "a.b.c.d" << false << QStringList{"a", "b", "c", "d"};
        QTest::newRow("empty octet") << "192..0.5" << false << QStringList{"192", "", "0", "5"};
        QTest::newRow("no point") << "localhost" << false << QStringList{"", "", "", ""};
        QTest::newRow("empty") << "" << false << QStringList{"", "", "", ""};
    }

    void split()
    {
        QFETCH(QString, ip);
        QFETCH(bool, valid);
        QFETCH(QStringList, octets);
        QString ip1, ip2, ip3, ip4;
        QCOMPARE(lw::Valid_IP(ip, ip1, ip2, ip3, ip4), valid);
        QCOMPARE((QStringList{ip1, ip2, ip3, ip4}), octets);
    }
};

QTEST_APPLESS_MAIN(TestValidIp)
#include "tst_valid_ip.moc"
