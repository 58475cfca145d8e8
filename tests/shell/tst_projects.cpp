#include "shell/projects.h"

#include "common/test_support.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

using namespace lw;

namespace {

ProgramState State_In(const QTemporaryDir& dir)
{
    ProgramState state;
    Set_Folders(state, dir.path());
    return state;
}

} // namespace

class TestProjects : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void create_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("refusal");

        QTest::newRow("plain name") << "Plant A" << 0;
        QTest::newRow("trailing blank kept") << "Plant A " << 0;
        QTest::newRow("leading blank kept") << " Plant" << 0;
        QTest::newRow("differs only in case") << "EXISTING" << 0;
        QTest::newRow("empty") << "" << 32;
        QTest::newRow("existing folder") << "Existing" << 31;
        QTest::newRow("slash") << "a/b" << 30;
        QTest::newRow("slash into existing folder") << "Existing/x" << 30;
        QTest::newRow("backslash") << "a\\b" << 30;
        QTest::newRow("dot") << "." << 30;
        QTest::newRow("dot dot") << ".." << 30;
        QTest::newRow("three dots is a name") << "..." << 0;
        QTest::newRow("same name as a plain file") << "File" << 30;
        QTest::newRow("name too long for the file system") << QString(300, QLatin1Char('n')) << 30;
    }

    void create()
    {
        QFETCH(QString, name);
        QFETCH(int, refusal);
        QTemporaryDir dir;
        ProgramState state = State_In(dir);
        QVERIFY(QDir().mkdir(Join_Path(state.Dir_Projects, "Existing")));
        test::Write_Bytes(Join_Path(state.Dir_Projects, "File"), "x");
        state.Name_Project = "Before";
        state.Dir_Project = Join_Path(state.Dir_Projects, "Before");
        Set_Files(state);
        const ProgramState before = state;

        QCOMPARE(Create_Configuration(state, name), refusal);
        if (refusal != 0) {
            QCOMPARE(state.Name_Project, before.Name_Project);
            QCOMPARE(state.Dir_Project, before.Dir_Project);
            QCOMPARE(state.File_ParGen, before.File_ParGen);
            QCOMPARE(QDir(state.Dir_Projects).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
                     QStringList({"Existing", "File"}));
            return;
        }
        const QString folder = Join_Path(state.Dir_Projects, name);
        QVERIFY(QFileInfo(folder).isDir());
        QVERIFY(QFileInfo(Join_Path(folder, "bin")).isDir());
        QCOMPARE(state.Name_Project, name);
        QCOMPARE(state.Dir_Project, folder);
        QCOMPARE(state.File_ParGen, Join_Path(folder, "ParGen.xml"));
        QCOMPARE(state.File_KNX_Access, Join_Path(folder, "KNX_SetAccess.xml"));
    }

    void createWithoutProjectsFolder()
    {
        QTemporaryDir dir;
        ProgramState state = State_In(dir);
        QVERIFY(QDir(state.Dir_Projects).removeRecursively());
        // Only the configuration folder is created, not its parent.
        QCOMPARE(Create_Configuration(state, "Plant"), 30);
        QVERIFY(!QFileInfo::exists(state.Dir_Projects));
        QVERIFY(state.Dir_Project.isEmpty());
    }

    void listing()
    {
        QTemporaryDir dir;
        const QString projects = dir.path();
        for (const char* name : {"beta", "Alpha", "gamma", "ALPHA2", "Beta", ".hidden", "Zeta"})
            QVERIFY(QDir().mkdir(Join_Path(projects, name)));
        test::Write_Bytes(Join_Path(projects, "aardvark.txt"), "not a folder");
        QCOMPARE(Load_Existing_Configuration(projects), QStringList({"Alpha", "ALPHA2", "Beta", "beta", "gamma", "Zeta"}));
    }

    void listingOfMissingFolder()
    {
        QTemporaryDir dir;
        QVERIFY(Load_Existing_Configuration(Join_Path(dir.path(), "none")).isEmpty());
    }

    void search_data()
    {
        QTest::addColumn<QStringList>("list");
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("position");
        const QStringList list = {"Alpha", "beta", "Beta", "Gamma"};
        QTest::newRow("exact") << list << "Gamma" << 3;
        QTest::newRow("other case") << list << "ALPHA" << 0;
        QTest::newRow("first of two case twins") << list << "BETA" << 1;
        QTest::newRow("exact twin before its case twin") << list << "beta" << 1;
        QTest::newRow("exact twin after its case twin") << list << "Beta" << 2;
        QTest::newRow("exact twin after two case twins") << QStringList({"DATA", "Data", "data"}) << "data" << 2;
        QTest::newRow("absent") << list << "Delta" << -1;
        QTest::newRow("empty name") << list << "" << -1;
        QTest::newRow("empty list") << QStringList() << "Alpha" << -1;
        QTest::newRow("trailing blank differs") << list << "Alpha " << -1;
    }

    void search()
    {
        QFETCH(QStringList, list);
        QFETCH(QString, name);
        QFETCH(int, position);
        QCOMPARE(Search_Open_Conf(list, name), position);
    }

    void currentNameAndOpening()
    {
        QTemporaryDir dir;
        ProgramState state = State_In(dir);
        QCOMPARE(Current_Configuration_Name(state), QString());

        Open_Configuration(state, "Plant");
        QCOMPARE(state.Name_Project, QString("Plant"));
        QCOMPARE(state.Dir_Project, Join_Path(state.Dir_Projects, "Plant"));
        QCOMPARE(Current_Configuration_Name(state), QString("Plant"));
        QCOMPARE(state.File_ParGen, Join_Path(state.Dir_Project, "ParGen.xml"));
        // The folder is not tested, nor is bin created.
        QVERIFY(!QFileInfo::exists(state.Dir_Project));

        Open_Configuration(state, QString());
        QVERIFY(state.Name_Project.isEmpty());
        QVERIFY(state.Dir_Project.isEmpty());
        QCOMPARE(state.File_ParGen, Join_Path(QString(), "ParGen.xml"));
    }

    void labels()
    {
        ProgramState state;
        for (int i = 0; i < 1200; ++i)
            state.Lang_Strings.append(QString("T%1").arg(i));
        state.Name_Project = "Kept";
        QCOMPARE(Configuration_Label_1(state), QString("T9"));
        QCOMPARE(Configuration_Label_2(state), QString("T10"));
        state.Dir_Project = "/x/PROJECTS/Kept";
        QCOMPARE(Configuration_Label_1(state), QString("T11"));
        QCOMPARE(Configuration_Label_2(state), QString("Kept"));
    }
};

QTEST_GUILESS_MAIN(TestProjects)
#include "tst_projects.moc"
