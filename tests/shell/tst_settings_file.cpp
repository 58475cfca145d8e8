#include "shell/settings_file.h"

#include "common/test_support.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

using lw::ProgramState;

namespace {

struct Settings {
    QString name;
    QString ip;
    QString language;
    bool internet;
    bool update;
};

const Settings Defaults{"", "192.168.2.205", "English", false, false};

QByteArray Full(const QByteArray& internet, const QByteArray& update)
{
    return "<Conf_Settings><lastproj><projectname>Plant A</projectname></lastproj>"
           "<lastipadd><ipaddress>10.0.0.7</ipaddress></lastipadd>"
           "<lastlang><language>Deutsch</language></lastlang>"
           "<lastinternet><enable_internet>" + internet + "</enable_internet><enable_update>" + update
           + "</enable_update></lastinternet></Conf_Settings>";
}

QByteArray Utf16_LE(const QByteArray& ascii)
{
    QByteArray out;
    for (const char c : ascii)
        out.append(c).append('\0');
    return out;
}

} // namespace

Q_DECLARE_METATYPE(Settings)

class TestSettingsFile : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void read_data()
    {
        QTest::addColumn<QByteArray>("content");   // "<missing>": no file
        QTest::addColumn<Settings>("expected");

        const Settings full{"Plant A", "10.0.0.7", "Deutsch", true, true};
        QTest::newRow("no file") << QByteArray("<missing>") << Defaults;
        QTest::newRow("all values") << Full("1", "1") << full;
        QTest::newRow("flags cleared") << Full("0", "0") << Settings{"Plant A", "10.0.0.7", "Deutsch", false, false};
        QTest::newRow("flag 1 with blank") << Full("1 ", " 1") << Settings{"Plant A", "10.0.0.7", "Deutsch", false, false};
        QTest::newRow("flag true") << Full("true", "TRUE") << Settings{"Plant A", "10.0.0.7", "Deutsch", false, false};
        QTest::newRow("only lastproj")
            << QByteArray("<Conf_Settings><lastproj><projectname>P</projectname></lastproj></Conf_Settings>")
            << Settings{"P", "192.168.2.205", "English", false, false};
        QTest::newRow("enable_internet without enable_update")
            << QByteArray("<Conf_Settings><lastinternet><enable_internet>1</enable_internet></lastinternet></Conf_Settings>")
            << Settings{"", "192.168.2.205", "English", true, false};
        QTest::newRow("enable_update without enable_internet")
            << QByteArray("<Conf_Settings><lastinternet><enable_update>1</enable_update></lastinternet></Conf_Settings>")
            << Settings{"", "192.168.2.205", "English", false, true};
        QTest::newRow("duplicates: first wins")
            << QByteArray("<Conf_Settings><lastproj><projectname>first</projectname><projectname>second</projectname></lastproj>"
                          "<lastproj><projectname>third</projectname></lastproj>"
                          "<lastipadd><ipaddress>1.1.1.1</ipaddress></lastipadd><lastipadd><ipaddress>2.2.2.2</ipaddress></lastipadd>"
                          "</Conf_Settings>")
            << Settings{"first", "1.1.1.1", "English", false, false};
        QTest::newRow("other order")
            << QByteArray("<Conf_Settings><lastinternet><enable_update>1</enable_update><enable_internet>1</enable_internet>"
                          "</lastinternet><lastlang><language>Deutsch</language></lastlang>"
                          "<lastipadd><ipaddress>10.0.0.7</ipaddress></lastipadd>"
                          "<lastproj><projectname>Plant A</projectname></lastproj></Conf_Settings>")
            << full;
        QTest::newRow("empty ipaddress") << QByteArray("<Conf_Settings><lastipadd><ipaddress></ipaddress></lastipadd></Conf_Settings>")
                                         << Settings{"", "", "English", false, false};
        QTest::newRow("self-closed ipaddress") << QByteArray("<Conf_Settings><lastipadd><ipaddress/></lastipadd></Conf_Settings>")
                                               << Settings{"", "", "English", false, false};
        QTest::newRow("texts kept unstripped and unescaped")
            << QByteArray("<Conf_Settings><lastproj><projectname>  A &amp; B  </projectname></lastproj></Conf_Settings>")
            << Settings{"  A & B  ", "192.168.2.205", "English", false, false};
        QTest::newRow("element instead of text")
            << QByteArray("<Conf_Settings><lastproj><projectname><x/></projectname></lastproj>"
                          "<lastipadd><ipaddress>1.2.3.4<!--c--></ipaddress></lastipadd>"
                          "<lastlang><language>Deutsch</language></lastlang></Conf_Settings>")
            << Settings{"", "192.168.2.205", "Deutsch", false, false};
        QTest::newRow("other root name") << QByteArray("<Other><lastlang><language>Deutsch</language></lastlang></Other>")
                                         << Settings{"", "192.168.2.205", "Deutsch", false, false};
        QTest::newRow("wrong letter case") << QByteArray("<Conf_Settings><LastLang><language>Deutsch</language></LastLang></Conf_Settings>")
                                           << Defaults;
        QTest::newRow("declaration first") << "<?xml version=\"1.0\"?>" + Full("1", "1") << Defaults;
        QTest::newRow("comment first") << "<!--settings-->" + Full("1", "1") << Defaults;
        QTest::newRow("version comment after root") << Full("1", "1") + "<!--SW_VERSION = 1.002-->" << full;
        QTest::newRow("not well-formed") << QByteArray("<Conf_Settings><lastproj><projectname>P</lastproj>") << Defaults;
        QTest::newRow("empty file") << QByteArray() << Defaults;
        QTest::newRow("UTF-16 without mark: recognised by its first bytes") << Utf16_LE(Full("1", "1")) << full;
        QTest::newRow("UTF-8 mark") << "\xEF\xBB\xBF" + Full("1", "1") << full;

        QByteArray random(1 << 16, Qt::Uninitialized);
        QRandomGenerator gen(7);
        for (char& c : random)
            c = char(gen.bounded(256));
        QTest::newRow("random bytes") << random << Defaults;
        QTest::newRow("NUL bytes") << QByteArray(4096, '\0') << Defaults;
        // 3 MB: below the reader's limit of 4 MB.
        QTest::newRow("3 MB value") << "<Conf_Settings><lastlang><language>" + QByteArray(3 << 20, 'x')
                                           + "</language></lastlang></Conf_Settings>"
                                    << Settings{"", "192.168.2.205", QString(3 << 20, 'x'), false, false};
    }

    void read()
    {
        QFETCH(QByteArray, content);
        QFETCH(Settings, expected);
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        if (content != "<missing>")
            lw::test::Write_Bytes(dir.filePath("Loomwright.xml"), content);
        ProgramState state;
        state.Dir_App = dir.path();
        state.Name_Project = "stale";
        state.Dir_Project = "stale";
        state.Enable_Internet = true;
        lw::Read_Setting(state);
        QCOMPARE(state.Name_Project, expected.name);
        QCOMPARE(state.Last_IP, expected.ip);
        QCOMPARE(state.Language_Name, expected.language);
        QCOMPARE(state.Enable_Internet, expected.internet);
        QCOMPARE(state.Enable_Update, expected.update);
        QCOMPARE(state.Dir_Project, QString());
    }

    void readFolder()
    {
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkdir("Loomwright.xml"));
        ProgramState state;
        state.Dir_App = dir.path();
        state.Last_IP = "stale";
        lw::Read_Setting(state);
        QCOMPARE(state.Last_IP, Defaults.ip);
        QCOMPARE(state.Language_Name, Defaults.language);
    }

    // The file is written whole, in the fixed order, without declaration or
    // whitespace, and reads back to the same values.
    void save()
    {
        QTemporaryDir dir;
        ProgramState state;
        state.Dir_App = dir.path();
        state.Name_Project = "  A & <B> \"q\"  ";
        state.Last_IP = "";
        state.Language_Name = QString::fromUtf8("Fran\xC3\xA7" "ais");
        state.Enable_Internet = true;
        state.Enable_Update = false;
        QCOMPARE(lw::Save_Setting(state), QString());

        const QByteArray bytes = lw::test::Read_Bytes(dir.filePath("Loomwright.xml"));
        QCOMPARE(bytes, QByteArray("<Conf_Settings><lastproj><projectname>  A &amp; &lt;B&gt; \"q\"  </projectname></lastproj>"
                                   "<lastipadd><ipaddress/></lastipadd><lastlang><language>Fran\xC3\xA7" "ais</language>"
                                   "</lastlang><lastinternet><enable_internet>1</enable_internet>"
                                   "<enable_update>0</enable_update></lastinternet></Conf_Settings>"));

        ProgramState back;
        back.Dir_App = dir.path();
        lw::Read_Setting(back);
        QCOMPARE(back.Name_Project, state.Name_Project);
        QCOMPARE(back.Last_IP, state.Last_IP);
        QCOMPARE(back.Language_Name, state.Language_Name);
        QCOMPARE(back.Enable_Internet, true);
        QCOMPARE(back.Enable_Update, false);
    }

    // Values read from a file in another order are written back in the fixed order.
    void saveRestoresOrder()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("Loomwright.xml");
        lw::test::Write_Bytes(path, "<X><lastinternet><enable_update>1</enable_update><enable_internet>1</enable_internet></lastinternet>"
                                    "<lastproj><projectname>P</projectname></lastproj><extra/></X>");
        ProgramState state;
        state.Dir_App = dir.path();
        lw::Read_Setting(state);
        QCOMPARE(lw::Save_Setting(state), QString());
        QCOMPARE(lw::test::Read_Bytes(path),
                 QByteArray("<Conf_Settings><lastproj><projectname>P</projectname></lastproj>"
                            "<lastipadd><ipaddress>192.168.2.205</ipaddress></lastipadd>"
                            "<lastlang><language>English</language></lastlang><lastinternet><enable_internet>1</enable_internet>"
                            "<enable_update>1</enable_update></lastinternet></Conf_Settings>"));
    }

    void saveFailures()
    {
        QTemporaryDir dir;
        ProgramState state;
        // A folder that cannot exist: below a plain file.
        lw::test::Write_Bytes(dir.filePath("file"), "x");
        state.Dir_App = dir.filePath("file");
        QVERIFY(!lw::Save_Setting(state).isEmpty());
        QCOMPARE(lw::test::Read_Bytes(dir.filePath("file")), QByteArray("x"));

        // The settings path is taken by a folder.
        state.Dir_App = dir.path();
        QVERIFY(QDir(dir.path()).mkdir("Loomwright.xml"));
        QVERIFY(!lw::Save_Setting(state).isEmpty());
        QVERIFY(QFileInfo(dir.filePath("Loomwright.xml")).isDir());
    }

    void saveIntoReadOnlyFolder()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("Loomwright.xml");
        lw::test::Write_Bytes(path, "old");
        QVERIFY(QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner));
        QFile probe(dir.filePath("probe"));
        if (probe.open(QIODevice::WriteOnly)) {
            probe.remove();
            QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
            QSKIP("the folder stays writable for this user (root)");
        }
        ProgramState state;
        state.Dir_App = dir.path();
        const QString error = lw::Save_Setting(state);
        QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QVERIFY(!error.isEmpty());
        QCOMPARE(lw::test::Read_Bytes(path), QByteArray("old"));
    }
};

QTEST_APPLESS_MAIN(TestSettingsFile)
#include "tst_settings_file.moc"
