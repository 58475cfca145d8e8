#include "image/image_compile.h"
#include "image/image_inspect.h"

#include "image/image_project.h"

#include <QJsonArray>
#include <QTemporaryDir>
#include <QTest>

using namespace lw::test;
namespace image = lw::image;

namespace {

// Compiles the two files (either may be empty: then it is absent).
QByteArray Compile(const QByteArray& settings, const QByteArray& access)
{
    QTemporaryDir tmp;
    const QString parGen = tmp.path() + QStringLiteral("/ParGen.xml");
    const QString knx = tmp.path() + QStringLiteral("/KNX_SetAccess.xml");
    if (!settings.isEmpty())
        Write_Bytes(parGen, settings);
    if (!access.isEmpty())
        Write_Bytes(knx, access);
    image::Image_Buffer buffer;
    if (!image::Compile_Image(parGen, knx, buffer).isEmpty())
        return {};
    return QByteArray(reinterpret_cast<const char*>(buffer.Data()), qsizetype(buffer.Image_Length));
}

image::Image_Report Decode(const QByteArray& bytes)
{
    image::Image_Report report;
    QString error;
    if (!image::Decode_Image(bytes, report, error))
        qWarning("%s", qPrintable(error));
    return report;
}

// Block offsets whose bytes a compile takes from the project files.
bool Is_Variable(int blockOffset)
{
    return (blockOffset >= 0x028 && blockOffset < 0x034)        // IP, mask, gateway
        || (blockOffset >= 0x050 && blockOffset < 0x060)        // station name
        || (blockOffset >= 0x1C8 && blockOffset < 0x1CC)        // write record count
        || (blockOffset >= 0x1CE && blockOffset < 0x1D0);       // the converter's KNX address
}

} // namespace

class TestImageInspect : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // Compile, decode: the decoded values are those compiled, and nothing differs.
    void roundTrip_data()
    {
        QTest::addColumn<QByteArray>("settings");
        QTest::addColumn<QByteArray>("access");
        QTest::addColumn<int>("records");
        QTest::addColumn<QStringList>("lines");   // lines the text report holds

        QTest::newRow("empty project") << QByteArray() << QByteArray() << 0
                                       << QStringList{"Size: 22528 bytes", "Checksum: stored 4606, computed 4606 (valid)",
                                                      "IP address: 192.168.2.205", "Subnet mask: 255.255.255.0",
                                                      "Gateway: not enabled", "Station name: ",
                                                      "KNX address: 0 (0.0.0)", "Records: 0 write, 0 read",
                                                      "Differences: none"};
        QTest::newRow("settings example") << ParGen_Xml(Example_Settings()) << QByteArray() << 0
                                          << QStringList{"Checksum: stored 5711, computed 5711 (valid)",
                                                         "IP address: 192.168.0.5", "Station name: devicename1",
                                                         "KNX address: 4552 (1.1.200)"};
        QTest::newRow("gateway enabled") << ParGen_Xml(Example_Settings({"PROFINET_EN_GAT=1"})) << QByteArray() << 0
                                         << QStringList{"Gateway: 192.168.0.1"};
        QTest::newRow("worked example row")
            << ParGen_Xml(Example_Settings()) << KNX_Access_Xml({Example_Row()}) << 1
            << QStringList{"Records: 1 write, 0 read",
                           "Write record 0: poll time 500, priority Low, length 2, flags ReTest On_Command Group, "
                           "format Swap16, APCI Write, source 1.1.10, destination 1/2/3 (group), position 4"};
        QTest::newRow("bit mode, individual destination, number APCI")
            << QByteArray()
            << KNX_Access_Xml({Example_Row({"Bit_Mode=3", "Destination_Address=1.1.5", "APCI=64", "Priority=system",
                                            "Format=None", "On_Timer=N", "On_Change=Y", "Extended=Y"})})
            << 1
            << QStringList{"Write record 0: poll time 0, priority System, length 2, flags On_Change ReTest On_Command "
                           "Extended Bit_Mode, format None, APCI 64, source 1.1.10, destination 1.1.5 (individual), "
                           "position 4 bit 3"};
        QList<Xml_Fields> rows;
        for (int i = 0; i < 512; ++i)
            rows << Example_Row({QStringLiteral("Position=%1").arg(i), "APCI=read", "Priority=Urgent"});
        QTest::newRow("512 rows") << QByteArray() << KNX_Access_Xml(rows) << 512
                                  << QStringList{"Records: 512 write, 0 read",
                                                 "Write record 511: poll time 500, priority Urgent, length 2, flags "
                                                 "ReTest On_Command Group, format Swap16, APCI Read, source 1.1.10, "
                                                 "destination 1/2/3 (group), position 511",
                                                 "Differences: none"};
    }
    void roundTrip()
    {
        QFETCH(QByteArray, settings);
        QFETCH(QByteArray, access);
        QFETCH(int, records);
        QFETCH(QStringList, lines);

        const QByteArray bytes = Compile(settings, access);
        QCOMPARE(bytes.size(), image::Image_Size);
        const image::Image_Report report = Decode(bytes);
        QCOMPARE(report.Size, qint64(image::Image_Size));
        QVERIFY(report.Checksum_Valid());
        QCOMPARE(report.Differences, QStringList());
        QCOMPARE(int(report.Records.size()), records);
        for (int i = 0; i < records; ++i) {
            std::uint8_t out[image::Row_Size];
            image::Write_Row(out, report.Records[std::size_t(i)]);
            QCOMPARE(QByteArray(reinterpret_cast<const char*>(out), image::Row_Size), bytes.mid(0x2800 + 20 * i, 20));
        }
        const QStringList text = image::Report_Lines(report);
        for (const QString& line : lines)
            QVERIFY2(text.contains(line), qPrintable(line + QStringLiteral("\n--- report:\n") + text.join(u'\n')));
    }

    // Flipping any fixed byte of the block is reported at its offset; the
    // bytes a compile takes from the project are not.
    void everyFixedByteChecked()
    {
        const QByteArray good = Compile(ParGen_Xml(Example_Settings()), QByteArray());
        for (int offset = 0; offset < 0x7FC; ++offset) {
            QByteArray bad = good;
            bad[0x5000 + offset] = char(bad[0x5000 + offset] ^ 0x01);
            const image::Image_Report report = Decode(bad);
            QVERIFY(!report.Checksum_Valid());
            if (offset >= 0x1C8 && offset < 0x1CC)
                continue;   // the record count, checked below
            if (Is_Variable(offset)) {
                QVERIFY2(report.Differences.isEmpty(), qPrintable(QString::number(offset, 16)));
                continue;
            }
            QVERIFY2(report.Differences.size() == 1, qPrintable(QString::number(offset, 16)));
            const int fieldStart = QStringLiteral("block offset 0x").size();
            const int reported = report.Differences[0].mid(fieldStart, 3).toInt(nullptr, 16);
            QVERIFY2(reported <= offset && offset < reported + 4,
                     qPrintable(QString::number(offset, 16) + QStringLiteral(": ") + report.Differences[0]));
        }
    }

    void writeCount()
    {
        const QByteArray good = Compile(QByteArray(), KNX_Access_Xml({Example_Row()}));
        QByteArray bytes = good;
        bytes[0x51C8] = 2;   // the second record is zero but counted
        image::Image_Report report = Decode(bytes);
        QCOMPARE(int(report.Records.size()), 2);
        QCOMPARE(report.Differences, QStringList());

        bytes = good;
        bytes[0x51C8] = 0;   // the first record is now unused but not zero
        report = Decode(bytes);
        QCOMPARE(int(report.Records.size()), 0);
        QCOMPARE(report.Differences.size(), 1);
        QVERIFY(report.Differences[0].startsWith(QStringLiteral("unused write record 0 (file offset 0x2800)")));

        bytes = good;
        bytes[0x51CA] = 1;   // 65537 records
        report = Decode(bytes);
        QCOMPARE(int(report.Records.size()), 512);
        QVERIFY(report.Differences.join(u'\n').contains(QStringLiteral("65537 is more than the 512")));
    }

    void strayBytes_data()
    {
        QTest::addColumn<int>("offset");
        QTest::addColumn<int>("value");
        QTest::addColumn<QString>("difference");
        QTest::newRow("read area first byte") << 0x0000 << 90
            << "read record 0 (file offset 0x0000) should be zero; non-zero bytes at 0x0000 = 90";
        QTest::newRow("read area last byte") << 0x27FF << 1
            << "read record 511 (file offset 0x27EC) should be zero; non-zero bytes at 0x27FF = 1";
        QTest::newRow("unused write record") << 0x2800 + 20 + 5 << 90
            << "unused write record 1 (file offset 0x2814) should be zero; non-zero bytes at 0x2819 = 90";
        QTest::newRow("last write record") << 0x4FFF << 255
            << "unused write record 511 (file offset 0x4FEC) should be zero; non-zero bytes at 0x4FFF = 255";
        QTest::newRow("used record zero field") << 0x2800 + 4 << 90
            << "write record 0: the field at record offset 4 holds 90, expected 0";
        QTest::newRow("used record never flags") << 0x2800 + 10 << 0x2E
            << "write record 0: flags 0x102E has bits set that the compiler never sets (0x0004)";
        QTest::newRow("used record format 10") << 0x2800 + 11 << 0xA0 << "write record 0: format code 10 does not exist";
        QTest::newRow("used record priority") << 0x2800 + 8 << 4 << "write record 0: priority code 4 does not exist";
    }
    void strayBytes()
    {
        QFETCH(int, offset);
        QFETCH(int, value);
        QFETCH(QString, difference);
        QByteArray bytes = Compile(QByteArray(), KNX_Access_Xml({Example_Row()}));
        bytes[offset] = char(value);
        const image::Image_Report report = Decode(bytes);
        QVERIFY(report.Checksum_Valid());   // the areas are not covered
        QVERIFY2(report.Differences.contains(difference), qPrintable(report.Differences.join(u'\n')));
    }

    void wrongSize_data()
    {
        QTest::addColumn<int>("size");
        QTest::newRow("empty") << 0;
        QTest::newRow("one short") << 22527;
        QTest::newRow("one over") << 22529;
        QTest::newRow("whole buffer") << 131072;
    }
    void wrongSize()
    {
        QFETCH(int, size);
        image::Image_Report report;
        QString error;
        QVERIFY(!image::Decode_Image(QByteArray(size, '\0'), report, error));
        QVERIFY(error.contains(QStringLiteral("22528")));
    }

    // Random bytes decode without fault and report what they hold.
    void garbage()
    {
        QByteArray bytes(image::Image_Size, '\0');
        std::uint32_t seed = 12345;
        for (char& c : bytes) {
            seed = seed * 1103515245u + 12345u;
            c = char(seed >> 16);
        }
        const image::Image_Report report = Decode(bytes);
        QCOMPARE(int(report.Records.size()), 512);
        QVERIFY(!report.Differences.isEmpty());
        QVERIFY(!image::Report_Lines(report).isEmpty());
        QVERIFY(!image::Report_Json(report).isEmpty());
    }

    void json()
    {
        const QByteArray bytes = Compile(ParGen_Xml(Example_Settings()), KNX_Access_Xml({Example_Row({"Bit_Mode=3"})}));
        const QJsonObject o = image::Report_Json(Decode(bytes));
        QCOMPARE(o.value("size").toInt(), 22528);
        QCOMPARE(o.value("checksum").toObject().value("stored").toInteger(), o.value("checksum").toObject().value("computed").toInteger());
        QCOMPARE(o.value("checksum").toObject().value("valid").toBool(), true);
        QCOMPARE(o.value("ip").toArray(), (QJsonArray{192, 168, 0, 5}));
        QCOMPARE(o.value("mask").toArray(), (QJsonArray{255, 255, 255, 0}));
        QCOMPARE(o.value("gateway").toArray(), (QJsonArray{255, 255, 255, 255}));
        QCOMPARE(o.value("gateway_enabled").toBool(true), false);
        QCOMPARE(o.value("station_name").toString(), QStringLiteral("devicename1"));
        QCOMPARE(o.value("knx_address").toInt(), 0x11C8);
        QCOMPARE(o.value("write_count").toInt(), 1);
        QCOMPARE(o.value("read_count").toInt(), 0);
        const QJsonArray records = o.value("records").toArray();
        QCOMPARE(records.size(), 1);
        const QJsonObject r = records[0].toObject();
        QCOMPARE(r.value("poll_time").toInt(), 500);
        QCOMPARE(r.value("priority").toInt(), 3);
        QCOMPARE(r.value("length").toInt(), 2);
        QCOMPARE(r.value("flags").toInt(), 0x106A);
        QCOMPARE(r.value("apci").toInt(), 0x80);
        QCOMPARE(r.value("source").toInt(), 0x110A);
        QCOMPARE(r.value("destination").toInt(), 0x0A03);
        QCOMPARE(r.value("position").toInt(), 35);
        QCOMPARE(o.value("differences").toArray().size(), 0);
    }
};

QTEST_GUILESS_MAIN(TestImageInspect)
#include "tst_inspect.moc"
