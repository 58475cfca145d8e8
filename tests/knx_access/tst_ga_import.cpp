// Reading the KNX engineering tool's group-address exports and turning their
// addresses into command rows: formats, encodings, faults of the file, sizes
// of datapoint types, duplicates, positions and the data check.
#include "knx_access/ga_export_reader.h"
#include "knx_access/ga_import.h"
#include "knx_access/knx_access_file.h"
#include "lang/language_table.h"

#include <QStringEncoder>
#include <QTest>

using namespace lw;

namespace {

// The entries as "line|name|address|dpt", one per entry.
QStringList Summary(const GA_Export& exported)
{
    QStringList lines;
    for (const GA_Entry& e : exported.entries)
        lines.append(QStringLiteral("%1|%2|%3|%4").arg(e.line).arg(e.name, e.address, e.dpt));
    return lines;
}

QByteArray Utf16_With_Mark(const QString& text)
{
    QStringEncoder encoder(QStringEncoder::Utf16LE, QStringEncoder::Flag::WriteBom);
    return encoder(text);
}

const char One_Name_Header[] = "\"Group name\";\"Address\";\"Central\";\"Unfiltered\";\"Description\";\"DatapointType\";\"Security\"";

// A table whose first rows hold the given destinations, each two bytes from position 2 * (row - 1).
Text_Table Table_With(const QStringList& destinations)
{
    Text_Table table = Fresh_KNX_Table();
    GA_Item item;
    item.size = DPT_Size{false, 2, 0};
    for (int i = 0; i < destinations.size(); ++i) {
        item.entry.address = destinations[i];
        item.position = 2 * i;
        Set_Row(table, i + 1, GA_Row(item, QStringLiteral("1.1.1")));
    }
    return table;
}

GA_Entry Entry(int line, const QString& address, const QString& dpt = QStringLiteral("DPST-9-1"))
{
    GA_Entry e;
    e.line = line;
    e.name = QStringLiteral("name %1").arg(line);
    e.address = address;
    e.dpt = dpt;
    return e;
}

ProgramState English()
{
    ProgramState state;
    Set_Default_Texts(state);
    return state;
}

} // namespace

class Tst_GA_Import : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void reads_the_three_formats_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("format");
        QTest::addColumn<QStringList>("entries");

        const QByteArray oneName = QByteArray(One_Name_Header)
            + "\r\n\"Lights\";\"1/-/-\";\"\";\"\";\"\";\"\";\"Auto\""
              "\r\n\"Kitchen; main\";\"1/1/1\";\"\";\"\";\"\";\"DPST-1-1\";\"Auto\""
              "\r\n\"Temp\";\"1/1/2\";\"\";\"\";\"\";\"9.001\";\"Auto\"\r\n";
        const QStringList oneNameEntries = {"3|Kitchen; main|1/1/1|DPST-1-1", "4|Temp|1/1/2|9.001"};
        QTest::newRow("1/1, ';', quoted, CR LF") << oneName << int(GA_Export_Format::Csv_One_Name) << oneNameEntries;
        QTest::newRow("1/1, UTF-8 with mark") << QByteArray("\xEF\xBB\xBF") + oneName
                                              << int(GA_Export_Format::Csv_One_Name) << oneNameEntries;
        QTest::newRow("1/1, UTF-16 with mark")
            << Utf16_With_Mark(QString::fromUtf8(oneName)) << int(GA_Export_Format::Csv_One_Name) << oneNameEntries;
        QTest::newRow("1/1, ',', unquoted, comment column, LF, letter case")
            << QByteArray("group NAME,address,Central,Unfiltered,Description,DatapointType,Security,Comment\n"
                          "Hall,0/0/1,,,,DPT-5,Auto,x\nStairs,  0/7 ,,,,,Auto,\n")
            << int(GA_Export_Format::Csv_One_Name) << QStringList{"2|Hall|0/0/1|DPT-5", "3|Stairs|  0/7 |"};
        QTest::newRow("1/1, Windows-1252, CR line ends")
            << QByteArray("Group name;Address;DatapointType\rK\xfc" "che;3/3/3;DPST-5-1\r")
            << int(GA_Export_Format::Csv_One_Name) << QStringList{QString::fromUtf8("2|Küche|3/3/3|DPST-5-1")};
        QTest::newRow("3/1, tab, ranges left out")
            << QByteArray("\"Main\"\t\"Middle\"\t\"Sub\"\t\"Address\"\t\"Central\"\t\"Unfiltered\"\t\"Description\"\t"
                          "\"DatapointType\"\t\"Security\"\r\n"
                          "\"Lights\"\t\"\"\t\"\"\t\"1/-/-\"\t\"\"\t\"\"\t\"\"\t\"\"\t\"Auto\"\r\n"
                          "\"\"\t\"Floor\"\t\"\"\t\"1/2/-\"\t\"\"\t\"\"\t\"\"\t\"\"\t\"Auto\"\r\n"
                          "\"\"\t\"\"\t\"Lamp\"\t\"1/2/3\"\t\"\"\t\"\"\t\"\"\t\"DPST-1-1\"\t\"Auto\"\r\n")
            << int(GA_Export_Format::Csv_Three_Names) << QStringList{"4|Lamp|1/2/3|DPST-1-1"};
        QTest::newRow("XML with namespace, nested ranges")
            << QByteArray("\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n"
                          "<GroupAddress-Export xmlns=\"http://knx.org/xml/ga-export/01\">\r\n"
                          "  <GroupRange Name=\"Lights\" RangeStart=\"2048\" RangeEnd=\"4095\">\r\n"
                          "    <GroupRange Name=\"Floor\" RangeStart=\"2048\" RangeEnd=\"2303\">\r\n"
                          "      <GroupAddress Name=\"Lamp &amp; fan\" Address=\"1/0/1\" DPTs=\"DPST-1-1\" />\r\n"
                          "    </GroupRange>\r\n  </GroupRange>\r\n"
                          "  <GroupAddress Name=\"Free\" Address=\"2305\" />\r\n"
                          "</GroupAddress-Export>\r\n")
            << int(GA_Export_Format::Xml) << QStringList{"5|Lamp & fan|1/0/1|DPST-1-1", "8|Free|2305|"};
        QTest::newRow("XML without namespace, declared ISO-8859-1 but read as decoded")
            << QByteArray("<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n<GroupAddress-Export>"
                          "<GroupAddress Name=\"K\xfc" "che\" Address=\"1/1/1\" DPTs=\"DPT-9\"/></GroupAddress-Export>")
            << int(GA_Export_Format::Xml) << QStringList{QString::fromUtf8("2|Küche|1/1/1|DPT-9")};
    }
    void reads_the_three_formats()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, format);
        QFETCH(QStringList, entries);
        const GA_Export exported = Read_GA_Export(bytes);
        QVERIFY2(!exported.error.Failed(), qPrintable(Exchange_Message(exported.error, English())));
        QCOMPARE(int(exported.format), format);
        QCOMPARE(Summary(exported), entries);
    }

    void stops_at_faults_of_the_file_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("langIndex");
        QTest::addColumn<int>("line");
        QTest::newRow("quote left open")
            << QByteArray(One_Name_Header) + "\r\n\"a\";\"1/1/1\"\r\n\"b;1/1/2\r\n" << int(Lang_Exchange_Open_Quote) << 3;
        static const char nulTail[] = "\nA;1/1/1\nB;1/1/2\0x\n";
        QTest::newRow("NUL character") << QByteArray(One_Name_Header) + QByteArray(nulTail, sizeof(nulTail) - 1)
                                       << int(Lang_Exchange_Nul) << 3;
        QTest::newRow("no known header") << QByteArray("Name;Value\nx;1\n") << int(Lang_Exchange_No_Format) << 1;
        QTest::newRow("empty file") << QByteArray() << int(Lang_Exchange_No_Format) << 1;
        QTest::newRow("other XML") << QByteArray("<a/>") << int(Lang_Exchange_No_Format) << 1;
        QTest::newRow("broken XML") << QByteArray("<GroupAddress-Export>\n<GroupAddress Name=\"x\"\n")
                                    << int(Lang_Exchange_Bad_Xml) << 2;
    }
    void stops_at_faults_of_the_file()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, langIndex);
        QFETCH(int, line);
        const GA_Export exported = Read_GA_Export(bytes);
        QCOMPARE(exported.error.langIndex, langIndex);
        QCOMPARE(exported.error.line, line);
        QVERIFY(exported.entries.isEmpty());
    }

    void sizes_of_datapoint_types_data()
    {
        QTest::addColumn<QString>("dpts");
        QTest::addColumn<QString>("bitMode");
        QTest::addColumn<int>("length");
        QTest::addColumn<int>("note");
        QTest::newRow("1 bit") << "DPST-1-1" << "0" << 1 << 0;
        QTest::newRow("2 bits") << "DPT-23" << "0" << 2 << 0;
        QTest::newRow("4 bits") << "3.007" << "0" << 4 << 0;
        QTest::newRow("1 byte") << "DPST-5-1" << "No" << 1 << 0;
        QTest::newRow("2 bytes") << "DPST-234-1" << "No" << 2 << 0;
        QTest::newRow("3 bytes") << "10.001" << "No" << 3 << 0;
        QTest::newRow("4 bytes") << "DPT-14" << "No" << 4 << 0;
        QTest::newRow("8 bytes") << "DPST-29-10" << "No" << 8 << 0;
        QTest::newRow("14 bytes") << "DPST-16-0" << "No" << 14 << 0;
        QTest::newRow("variable string") << "DPST-28-1" << "No" << 14 << int(Lang_GA_Variable);
        QTest::newRow("none") << " " << "No" << 1 << int(Lang_GA_No_DPT);
        QTest::newRow("unknown type") << "DPST-999-1" << "No" << 1 << int(Lang_GA_No_DPT);
        QTest::newRow("not a type") << "DPSTX-9" << "No" << 1 << int(Lang_GA_No_DPT);
        QTest::newRow("several of one size") << "DPST-9-1, DPST-9-4" << "No" << 2 << 0;
        QTest::newRow("several that disagree") << "DPST-9-1,DPST-1-1" << "No" << 2 << int(Lang_GA_Disagree);
    }
    void sizes_of_datapoint_types()
    {
        QFETCH(QString, dpts);
        QFETCH(QString, bitMode);
        QFETCH(int, length);
        QFETCH(int, note);
        const DPT_Size size = Size_Of_DPT(dpts);
        QCOMPARE(size.Bit_Mode(), bitMode);
        QCOMPARE(size.length, length);
        QCOMPARE(size.noteLang, note);
    }

    void addresses_compare_by_kind_and_packed_value_data()
    {
        QTest::addColumn<QString>("a");
        QTest::addColumn<QString>("b");
        QTest::addColumn<bool>("same");
        QTest::newRow("blank before") << " 1/1/1" << "1/1/1" << true;
        QTest::newRow("two levels") << "1/257" << "1/1/1" << true;
        QTest::newRow("plain number") << "2305" << "1/1/1" << true;
        QTest::newRow("individual is not group") << "1.1.1" << "2/1/1" << false;
        QTest::newRow("other sub") << "1/1/2" << "1/1/1" << false;
    }
    void addresses_compare_by_kind_and_packed_value()
    {
        QFETCH(QString, a);
        QFETCH(QString, b);
        QFETCH(bool, same);
        QVERIFY(Address_Key(a) && Address_Key(b));
        QCOMPARE(*Address_Key(a) == *Address_Key(b), same);
    }

    void classifies_and_lays_out()
    {
        // The table holds 1/1/1 in bytes 0-1 and 2/2/2 in bytes 2-3.
        const Text_Table table = Table_With({"1/1/1", "2/2/2"});
        const QList<GA_Entry> entries = {
            Entry(2, "1/257"),                   // in the table (row 1)
            Entry(3, "3/3/3", "DPST-1-1"),       // new, one bit
            Entry(4, "3/3/4"),                   // new, two bytes
            Entry(5, " 3/3/3"),                  // met on line 3
            Entry(6, "1.1.1"),                   // individual
            Entry(7, "32/0/1"),                  // out of range
            Entry(8, ""),                        // none
            Entry(9, "3/3/5", ""),               // new, no type
        };
        GA_Plan plan = Plan_GA_Import(table, entries);
        QCOMPARE(plan.firstRow, 3);
        QCOMPARE(plan.startPosition, 4);
        QList<int> positions;
        QList<int> reasons;
        for (const GA_Item& item : plan.items) {
            positions.append(item.position);
            reasons.append(item.reasonLang);
        }
        QCOMPARE(positions, (QList<int>{-1, 4, 5, -1, -1, -1, -1, 7}));
        QCOMPARE(reasons, (QList<int>{Lang_GA_In_Table, 0, 0, Lang_GA_In_File, Lang_GA_Not_Group, Lang_GA_Invalid,
                                      Lang_GA_No_Address, 0}));
        QCOMPARE(plan.items[0].other, 1);
        QCOMPARE(plan.items[3].other, 3);
        QCOMPARE(plan.imported, 3);
        QCOMPARE(plan.skipped, 5);

        // An unticked address gives its bytes to the next; a start of the user's own counts.
        Lay_Out_GA(plan, 100, {true, true, false, true, true, true, true, true});
        QCOMPARE(plan.items[1].position, 100);
        QCOMPARE(plan.items[2].position, -1);
        QCOMPARE(plan.items[7].position, 101);
        QCOMPARE(plan.imported, 2);
    }

    void applies_rows_after_the_last()
    {
        Text_Table table = Table_With({"1/1/1"});
        QList<GA_Entry> entries = {Entry(2, "1/1/2", "DPST-1-1"), Entry(3, "1/1/3")};
        entries[1].name = QString(10000, QChar(u'n'));
        const GA_Plan plan = Plan_GA_Import(table, entries);
        const GA_Apply_Result result = Apply_GA_Plan(table, plan, QStringLiteral("1.1.200"), true);
        QVERIFY(result.Ok());
        const KNX_Command_Row row2 = Row_Of(table, 2);
        const KNX_Command_Row expected2{"Y", "1.1.200", "1/1/2", "Write", "Low", "None", "N", "N", "N", "Y", "N", "",
                                        "2", "0", "1", "name 2"};
        QCOMPARE(row2, expected2);
        QCOMPARE(Row_Of(table, 3).Position, QStringLiteral("3"));
        QCOMPARE(Row_Of(table, 3).Mnemonic, entries[1].name);
        QCOMPARE(Row_Of(table, 3).Bit_Mode, QStringLiteral("No"));
        QVERIFY(Row_Of(table, 4).Source_Address.isEmpty());
    }

    void refuses_what_does_not_fit_or_fails_the_check_data()
    {
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("rowsBefore");
        QTest::addColumn<QString>("source");
        QTest::addColumn<int>("fault");
        QTest::addColumn<int>("checkEntry");
        QTest::newRow("past the last byte") << 1437 << 1 << "1.1.200" << int(Lang_GA_Past_End) << 0;
        QTest::newRow("past row 512") << 0 << 511 << "1.1.200" << int(Lang_GA_Too_Many_Rows) << 0;
        QTest::newRow("bad source address") << 0 << 1 << "1.1.999" << 0 << 218;
    }
    void refuses_what_does_not_fit_or_fails_the_check()
    {
        QFETCH(int, start);
        QFETCH(int, rowsBefore);
        QFETCH(QString, source);
        QFETCH(int, fault);
        QFETCH(int, checkEntry);
        QStringList destinations;
        for (int i = 0; i < rowsBefore; ++i)
            destinations.append(QString::number(i + 1));
        Text_Table table = Table_With(destinations);
        const Text_Table before = table;
        const GA_Plan plan = Plan_GA_Import(table, {Entry(2, "5/5/5"), Entry(3, "5/5/6")}, start);
        const GA_Apply_Result result = Apply_GA_Plan(table, plan, source, false);
        QVERIFY(!result.Ok());
        QCOMPARE(result.faultLang, fault);
        QCOMPARE(result.check.langIndex, checkEntry);
        QCOMPARE(table, before);
        QVERIFY(!GA_Apply_Message(result, plan, English()).isEmpty());
    }
};

QTEST_GUILESS_MAIN(Tst_GA_Import)
#include "tst_ga_import.moc"
