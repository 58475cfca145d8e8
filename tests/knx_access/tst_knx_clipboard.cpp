#include "knx_access/knx_access_file.h"
#include "knx_access/knx_clipboard.h"

#include <QTest>

using namespace lw;

Q_DECLARE_METATYPE(lw::Cell_Block)

class TestKNXClipboard : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void roundTrip_data()
    {
        QTest::addColumn<Cell_Block>("block");
        QTest::newRow("plain") << Cell_Block{{"1.1.1", "1/1/1"}, {"Y", "Low"}};
        QTest::newRow("tab") << Cell_Block{{"a\tb", "c"}};
        QTest::newRow("line feed") << Cell_Block{{"two\nlines"}, {"x"}};
        QTest::newRow("carriage return") << Cell_Block{{"a\r\nb", "c\rd"}};
        QTest::newRow("quotes") << Cell_Block{{"say \"hi\"", "\""}, {"\"\"", "x\""}};
        QTest::newRow("leading and trailing blanks") << Cell_Block{{"  lead", "trail  ", " "}};
        QTest::newRow("ampersand and markup") << Cell_Block{{"R&D", "<b>&amp;</b>"}};
        QTest::newRow("non-ASCII") << Cell_Block{{"Zürich °C", "Ελλάδα", "😀"}};
        QTest::newRow("empty cells") << Cell_Block{{"", ""}, {"", "x"}, {""}};
        QTest::newRow("one empty cell") << Cell_Block{{""}};
    }

    void roundTrip()
    {
        QFETCH(Cell_Block, block);
        QCOMPARE(Decode_Cells(Encode_Cells(block)), block);
    }

    void decode_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<Cell_Block>("block");
        QTest::newRow("empty") << QString() << Cell_Block{};
        QTest::newRow("spreadsheet CR LF") << QStringLiteral("a\tb\r\nc\td\r\n") << Cell_Block{{"a", "b"}, {"c", "d"}};
        QTest::newRow("no final line end") << QStringLiteral("a\tb\nc") << Cell_Block{{"a", "b"}, {"c"}};
        QTest::newRow("lone CR") << QStringLiteral("a\rb\r") << Cell_Block{{"a"}, {"b"}};
        QTest::newRow("quoted line break") << QStringLiteral("\"x\ny\"\tz\n") << Cell_Block{{"x\ny", "z"}};
        QTest::newRow("quote inside a cell is literal") << QStringLiteral("5\" pipe\tb") << Cell_Block{{"5\" pipe", "b"}};
        QTest::newRow("unclosed quote runs to the end") << QStringLiteral("\"abc\tdef") << Cell_Block{{"abc\tdef"}};
        QTest::newRow("text after closing quote") << QStringLiteral("\"ab\"cd\te") << Cell_Block{{"abcd", "e"}};
        QTest::newRow("trailing tab") << QStringLiteral("a\t\n") << Cell_Block{{"a", ""}};
        QTest::newRow("blank line inside") << QStringLiteral("a\n\nb\n") << Cell_Block{{"a"}, {""}, {"b"}};
    }

    void decode()
    {
        QFETCH(QString, text);
        QFETCH(Cell_Block, block);
        QCOMPARE(Decode_Cells(text), block);
    }

    void pasteText_data()
    {
        QTest::addColumn<int>("column");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("stored");
        QTest::newRow("check Y") << int(Col_Enable) << "y" << "Y";
        QTest::newRow("check 1") << int(Col_Extended) << "1" << "Y";
        QTest::newRow("check x") << int(Col_ReTest) << "X" << "Y";
        QTest::newRow("check TRUE") << int(Col_On_Timer) << "TRUE" << "Y";
        QTest::newRow("check 0") << int(Col_On_Change) << "0" << "N";
        QTest::newRow("check empty") << int(Col_On_Command) << "" << "N";
        QTest::newRow("priority lower case") << int(Col_Priority) << "low" << "Low";
        QTest::newRow("format any case") << int(Col_Format) << "float16 TO int * 10" << "Float16 to Int * 10";
        QTest::newRow("apci") << int(Col_APCI) << "WRITE" << "Write";
        QTest::newRow("apci number kept") << int(Col_APCI) << "64" << "64";
        QTest::newRow("bit mode") << int(Col_Bit_Mode) << "NO" << "No";
        QTest::newRow("unknown list text kept") << int(Col_Priority) << "High" << "High";
        QTest::newRow("free text kept with blanks") << int(Col_Mnemonic) << "  Pump & Co " << "  Pump & Co ";
    }

    void pasteText()
    {
        QFETCH(int, column);
        QFETCH(QString, text);
        QFETCH(QString, stored);
        QCOMPARE(Paste_Text_For(column, text), stored);
    }

    void pasteCuts_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("column");
        QTest::addColumn<int>("rows");
        QTest::addColumn<int>("columns");
        QTest::addColumn<bool>("cut");
        QTest::newRow("inside") << 1 << 2 << 3 << 4 << false;
        QTest::newRow("column 0 starts at column 1") << 1 << 0 << 3 << 4 << false;
        QTest::newRow("below row 512") << 511 << 2 << 3 << 4 << true;
        QTest::newRow("right of column 16") << 1 << 14 << 3 << 4 << true;
        QTest::newRow("ends at row 512, column 16") << 511 << 15 << 2 << 2 << false;
        QTest::newRow("whole table") << 1 << 1 << 512 << 16 << false;
    }

    // Every write stays in rows 1 to 512 and columns 1 to 16; the header row
    // and the numbers are never touched.
    void pasteCuts()
    {
        QFETCH(int, row);
        QFETCH(int, column);
        QFETCH(int, rows);
        QFETCH(int, columns);
        QFETCH(bool, cut);
        Text_Table table = Fresh_KNX_Table();
        const Text_Table fresh = table;
        const Cell_Block block(rows, QStringList(columns, QStringLiteral("v")));
        const Paste_Outcome outcome = Paste_Cells(table, row, column, block);
        QCOMPARE(outcome.Cut(), cut);
        QCOMPARE(outcome.written.top, row);
        QCOMPARE(outcome.written.left, std::max(1, column));
        QVERIFY(outcome.written.bottom <= 512);
        QVERIFY(outcome.written.right <= 16);
        for (int r = 0; r < table.Row_Count(); ++r) {
            for (int c = 0; c < table.Column_Count(); ++c) {
                const QString expected = outcome.written.Contains(r, c) ? Paste_Text_For(c, QStringLiteral("v"))
                                                                        : fresh.Cell(r, c);
                if (table.Cell(r, c) != expected)
                    QFAIL(qPrintable(QStringLiteral("cell %1, %2").arg(r).arg(c)));
            }
        }
    }
};

QTEST_GUILESS_MAIN(TestKNXClipboard)
#include "tst_knx_clipboard.moc"
