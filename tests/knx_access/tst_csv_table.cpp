// The commands table's CSV form: quoting, the exact bytes written, reading
// back in any column order and separator, faults, and the round trip through
// the table's own file.
#include "knx_access/csv_table.h"
#include "knx_access/knx_access_file.h"

#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>

using namespace lw;

namespace {

KNX_Command_Row Row(const QString& mnemonic, const QString& dest = QStringLiteral("1/1/1"))
{
    return {"Y", "1.1.200", dest, "Write", "Low", "None", "N", "N", "N", "Y", "N", "", "0", "No", "2", mnemonic};
}

const QByteArray Header = "Enable;Source_Address;Destination_Address;APCI;Priority;Format;Extended;ReTest;"
                          "On_Command;On_Change;On_Timer;Poll_Time;Position;Bit_Mode;Length;Mnemonic";

} // namespace

class Tst_Csv_Table : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void quotes_fields_that_need_it_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("field");
        QTest::newRow("plain") << "Kitchen light" << "Kitchen light";
        QTest::newRow("empty") << "" << "";
        QTest::newRow("comma stays bare") << "a,b" << "a,b";
        QTest::newRow("separator") << "a;b" << "\"a;b\"";
        QTest::newRow("quote doubled") << "say \"hi\"" << "\"say \"\"hi\"\"\"";
        QTest::newRow("line break") << "a\nb" << "\"a\nb\"";
        QTest::newRow("leading blank") << " a" << "\" a\"";
        QTest::newRow("trailing tab") << "a\t" << "\"a\t\"";
    }
    void quotes_fields_that_need_it()
    {
        QFETCH(QString, text);
        QFETCH(QString, field);
        QCOMPARE(Csv_Field(text), field);
    }

    void writes_mark_header_and_crlf()
    {
        Text_Table table = Fresh_KNX_Table();
        Set_Row(table, 1, Row(QStringLiteral("a;b")));
        Set_Row(table, 3, Row(QStringLiteral("after the end")));   // row 2 ends the table
        const QByteArray expected = "\xEF\xBB\xBF" + Header
            + "\r\nY;1.1.200;1/1/1;Write;Low;None;N;N;N;Y;N;;0;No;2;\"a;b\"\r\n";
        QCOMPARE(Export_KNX_Csv(table), expected);
    }

    void reads_any_column_order_and_separator_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("mnemonic");
        QTest::addColumn<QString>("dest");
        QByteArray reordered = Header;
        reordered.replace("Enable;", "").append(";ENABLE");
        QTest::newRow("columns moved, header in capitals")
            << reordered + "\r\n1.1.200;1/1/1;Write;Low;None;N;N;N;Y;N;;0;No;2;m;Y\r\n" << "m" << "1/1/1";
        QByteArray commas = Header;
        commas.replace(';', ',');
        QTest::newRow("commas, unquoted blanks kept, extra column")
            << commas + ",Note\nY,1.1.200, 1/1/1 ,Write,Low,None,N,N,N,Y,N,,0,No,2,\"x, y\",z\n" << "x, y" << " 1/1/1 ";
        QByteArray tabs = Header;
        tabs.replace(';', '\t');
        QStringEncoder utf16(QStringEncoder::Utf16LE, QStringEncoder::Flag::WriteBom);
        const QByteArray utf16Bytes = utf16(QString::fromUtf8(tabs + "\rY\t1.1.200\t1/1/1\tWrite\tLow\tNone\tN\tN\tN\tY\tN\t\t0\tNo\t2\tK\xC3\xBC" "che\r"));
        QTest::newRow("tabs, UTF-16, CR") << utf16Bytes << QString::fromUtf8("Küche") << "1/1/1";
    }
    void reads_any_column_order_and_separator()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, mnemonic);
        QFETCH(QString, dest);
        Text_Table table;
        const Exchange_Error error = Import_KNX_Csv(bytes, table);
        QVERIFY(!error.Failed());
        QCOMPARE(Row_Of(table, 1), Row(mnemonic, dest));
        QVERIFY(Row_Of(table, 2).Source_Address.isEmpty());
    }

    void refuses_faulty_files_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("langIndex");
        QTest::addColumn<int>("line");
        QTest::addColumn<QString>("detail");
        QByteArray missing = Header;
        missing.replace(";Mnemonic", "");
        QTest::newRow("missing column") << missing + "\r\n" << int(Lang_Exchange_Missing_Column) << 1 << "Mnemonic";
        QTest::newRow("quote left open") << Header + "\r\nY;\"1.1.1;\r\n" << int(Lang_Exchange_Open_Quote) << 2 << "";
        QByteArray many = Header + "\r\n";
        for (int i = 0; i < 513; ++i)
            many += "Y;1.1.1;1/1/1;Write;Low;None;N;N;N;Y;N;;0;No;1;\r\n";
        QTest::newRow("513 rows") << many << int(Lang_Exchange_Too_Many_Rows) << 514 << "513";
    }
    void refuses_faulty_files()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, langIndex);
        QFETCH(int, line);
        QFETCH(QString, detail);
        Text_Table table = Fresh_KNX_Table();
        const Text_Table before = table;
        const Exchange_Error error = Import_KNX_Csv(bytes, table);
        QCOMPARE(error.langIndex, langIndex);
        QCOMPARE(error.line, line);
        QCOMPARE(error.detail, detail);
        QCOMPARE(table, before);
    }

    void round_trip_keeps_the_file_byte_for_byte()
    {
        QTemporaryDir dir;
        Text_Table table = Fresh_KNX_Table();
        const QStringList names = {"", " lead", "trail ", "say \"x\"", "a;b", "two\r\nlines", "\tt", "Küche €", "=1+1"};
        for (int i = 0; i < names.size(); ++i) {
            KNX_Command_Row row = Row(names[i], QStringLiteral("1/1/%1").arg(i + 1));
            row.Poll_Time = names[(i + 1) % names.size()];
            Set_Row(table, i + 1, row);
        }
        const QString first = dir.filePath(QStringLiteral("first.xml"));
        QCOMPARE(Write_KNX_Access_File(table, first), QString());
        Text_Table loaded = Fresh_KNX_Table();
        QVERIFY(Read_KNX_Access_File(first, loaded).Ok());

        Text_Table imported;
        QVERIFY(!Import_KNX_Csv(Export_KNX_Csv(loaded), imported).Failed());
        const QString second = dir.filePath(QStringLiteral("second.xml"));
        QCOMPARE(Write_KNX_Access_File(imported, second), QString());
        QFile a(first), b(second);
        QVERIFY(a.open(QIODevice::ReadOnly) && b.open(QIODevice::ReadOnly));
        QCOMPARE(b.readAll(), a.readAll());
    }
};

QTEST_GUILESS_MAIN(Tst_Csv_Table)
#include "tst_csv_table.moc"
