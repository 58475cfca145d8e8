#include "base/text_rules.h"

#include <QTest>

using lw::Read_Integer;

class TestTextRules : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void readInteger_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("valid");
        QTest::addColumn<int>("value");

        QTest::newRow("zero") << "0" << true << 0;
        QTest::newRow("decimal") << "1438" << true << 1438;
        QTest::newRow("leading zeros") << "010" << true << 10;
        QTest::newRow("plus sign") << "+7" << true << 7;
        QTest::newRow("minus sign") << "-1" << true << -1;
        QTest::newRow("leading blanks") << "   7" << true << 7;
        QTest::newRow("blanks then sign") << "  -12" << true << -12;
        QTest::newRow("dollar hex") << "$1F" << true << 31;
        QTest::newRow("dollar hex lower") << "$ff" << true << 255;
        QTest::newRow("x hex") << "x10" << true << 16;
        QTest::newRow("X hex") << "X10" << true << 16;
        QTest::newRow("0x hex") << "0x7FF" << true << 2047;
        QTest::newRow("0X hex") << "0X7ff" << true << 2047;
        QTest::newRow("negative hex") << "-$10" << true << -16;
        QTest::newRow("signed 0x") << "+0x10" << true << 16;
        QTest::newRow("max int") << "2147483647" << true << 2147483647;
        QTest::newRow("min int") << "-2147483648" << true << int(-2147483647 - 1);
        QTest::newRow("max hex") << "$7FFFFFFF" << true << 2147483647;
        QTest::newRow("min hex") << "-$80000000" << true << int(-2147483647 - 1);

        QTest::newRow("empty") << "" << false << 0;
        QTest::newRow("blanks only") << "   " << false << 0;
        QTest::newRow("trailing blank") << "7 " << false << 0;
        QTest::newRow("plus alone") << "+" << false << 0;
        QTest::newRow("minus alone") << "-" << false << 0;
        QTest::newRow("0x alone") << "0x" << false << 0;
        QTest::newRow("dollar alone") << "$" << false << 0;
        QTest::newRow("x alone") << "x" << false << 0;
        QTest::newRow("letters") << "abc" << false << 0;
        QTest::newRow("hex digits without prefix") << "1F" << false << 0;
        QTest::newRow("overflow") << "2147483648" << false << 0;
        QTest::newRow("underflow") << "-2147483649" << false << 0;
        QTest::newRow("hex overflow") << "$80000000" << false << 0;
        QTest::newRow("hex 32 bits set") << "$FFFFFFFF" << false << 0;
        QTest::newRow("long overflow") << "99999999999999999999999" << false << 0;
        QTest::newRow("double sign") << "--1" << false << 0;
        QTest::newRow("blank after sign") << "- 1" << false << 0;
        QTest::newRow("tab before") << "\t1" << false << 0;
        QTest::newRow("decimal point") << "1.5" << false << 0;
        QTest::newRow("inner blank") << "1 2" << false << 0;
        QTest::newRow("0x then bad digit") << "0xG" << false << 0;
        QTest::newRow("full-width digit") << QString::fromUtf8("\xEF\xBC\x91") << false << 0;
    }

    void readInteger()
    {
        QFETCH(QString, text);
        QFETCH(bool, valid);
        QFETCH(int, value);
        const std::optional<int> got = Read_Integer(text);
        QCOMPARE(got.has_value(), valid);
        if (valid)
            QCOMPARE(*got, value);
        QCOMPARE(lw::Read_Integer_Or(text, -1), valid ? value : -1);
    }

    void strip_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected");
        QTest::newRow("plain") << "1.1.1" << "1.1.1";
        QTest::newRow("blanks") << "  a b  " << "a b";
        QTest::newRow("controls") << QString::fromLatin1("\t\r\n\x01x\x1f") << "x";
        QTest::newRow("NUL both ends") << QString(QChar(0)) + "x" + QChar(0) << "x";
        QTest::newRow("only blanks") << " \t " << "";
        QTest::newRow("empty") << "" << "";
        QTest::newRow("keeps no-break space") << QString(QChar(0xA0)) + "x" << QString(QChar(0xA0)) + "x";
    }

    void strip()
    {
        QFETCH(QString, text);
        QFETCH(QString, expected);
        QCOMPARE(lw::Strip(text), expected);
        QCOMPARE(lw::Strip_View(text).toString(), expected);
    }
};

QTEST_APPLESS_MAIN(TestTextRules)
#include "tst_text_rules.moc"
