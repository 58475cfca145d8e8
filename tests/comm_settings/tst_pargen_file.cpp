#include "comm_settings/pargen_file.h"
#include "common/test_support.h"
#include "xml/xml_document.h"

#include <QDir>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

using namespace lw;

Q_DECLARE_METATYPE(lw::ParGen_Values)

namespace {

QByteArray Par_Gen(const QByteArray& children)
{
    return "<Par_Gen>" + children + "</Par_Gen>";
}

} // namespace

class TestParGenFile : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_path;

    ParGen_Values Load_Bytes(const QByteArray& bytes, QString* error = nullptr)
    {
        test::Write_Bytes(m_path, bytes);
        ParGen_Values values;
        values.KNX_ID_DEV = QStringLiteral("stale");
        const QString e = Load_ParGen(m_path, values);
        if (error)
            *error = e;
        else
            [&] { QVERIFY2(e.isEmpty(), qPrintable(e)); }();
        return values;
    }

private Q_SLOTS:
    void init()
    {
        QVERIFY(m_dir.isValid());
        m_path = m_dir.filePath(QStringLiteral("ParGen.xml"));
        QFile::remove(m_path);
    }

    void missingFileGivesDefaults()
    {
        ParGen_Values values;
        values.PROFINET_IP1 = QStringLiteral("stale");
        QVERIFY(Load_ParGen(m_path, values).isEmpty());
        QCOMPARE(values.KNX_TYPE, 0);
        QCOMPARE(values.KNX_ID_DEV, QStringLiteral("1.1.200"));
        const QStringList octets{values.PROFINET_IP1,  values.PROFINET_IP2,  values.PROFINET_IP3,  values.PROFINET_IP4,
                                 values.PROFINET_SM1,  values.PROFINET_SM2,  values.PROFINET_SM3,  values.PROFINET_SM4,
                                 values.PROFINET_GAT1, values.PROFINET_GAT2, values.PROFINET_GAT3, values.PROFINET_GAT4};
        QCOMPARE(octets.join(u','), QStringLiteral("192,168,0,5,255,255,255,0,192,168,0,1"));
        QCOMPARE(values.PROFINET_EN_GAT, false);
        QCOMPARE(values.PROFINET_NAME_STA, QStringLiteral("devicename1"));
    }

    void oneElement()
    {
        ParGen_Values expected;
        expected.PROFINET_IP4 = QStringLiteral("77");
        QCOMPARE(Load_Bytes(Par_Gen("<PROFINET_IP4>77</PROFINET_IP4>")), expected);
    }

    void orderDoesNotMatterFirstCounts()
    {
        const ParGen_Values v = Load_Bytes(Par_Gen("<PROFINET_NAME_STA>b</PROFINET_NAME_STA><PROFINET_IP1>10</PROFINET_IP1>"
                                                   "<KNX_TYPE>1</KNX_TYPE><PROFINET_IP1>11</PROFINET_IP1>"));
        QCOMPARE(v.PROFINET_IP1, QStringLiteral("10"));
        QCOMPARE(v.PROFINET_NAME_STA, QStringLiteral("b"));
        QCOMPARE(v.KNX_TYPE, 1);
    }

    void rootNameNotTested()
    {
        QCOMPARE(Load_Bytes("<Other><PROFINET_SM4>128</PROFINET_SM4></Other>").PROFINET_SM4, QStringLiteral("128"));
    }

    void gatewayFlag_data()
    {
        QTest::addColumn<QByteArray>("element");
        QTest::addColumn<bool>("set");
        QTest::newRow("1") << QByteArray("<PROFINET_EN_GAT>1</PROFINET_EN_GAT>") << true;
        QTest::newRow("1 as character data") << QByteArray("<PROFINET_EN_GAT><![CDATA[1]]></PROFINET_EN_GAT>") << true;
        QTest::newRow("0") << QByteArray("<PROFINET_EN_GAT>0</PROFINET_EN_GAT>") << false;
        QTest::newRow("blank before 1") << QByteArray("<PROFINET_EN_GAT> 1</PROFINET_EN_GAT>") << false;
        QTest::newRow("blank after 1") << QByteArray("<PROFINET_EN_GAT>1 </PROFINET_EN_GAT>") << false;
        QTest::newRow("true") << QByteArray("<PROFINET_EN_GAT>true</PROFINET_EN_GAT>") << false;
        QTest::newRow("01") << QByteArray("<PROFINET_EN_GAT>01</PROFINET_EN_GAT>") << false;
        QTest::newRow("empty") << QByteArray("<PROFINET_EN_GAT/>") << false;
        QTest::newRow("missing") << QByteArray() << false;
    }

    void gatewayFlag()
    {
        QFETCH(QByteArray, element);
        QFETCH(bool, set);
        QCOMPARE(Load_Bytes(Par_Gen(element)).PROFINET_EN_GAT, set);
    }

    void knxType_data()
    {
        QTest::addColumn<QByteArray>("element");
        QTest::addColumn<int>("type");
        QTest::newRow("1") << QByteArray("<KNX_TYPE>1</KNX_TYPE>") << 1;
        QTest::newRow("7") << QByteArray("<KNX_TYPE>7</KNX_TYPE>") << 7;
        QTest::newRow("-1") << QByteArray("<KNX_TYPE>-1</KNX_TYPE>") << -1;
        QTest::newRow("leading blank") << QByteArray("<KNX_TYPE> 1</KNX_TYPE>") << 1;
        QTest::newRow("hex") << QByteArray("<KNX_TYPE>$1</KNX_TYPE>") << 1;
        QTest::newRow("trailing blank") << QByteArray("<KNX_TYPE>1 </KNX_TYPE>") << 0;
        QTest::newRow("abc") << QByteArray("<KNX_TYPE>abc</KNX_TYPE>") << 0;
        QTest::newRow("empty") << QByteArray("<KNX_TYPE></KNX_TYPE>") << 0;
        QTest::newRow("missing") << QByteArray() << 0;
        QTest::newRow("child element") << QByteArray("<KNX_TYPE><x>1</x></KNX_TYPE>") << 0;
    }

    void knxType()
    {
        QFETCH(QByteArray, element);
        QFETCH(int, type);
        QCOMPARE(Load_Bytes(Par_Gen(element)).KNX_TYPE, type);
    }

    void textElements_data()
    {
        QTest::addColumn<QByteArray>("children");
        QTest::addColumn<QString>("id");
        QTest::newRow("empty element") << QByteArray("<KNX_ID_DEV/>") << "";
        QTest::newRow("blanks kept") << QByteArray("<KNX_ID_DEV> 1.1.2 </KNX_ID_DEV>") << " 1.1.2 ";
        QTest::newRow("only a blank") << QByteArray("<KNX_ID_DEV> </KNX_ID_DEV>") << " ";
        QTest::newRow("escapes") << QByteArray("<KNX_ID_DEV>&lt;&amp;&#65;</KNX_ID_DEV>") << "<&A";
        QTest::newRow("undeclared entity kept") << QByteArray("<KNX_ID_DEV>&secret;</KNX_ID_DEV>") << "&secret;";
        QTest::newRow("child element gives default") << QByteArray("<KNX_ID_DEV><a/></KNX_ID_DEV>") << "1.1.200";
        QTest::newRow("mixed content gives default") << QByteArray("<KNX_ID_DEV>1<a/>2</KNX_ID_DEV>") << "1.1.200";
        QTest::newRow("comment inside gives default") << QByteArray("<KNX_ID_DEV>1<!--c--></KNX_ID_DEV>") << "1.1.200";
        QTest::newRow("instruction of that name is no element")
            << QByteArray("<?KNX_ID_DEV x?><KNX_ID_DEV>2.2.2</KNX_ID_DEV>") << "2.2.2";
        QTest::newRow("nested element is not looked at") << QByteArray("<a><KNX_ID_DEV>3.3.3</KNX_ID_DEV></a>")
                                                         << "1.1.200";
    }

    void textElements()
    {
        QFETCH(QByteArray, children);
        QFETCH(QString, id);
        QCOMPARE(Load_Bytes(Par_Gen(children)).KNX_ID_DEV, id);
    }

    void notTheRootFirst_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("declaration") << QByteArray("<?xml version=\"1.0\"?>" + Par_Gen("<PROFINET_IP1>1</PROFINET_IP1>"));
        QTest::newRow("comment") << QByteArray("<!--c-->" + Par_Gen("<PROFINET_IP1>1</PROFINET_IP1>"));
        QTest::newRow("instruction") << QByteArray("<?pi x?>" + Par_Gen("<PROFINET_IP1>1</PROFINET_IP1>"));
    }

    void notTheRootFirst()
    {
        QFETCH(QByteArray, bytes);
        QCOMPARE(Load_Bytes(bytes), ParGen_Values());
    }

    void roundTrip_data()
    {
        QTest::addColumn<ParGen_Values>("values");
        QTest::newRow("defaults") << ParGen_Values();
        ParGen_Values v;
        v.KNX_TYPE = 1;
        v.KNX_ID_DEV = QStringLiteral(" 1.1.200 ");
        v.PROFINET_IP1 = QStringLiteral("010");
        v.PROFINET_IP2 = QStringLiteral(" 7");
        v.PROFINET_IP3 = QString();
        v.PROFINET_SM1 = QStringLiteral("$FF");
        v.PROFINET_GAT1 = QStringLiteral("999");
        v.PROFINET_GAT2 = QStringLiteral("a\"b'c&d<e>f");
        v.PROFINET_GAT3 = QStringLiteral(" ");
        v.PROFINET_EN_GAT = true;
        v.PROFINET_NAME_STA = QString::fromUtf8("küche-π");
        QTest::newRow("typed texts") << v;
        v.KNX_TYPE = -1;
        v.PROFINET_EN_GAT = false;
        QTest::newRow("no type selected") << v;
        v.KNX_TYPE = 7;
        QTest::newRow("type outside the list") << v;
    }

    void roundTrip()
    {
        QFETCH(ParGen_Values, values);
        QVERIFY(Save_ParGen(values, m_path).isEmpty());
        QCOMPARE(Load_Bytes(test::Read_Bytes(m_path)), values);
    }

    void savedLayout()
    {
        test::Write_Bytes(m_path, "<?xml version=\"1.0\"?><!--old--><Par_Gen/>");
        ParGen_Values v;
        v.PROFINET_IP3 = QString();
        QVERIFY(Save_ParGen(v, m_path).isEmpty());
        QCOMPARE(test::Read_Bytes(m_path),
                 QByteArray("<Par_Gen><KNX_TYPE>0</KNX_TYPE><KNX_ID_DEV>1.1.200</KNX_ID_DEV>"
                            "<PROFINET_IP1>192</PROFINET_IP1><PROFINET_IP2>168</PROFINET_IP2><PROFINET_IP3/>"
                            "<PROFINET_IP4>5</PROFINET_IP4><PROFINET_SM1>255</PROFINET_SM1><PROFINET_SM2>255</PROFINET_SM2>"
                            "<PROFINET_SM3>255</PROFINET_SM3><PROFINET_SM4>0</PROFINET_SM4><PROFINET_GAT1>192</PROFINET_GAT1>"
                            "<PROFINET_GAT2>168</PROFINET_GAT2><PROFINET_GAT3>0</PROFINET_GAT3><PROFINET_GAT4>1</PROFINET_GAT4>"
                            "<PROFINET_EN_GAT>0</PROFINET_EN_GAT><PROFINET_NAME_STA>devicename1</PROFINET_NAME_STA>"
                            "</Par_Gen><!--SW_VERSION = 1.002-->"));
        xml::Document doc;
        QVERIFY(doc.Load(m_path).isEmpty());
        const std::vector<xml::Node> top = doc.Top_Level();
        QCOMPARE(top.size(), size_t(2));
        QCOMPARE(top[0].Name(), QStringLiteral("Par_Gen"));
        QCOMPARE(top[0].Child_Count(), 16);
        QCOMPARE(top[1].Raw().type(), pugi::node_comment);
    }

    void saveFailureKeepsTheOldFile()
    {
        test::Write_Bytes(m_path, "old");
        QVERIFY(!Save_ParGen(ParGen_Values(), m_dir.filePath(QStringLiteral("missing/ParGen.xml"))).isEmpty());
        QVERIFY(QDir().mkpath(m_dir.filePath(QStringLiteral("folder.xml"))));
        QVERIFY(!Save_ParGen(ParGen_Values(), m_dir.filePath(QStringLiteral("folder.xml"))).isEmpty());
        QCOMPARE(test::Read_Bytes(m_path), QByteArray("old"));
    }

    void unreadableFiles_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("not well-formed") << Par_Gen("<PROFINET_IP1>1</PROFINET_IP2>");
        QTest::newRow("unclosed root") << QByteArray("<Par_Gen><PROFINET_IP1>1</PROFINET_IP1>");
        QTest::newRow("empty file") << QByteArray();
        QTest::newRow("plain text") << QByteArray("192.168.0.5");
    }

    void unreadableFiles()
    {
        QFETCH(QByteArray, bytes);
        QString error;
        const ParGen_Values v = Load_Bytes(bytes, &error);
        QVERIFY(!error.isEmpty());
        QVERIFY2(error.contains(m_path), qPrintable(error));
        QCOMPARE(v, ParGen_Values());
    }

    void directoryIsAnError()
    {
        QVERIFY(QDir().mkpath(m_path));
        ParGen_Values values;
        const QString error = Load_ParGen(m_path, values);
        QVERIFY(error.contains(m_path));
        QCOMPARE(values, ParGen_Values());
        QDir(m_path).removeRecursively();
    }

    // Random bytes, some behind the start of a real file, are no file: each
    // load reports the path and leaves every value at its default.
    void randomBytes()
    {
        QRandomGenerator rng(3151);
        for (int i = 0; i < 50; ++i) {
            QByteArray bytes(int(rng.bounded(1, 2048)), Qt::Uninitialized);
            for (char& b : bytes)
                b = char(rng.bounded(256));
            if (i % 2)
                bytes.prepend(QByteArray("<Par_Gen><KNX_ID_DEV>").left(int(rng.bounded(22))));
            QString error;
            const ParGen_Values values = Load_Bytes(bytes, &error);
            QVERIFY2(error.contains(m_path), qPrintable(QString::number(i)));
            QCOMPARE(values, ParGen_Values());
        }
    }

    void largeFiles()
    {
        QByteArray bytes = "<Par_Gen>";
        const QByteArray filler = "<PROFINET_FILLER>" + QByteArray(480, 'f') + "</PROFINET_FILLER>";
        // Just below the reader's limit of 4 MB.
        for (int i = 0; i < 5500; ++i)
            bytes += filler;
        const QByteArray megabyte(1 << 20, 'n');
        bytes += "<PROFINET_NAME_STA>" + megabyte + "</PROFINET_NAME_STA><PROFINET_IP2>3</PROFINET_IP2></Par_Gen>";
        QVERIFY(bytes.size() > 3'800'000 && bytes.size() <= ParGen_File_Limit);
        const ParGen_Values v = Load_Bytes(bytes);
        QCOMPARE(v.PROFINET_NAME_STA, QString::fromLatin1(megabyte));
        QCOMPARE(v.PROFINET_IP2, QStringLiteral("3"));
    }

    void entityDeclarations()
    {
        const QString secretPath = m_dir.filePath(QStringLiteral("secret.txt"));
        test::Write_Bytes(secretPath, "TOPSECRET");
        QByteArray laughs = "<!ENTITY l0 \"lol\">";
        for (int i = 1; i < 12; ++i)
            laughs += "<!ENTITY l" + QByteArray::number(i) + " \""
                + QByteArray("&l").append(QByteArray::number(i - 1)).append(';').repeated(10) + "\">";
        const QByteArray bytes = "<!DOCTYPE Par_Gen [<!ENTITY secret SYSTEM \"file://"
            + QUrl::toPercentEncoding(secretPath, "/") + "\">" + laughs + "]>"
            + Par_Gen("<KNX_ID_DEV>&secret;</KNX_ID_DEV><PROFINET_NAME_STA>&l11;</PROFINET_NAME_STA>");
        // The type declaration is the first node, so the root holds nothing: all defaults.
        QCOMPARE(Load_Bytes(bytes), ParGen_Values());
    }

    void knxTypeSelection_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<int>("index");
        QTest::newRow("KNX TP") << 0 << 0;
        QTest::newRow("KNXnet/IP") << 1 << 1;
        QTest::newRow("outside") << 7 << -1;
        QTest::newRow("none") << -1 << -1;
    }

    void knxTypeSelection()
    {
        QFETCH(int, type);
        QFETCH(int, index);
        QCOMPARE(KNX_Type_Selection(type), index);
        QCOMPARE(KNX_Type_Items, QStringList({QStringLiteral("KNX TP"), QStringLiteral("KNXnet/IP")}));
    }
};

QTEST_GUILESS_MAIN(TestParGenFile)
#include "tst_pargen_file.moc"
