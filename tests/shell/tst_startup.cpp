#include "base/program_state.h"
#include "lang/language_table.h"
#include "shell/settings_file.h"
#include "shell/startup.h"

#include "common/test_support.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

using lw::ProgramState;

namespace {

QByteArray Settings_Xml(const QByteArray& project, const QByteArray& language)
{
    return "<Conf_Settings><lastproj><projectname>" + project + "</projectname></lastproj>"
           "<lastipadd><ipaddress>10.1.1.1</ipaddress></lastipadd><lastlang><language>" + language
           + "</language></lastlang><lastinternet><enable_internet>1</enable_internet><enable_update>1</enable_update>"
             "</lastinternet></Conf_Settings>";
}

} // namespace

class TestStartup : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void firstStartInEmptyFolder()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        ProgramState state;
        state.Copied_Row = QStringList{"stale"};
        lw::Run_Startup(state, dir.path());

        const QString app = QDir::cleanPath(dir.path());
        const QChar sep = QDir::separator();
        QCOMPARE(state.Dir_App, app);
        QCOMPARE(state.Dir_Master, app + sep + "MASTER");
        QCOMPARE(state.Dir_Projects, app + sep + "PROJECTS");
        QCOMPARE(state.Dir_Language, app + sep + "LANGUAGE");
        for (const QString& folder : {state.Dir_Master, state.Dir_Projects, state.Dir_Language})
            QVERIFY2(QFileInfo(folder).isDir(), qPrintable(folder));

        QCOMPARE(state.Name_Project, QString());
        QCOMPARE(state.Dir_Project, QString());
        QCOMPARE(state.Last_IP, QStringLiteral("192.168.2.205"));
        QCOMPARE(state.Language_Name, QStringLiteral("English"));
        QCOMPARE(state.Enable_Internet, false);
        QCOMPARE(state.Enable_Update, false);
        QCOMPARE(state.SW_Title, QStringLiteral("Veltrona - Configurator KQ4315 - SNMP / KNX "));
        QCOMPARE(state.SW_Code, QStringLiteral("KQ4315"));
        QCOMPARE(state.SW_Desc, QStringLiteral("SNMP / KNX - Converter"));
        QCOMPARE(QString::fromLatin1(lw::SW_Version), QStringLiteral("1.002"));
        QCOMPARE(state.Lang_Strings, lw::Default_Texts());
        QCOMPARE(state.Lang_Count, 1200);
        QCOMPARE(state.File_ParGen, sep + QStringLiteral("ParGen.xml"));
        QCOMPARE(state.File_KNX_Access, sep + QStringLiteral("KNX_SetAccess.xml"));
        QVERIFY(state.Copied_Row.isEmpty());
        QVERIFY(!QFileInfo::exists(dir.filePath("Loomwright.xml"))); // start-up writes nothing
    }

    // Folders already there are kept with their content.
    void existingFoldersKept()
    {
        QTemporaryDir dir;
        lw::test::Write_Bytes(dir.filePath("PROJECTS/P1/ParGen.xml"), "<x/>");
        ProgramState state;
        lw::Run_Startup(state, dir.path());
        QVERIFY(QFileInfo::exists(dir.filePath("PROJECTS/P1/ParGen.xml")));
    }

    void storedConfiguration_data()
    {
        QTest::addColumn<QByteArray>("project");
        QTest::addColumn<QString>("folderMade");   // created under PROJECTS; empty: none
        QTest::addColumn<bool>("active");

        QTest::newRow("folder present") << QByteArray("Plant A") << "Plant A" << true;
        QTest::newRow("folder gone") << QByteArray("Plant A") << "" << false;
        QTest::newRow("other folder present") << QByteArray("Plant A") << "Plant B" << false;
        QTest::newRow("name is a file") << QByteArray("notes.txt") << "" << false;
        QTest::newRow("empty name") << QByteArray("") << "Plant A" << false;
        // Names that lead out of PROJECTS are never restored, though the folder exists.
        QTest::newRow("parent folder") << QByteArray("..") << "Plant A" << false;
        QTest::newRow("same folder") << QByteArray(".") << "Plant A" << false;
        QTest::newRow("nested path") << QByteArray("Plant A/bin") << "Plant A/bin" << false;
    }

    void storedConfiguration()
    {
        QFETCH(QByteArray, project);
        QFETCH(QString, folderMade);
        QFETCH(bool, active);
        QTemporaryDir dir;
        lw::test::Write_Bytes(dir.filePath("Loomwright.xml"), Settings_Xml(project, "English"));
        if (!folderMade.isEmpty())
            QVERIFY(QDir(dir.path()).mkpath("PROJECTS/" + folderMade));
        lw::test::Write_Bytes(dir.filePath("PROJECTS/notes.txt"), "x");

        ProgramState state;
        lw::Run_Startup(state, dir.path());
        QCOMPARE(state.Name_Project, QString::fromUtf8(project));
        QCOMPARE(state.Last_IP, QStringLiteral("10.1.1.1"));
        QCOMPARE(state.Enable_Internet, true);
        QCOMPARE(state.Enable_Update, true);
        const QString expectedDir = active ? lw::Join_Path(state.Dir_Projects, QString::fromUtf8(project)) : QString();
        QCOMPARE(state.Dir_Project, expectedDir);
        QCOMPARE(state.File_ParGen, lw::Join_Path(expectedDir, "ParGen.xml"));
        QCOMPARE(state.File_KNX_Access, lw::Join_Path(expectedDir, "KNX_SetAccess.xml"));

        // The name is written back unchanged at exit, also when its folder is gone.
        QCOMPARE(lw::Save_Setting(state), QString());
        ProgramState again;
        lw::Run_Startup(again, dir.path());
        QCOMPARE(again.Name_Project, QString::fromUtf8(project));
    }

    void language_data()
    {
        QTest::addColumn<QByteArray>("stored");
        QTest::addColumn<bool>("haveFile");
        QTest::addColumn<QString>("nameAfter");
        QTest::addColumn<QString>("entry0");

        QTest::newRow("stored language present") << QByteArray("Deutsch") << true << "Deutsch" << "Anfang";
        QTest::newRow("stored language missing") << QByteArray("Deutsch") << false << "English" << "Begin";
    }

    void language()
    {
        QFETCH(QByteArray, stored);
        QFETCH(bool, haveFile);
        QFETCH(QString, nameAfter);
        QFETCH(QString, entry0);
        QTemporaryDir dir;
        lw::test::Write_Bytes(dir.filePath("Loomwright.xml"), Settings_Xml("", stored));
        if (haveFile)
            lw::test::Write_Bytes(dir.filePath("LANGUAGE/" + QString::fromUtf8(stored) + ".lng"), "STR 0 = Anfang\n");
        ProgramState state;
        lw::Run_Startup(state, dir.path());
        QCOMPARE(state.Language_Name, nameAfter);
        QCOMPARE(state.Lang_Strings.size(), 1200);
        QCOMPARE(state.Lang_Strings[0], entry0);

        // Saved so at exit.
        QCOMPARE(lw::Save_Setting(state), QString());
        ProgramState again;
        again.Dir_App = state.Dir_App;
        lw::Read_Setting(again);
        QCOMPARE(again.Language_Name, nameAfter);
    }

    // A settings file that cannot be used still lets the start-up finish with defaults.
    void unusableSettings_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("not well-formed") << "bad";
        QTest::newRow("folder") << "folder";
        QTest::newRow("random bytes") << "random";
    }

    void unusableSettings()
    {
        QFETCH(QString, kind);
        QTemporaryDir dir;
        const QString path = dir.filePath("Loomwright.xml");
        if (kind == "bad")
            lw::test::Write_Bytes(path, "<Conf_Settings><lastproj>");
        else if (kind == "folder")
            QVERIFY(QDir().mkpath(path));
        else
            lw::test::Write_Bytes(path, QByteArray("\x8F\x00\xFF<&", 5).repeated(5000));
        ProgramState state;
        lw::Run_Startup(state, dir.path());
        QCOMPARE(state.Last_IP, QStringLiteral("192.168.2.205"));
        QCOMPARE(state.Language_Name, QStringLiteral("English"));
        QCOMPARE(state.Dir_Project, QString());
        QCOMPARE(state.Lang_Strings.size(), 1200);
        QVERIFY(QFileInfo(state.Dir_Language).isDir());
    }

    // A folder that cannot be created is not reported; start-up goes on.
    void folderCannotBeCreated()
    {
        QTemporaryDir dir;
        lw::test::Write_Bytes(dir.filePath("LANGUAGE"), "a file, not a folder");
        ProgramState state;
        lw::Run_Startup(state, dir.path());
        QVERIFY(QFileInfo(state.Dir_Master).isDir());
        QVERIFY(QFileInfo(state.Dir_Language).isFile());
        QCOMPARE(state.Language_Name, QStringLiteral("English"));
        QCOMPARE(state.Lang_Strings.size(), 1200);
    }
};

QTEST_GUILESS_MAIN(TestStartup)
#include "tst_startup.moc"
