#include "common/test_support.h"
#include "knx_access/knx_access_file.h"
#include "xml/xml_document.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

using namespace lw;

namespace {

const KNX_Command_Row Sample_Row = {
    "Y", "1.1.1", "1/1/1", "Write", "Low", "None", "N", "N", "Y", "N", "Y", "250", "10", "No", "2", "hall light",
};

// A row element carrying the sample row's attributes, without the one named skip.
QByteArray Row_Element(const char* skip = nullptr, const QByteArray& extra = {})
{
    QByteArray out = "<row";
    for (int c = 1; c <= KNX_Field_Count; ++c) {
        if (skip && qstrcmp(skip, KNX_Attributes[c - 1]) == 0)
            continue;
        out += ' ' + QByteArray(KNX_Attributes[c - 1]) + "=\"" + (Sample_Row.*KNX_Fields[c - 1]).toUtf8() + '"';
    }
    return out + extra + "/>";
}

QByteArray Document_With(const QByteArray& rows)
{
    return "<BACnet_to_KNX><KNX_in_Read/><KNX_in_Write>" + rows + "</KNX_in_Write></BACnet_to_KNX>";
}

bool Is_Fresh_Row(const Text_Table& table, int r)
{
    if (table.Cell(r, Col_Number) != QString::number(r) || table.Cell(r, Col_Enable) != QLatin1String("Y"))
        return false;
    for (int c = 2; c < KNX_Table_Column_Count; ++c) {
        if (!table.Cell(r, c).isEmpty())
            return false;
    }
    return true;
}

bool Is_Fresh_From(const Text_Table& table, int first)
{
    for (int r = first; r < KNX_Table_Row_Count; ++r) {
        if (!Is_Fresh_Row(table, r))
            return false;
    }
    return true;
}

} // namespace

class TestKnxAccessFile : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_path;

    KNX_Read_Result Read_Bytes_Into(const QByteArray& bytes, Text_Table& table)
    {
        test::Write_Bytes(m_path, bytes);
        return Read_KNX_Access_File(m_path, table);
    }

private Q_SLOTS:
    void init()
    {
        QVERIFY(m_dir.isValid());
        m_path = m_dir.filePath(QStringLiteral("KNX_SetAccess.xml"));
        QFile::remove(m_path);
    }

    void freshTable()
    {
        const Text_Table table = Fresh_KNX_Table();
        QCOMPARE(table.Row_Count(), 513);
        QCOMPARE(table.Column_Count(), 17);
        QVERIFY(Is_Fresh_From(table, 1));
        for (int c = 0; c < 17; ++c)
            QVERIFY(table.Cell(0, c).isEmpty());
    }

    void rowConversion()
    {
        Text_Table table = Fresh_KNX_Table();
        Set_Row(table, 7, Sample_Row);
        QCOMPARE(table.Cell(7, Col_Number), QStringLiteral("7"));
        QCOMPARE(table.Cell(7, Col_Source_Address), QStringLiteral("1.1.1"));
        QCOMPARE(table.Cell(7, Col_Mnemonic), QStringLiteral("hall light"));
        QCOMPARE(table.Cell(7, Col_Poll_Time), QStringLiteral("250"));
        QCOMPARE(Row_Of(table, 7), Sample_Row);
    }

    void emptyTableWritesTheFrame()
    {
        QVERIFY(Write_KNX_Access_File(Fresh_KNX_Table(), m_path).isEmpty());
        QCOMPARE(test::Read_Bytes(m_path),
                 QByteArray("<BACnet_to_KNX><KNX_in_Read/><KNX_in_Write/></BACnet_to_KNX><!--SW_VERSION = 1.002-->"));
        xml::Document doc;
        QVERIFY(doc.Load(m_path).isEmpty());
        const std::vector<xml::Node> top = doc.Top_Level();
        QCOMPARE(top.size(), size_t(2));
        QCOMPARE(top[0].Name(), QStringLiteral("BACnet_to_KNX"));
        QCOMPARE(top[1].Raw().type(), pugi::node_comment);
        QCOMPARE(QString::fromUtf8(top[1].Raw().value()), QStringLiteral("SW_VERSION = 1.002"));
        QCOMPARE(top[0].Child_Count(), 2);
        QCOMPARE(top[0].Children()[0].Name(), QStringLiteral("KNX_in_Read"));
        QCOMPARE(top[0].Children()[1].Name(), QStringLiteral("KNX_in_Write"));
        QCOMPARE(top[0].Find("KNX_in_Write").Child_Count(), 0);
    }

    void attributesInOrder()
    {
        Text_Table table = Fresh_KNX_Table();
        Set_Row(table, 1, Sample_Row);
        QVERIFY(Write_KNX_Access_File(table, m_path).isEmpty());
        xml::Document doc;
        QVERIFY(doc.Load(m_path).isEmpty());
        const pugi::xml_node row = doc.First_Node().Find("KNX_in_Write").Raw().first_child();
        QCOMPARE(QString::fromUtf8(row.name()), QStringLiteral("row"));
        int i = 0;
        for (pugi::xml_attribute a = row.first_attribute(); a; a = a.next_attribute(), ++i)
            QCOMPARE(QString::fromUtf8(a.name()), QString::fromLatin1(KNX_Attributes[i]));
        QCOMPARE(i, 16);
    }

    void writingStopsAtTheFirstEmptySource_data()
    {
        QTest::addColumn<QString>("emptySource");
        QTest::newRow("empty") << "";
        QTest::newRow("blanks and controls") << " \t\r\n";
    }

    void writingStopsAtTheFirstEmptySource()
    {
        QFETCH(QString, emptySource);
        Text_Table table = Fresh_KNX_Table();
        for (int r : {1, 2, 3, 4})
            Set_Row(table, r, Sample_Row);
        table.Set_Cell(2, Col_Enable, QStringLiteral("N"));
        table.Set_Cell(3, Col_Source_Address, emptySource);
        QVERIFY(Write_KNX_Access_File(table, m_path).isEmpty());

        Text_Table back = Fresh_KNX_Table();
        const KNX_Read_Result result = Read_KNX_Access_File(m_path, back);
        QVERIFY2(result.Ok(), qPrintable(result.error));
        QCOMPARE(result.rows, 2);
        QCOMPARE(Row_Of(back, 1), Sample_Row);
        QCOMPARE(back.Cell(2, Col_Enable), QStringLiteral("N"));
        QVERIFY(Is_Fresh_From(back, 3));
    }

    void allRowsWritten()
    {
        Text_Table table = Fresh_KNX_Table();
        for (int r = 1; r <= 512; ++r) {
            Set_Row(table, r, Sample_Row);
            table.Set_Cell(r, Col_Mnemonic, QString::number(r));
        }
        QVERIFY(Write_KNX_Access_File(table, m_path).isEmpty());
        Text_Table back = Fresh_KNX_Table();
        const KNX_Read_Result result = Read_KNX_Access_File(m_path, back);
        QVERIFY(result.Ok());
        QCOMPARE(result.rows, 512);
        QCOMPARE(back, table);
    }

    void roundTripKeepsTexts_data()
    {
        QTest::addColumn<int>("column");
        QTest::addColumn<QString>("text");
        QTest::newRow("leading blank before an address") << int(Col_Source_Address) << " 1.1.1";
        QTest::newRow("blanks around") << int(Col_Destination_Address) << "  1/2/3  ";
        QTest::newRow("octet-like zero padding") << int(Col_Position) << "010";
        QTest::newRow("quotes") << int(Col_Mnemonic) << "say \"hi\" 'there'";
        QTest::newRow("markup characters") << int(Col_Mnemonic) << "a & b < c > d &amp;";
        QTest::newRow("tab and line breaks") << int(Col_Mnemonic) << "a\tb\nc\r\nd";
        QTest::newRow("non-ascii") << int(Col_Mnemonic) << QString::fromUtf8("Küche – 照明 \xF0\x9F\x92\xA1");
        QTest::newRow("lower-case priority kept as written") << int(Col_APCI) << "wRiTe";
        QTest::newRow("empty check cell") << int(Col_Extended) << "";
        QTest::newRow("empty Enable") << int(Col_Enable) << "";
        QTest::newRow("only a blank") << int(Col_Mnemonic) << " ";
    }

    void roundTripKeepsTexts()
    {
        QFETCH(int, column);
        QFETCH(QString, text);
        Text_Table table = Fresh_KNX_Table();
        Set_Row(table, 1, Sample_Row);
        Set_Row(table, 2, Sample_Row);
        table.Set_Cell(2, column, text);
        QVERIFY(Write_KNX_Access_File(table, m_path).isEmpty());
        Text_Table back = Fresh_KNX_Table();
        const KNX_Read_Result result = Read_KNX_Access_File(m_path, back);
        QVERIFY2(result.Ok(), qPrintable(result.error));
        QCOMPARE(back.Cell(2, column), text);
        QCOMPARE(back, table);
    }

    void defaultsAndPriority_data()
    {
        QTest::addColumn<QByteArray>("row");
        QTest::addColumn<int>("column");
        QTest::addColumn<QString>("expected");
        QTest::newRow("no Enable") << Row_Element("Enable") << int(Col_Enable) << "Y";
        QTest::newRow("no Priority") << Row_Element("Priority") << int(Col_Priority) << "Normal";
        QTest::newRow("no Format") << Row_Element("Format") << int(Col_Format) << "None";
        QTest::newRow("no On_Command") << Row_Element("On_Command") << int(Col_On_Command) << "N";
        QTest::newRow("no On_Timer") << Row_Element("On_Timer") << int(Col_On_Timer) << "N";
        const QByteArray noPriority = Row_Element("Priority");
        const auto withPriority = [&](const char* p) {
            QByteArray row = noPriority;
            row.insert(4, QByteArray(" Priority=\"") + p + '"');
            return row;
        };
        QTest::newRow("priority lower case") << withPriority("normal") << int(Col_Priority) << "Normal";
        QTest::newRow("priority Urgent") << withPriority("Urgent") << int(Col_Priority) << "Urgent";
        QTest::newRow("priority System") << withPriority("System") << int(Col_Priority) << "System";
        QTest::newRow("priority Low") << withPriority("Low") << int(Col_Priority) << "Low";
        QTest::newRow("priority with blank") << withPriority("Low ") << int(Col_Priority) << "Normal";
        QTest::newRow("priority empty") << withPriority("") << int(Col_Priority) << "Normal";
        QTest::newRow("priority other") << withPriority("High") << int(Col_Priority) << "Normal";
        QTest::newRow("of two Mnemonic the first counts")
            << Row_Element(nullptr, " Mnemonic=\"second\"") << int(Col_Mnemonic) << "hall light";
        QTest::newRow("unknown attribute between") << Row_Element("Length", " Colour=\"red\" Length=\"7\"")
                                                   << int(Col_Length) << "7";
        QTest::newRow("undeclared entity kept as text")
            << Row_Element("Mnemonic", " Mnemonic=\"&secret;\"") << int(Col_Mnemonic) << "&secret;";
        QTest::newRow("character references") << Row_Element("Mnemonic", " Mnemonic=\"&#65;&#x42;&lt;\"")
                                              << int(Col_Mnemonic) << "AB<";
    }

    void defaultsAndPriority()
    {
        QFETCH(QByteArray, row);
        QFETCH(int, column);
        QFETCH(QString, expected);
        Text_Table table = Fresh_KNX_Table();
        const KNX_Read_Result result = Read_Bytes_Into(Document_With(row), table);
        QVERIFY2(result.Ok(), qPrintable(result.error));
        QCOMPARE(result.rows, 1);
        QCOMPARE(table.Cell(1, column), expected);
    }

    void columnTextsChangeFromRowToRow()
    {
        // Equal texts of consecutive rows are read once; a change is never missed.
        const QList<QByteArray> names = {"a", "b", "b", "a", "", "a"};
        QByteArray rows;
        for (const QByteArray& name : names)
            rows += Row_Element("Mnemonic", " Mnemonic=\"" + name + '"');
        Text_Table table = Fresh_KNX_Table();
        const KNX_Read_Result result = Read_Bytes_Into(Document_With(rows), table);
        QVERIFY2(result.Ok(), qPrintable(result.error));
        QCOMPARE(result.rows, int(names.size()));
        for (int r = 1; r <= names.size(); ++r)
            QCOMPARE(table.Cell(r, Col_Mnemonic), QString::fromUtf8(names[r - 1]));
    }

    void missingAttributeStopsReading_data()
    {
        QTest::addColumn<int>("column");
        for (int c = 1; c <= KNX_Field_Count; ++c) {
            if (c == Col_Enable || c == Col_Priority || c == Col_Format || c == Col_On_Command || c == Col_On_Timer)
                continue;
            QTest::newRow(KNX_Attributes[c - 1]) << c;
        }
    }

    void missingAttributeStopsReading()
    {
        QFETCH(int, column);
        const char* name = KNX_Attributes[column - 1];
        Text_Table table = Fresh_KNX_Table();
        const KNX_Read_Result result =
            Read_Bytes_Into(Document_With(Row_Element() + Row_Element() + Row_Element(name) + Row_Element()), table);
        QVERIFY(!result.Ok());
        QVERIFY(result.found);
        QCOMPARE(result.failed_row, 3);
        QCOMPARE(result.attribute, QString::fromLatin1(name));
        QCOMPARE(result.rows, 2);
        QVERIFY(result.error.contains(m_path));
        QVERIFY(result.error.contains(QStringLiteral("row 3")));
        QVERIFY(result.error.contains(QString::fromLatin1(name)));
        // Rows and cells read before the failure stay, the rest is fresh.
        QCOMPARE(Row_Of(table, 1), Sample_Row);
        QCOMPARE(Row_Of(table, 2), Sample_Row);
        for (int c = 1; c < column; ++c)
            QCOMPARE(table.Cell(3, c), Sample_Row.*KNX_Fields[c - 1]);
        for (int c = column; c <= KNX_Field_Count; ++c)
            QCOMPARE(table.Cell(3, c), c == Col_Enable ? QStringLiteral("Y") : QString());
        QVERIFY(Is_Fresh_From(table, 4));
    }

    void structure_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<int>("rows");

        QTest::newRow("other root name") << QByteArray("<Other><KNX_in_Write>" + Row_Element() + "</KNX_in_Write></Other>")
                                         << true << 1;
        QTest::newRow("no KNX_in_Read") << QByteArray("<A><KNX_in_Write>" + Row_Element() + "</KNX_in_Write></A>") << true
                                        << 1;
        QTest::newRow("rows in KNX_in_Read ignored")
            << QByteArray("<A><KNX_in_Read>" + Row_Element("APCI") + "</KNX_in_Read><KNX_in_Write/></A>") << true << 0;
        QTest::newRow("indented file")
            << QByteArray("<A>\n  <KNX_in_Read/>\n  <KNX_in_Write>\n    " + Row_Element() + "\n    " + Row_Element()
                          + "\n  </KNX_in_Write>\n</A>\n<!--SW_VERSION = 1.002-->\n")
            << true << 2;
        QTest::newRow("blank KNX_in_Write") << QByteArray("<A><KNX_in_Write>  \n </KNX_in_Write></A>") << true << 0;
        QTest::newRow("element of another name is a row")
            << QByteArray("<A><KNX_in_Write>" + Row_Element().replace("<row", "<cmd") + "</KNX_in_Write></A>") << true
            << 1;
        QTest::newRow("comment among rows lacks the attributes")
            << QByteArray("<A><KNX_in_Write>" + Row_Element() + "<!-- x -->" + Row_Element() + "</KNX_in_Write></A>")
            << false << 1;
        QTest::newRow("no KNX_in_Write") << QByteArray("<A><KNX_in_Read/></A>") << false << 0;
        QTest::newRow("declaration first")
            << QByteArray("<?xml version=\"1.0\"?>" + Document_With(Row_Element())) << false << 0;
        QTest::newRow("comment first") << QByteArray("<!--c-->" + Document_With(Row_Element())) << false << 0;
        QTest::newRow("not well-formed") << QByteArray("<A><KNX_in_Write>" + Row_Element() + "</A>") << false << 0;
        QTest::newRow("empty file") << QByteArray() << false << 0;
        QTest::newRow("text only") << QByteArray("hello") << false << 0;
    }

    void structure()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, ok);
        QFETCH(int, rows);
        Text_Table table = Fresh_KNX_Table();
        const KNX_Read_Result result = Read_Bytes_Into(bytes, table);
        QCOMPARE(result.Ok(), ok);
        QCOMPARE(result.rows, rows);
        if (!ok)
            QVERIFY2(result.error.contains(m_path), qPrintable(result.error));
        for (int r = 1; r <= rows; ++r)
            QCOMPARE(Row_Of(table, r), Sample_Row);
        QVERIFY(Is_Fresh_From(table, rows + 1));
    }

    void missingFileLeavesTheTable()
    {
        Text_Table table = Fresh_KNX_Table();
        Set_Row(table, 5, Sample_Row);
        const Text_Table before = table;
        const KNX_Read_Result result = Read_KNX_Access_File(m_path, table);
        QVERIFY(result.Ok());
        QVERIFY(!result.found);
        QCOMPARE(table, before);
    }

    void directoryIsAnError()
    {
        QVERIFY(QDir().mkpath(m_path));
        Text_Table table = Fresh_KNX_Table();
        const KNX_Read_Result result = Read_KNX_Access_File(m_path, table);
        QVERIFY(!result.Ok());
        QVERIFY(result.error.contains(m_path));
        QVERIFY(Is_Fresh_From(table, 1));
        QVERIFY(!Write_KNX_Access_File(table, m_path).isEmpty());
        QDir(m_path).removeRecursively();
    }

    void writeFailureKeepsTheOldFile()
    {
        test::Write_Bytes(m_path, "old");
        Text_Table table = Fresh_KNX_Table();
        const QString bad = m_dir.filePath(QStringLiteral("missing/KNX_SetAccess.xml"));
        QVERIFY(!Write_KNX_Access_File(table, bad).isEmpty());
        QCOMPARE(test::Read_Bytes(m_path), QByteArray("old"));
    }

    void rowsPastTheTableAreDropped()
    {
        QByteArray rows;
        for (int i = 0; i < 600; ++i)
            rows += Row_Element(nullptr, " Extra=\"" + QByteArray::number(i + 1) + '"').replace("hall light", QByteArray::number(i + 1));
        rows += Row_Element("APCI");   // row 601, never read
        Text_Table table = Fresh_KNX_Table();
        const KNX_Read_Result result = Read_Bytes_Into(Document_With(rows), table);
        QVERIFY2(result.Ok(), qPrintable(result.error));
        QCOMPARE(result.rows, 512);
        QCOMPARE(table.Cell(512, Col_Mnemonic), QStringLiteral("512"));
        QCOMPARE(table.Row_Count(), 513);
    }

    // Hostile files: each gives an error or values, never a crash or a hang.

    void randomBytes()
    {
        QRandomGenerator rng(4315);
        for (int i = 0; i < 50; ++i) {
            QByteArray bytes(int(rng.bounded(1, 4096)), Qt::Uninitialized);
            for (char& b : bytes)
                b = char(rng.bounded(256));
            if (i % 2)
                bytes.prepend(Document_With(Row_Element()).left(int(rng.bounded(120))));
            Text_Table table = Fresh_KNX_Table();
            const KNX_Read_Result result = Read_Bytes_Into(bytes, table);
            QVERIFY(result.rows <= 512);
            QVERIFY(result.Ok() || !result.error.isEmpty());
        }
    }

    // As many rows as the reader's limit of 8 MB takes (about 12 000).
    void rowsUpToTheLimit()
    {
        const QByteArray row = Row_Element("Mnemonic", " Mnemonic=\"" + QByteArray(400, 'm') + '"');
        QByteArray bytes = "<BACnet_to_KNX><KNX_in_Read/><KNX_in_Write>";
        const QByteArray tail = "</KNX_in_Write></BACnet_to_KNX>";
        bytes.reserve(KNX_Access_File_Limit);
        while (bytes.size() + row.size() + tail.size() <= KNX_Access_File_Limit)
            bytes += row;
        bytes += tail;
        QVERIFY(bytes.size() > KNX_Access_File_Limit - row.size() - tail.size());
        Text_Table table = Fresh_KNX_Table();
        const KNX_Read_Result result = Read_Bytes_Into(bytes, table);
        QVERIFY2(result.Ok(), qPrintable(result.error));
        QCOMPARE(result.rows, 512);
        QCOMPARE(table.Cell(512, Col_Mnemonic).size(), 400);
    }

    void oversizedFileIsRefused()
    {
        QFile f(m_path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        QVERIFY(f.resize(qint64(80) << 20));   // sparse, nothing to read
        f.close();
        Text_Table table = Fresh_KNX_Table();
        const KNX_Read_Result result = Read_KNX_Access_File(m_path, table);
        QVERIFY(!result.Ok());
        QVERIFY(result.error.contains(m_path));
        QVERIFY(Is_Fresh_From(table, 1));
    }

    void megabyteAttribute()
    {
        const QByteArray big(1 << 20, 'x');
        Text_Table table = Fresh_KNX_Table();
        const KNX_Read_Result result = Read_Bytes_Into(Document_With(Row_Element("Mnemonic", " Mnemonic=\"" + big + '"')), table);
        QVERIFY2(result.Ok(), qPrintable(result.error));
        QCOMPARE(table.Cell(1, Col_Mnemonic).size(), big.size());
    }

    void entitiesAreNeitherExpandedNorFetched()
    {
        const QString secretPath = m_dir.filePath(QStringLiteral("secret.txt"));
        test::Write_Bytes(secretPath, "TOPSECRET");
        QByteArray laughs = "<!ENTITY l0 \"lol\">";
        for (int i = 1; i < 12; ++i)
            laughs += "<!ENTITY l" + QByteArray::number(i) + " \"" + QByteArray("&l").append(QByteArray::number(i - 1)).append(';').repeated(10) + "\">";
        const QByteArray doctype = "<!DOCTYPE BACnet_to_KNX [<!ENTITY secret SYSTEM \"file://"
            + QUrl::toPercentEncoding(secretPath, "/") + "\">" + laughs + "]>";
        const QByteArray body = Document_With(Row_Element("Mnemonic", " Mnemonic=\"&secret;&l11;\""));

        // The type declaration is the document's first node: the file is refused.
        Text_Table table = Fresh_KNX_Table();
        KNX_Read_Result result = Read_Bytes_Into(doctype + body, table);
        QVERIFY(!result.Ok());
        QVERIFY(!result.error.contains(QStringLiteral("TOPSECRET")));
        QVERIFY(Is_Fresh_From(table, 1));

        // Without the declaration the references stay as written.
        result = Read_Bytes_Into(body, table);
        QVERIFY2(result.Ok(), qPrintable(result.error));
        QCOMPARE(table.Cell(1, Col_Mnemonic), QStringLiteral("&secret;&l11;"));
    }
};

QTEST_GUILESS_MAIN(TestKnxAccessFile)
#include "tst_knx_access_file.moc"
