#include "xml/xml_document.h"

#include "common/test_support.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using lw::xml::Document;
using lw::xml::Node;

class TestXmlDocument : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;

    static Document Parse(const QByteArray& bytes)
    {
        Document doc;
        const QString error = doc.Load_Bytes(bytes);
        if (!error.isEmpty())
            qWarning("%s", qPrintable(error));
        return doc;
    }

private Q_SLOTS:
    void initTestCase() { QVERIFY(m_dir.isValid()); }

    // The root is the first top-level node whatever its kind; a root that is
    // not the expected element leaves every lookup empty.
    void firstNodeIsRoot_data()
    {
        QTest::addColumn<QByteArray>("xml");
        QTest::addColumn<bool>("rootIsElement");
        QTest::addColumn<QString>("value");   // text of a/b, "<none>" when the lookup fails

        QTest::newRow("element first") << QByteArray("<r><a><b>x</b></a></r>") << true << "x";
        QTest::newRow("root name not examined") << QByteArray("<Other><a><b>x</b></a></Other>") << true << "x";
        QTest::newRow("declaration first") << QByteArray("<?xml version=\"1.0\"?><r><a><b>x</b></a></r>") << false << "<none>";
        QTest::newRow("comment first") << QByteArray("<!-- c --><r><a><b>x</b></a></r>") << false << "<none>";
        QTest::newRow("processing instruction first") << QByteArray("<?pi data?><r><a><b>x</b></a></r>") << false << "<none>";
        QTest::newRow("document type first") << QByteArray("<!DOCTYPE r><r><a><b>x</b></a></r>") << false << "<none>";
        QTest::newRow("comment after root") << QByteArray("<r><a><b>x</b></a></r><!--SW_VERSION = 1.002-->") << true << "x";
        QTest::newRow("UTF-8 mark before root") << QByteArray("\xEF\xBB\xBF<r><a><b>x</b></a></r>") << true << "x";
    }

    void firstNodeIsRoot()
    {
        QFETCH(QByteArray, xml);
        QFETCH(bool, rootIsElement);
        QFETCH(QString, value);
        const Document doc = Parse(xml);
        const Node root = doc.First_Node();
        QVERIFY(!root.Is_Null());
        QCOMPARE(root.Is_Element(), rootIsElement);
        QCOMPARE(root.Find("a").Find("b").Text().value_or("<none>"), value);
    }

    void text_data()
    {
        QTest::addColumn<QByteArray>("xml");
        QTest::addColumn<bool>("readable");
        QTest::addColumn<QString>("text");

        QTest::newRow("text") << QByteArray("<r>abc</r>") << true << "abc";
        QTest::newRow("empty element") << QByteArray("<r/>") << true << "";
        QTest::newRow("open and close") << QByteArray("<r></r>") << true << "";
        QTest::newRow("blanks only") << QByteArray("<r>  </r>") << true << "  ";
        QTest::newRow("leading and trailing blanks") << QByteArray("<r>  a b  </r>") << true << "  a b  ";
        QTest::newRow("escapes") << QByteArray("<r>&lt;&amp;&gt;&quot;&apos;&#233;</r>") << true << QString("<&>\"'") + QChar(0xE9);
        QTest::newRow("character data") << QByteArray("<r><![CDATA[<x>]]></r>") << true << "<x>";
        QTest::newRow("child element") << QByteArray("<r><a/></r>") << false << "";
        QTest::newRow("mixed content") << QByteArray("<r>a<b/>c</r>") << false << "";
        QTest::newRow("text and comment") << QByteArray("<r>a<!--c--></r>") << false << "";
        QTest::newRow("comment only") << QByteArray("<r><!--c--></r>") << false << "";
    }

    void text()
    {
        QFETCH(QByteArray, xml);
        QFETCH(bool, readable);
        QFETCH(QString, text);
        const Document doc = Parse(xml);
        const std::optional<QString> got = doc.First_Node().Text();
        QCOMPARE(got.has_value(), readable);
        if (readable)
            QCOMPARE(*got, text);
    }

    void lookups()
    {
        const Document doc = Parse("<r a=\"1\" e=\"\"><Item>x</Item><item>y</item><item>z</item></r>");
        const Node root = doc.First_Node();
        QCOMPARE(root.Find("item").Text().value_or("-"), QStringLiteral("y")); // exact case, first of its name
        QCOMPARE(root.Find("Item").Text().value_or("-"), QStringLiteral("x"));
        QVERIFY(root.Find("ITEM").Is_Null());
        QVERIFY(!root.Find("ITEM").Text().has_value());
        QVERIFY(!root.Find("x").Find("y").Attribute("a").has_value());
        QCOMPARE(root.Attribute("a").value_or("-"), QStringLiteral("1"));
        QCOMPARE(root.Attribute("e").value_or("-"), QStringLiteral(""));
        QVERIFY(!root.Attribute("A").has_value());
        QCOMPARE(root.Child_Count(), 3);
        QCOMPARE(int(doc.Top_Level().size()), 1);
    }

    // Entity declarations are kept as they are: nothing is expanded and no
    // other file is read.
    void entitiesNotExpanded()
    {
        const QString secret = m_dir.filePath("secret.txt");
        lw::test::Write_Bytes(secret, "SECRET");
        const QByteArray xml = "<!DOCTYPE r [<!ENTITY e \"expanded\"><!ENTITY f SYSTEM \"file://" + secret.toUtf8()
                               + "\"><!ENTITY l0 \"ha\"><!ENTITY l1 \"&l0;&l0;&l0;&l0;&l0;&l0;&l0;&l0;\">]>"
                                 "<r><a>&e;</a><b>&f;</b><c>&l1;</c></r>";
        Document doc;
        QCOMPARE(doc.Load_Bytes(xml), QString());
        QVERIFY(!doc.First_Node().Is_Element());
        const Node root = doc.Top_Level().back();
        for (const char* name : {"a", "b", "c"}) {
            const QString text = root.Find(name).Text().value_or(QString());
            QVERIFY2(!text.contains("expanded") && !text.contains("SECRET") && !text.contains("haha"), qPrintable(text));
        }
    }

    // Every text a writer stores reads back unchanged; the file starts with the
    // root, has no declaration, no added whitespace, the version comment after
    // the root, and is UTF-8.
    void roundTrip_data()
    {
        QTest::addColumn<QString>("value");
        QTest::newRow("plain") << "Project 1";
        QTest::newRow("leading and trailing blanks") << "  padded  ";
        QTest::newRow("blanks only") << "   ";
        QTest::newRow("empty") << "";
        QTest::newRow("quotes") << "say \"No\" or 'yes'";
        QTest::newRow("markup characters") << "a<b>&c;&amp;]]>";
        QTest::newRow("tab") << "a\tb";
        QTest::newRow("non-Latin") << QString::fromUtf8("caf\xC3\xA9 \xE2\x82\xAC \xE4\xB8\xAD \xF0\x9F\x98\x80");
        QTest::newRow("long ASCII") << QString(300, QLatin1Char('x')) + "end";
        QTest::newRow("long, non-ASCII at the end") << QString(200, QLatin1Char('y')) + QString::fromUtf8("caf\xC3\xA9");
    }

    void roundTrip()
    {
        QFETCH(QString, value);
        Document doc;
        Node root = doc.Add_Root("Table");
        root.Add_Child("VALUE").Set_Text(value);
        Node row = root.Add_Child("row");
        row.Set_Attribute("cell", value);
        row.Set_Attribute("cell", value); // writing again replaces
        root.Add_Child("added").Add_Attribute("cell", value);
        doc.Add_Comment(lw::xml::Version_Comment());
        const QString path = m_dir.filePath("round.xml");
        QCOMPARE(doc.Save(path), QString());

        const QByteArray bytes = lw::test::Read_Bytes(path);
        QVERIFY(bytes.startsWith("<Table>"));
        QVERIFY(!bytes.contains("<?xml"));
        QVERIFY(!bytes.contains('\n'));
        QVERIFY(bytes.endsWith("</Table><!--SW_VERSION = 1.002-->"));
        if (value.contains(QChar(0xE9)))
            QVERIFY(bytes.contains("caf\xC3\xA9"));

        Document back;
        QCOMPARE(back.Load(path), QString());
        const Node table = back.First_Node();
        QCOMPARE(table.Name(), QStringLiteral("Table"));
        QCOMPARE(table.Find("VALUE").Text().value_or("<none>"), value);
        QCOMPARE(table.Find("row").Attribute("cell").value_or("<none>"), value);
        QCOMPARE(table.Find("row").Raw().attributes_begin()->next_attribute(), pugi::xml_attribute());
        QCOMPARE(table.Find("added").Attribute("cell").value_or("<none>"), value);
        QCOMPARE(int(back.Top_Level().size()), 2);
        QCOMPARE(back.Top_Level()[1].Raw().type(), pugi::node_comment);
    }

    void setTextReplacesContent()
    {
        Document doc;
        Node root = doc.Add_Root("r");
        Node a = root.Add_Child("a");
        a.Add_Child("inner");
        a.Set_Text("x");
        QCOMPARE(a.Text().value_or("<none>"), QStringLiteral("x"));
        a.Set_Text("");
        QCOMPARE(a.Text().value_or("<none>"), QStringLiteral(""));
    }

    void loadFailures_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("missing") << "missing";
        QTest::newRow("folder") << "folder";
        QTest::newRow("not well-formed") << "bad";
        QTest::newRow("empty file") << "empty";
        QTest::newRow("random bytes") << "random";
    }

    void loadFailures()
    {
        QFETCH(QString, kind);
        const QString path = m_dir.filePath("load-" + kind + ".xml");
        if (kind == "folder")
            QVERIFY(QDir().mkpath(path));
        else if (kind == "bad")
            lw::test::Write_Bytes(path, "<r><a></r>");
        else if (kind == "empty")
            lw::test::Write_Bytes(path, "");
        else if (kind == "random")
            lw::test::Write_Bytes(path, QByteArray("\x01\xFF<\x00>&;", 7).repeated(1000));
        else if (kind != "missing")
            QFAIL(qPrintable("no input for the case " + kind));
        Document doc = Parse("<old/>");
        QVERIFY(!doc.Load(path).isEmpty());
        QVERIFY(doc.First_Node().Is_Null()); // the old content is gone, nothing half-read
    }

    // A failed save reports and leaves what was there.
    void saveFailures()
    {
        Document doc;
        doc.Add_Root("r");
        const QString underFile = m_dir.filePath("plain-file");
        lw::test::Write_Bytes(underFile, "keep");
        QVERIFY(!doc.Save(underFile + "/x.xml").isEmpty());
        QCOMPARE(lw::test::Read_Bytes(underFile), QByteArray("keep"));

        const QString folder = m_dir.filePath("target-is-folder.xml");
        QVERIFY(QDir().mkpath(folder));
        QVERIFY(!doc.Save(folder).isEmpty());
        QVERIFY(QFileInfo(folder).isDir());
    }

    void saveIntoReadOnlyFolder()
    {
        const QString folder = m_dir.filePath("read-only");
        QVERIFY(QDir().mkpath(folder));
        const QString path = folder + "/kept.xml";
        lw::test::Write_Bytes(path, "<old/>");
        QVERIFY(QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner));
        QFile probe(folder + "/probe");
        const bool writable = probe.open(QIODevice::WriteOnly);
        if (writable) {
            probe.remove();
            QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
            QSKIP("the folder stays writable for this user (root)");
        }
        Document doc;
        doc.Add_Root("new");
        const QString error = doc.Save(path);
        QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QVERIFY(!error.isEmpty());
        QCOMPARE(lw::test::Read_Bytes(path), QByteArray("<old/>"));
    }
};

QTEST_APPLESS_MAIN(TestXmlDocument)
#include "tst_xml_document.moc"
