#include "image/image_project.h"
#include "knx_access/knx_access_file.h"
#include "lang/language_table.h"
#include "report/report_writer.h"

#include <QDir>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace lw;
using namespace lw::test;

namespace {

QString Make_Project(const QTemporaryDir& tmp, const QList<Xml_Fields>& rows, const QStringList& settings = {})
{
    const QString dir = tmp.path() + QStringLiteral("/Plant North");
    QDir().mkpath(dir);
    Write_Bytes(dir + QStringLiteral("/ParGen.xml"), ParGen_Xml(Example_Settings(settings)));
    Write_Bytes(dir + QStringLiteral("/KNX_SetAccess.xml"), KNX_Access_Xml(rows));
    return dir;
}

ProgramState English()
{
    ProgramState state;
    Set_Default_Texts(state);
    return state;
}

// The text of a PDF as the desktop's text extractor reads it.
QString Pdf_Text(const QString& pdf)
{
    QProcess tool;
    tool.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    if (!tool.waitForFinished(30000) || tool.exitCode() != 0)
        return QStringLiteral("pdftotext failed: ") + QString::fromUtf8(tool.readAllStandardError());
    return QString::fromUtf8(tool.readAllStandardOutput());
}

} // namespace

class TestReport : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase()
    {
        if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
            QFAIL("pdftotext (poppler-utils) is needed: scripts/setup-deps installs it");
    }

    void pdfText()
    {
        QTemporaryDir tmp;
        QList<Xml_Fields> rows;
        for (int r = 1; r <= 60; ++r)   // more rows than one page holds
            rows << Example_Row({QStringLiteral("Position=%1").arg(2 * r), "Length=3", QStringLiteral("Mnemonic=office_pump_%1").arg(r)});
        const QString dir = Make_Project(tmp, rows, {"PROFINET_IP3=7", "PROFINET_IP4=42", "PROFINET_EN_GAT=1"});
        const QString pdf = tmp.filePath(QStringLiteral("report.pdf"));
        const QByteArray before = Read_Bytes(dir + QStringLiteral("/KNX_SetAccess.xml"));

        QCOMPARE(Write_Project_Report(dir, nullptr, English(), pdf), QString());
        const QString text = Pdf_Text(pdf);
        QVERIFY2(text.contains(QLatin1String("192.168.7.42")), qPrintable(text.left(2000)));
        QVERIFY(text.contains(QLatin1String("Plant North")));
        // Searchable: no ligature stands for "ffi".
        QVERIFY(text.contains(QLatin1String("office_pump_1 ")) || text.contains(QLatin1String("office_pump_1\n")));
        QVERIFY(text.contains(QLatin1String("office_pump_60")));
        QVERIFY(text.contains(QLatin1String("The data check passed.")));
        QVERIFY(text.contains(QLatin1String("Commands: 60")));
        QVERIFY(text.contains(QLatin1String("Overlaps: 59")));
        QVERIFY(text.contains(QLatin1String("Overlap: rows 1 and 2, bytes 4-4")));
        QVERIFY(!text.contains(QLatin1String("not used")));   // the gateway is in use
        QVERIFY(text.contains(QLatin1String("Page 1 of ")));
        const int pages = text.count(QChar(u'\f'));
        QVERIFY2(pages >= 4, qPrintable(QString::number(pages)));
        QVERIFY(text.contains(QStringLiteral("Page %1 of %1").arg(pages)));
        // Landscape A4.
        QProcess info;
        info.start(QStringLiteral("pdfinfo"), {pdf});
        QVERIFY(info.waitForFinished(30000));
        QVERIFY(QString::fromUtf8(info.readAllStandardOutput()).contains(QRegularExpression("Page size:\\s+84[12](\\.\\d+)? x 595(\\.\\d+)? pts")));
        // Nothing in the project changed; no image was written.
        QCOMPARE(Read_Bytes(dir + QStringLiteral("/KNX_SetAccess.xml")), before);
        QVERIFY(!QFileInfo::exists(dir + QStringLiteral("/bin/bank.bin")));
    }

    void failingCheck()
    {
        QTemporaryDir tmp;
        const QString dir = Make_Project(tmp, {Example_Row(), Example_Row({"Length=15", "Mnemonic=too_long"})});
        const QString html = tmp.filePath(QStringLiteral("report.html"));
        QCOMPARE(Write_Project_Report(dir, nullptr, English(), html), QString());
        const QString page = QString::fromUtf8(Read_Bytes(html));
        QVERIFY(page.contains(QLatin1String("<svg")));
        QVERIFY(page.contains(QLatin1String("too_long")));
        QVERIFY(page.contains(QLatin1String("The device image is not built while the data check fails.")));
        QVERIFY(page.contains(QLatin1String("Error row 2!! [KNX in Write] Length must be between 1 and 14")));
        QVERIFY(!page.contains(QLatin1String("Checksum:")));
        QVERIFY(page.contains(QLatin1String("Not placed: row 2: Length must be between 1 and 14")));
    }

    void gridStandsInForTheFile()
    {
        QTemporaryDir tmp;
        const QString dir = Make_Project(tmp, {Example_Row({"Mnemonic=saved"})});
        Text_Table grid = Fresh_KNX_Table();
        KNX_Command_Row row = {"Y", "1.1.1", "1/1/1", "Write", "Low", "None", "N", "N", "N", "N", "N", "", "0", "No", "1", "edited <&>"};
        Set_Row(grid, 1, row);
        Set_Row(grid, 2, row);
        Report_Data data;
        QCOMPARE(Gather_Report(dir, &grid, English(), data), QString());
        QCOMPARE(data.image_error, QString());
        QCOMPARE(data.image_commands, 2u);
        QCOMPARE(data.map.shared.size(), 1);
        const QString page = QString::fromUtf8(Report_Html_Page(data, English()));
        QVERIFY(page.contains(QLatin1String("edited &lt;&amp;&gt;")));
        QVERIFY(!page.contains(QLatin1String("saved")));
    }

    void unwritable()
    {
        QTemporaryDir tmp;
        const QString dir = Make_Project(tmp, {Example_Row()});
        const QString error = Write_Project_Report(dir, nullptr, English(), tmp.filePath(QStringLiteral("none/report.pdf")));
        QVERIFY(error.contains(QLatin1String("none")));
    }
};

QTEST_MAIN(TestReport)
#include "tst_report.moc"
