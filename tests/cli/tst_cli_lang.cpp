#include "cli/cli_io.h"
#include "cli/cli_run.h"
#include "cli/cmd_lang.h"
#include "lang/language_file.h"
#include "lang/language_table.h"

#include "common/test_support.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {

using Run = lw::test::Cli_Run;
using lw::test::Run_Tool;

} // namespace

class TestCliLang : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;

    QString Write(const QString& name, const QByteArray& bytes)
    {
        const QString path = m_dir.filePath(name);
        lw::test::Write_Bytes(path, bytes);
        return path;
    }

private Q_SLOTS:
    void initTestCase() { QVERIFY(m_dir.isValid()); }

    void escape_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("escaped");
        QTest::newRow("plain") << " KNX " << " KNX ";
        QTest::newRow("backslash") << "a\\b" << "a\\\\b";
        QTest::newRow("tab") << "a\tb" << "a\\tb";
        QTest::newRow("LF and CR") << "a\nb\rc" << "a\\nb\\rc";
        QTest::newRow("escape-like text") << "\\n" << "\\\\n";
        QTest::newRow("empty") << "" << "";
        QTest::newRow("escape sequence") << "\x1b]0;title\x07" << "\\x1B]0;title\\x07";
        QTest::newRow("NUL and vertical tab") << QString::fromLatin1("a\0b\vc", 5) << "a\\x00b\\x0Bc";
        QTest::newRow("DEL") << "a\x7f" << "a\\x7F";
        QTest::newRow("C1: next line, control sequence introducer")
            << QString::fromUtf16(u"a\u0085b\u009B1m") << "a\\u0085b\\u009B1m";
        QTest::newRow("U+00A0 and beyond stay") << QString::fromUtf16(u"\u00A0\u00E9\u2028") << QString::fromUtf16(u"\u00A0\u00E9\u2028");
    }

    void escape()
    {
        QFETCH(QString, text);
        QFETCH(QString, escaped);
        QCOMPARE(lw::cli::Escape_Entry(text), escaped);
    }

    void langDefaultOutput()
    {
        Write("LANGUAGE/German.lng", "STR 0 = Anfang\nSTR 5 = a\\b\tc\nSTR 94 = \xC2\xB6 KNX \xC2\xB6\nSTR 7 = \xC2\xB6\xC2\xB6\n");
        const Run run = Run_Tool({"lang", m_dir.filePath("LANGUAGE"), "German"});
        QCOMPARE(run.code, 0);
        QVERIFY(run.out.endsWith('\n'));
        const QStringList lines = run.out.chopped(1).split('\n');
        QCOMPARE(lines.size(), 1200);
        QCOMPARE(lines[0], QStringLiteral("0\tAnfang"));
        QCOMPARE(lines[5], QStringLiteral("5\ta\\\\b\\tc"));
        QCOMPARE(lines[7], QStringLiteral("7\t"));
        QCOMPARE(lines[94], QStringLiteral("94\t KNX "));
        QCOMPARE(lines[9], QStringLiteral("9\tNone Configuration Opened "));
        QCOMPARE(lines[1199], QStringLiteral("1199\t "));
        for (int i = 0; i < 1200; ++i)
            QVERIFY(lines[i].startsWith(QString::number(i) + '\t'));
    }

    void langAllAddsOwnRange()
    {
        Write("ALL/German.lng", "STR 0 = Anfang\nSTR 2001 = eigen\nSTR 1500 = nie\n");
        const Run plain = Run_Tool({"lang", m_dir.filePath("ALL"), "German"});
        QCOMPARE(plain.out.count('\n'), 1200);
        const Run run = Run_Tool({"lang", "--all", m_dir.filePath("ALL"), "German"});
        QCOMPARE(run.code, 0);
        const QStringList lines = run.out.chopped(1).split('\n');
        QCOMPARE(lines.size(), 2200);
        QCOMPARE(lines[0], QStringLiteral("0\tAnfang"));
        QCOMPARE(lines[1200].section('\t', 0, 0), QStringLiteral("2000"));
        QCOMPARE(lines[1201], QStringLiteral("2001\teigen"));
        QCOMPARE(lines[2199].section('\t', 0, 0), QStringLiteral("2999"));
        QVERIFY(!run.out.contains("nie"));

        const Run json = Run_Tool({"lang", "--json", "--all", m_dir.filePath("ALL"), "German"});
        const QJsonObject object = QJsonDocument::fromJson(json.out.toUtf8()).object();
        QCOMPARE(object.value("entries").toArray().size(), 1200);
        const QJsonArray extended = object.value("extended").toArray();
        QCOMPARE(extended.size(), 1000);
        QCOMPARE(extended[1].toString(), QStringLiteral("eigen"));
    }

    // Texts from a file reach the terminal only escaped, in lang, lang --json
    // and lang-check.
    void controlCharactersNeverReachTheTerminal()
    {
        Write("CTRL/Evil.lng", "STR 3 = a\x1b]0;owned\x07\x1b[2J\nSTR 4 = \xC2\x9B" "31m\x7f\nSTR 9\x1bz = y\n");
        const Run text = Run_Tool({"lang", m_dir.filePath("CTRL"), "Evil"});
        const Run json = Run_Tool({"lang", "--json", m_dir.filePath("CTRL"), "Evil"});
        const Run check = Run_Tool({"lang-check", m_dir.filePath("CTRL/Evil.lng")});
        QCOMPARE(text.code, 0);
        QVERIFY(text.out.contains("3\ta\\x1B]0;owned\\x07\\x1B[2J\n"));
        QVERIFY(text.out.contains("4\t\\u009B31m\\x7F\n"));
        QVERIFY2(check.out.contains("index \"9\\x1Bz\" is not a number"), qPrintable(check.out));
        for (const Run* run : {&text, &json, &check}) {
            for (const QChar c : run->out)
                QVERIFY2(c == u'\n' || c == u'\t' || (c.unicode() >= 0x20 && c.unicode() != 0x7F
                                                     && (c.unicode() < 0x80 || c.unicode() > 0x9F)),
                         qPrintable(QString::number(c.unicode(), 16)));
        }
        const QJsonArray entries = QJsonDocument::fromJson(json.out.toUtf8()).object().value("entries").toArray();
        QCOMPARE(entries[3].toString(), QStringLiteral("a\x1b]0;owned\x07\x1b[2J"));
        QCOMPARE(entries[4].toString(), QString::fromUtf16(u"\u009B31m\u007F"));
    }

    // A language file that exists but cannot be read: one warning on stderr,
    // the table keeps its defaults.
    void langFileUnreadable()
    {
        const QString path = m_dir.filePath("BIG/Huge.lng");
        Write("BIG/Huge.lng", "STR 0 = Anfang\n");
        QFile f(path);
        QVERIFY(f.resize(lw::Language_File_Limit + 1)); // sparse: costs no disk
        const Run run = Run_Tool({"lang", m_dir.filePath("BIG"), "Huge"});
        QCOMPARE(run.code, 0);
        QCOMPARE(run.err.count(u'\n'), 1);
        QVERIFY2(run.err.startsWith("loomwright-cli: warning: ") && run.err.contains(path), qPrintable(run.err));
        QVERIFY(run.out.startsWith("0\tBegin\n"));
    }

    void langJson_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("entry0");
        QTest::newRow("file present") << "French" << "French" << QString::fromUtf8("D\xC3\xA9" "but");
        QTest::newRow("file missing: English") << "Klingon" << "English" << "Begin";
    }

    void langJson()
    {
        QFETCH(QString, name);
        QFETCH(QString, language);
        QFETCH(QString, entry0);
        Write("JSON/French.lng", "STR 0 = D\xC3\xA9" "but\n");
        const Run run = Run_Tool({"lang", "--json", m_dir.filePath("JSON"), name});
        QCOMPARE(run.code, 0);
        QJsonParseError error;
        const QJsonDocument doc = QJsonDocument::fromJson(run.out.toUtf8(), &error);
        QCOMPARE(error.error, QJsonParseError::NoError);
        const QJsonObject object = doc.object();
        QCOMPARE(object.size(), 2);
        QCOMPARE(object.value("language").toString(), language);
        const QJsonArray entries = object.value("entries").toArray();
        QCOMPARE(entries.size(), 1200);
        QCOMPARE(entries[0].toString(), entry0);
        QCOMPARE(entries[224].toString(), lw::Default_Texts()[224]);
        QCOMPARE(entries[1199].toString(), QStringLiteral(" "));
    }

    void usageErrors_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::newRow("lang without arguments") << QStringList{"lang"};
        QTest::newRow("lang with one argument") << QStringList{"lang", "dir"};
        QTest::newRow("lang with three arguments") << QStringList{"lang", "dir", "a", "b"};
        QTest::newRow("lang with unknown option") << QStringList{"lang", "dir", "a", "--xml"};
        QTest::newRow("lang-check without file") << QStringList{"lang-check"};
        QTest::newRow("lang-check with two files") << QStringList{"lang-check", "a", "b"};
        QTest::newRow("unknown command") << QStringList{"langs"};
    }

    void usageErrors()
    {
        QFETCH(QStringList, args);
        const Run run = Run_Tool(args);
        QCOMPARE(run.code, 2);
        QVERIFY(run.out.isEmpty());
        QVERIFY(!run.err.isEmpty());
    }

    void langCheckClean()
    {
        const QString path = Write("clean.lng",
                                   "; German texts\r\n\r\nStrings below\r\nSTR 0 = Anfang /#/ main window\r\n"
                                   "STR 94 = \xC2\xB6 KNX \xC2\xB6\r\nSTR 7 = \xC2\xB6\xC2\xB6\r\n");
        const Run run = Run_Tool({"lang-check", path});
        QCOMPARE(run.code, 0);
        const QStringList lines = run.out.trimmed().split('\n');
        QCOMPARE(lines.size(), 1);
        QVERIFY2(lines[0].contains("6 lines") && lines[0].contains("3 entries set"), qPrintable(lines[0]));
    }

    // One reported line per row: its line number and a word of its reason.
    void langCheckReasons_data()
    {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<QString>("reason");
        QTest::newRow("letter case") << QByteArray("str 5 = x") << "capital letters";
        QTest::newRow("index not a number") << QByteArray("STR five = x") << "not a number";
        QTest::newRow("index out of range") << QByteArray("STR 1200 = x") << "out of range";
        QTest::newRow("index between the ranges") << QByteArray("STR 1999 = x") << "out of range 0 to 1199 and 2000 to 2999";
        QTest::newRow("index past the own range") << QByteArray("STR 3000 = x") << "out of range";
        QTest::newRow("negative index") << QByteArray("STR -1 = x") << "out of range";
        QTest::newRow("no separator") << QByteArray("STR 92= x") << "no separator";
        QTest::newRow("no separator, number gone") << QByteArray("STR5=x") << "no separator";
        QTest::newRow("empty text") << QByteArray("STR 5 =") << "empty text";
        QTest::newRow("text emptied by comment") << QByteArray("STR 5 = /#/ to do") << "emptied by its \"/#/\" comment";
        QTest::newRow("unclosed pilcrow") << QByteArray("STR 5 = \xC2\xB6 open") << "unclosed pilcrow";
        QTest::newRow("lone pilcrow") << QByteArray("STR 5 = a\xC2\xB6 b") << "pilcrow";
        QTest::newRow("no =") << QByteArray("STR 5 x") << "no \"=\"";
    }

    void langCheckReasons()
    {
        QFETCH(QByteArray, line);
        QFETCH(QString, reason);
        const QString path = Write("reason.lng", "; header\nSTR 1 = fine\n" + line + "\nSTR 2 = fine\n");
        const Run run = Run_Tool({"lang-check", path});
        QCOMPARE(run.code, 1);
        const QStringList lines = run.out.trimmed().split('\n');
        QCOMPARE(lines.size(), 2);
        QVERIFY2(lines[0].startsWith("line 3: ") && lines[0].contains(reason), qPrintable(lines[0]));
        QVERIFY2(lines[1].contains("4 lines") && lines[1].contains("1 lines reported"), qPrintable(lines[1]));
    }

    void langCheckOverride()
    {
        const QString path = Write("override.lng", "STR 3 = a\nSTR 4 = b\nSTR 3 =\nSTR 3 = c\nSTR 3 = d\n");
        const Run run = Run_Tool({"lang-check", path});
        QCOMPARE(run.code, 1);
        const QStringList lines = run.out.trimmed().split('\n');
        QCOMPARE(lines.size(), 4);
        QVERIFY2(lines[0].startsWith("line 3: ") && lines[0].contains("empty text"), qPrintable(lines[0]));
        QVERIFY2(lines[1].startsWith("line 4: ") && lines[1].contains("overrides line 1"), qPrintable(lines[1]));
        QVERIFY2(lines[2].startsWith("line 5: ") && lines[2].contains("overrides line 4"), qPrintable(lines[2]));
    }

    void langCheckUnreadable()
    {
        const Run missing = Run_Tool({"lang-check", m_dir.filePath("absent.lng")});
        QCOMPARE(missing.code, 2);
        QVERIFY(!missing.err.isEmpty());
        const Run folder = Run_Tool({"lang-check", m_dir.path()});
        QCOMPARE(folder.code, 2);
    }

    // The executable itself: UTF-8 output and exit codes.
    void executable()
    {
        const QString tool = lw::test::Bin_Dir() + "/loomwright-cli";
        if (!QFileInfo::exists(tool))
            QSKIP("loomwright-cli not built");
        Write("EXE/Italiano.lng", "STR 0 = Inizio \xE8\n"); // Windows-1252 e grave
        QProcess p;
        p.start(tool, {"lang", m_dir.filePath("EXE"), "Italiano", "--json"});
        QVERIFY(p.waitForFinished(30000));
        QCOMPARE(p.exitCode(), 0);
        const QByteArray out = p.readAllStandardOutput();
        QVERIFY(out.contains("\"Inizio \xC3\xA8\""));
        QCOMPARE(QJsonDocument::fromJson(out).object().value("entries").toArray().size(), 1200);

        p.start(tool, {"lang-check", m_dir.filePath("EXE/Italiano.lng")});
        QVERIFY(p.waitForFinished(30000));
        QCOMPARE(p.exitCode(), 0);
        p.start(tool, {"lang"});
        QVERIFY(p.waitForFinished(30000));
        QCOMPARE(p.exitCode(), 2);
    }
};

QTEST_GUILESS_MAIN(TestCliLang)
#include "tst_cli_lang.moc"
