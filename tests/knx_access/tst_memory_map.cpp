#include "knx_access/knx_access_file.h"
#include "knx_access/lang_fixture.h"
#include "knx_access/memory_map.h"

#include <QTest>

using namespace lw;

namespace {

// A table from short row descriptions "ENABLE POSITION BITMODE LENGTH [EXTENDED]";
// "end" leaves the row's Source Add empty, which ends the table.
Text_Table Table_Of(const QStringList& rows)
{
    Text_Table table = Fresh_KNX_Table();
    int r = 0;
    for (const QString& description : rows) {
        ++r;
        if (description == QLatin1String("end"))
            continue;
        const QStringList f = description.split(u' ', Qt::SkipEmptyParts);
        KNX_Command_Row row = {f[0], "1.1.1", "1/1/1", "Write", "Low", "None", f.value(4, "N"), "N",
                               "N",  "N",     "N",     "",      f[1],  f[2],   f[3],           QStringLiteral("M%1").arg(r)};
        Set_Row(table, r, row);
    }
    return table;
}

// The whole map in one line, so that a table row states what it expects.
QString Describe(const Memory_Map& map)
{
    QStringList parts;
    QStringList rows;
    for (const Map_Row& row : map.rows)
        rows << QStringLiteral("%1:%2-%3%4").arg(row.row).arg(row.first_bit).arg(row.last_bit).arg(row.bit_mode ? "b" : "");
    parts << QStringLiteral("rows ") + rows.join(u' ');
    for (const Map_Shared& s : map.shared) {
        QStringList n;
        for (int r : s.rows)
            n << QString::number(r);
        parts << QStringLiteral("shared %1:%2-%3").arg(n.join(u',')).arg(s.first_bit).arg(s.last_bit);
    }
    for (const Map_Overlap& o : map.overlaps)
        parts << QStringLiteral("overlap %1,%2:%3-%4").arg(o.row).arg(o.other).arg(o.first_bit).arg(o.last_bit);
    for (const Map_Not_Placed& n : map.not_placed)
        parts << QStringLiteral("not %1:%2").arg(n.row).arg(n.reason.langIndex);
    QStringList free;
    for (const Map_Free& f : map.free)
        free << QStringLiteral("%1-%2").arg(f.first_byte).arg(f.last_byte);
    parts << QStringLiteral("free ") + free.join(u' ');
    return parts.join(QStringLiteral("; "));
}

} // namespace

class TestMemoryMap : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void build_data()
    {
        QTest::addColumn<QStringList>("rows");
        QTest::addColumn<QString>("expected");

        QTest::newRow("empty table") << QStringList{} << "rows ; free 0-1438";
        QTest::newRow("byte mode") << QStringList{"Y 10 No 2"} << "rows 1:80-95; free 0-9 12-1438";
        QTest::newRow("bit mode within a byte") << QStringList{"Y 10 3 2"} << "rows 1:83-84b; free 0-9 11-1438";
        QTest::newRow("bit mode across bytes") << QStringList{"Y 10 6 4"} << "rows 1:86-89b; free 0-9 12-1438";
        QTest::newRow("bit mode lower case no is byte mode") << QStringList{"Y 0 no 1"} << "rows 1:0-7; free 1-1438";
        QTest::newRow("shared by three") << QStringList{"Y 4 No 1", "Y 4 No 1", "Y 4 No 1"}
                                         << "rows 1:32-39 2:32-39 3:32-39; shared 1,2,3:32-39; free 0-3 5-1438";
        QTest::newRow("shared bits") << QStringList{"Y 4 2 3", "Y 4 2 3"}
                                     << "rows 1:34-36b 2:34-36b; shared 1,2:34-36; free 0-3 5-1438";
        QTest::newRow("overlap by one bit") << QStringList{"Y 0 0 4", "Y 0 3 2"}
                                            << "rows 1:0-3b 2:3-4b; overlap 1,2:3-3; free 1-1438";
        QTest::newRow("bits adjacent without overlap") << QStringList{"Y 0 0 4", "Y 0 4 4"}
                                                       << "rows 1:0-3b 2:4-7b; free 1-1438";
        QTest::newRow("bytes adjacent without overlap") << QStringList{"Y 0 No 2", "Y 2 No 1"}
                                                        << "rows 1:0-15 2:16-23; free 3-1438";
        QTest::newRow("half overlap, later row first")
            << QStringList{"Y 3 No 4", "Y 1 No 4"} << "rows 1:24-55 2:8-39; overlap 1,2:24-39; free 0-0 7-1438";
        QTest::newRow("overlap with each of a shared pair")
            << QStringList{"Y 0 No 2", "Y 0 No 2", "Y 1 No 1"}
            << "rows 1:0-15 2:0-15 3:8-15; shared 1,2:0-15; overlap 1,3:8-15; overlap 2,3:8-15; free 2-1438";
        QTest::newRow("disabled rows are skipped, lower-case y counts")
            << QStringList{"N 0 No 1", "y 1 No 1", "\tY\t 2 No 1"} << "rows 2:8-15 3:16-23; free 0-0 3-1438";
        QTest::newRow("rows past the end") << QStringList{"Y 0 No 1", "end", "Y 0 No 1"} << "rows 1:0-7; free 1-1438";
        QTest::newRow("not placed")
            << QStringList{"Y 1439 No 1", "Y 0 8 1", "Y 0 No 15", "Y 1438 No 2", "Y 1438 7 2", "Y x No 1", "N 1439 No 1"}
            << "rows ; not 1:223; not 2:224; not 3:225; not 4:226; not 5:226; not 6:223; free 0-1438";
        QTest::newRow("extended lengths") << QStringList{"Y 0 No 255 Y", "Y 1000 0 2040 Y"}
                                          << "rows 1:0-2039 2:8000-10039b; free 255-999 1255-1438";
        QTest::newRow("the array's last byte") << QStringList{"Y 1438 No 1", "Y 1438 7 1"}
                                               << "rows 1:11504-11511 2:11511-11511b; overlap 1,2:11511-11511; free 0-1437";
        QTest::newRow("every byte used") << QStringList{"Y 0 No 255 Y", "Y 255 No 255 Y", "Y 510 No 255 Y",
                                                        "Y 765 No 255 Y", "Y 1020 No 255 Y", "Y 1275 No 164 Y"}
                                         << "rows 1:0-2039 2:2040-4079 3:4080-6119 4:6120-8159 5:8160-10199 "
                                            "6:10200-11511; free ";
    }
    void build()
    {
        QFETCH(QStringList, rows);
        QFETCH(QString, expected);
        QCOMPARE(Describe(Build_Memory_Map(Table_Of(rows))), expected);
    }

    void totals()
    {
        const Memory_Map map = Build_Memory_Map(Table_Of({"Y 10 No 2", "Y 100 No 1", "Y 100 0 4", "Y 1438 No 1"}));
        QCOMPARE(map.Bytes_Used(), 4);
        QCOMPARE(map.Bytes_Free(), 1435);
        QCOMPARE(map.Largest_Free().first_byte, 101);
        QCOMPARE(map.Largest_Free().last_byte, 1437);
        QCOMPARE(map.Rows_At_Byte(100), (QList<int>{1, 2}));
        QVERIFY(map.Overlaps_Byte(100));
        QVERIFY(!map.Overlaps_Byte(10));
    }

    void texts()
    {
        QCOMPARE(Byte_Range_Text(86, 89), "bytes 10-11");
        QCOMPARE(Bit_Range_Text(86, 89), "bits 6-9");
        const Memory_Map map = Build_Memory_Map(Table_Of({"Y 0 No 15"}));
        QCOMPARE(Not_Placed_Reason(map.not_placed.value(0), test::State_With_Messages()),
                 "Length must be between 1 and 14");
    }
};

QTEST_GUILESS_MAIN(TestMemoryMap)
#include "tst_memory_map.moc"
