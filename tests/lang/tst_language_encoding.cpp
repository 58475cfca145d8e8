#include "lang/language_encoding.h"

#include <QTest>

using lw::Text_Encoding;

namespace {

template <qsizetype N>
QByteArray Bytes(const char (&s)[N]) { return QByteArray(s, N - 1); }

} // namespace

class TestLanguageEncoding : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void detect_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<Text_Encoding>("encoding");
        QTest::addColumn<QString>("text");

        QTest::newRow("ASCII") << QByteArray("abc") << Text_Encoding::Utf8 << "abc";
        QTest::newRow("empty") << QByteArray() << Text_Encoding::Utf8 << "";
        QTest::newRow("UTF-8 4-byte") << QByteArray("\xF0\x9F\x98\x80") << Text_Encoding::Utf8 << QString::fromUtf8("\xF0\x9F\x98\x80");
        QTest::newRow("UTF-8 mark") << QByteArray("\xEF\xBB\xBF" "a") << Text_Encoding::Utf8_Bom << "a";
        QTest::newRow("UTF-8 mark twice: the second is a character") << QByteArray("\xEF\xBB\xBF\xEF\xBB\xBF" "a")
                                                                   << Text_Encoding::Utf8_Bom << QChar(0xFEFF) + QString("a");
        QTest::newRow("UTF-16 LE mark twice: the second is a character") << Bytes("\xFF\xFE\xFF\xFE" "a\0")
                                                                        << Text_Encoding::Utf16_LE << QChar(0xFEFF) + QString("a");
        QTest::newRow("UTF-8 mark, invalid rest") << QByteArray("\xEF\xBB\xBF\xE9") << Text_Encoding::Utf8_Bom << QString(QChar(0xFFFD));
        QTest::newRow("UTF-16 LE mark") << Bytes("\xFF\xFE" "a\0\xE9\0") << Text_Encoding::Utf16_LE << "a" + QString(QChar(0xE9));
        QTest::newRow("UTF-16 BE mark") << Bytes("\xFE\xFF\0a\x20\xAC") << Text_Encoding::Utf16_BE << "a" + QString(QChar(0x20AC));
        QTest::newRow("UTF-16 lone surrogate kept") << Bytes("\xFF\xFE\x00\xD8") << Text_Encoding::Utf16_LE << QString(QChar(0xD800));
        QTest::newRow("1252 byte") << QByteArray("\xE9") << Text_Encoding::Windows_1252 << QString(QChar(0xE9));
        QTest::newRow("1252 high range") << QByteArray("\x80\x8A\x91\x92\x96\x9F\xA0\xFF") << Text_Encoding::Windows_1252
                                         << QString::fromUtf8("\xE2\x82\xAC\xC5\xA0\xE2\x80\x98\xE2\x80\x99\xE2\x80\x93\xC5\xB8\xC2\xA0\xC3\xBF");
        QTest::newRow("overlong NUL is not UTF-8") << QByteArray("\xC0\x80") << Text_Encoding::Windows_1252
                                                   << QString(QChar(0xC0)) + QChar(0x20AC);
        QTest::newRow("above U+10FFFF is not UTF-8") << QByteArray("\xF4\x90\x80\x80") << Text_Encoding::Windows_1252
                                                     << QString(QChar(0xF4)) + QChar(0x90) + QChar(0x20AC) + QChar(0x20AC);
        QTest::newRow("continuation byte alone") << QByteArray("a\x80") << Text_Encoding::Windows_1252 << "a" + QString(QChar(0x20AC));
    }

    void detect()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(Text_Encoding, encoding);
        QFETCH(QString, text);
        Text_Encoding used = Text_Encoding::Utf8;
        QCOMPARE(lw::Decode_Text(bytes, &used), text);
        QCOMPARE(used, encoding);
    }

    void lines_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("empty") << "" << QStringList{};
        QTest::newRow("one line without end") << "a" << QStringList{"a"};
        QTest::newRow("LF") << "a\nb\n" << QStringList{"a", "b"};
        QTest::newRow("CR LF") << "a\r\nb\r\n" << QStringList{"a", "b"};
        QTest::newRow("CR") << "a\rb" << QStringList{"a", "b"};
        QTest::newRow("LF CR is two ends") << "a\n\rb" << QStringList{"a", "", "b"};
        QTest::newRow("blank lines") << "\n\r\n\r" << QStringList{"", "", ""};
        const QString controls = QString("a\x0B\x0C" "b") + QChar(0x85) + QChar(0x2028);
        QTest::newRow("other controls stay") << controls << QStringList{controls};
    }

    void lines()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, lines);
        QStringList got;
        qsizetype expectedNumber = 0;
        lw::For_Each_Line(text, [&](qsizetype number, QStringView line) {
            QCOMPARE(number, ++expectedNumber);
            got.append(line.toString());
        });
        QCOMPARE(got, lines);
    }
};

QTEST_APPLESS_MAIN(TestLanguageEncoding)
#include "tst_language_encoding.moc"
