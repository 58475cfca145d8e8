#include "knx_access/knx_access_file.h"
#include "knx_access/knx_marking.h"
#include "knx_access/knx_table_edit.h"

#include <QTest>

using namespace lw;

namespace {

// Rows 1 to n with a source, a destination, a position, a bit mode and a length.
Text_Table Table_With(const QStringList& dest, const QStringList& position, const QStringList& bitMode,
                      const QStringList& length)
{
    Text_Table table = Fresh_KNX_Table();
    for (int i = 0; i < dest.size(); ++i) {
        table.Set_Cell(i + 1, Col_Source_Address, QStringLiteral("1.1.1"));
        table.Set_Cell(i + 1, Col_Destination_Address, dest[i]);
        table.Set_Cell(i + 1, Col_Position, position.value(i));
        table.Set_Cell(i + 1, Col_Bit_Mode, bitMode.value(i));
        table.Set_Cell(i + 1, Col_Length, length.value(i));
    }
    return table;
}

QStringList Column(const Text_Table& table, int column, int rows)
{
    QStringList texts;
    for (int r = 1; r <= rows; ++r)
        texts.append(table.Cell(r, column));
    return texts;
}

} // namespace

class TestKNXTableEdit : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void nextAddress_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("step");
        QTest::addColumn<QString>("next");
        QTest::newRow("group, three levels") << "1/1/1" << 1 << "1/1/2";
        QTest::newRow("group, two levels") << "3/2047" << 1 << "3/2048";
        QTest::newRow("individual") << "1.1.9" << 3 << "1.1.12";
        QTest::newRow("plain number") << "41" << 1 << "42";
        QTest::newRow("blanks around parts") << " 1 / 2 / 3 " << 2 << "1/2/5";
        QTest::newRow("not an address") << "kitchen" << 1 << "";
        QTest::newRow("four parts") << "1.1.1.1" << 1 << "";
        QTest::newRow("empty") << "" << 1 << "";
    }

    void nextAddress()
    {
        QFETCH(QString, text);
        QFETCH(int, step);
        QFETCH(QString, next);
        QCOMPARE(Next_Address(text, step), next);
    }

    void fillSeries_data()
    {
        QTest::addColumn<QStringList>("bitMode");
        QTest::addColumn<QStringList>("length");
        QTest::addColumn<QStringList>("positions");
        QTest::newRow("bytes") << QStringList{"No"} << QStringList{"2"} << QStringList{"4", "6", "8", "10"};
        // Bit mode: start bit 6 and 4 bits span two bytes.
        QTest::newRow("bits across a byte") << QStringList{"6"} << QStringList{"4"} << QStringList{"4", "6", "8", "10"};
        QTest::newRow("bits within a byte") << QStringList{"0"} << QStringList{"1"} << QStringList{"4", "5", "6", "7"};
        QTest::newRow("unreadable length copies") << QStringList{"No"} << QStringList{"?"}
                                                  << QStringList{"4", "4", "4", "4"};
    }

    // Series: destinations count up, positions follow the span of the row above.
    void fillSeries()
    {
        QFETCH(QStringList, bitMode);
        QFETCH(QStringList, length);
        QFETCH(QStringList, positions);
        Text_Table table = Table_With({"1/1/7"}, {"4"}, bitMode, length);
        Fill_Series(table, {{1, Col_Destination_Address, 4, Col_Length}});
        QCOMPARE(Column(table, Col_Destination_Address, 4), (QStringList{"1/1/7", "1/1/8", "1/1/9", "1/1/10"}));
        QCOMPARE(Column(table, Col_Position, 4), positions);
        QCOMPARE(Column(table, Col_Length, 4), QStringList(4, length[0]));
        // Columns outside the range stay as they were.
        QCOMPARE(table.Cell(2, Col_Source_Address), QString());
    }

    void fillDownAndClear()
    {
        Text_Table table = Table_With({"1/1/1", "2/2/2", "3/3/3"}, {"0", "1", "2"}, {}, {});
        table.Set_Cell(1, Col_Extended, QStringLiteral("Y"));
        Fill_Down(table, {{1, Col_Destination_Address, 3, Col_Destination_Address}, {2, Col_Position, 3, Col_Position}});
        QCOMPARE(Column(table, Col_Destination_Address, 3), QStringList(3, "1/1/1"));
        QCOMPARE(Column(table, Col_Position, 3), (QStringList{"0", "1", "1"}));
        Clear_Cells(table, {{1, 0, 1, 16}});
        QCOMPARE(table.Cell(1, Col_Number), QStringLiteral("1"));
        QCOMPARE(table.Cell(1, Col_Enable), QStringLiteral("N"));
        QCOMPARE(table.Cell(1, Col_Extended), QStringLiteral("N"));
        QVERIFY(table.Cell(1, Col_Destination_Address).isEmpty());
    }

    // The difference of two tables, applied as before and after, is an undo step.
    void diffUndoRedo()
    {
        const Text_Table before = Table_With({"1/1/1", "1/1/2"}, {"0", "2"}, {"No", "No"}, {"2", "2"});
        Text_Table after = before;
        Fill_Series(after, {{1, Col_Destination_Address, 4, Col_Destination_Address}});
        const QList<Cell_Change> changes = Diff_Tables(before, after);
        // Row 2 already held 1/1/2: only rows 3 and 4 change.
        QCOMPARE(changes.size(), 2);
        QCOMPARE(Bounds_Of(changes), (Cell_Range{3, Col_Destination_Address, 4, Col_Destination_Address}));
        Text_Table replay = before;
        for (const Cell_Change& change : changes)
            replay.Set_Cell(change.row, change.column, change.after);
        QVERIFY(replay == after);
        for (const Cell_Change& change : changes)
            replay.Set_Cell(change.row, change.column, change.before);
        QVERIFY(replay == before);
    }

    void marks()
    {
        Text_Table table = Table_With({"1/1/1", "1/1/1", "1/1/2", "1/1/1"}, {"0", "1", "2", "3"},
                                      {"No", "No", "No", "No"}, {"1", "1", "1", "1"});
        for (int r = 1; r <= 4; ++r) {
            table.Set_Cell(r, Col_APCI, QStringLiteral("Write"));
            table.Set_Cell(r, Col_Priority, QStringLiteral("Low"));
            table.Set_Cell(r, Col_Format, QStringLiteral("None"));
        }
        table.Set_Cell(2, Col_Enable, QStringLiteral("N"));     // disabled: not a duplicate
        table.Set_Cell(3, Col_Length, QStringLiteral("99"));    // fails its check
        table.Set_Cell(7, Col_Mnemonic, QStringLiteral("x"));   // beyond the end
        const KNX_Marks marks = Mark_Table(table);
        QCOMPARE(marks.endRow, 5);
        QCOMPARE(marks.failColumn[3], int(Col_Length));
        QCOMPARE(marks.failColumn[1], 0);
        QCOMPARE(marks.sameDestination[1], QList<int>{4});
        QCOMPARE(marks.sameDestination[4], QList<int>{1});
        QVERIFY(marks.sameDestination[2].isEmpty());
        QCOMPARE(Row_Losing_Rows_Below(table), 5);
        table.Set_Cell(7, Col_Mnemonic, QStringLiteral("  "));
        QCOMPARE(Row_Losing_Rows_Below(table), 0);
    }
};

QTEST_GUILESS_MAIN(TestKNXTableEdit)
#include "tst_knx_table_edit.moc"
