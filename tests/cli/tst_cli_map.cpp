#include "cli/cli_io.h"
#include "cli/cli_run.h"

#include "image/image_project.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTest>
#include <QXmlStreamReader>

using namespace lw::test;

namespace {

// Row 1 and 2 half-overlap in byte 1, rows 3 and 4 share bits 3-4 of byte 4,
// row 5 is disabled, row 6 has no valid position, row 7 uses the array's last
// byte; row 8 follows the table's end.
QList<Xml_Fields> Mixed_Rows()
{
    return {
        Example_Row({"Position=0", "Length=2", "Mnemonic=hall"}),
        Example_Row({"Position=1", "Length=2", "Mnemonic=office"}),
        Example_Row({"Position=4", "Bit_Mode=3", "Length=2", "Mnemonic=alarm"}),
        Example_Row({"Position=4", "Bit_Mode=3", "Length=2", "Mnemonic=alarm copy"}),
        Example_Row({"Enable=N", "Position=4", "Length=9"}),
        Example_Row({"Position=1439", "Mnemonic=beyond"}),
        Example_Row({"Position=1438", "Length=1", "Mnemonic="}),
        Example_Row({"Source_Address=", "Position=4", "Length=9"}),
        Example_Row({"Position=4", "Length=9"}),
    };
}

QString Make_Project(const QTemporaryDir& tmp, const QList<Xml_Fields>& rows)
{
    const QString dir = tmp.path() + QStringLiteral("/Project");
    QDir().mkpath(dir);
    Write_Bytes(dir + QStringLiteral("/ParGen.xml"), ParGen_Xml(Example_Settings()));
    Write_Bytes(dir + QStringLiteral("/KNX_SetAccess.xml"), KNX_Access_Xml(rows));
    return dir;
}

} // namespace

class TestCliMap : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void text()
    {
        QTemporaryDir tmp;
        const QString dir = Make_Project(tmp, Mixed_Rows());
        const QByteArray before = Read_Bytes(dir + QStringLiteral("/KNX_SetAccess.xml"));
        const Cli_Run run = Run_Tool({"map", dir});
        QCOMPARE(run.err, QString());
        QCOMPARE(run.out, QStringLiteral("row 1  bytes 0-1  hall\n"
                                         "row 2  bytes 1-2  office\n"
                                         "row 3  bytes 4-4  bits 3-4  alarm\n"
                                         "row 4  bytes 4-4  bits 3-4  alarm copy\n"
                                         "row 7  bytes 1438-1438\n"
                                         "shared rows 3 and 4: bytes 4-4  bits 3-4\n"
                                         "OVERLAP rows 1 and 2: bytes 1-1\n"
                                         "row 6 not placed: Position must be between 0 and 1438\n"
                                         "free bytes 3-3\n"
                                         "free bytes 5-1437\n"));
        QCOMPARE(run.code, 1);
        // Read only: the project stays as it was.
        QCOMPARE(Read_Bytes(dir + QStringLiteral("/KNX_SetAccess.xml")), before);
        QCOMPARE(QDir(dir).entryList(QDir::NoDotAndDotDot | QDir::AllEntries).size(), 2);
    }

    void json()
    {
        QTemporaryDir tmp;
        const Cli_Run run = Run_Tool({"map", Make_Project(tmp, Mixed_Rows()), "--json"});
        QCOMPARE(run.code, 1);
        QJsonParseError error;
        const QJsonObject map = QJsonDocument::fromJson(run.out.toUtf8(), &error).object();
        QCOMPARE(error.error, QJsonParseError::NoError);
        QCOMPARE(map.value("size").toInt(), 1439);
        QCOMPARE(map.value("rows").toArray().size(), 5);
        QCOMPARE(map.value("rows").toArray()[2].toObject(),
                 (QJsonObject{{"row", 3}, {"first_bit", 35}, {"last_bit", 36}}));
        QCOMPARE(map.value("shared").toArray(),
                 (QJsonArray{QJsonObject{{"rows", QJsonArray{3, 4}}, {"first_bit", 35}, {"last_bit", 36}}}));
        QCOMPARE(map.value("overlaps").toArray(),
                 (QJsonArray{QJsonObject{{"rows", QJsonArray{1, 2}}, {"first_bit", 8}, {"last_bit", 15}}}));
        QCOMPARE(map.value("not_placed").toArray(),
                 (QJsonArray{QJsonObject{{"row", 6}, {"reason", "Position must be between 0 and 1438"}}}));
        QCOMPARE(map.value("free").toArray(), (QJsonArray{QJsonArray{3, 3}, QJsonArray{5, 1437}}));
        // The documented key order.
        QVERIFY(run.out.indexOf("\"size\"") < run.out.indexOf("\"rows\""));
        QVERIFY(run.out.indexOf("\"overlaps\"") < run.out.indexOf("\"not_placed\""));
    }

    void svg()
    {
        QTemporaryDir tmp;
        const QString svgFile = tmp.filePath(QStringLiteral("map.svg"));
        const Cli_Run run = Run_Tool({"map", Make_Project(tmp, Mixed_Rows()), "--svg", svgFile});
        QCOMPARE(run.code, 1);
        QXmlStreamReader xml(Read_Bytes(svgFile));
        int rects = 0;
        bool svgRoot = false;
        while (!xml.atEnd()) {
            if (xml.readNext() != QXmlStreamReader::StartElement)
                continue;
            svgRoot = svgRoot || xml.name() == QLatin1String("svg");
            rects += xml.name() == QLatin1String("rect");
        }
        QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));
        QVERIFY(svgRoot);
        QCOMPARE(rects, 5);   // bytes 0, 1, 2, 4 and 1438
    }

    void exitCodes_data()
    {
        QTest::addColumn<QStringList>("args");   // "DIR" stands for the project folder
        QTest::addColumn<QByteArray>("access");  // empty: no commands file
        QTest::addColumn<int>("code");

        const QByteArray clean = KNX_Access_Xml({Example_Row({"Position=0"}), Example_Row({"Position=2"})});
        QTest::newRow("no overlap") << QStringList{"map", "DIR"} << clean << 0;
        QTest::newRow("no commands file") << QStringList{"map", "DIR"} << QByteArray() << 0;
        QTest::newRow("overlap") << QStringList{"map", "DIR", "--json"}
                                 << KNX_Access_Xml({Example_Row(), Example_Row({"Position=5"})}) << 1;
        QTest::newRow("unreadable commands file") << QStringList{"map", "DIR"} << QByteArray("<BACnet_to_KNX><") << 2;
        QTest::newRow("no such folder") << QStringList{"map", "DIR/none"} << clean << 2;
        QTest::newRow("svg to a missing folder") << QStringList{"map", "DIR", "--svg", "DIR/none/map.svg"} << clean << 2;
        QTest::newRow("unknown option") << QStringList{"map", "DIR", "--png"} << clean << 2;
        QTest::newRow("no folder") << QStringList{"map"} << clean << 2;
        QTest::newRow("svg without a file") << QStringList{"map", "DIR", "--svg"} << clean << 2;
    }
    void exitCodes()
    {
        QFETCH(QStringList, args);
        QFETCH(QByteArray, access);
        QFETCH(int, code);
        QTemporaryDir tmp;
        const QString dir = tmp.path() + QStringLiteral("/Project");
        QDir().mkpath(dir);
        if (!access.isEmpty())
            Write_Bytes(dir + QStringLiteral("/KNX_SetAccess.xml"), access);
        args.replaceInStrings(QStringLiteral("DIR"), dir);
        const Cli_Run run = Run_Tool(args);
        QCOMPARE(run.code, code);
        QCOMPARE(run.err.isEmpty(), code < 2);
    }

    void report_data()
    {
        QTest::addColumn<QStringList>("args");   // "DIR" stands for the project folder
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("written");    // the file that must exist afterwards

        QTest::newRow("pdf") << QStringList{"report", "DIR", "--pdf", "DIR/r.pdf"} << 0 << "DIR/r.pdf";
        QTest::newRow("html") << QStringList{"report", "DIR", "--html", "DIR/r.html"} << 0 << "DIR/r.html";
        QTest::newRow("both") << QStringList{"report", "DIR", "--pdf", "DIR/r.pdf", "--html", "DIR/r.html"} << 2 << "";
        QTest::newRow("neither") << QStringList{"report", "DIR"} << 2 << "";
        QTest::newRow("no such folder") << QStringList{"report", "DIR/none", "--pdf", "DIR/r.pdf"} << 2 << "";
        QTest::newRow("unwritable") << QStringList{"report", "DIR", "--pdf", "DIR/none/r.pdf"} << 2 << "";
    }
    void report()
    {
        QFETCH(QStringList, args);
        QFETCH(int, code);
        QFETCH(QString, written);
        QTemporaryDir tmp;
        const QString dir = Make_Project(tmp, Mixed_Rows());
        args.replaceInStrings(QStringLiteral("DIR"), dir);
        const Cli_Run run = Run_Tool(args);
        QCOMPARE(run.code, code);
        QCOMPARE(run.out, QString());
        if (!written.isEmpty())
            QVERIFY(Read_Bytes(written.replace(QStringLiteral("DIR"), dir)).size() > 1000);
        else
            QVERIFY(!run.err.isEmpty());
    }
};

QTEST_MAIN(TestCliMap)
#include "tst_cli_map.moc"
