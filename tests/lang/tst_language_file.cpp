#include "lang/language_file.h"
#include "lang/language_table.h"

#include "common/test_support.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

using lw::Language_Line;
using lw::Line_Outcome;
using lw::Pilcrow;
using lw::ProgramState;

namespace {

const QString P(QChar(0x00B6)); // pilcrow

// Literals that hold NUL characters.
template <qsizetype N>
QString Text(const char (&s)[N]) { return QString::fromLatin1(s, N - 1); }
template <qsizetype N>
QByteArray Bytes(const char (&s)[N]) { return QByteArray(s, N - 1); }

QByteArray Utf16(const QString& text, bool littleEndian)
{
    QByteArray out;
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (littleEndian)
            out.append(char(u & 0xFF)).append(char(u >> 8));
        else
            out.append(char(u >> 8)).append(char(u & 0xFF));
    }
    return out;
}

} // namespace

class TestLanguageFile : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;

    QString Write(const QString& name, const QByteArray& bytes)
    {
        const QString path = m_dir.filePath(name);
        lw::test::Write_Bytes(path, bytes);
        return path;
    }

    QStringList Read(const QByteArray& bytes, bool* ok = nullptr)
    {
        QStringList table = lw::Default_Texts();
        const bool read = lw::Read_Language_File(Write(QStringLiteral("file.lng"), bytes), table, lw::Lang_Table_Size);
        if (ok)
            *ok = read;
        return table;
    }

private Q_SLOTS:
    void initTestCase() { QVERIFY(m_dir.isValid()); }

    void parseLine_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<Line_Outcome>("outcome");
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("separatorMissing");
        QTest::addColumn<Pilcrow>("pilcrow");

        using O = Line_Outcome;
        using Q = Pilcrow;
        QTest::newRow("plain entry") << "STR 5 = Hello" << O::Applied << 5 << "Hello" << false << Q::None;
        QTest::newRow("blanks before STR") << "   STR 5 = Hello" << O::Applied << 5 << "Hello" << false << Q::None;
        QTest::newRow("tab and NUL around the line") << Text("\t\0STR 5 = Hello \r") << O::Applied << 5 << "Hello" << false << Q::None;
        QTest::newRow("lower-case str") << "str 5 = x" << O::Wrong_Case << -1 << "" << false << Q::None;
        QTest::newRow("mixed-case Str") << "Str 5 = x" << O::Wrong_Case << -1 << "" << false << Q::None;
        QTest::newRow("comment starting with Str") << "Strings of the German file" << O::Not_Entry << -1 << "" << false << Q::None;
        QTest::newRow("comment starting with str and =") << "stream = x" << O::Not_Entry << -1 << "" << false << Q::None;
        QTest::newRow("empty line") << "" << O::Not_Entry << -1 << "" << false << Q::None;
        QTest::newRow("other line") << "; translated by someone" << O::Not_Entry << -1 << "" << false << Q::None;
        QTest::newRow("last index") << "STR 1199 = Last" << O::Applied << 1199 << "Last" << false << Q::None;
        QTest::newRow("first index") << "STR 0 = First" << O::Applied << 0 << "First" << false << Q::None;
        QTest::newRow("index 1200") << "STR 1200 = x" << O::Index_Out_Of_Range << 1200 << "" << false << Q::None;
        QTest::newRow("index 1999") << "STR 1999 = x" << O::Index_Out_Of_Range << 1999 << "" << false << Q::None;
        QTest::newRow("first own index") << "STR 2000 = Own" << O::Applied << 2000 << "Own" << false << Q::None;
        QTest::newRow("last own index") << "STR2999 = Own" << O::Applied << 2999 << "Own" << false << Q::None;
        QTest::newRow("index 3000") << "STR 3000 = x" << O::Index_Out_Of_Range << 3000 << "" << false << Q::None;
        QTest::newRow("negative index") << "STR -1 = x" << O::Index_Out_Of_Range << -1 << "" << false << Q::None;
        QTest::newRow("index overflow") << "STR 2147483648 = x" << O::Index_Not_Number << -1 << "" << false << Q::None;
        QTest::newRow("index letters") << "STR abc = x" << O::Index_Not_Number << -1 << "" << false << Q::None;
        QTest::newRow("index empty") << "STR = x" << O::Index_Not_Number << -1 << "" << false << Q::None;
        QTest::newRow("= right after STR") << "STR=x" << O::Index_Not_Number << -1 << "" << false << Q::None;
        QTest::newRow("no =") << "STR 5 x" << O::No_Equals << -1 << "" << false << Q::None;
        QTest::newRow("no separator loses last digit") << "STR12=x" << O::Applied << 1 << "x" << true << Q::None;
        QTest::newRow("no separator after blank") << "STR 12=x" << O::Applied << 1 << "x" << true << Q::None;
        QTest::newRow("no separator, one digit") << "STR5=x" << O::Index_Not_Number << -1 << "" << true << Q::None;
        QTest::newRow("no separator brings 1200 in range") << "STR 1200= x" << O::Applied << 120 << "x" << true << Q::None;
        QTest::newRow("blanks around the number") << "STR   7    = x" << O::Applied << 7 << "x" << false << Q::None;
        QTest::newRow("tab as separator") << "STR 7\t= x" << O::Applied << 7 << "x" << false << Q::None;
        QTest::newRow("leading zero") << "STR 07 = x" << O::Applied << 7 << "x" << false << Q::None;
        QTest::newRow("hex index $") << "STR $1F = x" << O::Applied << 31 << "x" << false << Q::None;
        QTest::newRow("hex index 0x") << "STR 0x10 = x" << O::Applied << 16 << "x" << false << Q::None;
        QTest::newRow("plus sign") << "STR +3 = x" << O::Applied << 3 << "x" << false << Q::None;
        QTest::newRow("text stripped") << "STR 5 =   spaced  text \t" << O::Applied << 5 << "spaced  text" << false << Q::None;
        QTest::newRow("text without blank after =") << "STR 5 =x" << O::Applied << 5 << "x" << false << Q::None;
        QTest::newRow("empty text") << "STR 5 =" << O::Empty_Text << 5 << "" << false << Q::None;
        QTest::newRow("blank text") << "STR 5 =  \t " << O::Empty_Text << 5 << "" << false << Q::None;
        QTest::newRow("later = kept") << "STR 5 = a=b = c" << O::Applied << 5 << "a=b = c" << false << Q::None;
        QTest::newRow("comment cut") << "STR 5 = text  /#/ comment" << O::Applied << 5 << "text" << false << Q::None;
        QTest::newRow("first comment mark cuts") << "STR 5 = a/#/b/#/c" << O::Applied << 5 << "a" << false << Q::None;
        QTest::newRow("comment only") << "STR 5 = /#/ comment" << O::Comment_Emptied << 5 << "" << false << Q::None;
        QTest::newRow("incomplete comment mark") << "STR 5 = a /# b" << O::Applied << 5 << "a /# b" << false << Q::None;
        QTest::newRow("pilcrows keep blanks") << "STR 94 = " + P + " KNX " + P << O::Applied << 94 << " KNX " << false << Q::Closed;
        QTest::newRow("two pilcrows: empty text") << "STR 5 = " + P + P << O::Applied << 5 << "" << false << Q::Closed;
        QTest::newRow("unclosed pilcrow") << "STR 5 = " + P + " open" << O::Applied << 5 << " open" << false << Q::Unclosed;
        QTest::newRow("pilcrow alone") << "STR 5 = " + P << O::Applied << 5 << "" << false << Q::Unclosed;
        QTest::newRow("pilcrow in the middle") << "STR 5 = a" + P + "b" << O::Applied << 5 << "a" << false << Q::Lone;
        QTest::newRow("text after closing pilcrow") << "STR 5 = " + P + "a" + P + "b" << O::Applied << 5 << "a" << false << Q::Text_After_Close;
        QTest::newRow("comment inside pilcrows") << "STR 5 = " + P + " a /#/ c " + P << O::Applied << 5 << " a" << false << Q::Unclosed;
        QTest::newRow("pilcrow then comment") << "STR 5 = " + P + " a " + P + " /#/ note" << O::Applied << 5 << " a " << false << Q::Closed;
        QTest::newRow("NUL inside the text") << Text("STR 5 = a\0b") << O::Applied << 5 << Text("a\0b") << false << Q::None;
        QTest::newRow("non-Latin text") << QString::fromUtf8("STR 5 = \xD0\x9D\xD0\xB0\xD1\x87\xD0\xB0\xD0\xBB\xD0\xBE") << O::Applied << 5 << QString::fromUtf8("\xD0\x9D\xD0\xB0\xD1\x87\xD0\xB0\xD0\xBB\xD0\xBE") << false << Q::None;
    }

    void parseLine()
    {
        QFETCH(QString, line);
        QFETCH(Line_Outcome, outcome);
        QFETCH(int, index);
        QFETCH(QString, text);
        QFETCH(bool, separatorMissing);
        QFETCH(Pilcrow, pilcrow);
        const Language_Line got = lw::Parse_Language_Line(line, lw::Lang_Table_Size);
        QCOMPARE(got.outcome, outcome);
        QCOMPARE(got.separatorMissing, separatorMissing);
        if (outcome != Line_Outcome::Not_Entry && outcome != Line_Outcome::Wrong_Case && outcome != Line_Outcome::No_Equals)
            QCOMPARE(got.index, index);
        if (outcome == Line_Outcome::Applied) {
            QCOMPARE(got.text, text);
            QCOMPARE(got.pilcrow, pilcrow);
        }
    }

    // Whole files: what entry 0 and entry 1 hold afterwards.
    void readFile_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("entry0");
        QTest::addColumn<QString>("entry1");

        const QString e = QString(QChar(0xE9));
        QTest::newRow("only comments and blank lines") << QByteArray("; German\n\n   \r\n# STR 0 = x\n") << "Begin" << "Step 1";
        QTest::newRow("empty file") << QByteArray() << "Begin" << "Step 1";
        QTest::newRow("LF") << QByteArray("STR 0 = a\nSTR 1 = b\n") << "a" << "b";
        QTest::newRow("CR LF") << QByteArray("STR 0 = a\r\nSTR 1 = b\r\n") << "a" << "b";
        QTest::newRow("CR") << QByteArray("STR 0 = a\rSTR 1 = b\r") << "a" << "b";
        QTest::newRow("mixed ends, no last end") << QByteArray("STR 0 = a\r\n\n\r\rSTR 1 = b") << "a" << "b";
        QTest::newRow("later line wins") << QByteArray("STR 0 = a\nSTR 0 = b\n") << "b" << "Step 1";
        QTest::newRow("skipped later line keeps earlier") << QByteArray("STR 0 = a\nSTR 0 =\nSTR 0 = /#/ x\n") << "a" << "Step 1";
        QTest::newRow("empty text keeps default") << QByteArray("STR 0 =   \n") << "Begin" << "Step 1";
        QTest::newRow("two pilcrows in UTF-8") << QByteArray("STR 0 = \xC2\xB6\xC2\xB6\n") << "" << "Step 1";
        QTest::newRow("UTF-8 without mark") << QByteArray("STR 0 = \xC3\xA9t\xC3\xA9\n") << e + "t" + e << "Step 1";
        QTest::newRow("UTF-8 with mark") << QByteArray("\xEF\xBB\xBFSTR 0 = \xC3\xA9\n") << e << "Step 1";
        QTest::newRow("UTF-8 mark on the first entry line") << QByteArray("\xEF\xBB\xBFSTR 1 = b") << "Begin" << "b";
        QTest::newRow("Windows-1252 e acute") << QByteArray("STR 0 = caf\xE9\n") << "caf" + e << "Step 1";
        QTest::newRow("Windows-1252 euro and oe") << QByteArray("STR 0 = \x80 \x9C\n")
                                                  << QString(QChar(0x20AC)) + " " + QChar(0x0153) << "Step 1";
        QTest::newRow("Windows-1252 pilcrows") << QByteArray("STR 0 = \xB6 x \xB6\n") << " x " << "Step 1";
        QTest::newRow("Windows-1252 unassigned byte") << QByteArray("STR 0 = \x81\n") << QString(QChar(0x81)) << "Step 1";
        QTest::newRow("invalid UTF-8 turns the whole file to 1252")
            << QByteArray("STR 0 = \xC3\xA9\nSTR 1 = \xE9\n") << QString(QChar(0xC3)) + QChar(0xA9) << e;
        QTest::newRow("overlong UTF-8 is 1252") << QByteArray("STR 0 = \xC0\xAF") << QString(QChar(0xC0)) + QChar(0xAF) << "Step 1";
        QTest::newRow("UTF-8 surrogate is 1252") << QByteArray("STR 0 = \xED\xA0\x80")
                                                 << QString(QChar(0xED)) + QChar(0xA0) + QChar(0x20AC) << "Step 1";
        QTest::newRow("truncated UTF-8 is 1252") << QByteArray("STR 0 = \xE2\x82") << QString(QChar(0xE2)) + QChar(0x201A) << "Step 1";
        QTest::newRow("UTF-16 LE with mark")
            << QByteArray("\xFF\xFE") + Utf16("STR 0 = " + e + "\r\nSTR 1 = " + P + " b " + P, true) << e << " b ";
        QTest::newRow("UTF-16 BE with mark") << QByteArray("\xFE\xFF") + Utf16("STR 0 = " + e + "\nSTR 1 = b", false) << e << "b";
        QTest::newRow("UTF-16 LE odd last byte") << QByteArray("\xFF\xFE") + Utf16("STR 0 = a", true) + "\x41" << "a" << "Step 1";
        QTest::newRow("UTF-16 without mark is not read") << Utf16("STR 0 = a\r\nSTR 1 = b\r\n", true) << "Begin" << "Step 1";
        QTest::newRow("UTF-8 mark alone") << QByteArray("\xEF\xBB\xBF") << "Begin" << "Step 1";
        QTest::newRow("UTF-16 LE mark alone") << QByteArray("\xFF\xFE") << "Begin" << "Step 1";
        QTest::newRow("UTF-16 BE mark alone") << QByteArray("\xFE\xFF") << "Begin" << "Step 1";
        QTest::newRow("UTF-16 mark and one byte") << Bytes("\xFE\xFF\x00") << "Begin" << "Step 1";
        QTest::newRow("NUL bytes") << Bytes("\0\0STR 0 = a\0b\0\n\0\nSTR 1\0 = c") << Text("a\0b") << "c";
        QTest::newRow("index out of range is skipped") << QByteArray("STR 1200 = x\nSTR -1 = y\nSTR 1 = b") << "Begin" << "b";
    }

    void readFile()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, entry0);
        QFETCH(QString, entry1);
        bool ok = false;
        const QStringList table = Read(bytes, &ok);
        QVERIFY(ok);
        QCOMPARE(table.size(), 1200);
        QCOMPARE(table[0], entry0);
        QCOMPARE(table[1], entry1);
        QCOMPARE(table.mid(2), lw::Default_Texts().mid(2));
    }

    void lastIndexOfTable()
    {
        const QStringList table = Read("STR 1199 = last\nSTR 1200 = beyond\n");
        QCOMPARE(table.size(), 1200);
        QCOMPARE(table[1199], QStringLiteral("last"));
    }

    void lowerLangCountBoundsIndices()
    {
        QStringList table = lw::Default_Texts();
        QVERIFY(lw::Read_Language_File(Write("count.lng", "STR 9 = nine\nSTR 10 = ten\n"), table, 10));
        QCOMPARE(table[9], QStringLiteral("nine"));
        QCOMPARE(table[10], lw::Default_Texts()[10]);
    }

    void unreadableLeavesTable_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("missing") << "missing";
        QTest::newRow("folder") << "folder";
        QTest::newRow("larger than the limit") << "huge";
    }

    void unreadableLeavesTable()
    {
        QFETCH(QString, kind);
        QString path = m_dir.filePath(kind + ".lng");
        if (kind == "folder") {
            QVERIFY(QDir().mkpath(path));
        } else if (kind == "huge") {
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write("STR 0 = x\n");
            QVERIFY(f.resize(lw::Language_File_Limit + 1)); // sparse: costs no disk
        }
        QStringList table = lw::Default_Texts();
        QVERIFY(!lw::Read_Language_File(path, table, lw::Lang_Table_Size));
        QCOMPARE(table, lw::Default_Texts());
    }

    // Hostile content: each finishes and leaves a full table.
    void hostileContent_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("index");
        QTest::addColumn<int>("textSize");

        QByteArray random(1 << 20, Qt::Uninitialized);
        QRandomGenerator gen(20240601);
        for (char& c : random)
            c = char(gen.bounded(256));
        QTest::newRow("random bytes") << random << -1 << 0;

        QTest::newRow("10 MB entry line") << QByteArray("STR 3 = ") + QByteArray(10 << 20, 'a') + "\n" << 3 << (10 << 20);
        QTest::newRow("10 MB of blanks then an entry") << QByteArray(10 << 20, ' ') + "STR 3 = x" << 3 << 1;
        QTest::newRow("10 MB line of = signs") << QByteArray("STR 3 = ") + QByteArray(10 << 20, '=') << 3 << (10 << 20);
        QTest::newRow("10 MB line of comment marks") << QByteArray("STR 3 = a") + QByteArray(10 << 20, '/') << 3 << 1 + (10 << 20);

        QByteArray many;
        for (int i = 0; i < 1000000; ++i)
            many += "STR " + QByteArray::number(i % 1200) + " = line " + QByteArray::number(i) + "\n";
        QTest::newRow("a million entry lines") << many << 999999 % 1200 << 11;
        QTest::newRow("a million empty lines") << QByteArray(1000000, '\n') + "STR 3 = x" << 3 << 1;
        QTest::newRow("a million CRs") << QByteArray(1000000, '\r') + "STR 3 = x" << 3 << 1;
    }

    void hostileContent()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, index);
        QFETCH(int, textSize);
        const QStringList table = Read(bytes);
        QCOMPARE(table.size(), 1200);
        if (index >= 0)
            QCOMPARE(table[index].size(), textSize);
    }

    void loadLanguage_data()
    {
        QTest::addColumn<QString>("selected");
        QTest::addColumn<bool>("haveSelected");   // <selected>.lng holds "STR 0 = selected"
        QTest::addColumn<bool>("haveEnglish");    // English.lng holds "STR 1 = english"
        QTest::addColumn<QString>("entry0");
        QTest::addColumn<QString>("entry1");
        QTest::addColumn<QString>("nameAfter");

        QTest::newRow("selected file") << "German" << true << true << "selected" << "Step 1" << "German";
        QTest::newRow("missing, English.lng present") << "German" << false << true << "Begin" << "english" << "English";
        QTest::newRow("missing, no English.lng") << "German" << false << false << "Begin" << "Step 1" << "English";
        QTest::newRow("English is read like any other") << "English" << false << true << "Begin" << "english" << "English";
        QTest::newRow("no language folder") << "German" << false << false << "Begin" << "Step 1" << "English";
        QTest::newRow("empty name") << "" << false << true << "Begin" << "english" << "English";
    }

    void loadLanguage()
    {
        QFETCH(QString, selected);
        QFETCH(bool, haveSelected);
        QFETCH(bool, haveEnglish);
        QFETCH(QString, entry0);
        QFETCH(QString, entry1);
        QFETCH(QString, nameAfter);

        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString languageDir = dir.filePath(QTest::currentDataTag() == QByteArray("no language folder") ? "absent" : "LANGUAGE");
        if (haveSelected)
            lw::test::Write_Bytes(languageDir + "/" + selected + ".lng", "STR 0 = selected\n");
        if (haveEnglish)
            lw::test::Write_Bytes(languageDir + "/English.lng", "STR 1 = english\n");

        ProgramState state;
        state.Dir_Language = languageDir;
        state.Language_Name = selected;
        state.Lang_Strings = QStringList{"stale"};
        lw::Load_Language(state);
        QCOMPARE(state.Lang_Strings.size(), 1200);
        QCOMPARE(state.Lang_Count, 1200);
        QCOMPARE(state.Lang_Strings[0], entry0);
        QCOMPARE(state.Lang_Strings[1], entry1);
        QCOMPARE(state.Language_Name, nameAfter);
    }

    // A folder named like the language file is no language file: the English fallback applies.
    void selectedIsFolder()
    {
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkpath("German.lng"));
        lw::test::Write_Bytes(dir.filePath("English.lng"), "STR 1 = english\n");
        ProgramState state;
        state.Dir_Language = dir.path();
        state.Language_Name = "German";
        lw::Load_Language(state);
        QCOMPARE(state.Language_Name, QStringLiteral("English"));
        QCOMPARE(state.Lang_Strings[1], QStringLiteral("english"));
    }

    // A language file that exists but cannot be read leaves the full default table.
    void selectedUnreadable()
    {
        QTemporaryDir dir;
        lw::test::Write_Bytes(dir.filePath("English.lng"), "STR 1 = english\n");
        QFile f(dir.filePath("German.lng"));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("STR 0 = selected\n");
        QVERIFY(f.resize(lw::Language_File_Limit + 1));
        f.close();
        ProgramState state;
        state.Dir_Language = dir.path();
        state.Language_Name = "German";
        lw::Load_Language(state);
        QCOMPARE(state.Lang_Strings, lw::Default_Texts());
        QCOMPARE(state.Language_Name, QStringLiteral("German"));
    }
};

QTEST_APPLESS_MAIN(TestLanguageFile)
#include "tst_language_file.moc"
