// The language files and flags shipped in languages/, and the build rule that
// places them beside the configurator.

#include "shell/shell_test_kit.h"

#include "common/test_support.h"
#include "lang/language_table.h"
#include "widgets/look.h"

#include <QFontMetrics>
#include <QImage>
#include <QProcess>
#include <QStringDecoder>
#include <QTemporaryDir>
#include <map>

using namespace lw;

namespace {

const QStringList Languages = {"English", "Italian", "German", "French", "Spanish"};

QString Shipped(const QString& name)
{
    return QStringLiteral(LW_SHIPPED_LANGUAGES) + QLatin1Char('/') + name;
}

QString Strip_Blanks(const QString& text)
{
    int b = 0, e = text.size();
    while (b < e && text[b].unicode() <= 32)
        ++b;
    while (e > b && text[e - 1].unicode() <= 32)
        --e;
    return text.mid(b, e - b);
}

// The entries of a language file, read by the file format's rules. A repeated
// index is recorded in duplicates.
struct Parsed {
    std::map<int, QString> entries;
    QList<int> duplicates;
};

Parsed Parse(const QByteArray& bytes)
{
    Parsed parsed;
    const QString text = QString::fromUtf8(bytes.mid(3));
    for (QString line : text.split(QLatin1Char('\n'))) {
        line = Strip_Blanks(line);
        if (!line.startsWith(QLatin1String("STR")))
            continue;
        const int eq = line.indexOf(QLatin1Char('='));
        if (eq < 0)
            continue;
        bool ok = false;
        const int index = Strip_Blanks(line.mid(3, eq - 4)).toInt(&ok);
        if (!ok)
            continue;
        QString value = Strip_Blanks(line.mid(eq + 1));
        if (value.isEmpty())
            continue;
        const int comment = value.indexOf(QLatin1String("/#/"));
        if (comment >= 0)
            value = Strip_Blanks(value.left(comment));
        if (value.startsWith(QChar(0xB6)))
            value.remove(0, 1);
        const int pilcrow = value.indexOf(QChar(0xB6));
        if (pilcrow >= 0)
            value = value.left(pilcrow);
        if (parsed.entries.count(index))
            parsed.duplicates.append(index);
        parsed.entries[index] = value;
    }
    return parsed;
}

Parsed Load(const QString& language)
{
    return Parse(test::Read_Bytes(Shipped(language + ".lng")));
}

} // namespace

class TestShippedLanguages : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void files_data()
    {
        QTest::addColumn<QString>("language");
        for (const QString& l : Languages)
            QTest::newRow(qPrintable(l)) << l;
    }

    void files()
    {
        QFETCH(QString, language);
        const QByteArray bytes = test::Read_Bytes(Shipped(language + ".lng"));
        QVERIFY(bytes.startsWith("\xEF\xBB\xBF"));
        QStringDecoder utf8(QStringDecoder::Utf8);
        (void)QString(utf8(bytes));
        QVERIFY(!utf8.hasError());

        const Parsed english = Load("English");
        const Parsed parsed = Parse(bytes);
        QVERIFY(parsed.duplicates.isEmpty());
        QVERIFY(english.entries.size() > 140);
        QCOMPARE(parsed.entries.size(), english.entries.size());
        for (const auto& [index, englishText] : english.entries) {
            QVERIFY2(parsed.entries.count(index), qPrintable(QString("entry %1 missing").arg(index)));
            const QString text = parsed.entries.at(index);
            QVERIFY2(!Strip_Blanks(text).isEmpty(), qPrintable(QString("entry %1 empty").arg(index)));
            // Pieces joined with other text keep their blanks.
            QVERIFY2(text.endsWith(QLatin1Char(' ')) == englishText.endsWith(QLatin1Char(' ')),
                     qPrintable(QString("entry %1: trailing blank").arg(index)));
            if (index != 56)
                QVERIFY2(text.startsWith(QLatin1Char(' ')) == englishText.startsWith(QLatin1Char(' ')),
                         qPrintable(QString("entry %1: leading blank").arg(index)));
        }
        // Every entry shown in a dialog of this system is listed.
        for (int index : {0, 10, 21, 25, 37, 38, 56, 57, 72, 90, 123, 167, 955, 968, 168, 206, 207, 229, 346, 348, 877, 878})
            QVERIFY2(parsed.entries.count(index), qPrintable(QString::number(index)));
    }

    void englishIsTheDefaults()
    {
        const Parsed english = Load("English");
        for (const auto& [index, text] : test::Known_English())
            QCOMPARE(english.entries.at(index), text);
        const QStringList& defaults = Default_Texts();
        QCOMPARE(defaults.size(), Lang_Table_Size);
        for (const auto& [index, text] : english.entries) {
            if (Is_Extended_Index(index))
                QCOMPARE(text, Default_Extended_Texts().value(index - Lang_Extended_First));
            else
                QCOMPARE(text, defaults.value(index));
        }
        // Every text of this program's own range is in the English file, so the
        // comparison of the files above holds each translation to it.
        for (const Extended_Default& entry : Extended_Defaults()) {
            if (QByteArray(entry.text).trimmed().isEmpty())
                continue;
            QVERIFY2(english.entries.count(entry.index), qPrintable(QString("entry %1 missing").arg(entry.index)));
        }
    }

    void flags_data()
    {
        QTest::addColumn<QString>("picture");
        for (const QString& l : Languages)
            QTest::newRow(qPrintable(l)) << l + ".bmp";
        QTest::newRow("DefaultFlag") << QString("DefaultFlag.bmp");
    }

    void flags()
    {
        QFETCH(QString, picture);
        QVERIFY(test::Read_Bytes(Shipped(picture)).startsWith("BM"));
        QImage image(Shipped(picture), "BMP");
        QVERIFY(!image.isNull());
        QCOMPARE(image.size(), QSize(48, 48));
        // The margin is the colour left out when the flag is shown.
        QCOMPARE(image.pixelColor(0, 47), Window_Colour());
        QVERIFY(image.pixelColor(24, 24) != Window_Colour());
    }

    void translationsFitTheirPlaces_data()
    {
        QTest::addColumn<QString>("language");
        for (const QString& l : Languages)
            QTest::newRow(qPrintable(l)) << l;
    }

    void translationsFitTheirPlaces()
    {
        QFETCH(QString, language);
        const Parsed parsed = Load(language);
        const QFontMetrics fm(Base_Font());
        const auto text = [&](int index) { return parsed.entries.at(index); };
        // Step buttons: 170 wide, picture 24, margins 7: up to two lines.
        for (int index : {15, 16, 17, 20, 21}) {
            const QRect r = fm.boundingRect(QRect(0, 0, 170 - 14 - 24 - 7, 1000), Qt::TextWordWrap, text(index));
            QVERIFY2(r.height() <= 32 && r.width() <= 125, qPrintable(text(index)));
        }
        // One line: the update link, the configuration labels in their frame,
        // the dialog buttons (110 wide, picture 16) and the options controls.
        const std::map<int, int> room = {
            {19, 294}, {9, 340}, {10, 340}, {11, 340}, {28, 79}, {29, 79}, {36, 79}, {37, 79},
            {45, 79}, {46, 79}, {50, 79}, {51, 79}, {49, 173}, {47, 341 - 22}, {48, 405 - 22}};
        for (const auto& [index, width] : room)
            QVERIFY2(fm.horizontalAdvance(text(index)) <= width, qPrintable(QString("%1: %2").arg(index).arg(text(index))));
        // The updater's state beside the update button of the update dialog:
        // at most three lines in 114 x 40.
        for (int index : {2005, 2006, 2007, 2008, 2009, 2010}) {
            const QString shown = QString(text(index)).replace(QLatin1String("%1"), QLatin1String("150"));
            const QRect r = fm.boundingRect(QRect(0, 0, 114, 1000), Qt::TextWordWrap, shown);
            QVERIFY2(r.height() <= 40 && r.width() <= 114, qPrintable(QString("%1: %2").arg(index).arg(shown)));
        }
    }

    void buildPlacesOnlyMissingFiles()
    {
        QTemporaryDir dir;
        const QString target = dir.path() + "/LANGUAGE";
        test::Write_Bytes(target + "/Italian.lng", "user's own Italian");
        test::Write_Bytes(target + "/DefaultFlag.bmp", "user's own flag");
        test::Write_Bytes(target + "/Klingon.lng", "user's own language");
        QProcess cmake;
        cmake.start(QStringLiteral(LW_CMAKE_COMMAND),
                    {"-DSRC=" + QStringLiteral(LW_SHIPPED_LANGUAGES), "-DDST=" + target, "-P", QStringLiteral(LW_COPY_MISSING)});
        QVERIFY(cmake.waitForFinished(60000));
        QCOMPARE(cmake.exitCode(), 0);
        QCOMPARE(test::Read_Bytes(target + "/Italian.lng"), QByteArray("user's own Italian"));
        QCOMPARE(test::Read_Bytes(target + "/DefaultFlag.bmp"), QByteArray("user's own flag"));
        QCOMPARE(test::Read_Bytes(target + "/Klingon.lng"), QByteArray("user's own language"));
        for (const char* name : {"English.lng", "German.lng", "French.lng", "Spanish.lng", "Italian.bmp", "English.bmp"})
            QCOMPARE(test::Read_Bytes(target + "/" + name), test::Read_Bytes(Shipped(name)));
    }
};

QTEST_MAIN(TestShippedLanguages)
#include "tst_shipped_languages.moc"
