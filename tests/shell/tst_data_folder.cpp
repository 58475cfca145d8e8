#include "shell/data_folder.h"

#include "common/test_support.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using lw::Data_Folder_Choice;

namespace {

// A program folder laid out as a build folder, a portable copy or an
// installed copy (bin/ beside share/loomwright/LANGUAGE).
enum class Layout { Beside, Bare, Installed, Installed_And_Beside };

QString Make_Program(const QString& root, Layout layout)
{
    const QString bin = root + "/usr/bin";
    QDir().mkpath(bin);
    if (layout == Layout::Beside || layout == Layout::Installed_And_Beside)
        QDir().mkpath(bin + "/LANGUAGE");
    if (layout == Layout::Installed || layout == Layout::Installed_And_Beside)
        QDir().mkpath(root + "/usr/share/loomwright/LANGUAGE");
    return bin;
}

} // namespace

Q_DECLARE_METATYPE(Layout)

class TestDataFolder : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void choose_data()
    {
        QTest::addColumn<Layout>("layout");
        QTest::addColumn<bool>("beside");
        QTest::addColumn<QString>("shipped");  // relative to the root; empty: none
        QTest::newRow("LANGUAGE beside a writable program: portable")
            << Layout::Beside << true << "/usr/bin/LANGUAGE";
        QTest::newRow("no LANGUAGE beside, nothing shipped: user's folder")
            << Layout::Bare << false << "";
        QTest::newRow("installed: user's folder, shipped languages from share")
            << Layout::Installed << false << "/usr/share/loomwright/LANGUAGE";
        QTest::newRow("LANGUAGE beside wins over share")
            << Layout::Installed_And_Beside << true << "/usr/bin/LANGUAGE";
    }

    void choose()
    {
        QFETCH(Layout, layout);
        QFETCH(bool, beside);
        QFETCH(QString, shipped);
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString bin = Make_Program(dir.path(), layout);
        const QString home = dir.filePath("home/.local/share");
        const Data_Folder_Choice choice = lw::Choose_Data_Folder(bin + "/", home);
        QCOMPARE(choice.Program_Folder, bin);
        QCOMPARE(choice.Beside_Program, beside);
        QCOMPARE(choice.Folder, beside ? bin : home + "/Loomwright");
        QCOMPARE(choice.Shipped_Languages, shipped.isEmpty() ? QString() : dir.path() + shipped);
        // The choice alone creates nothing.
        QVERIFY(!QFileInfo::exists(home));
    }

    // A folder that is not there (an executable moved by hand) is not writable.
    void missingProgramFolderIsNotUsed()
    {
        QTemporaryDir dir;
        const Data_Folder_Choice choice = lw::Choose_Data_Folder(dir.filePath("gone"), dir.filePath("data"));
        QVERIFY(!choice.Beside_Program);
        QCOMPARE(choice.Folder, dir.filePath("data/Loomwright"));
    }

    void userDataHome_data()
    {
        QTest::addColumn<QByteArray>("xdg");
        QTest::addColumn<QString>("expected");  // "~" stands for HOME
        QTest::newRow("XDG_DATA_HOME absolute") << QByteArray("/srv/u/data/") << "/srv/u/data";
        QTest::newRow("XDG_DATA_HOME unset") << QByteArray() << "~/.local/share";
        QTest::newRow("XDG_DATA_HOME relative is ignored") << QByteArray("data") << "~/.local/share";
    }

    void userDataHome()
    {
        QFETCH(QByteArray, xdg);
        QFETCH(QString, expected);
        const QByteArray saved = qgetenv("XDG_DATA_HOME");
        const bool wasSet = qEnvironmentVariableIsSet("XDG_DATA_HOME");
        if (xdg.isNull())
            qunsetenv("XDG_DATA_HOME");
        else
            qputenv("XDG_DATA_HOME", xdg);
        const QString home = lw::User_Data_Home();
        if (wasSet)
            qputenv("XDG_DATA_HOME", saved);
        else
            qunsetenv("XDG_DATA_HOME");
        QCOMPARE(home, QString(expected).replace("~", QDir::homePath()));
    }

    // Missing files are copied; a user's own file, folder or link of the same
    // name is kept as it is; other files are not shipped.
    void copyMissingKeepsTheUsersOwn()
    {
        QTemporaryDir dir;
        const QString from = dir.filePath("shipped");
        const QString to = dir.filePath("data/LANGUAGE");
        lw::test::Write_Bytes(from + "/English.lng", "shipped English");
        lw::test::Write_Bytes(from + "/Italian.lng", "shipped Italian");
        lw::test::Write_Bytes(from + "/Italian.bmp", "flag");
        lw::test::Write_Bytes(from + "/German.lng", "shipped German");
        lw::test::Write_Bytes(from + "/French.lng", "shipped French");
        lw::test::Write_Bytes(from + "/readme.txt", "not shipped");
        lw::test::Write_Bytes(to + "/Italian.lng", "my Italian");
        QVERIFY(QDir().mkpath(to + "/German.lng"));
        QVERIFY(QFile::link(dir.filePath("nowhere"), to + "/French.lng"));

        QStringList errors;
        const QStringList copied = lw::Copy_Shipped_Languages(from, to, errors);
        QCOMPARE(copied, QStringList({"English.lng", "Italian.bmp"}));
        QCOMPARE(errors, QStringList());
        QCOMPARE(lw::test::Read_Bytes(to + "/English.lng"), QByteArray("shipped English"));
        QCOMPARE(lw::test::Read_Bytes(to + "/Italian.lng"), QByteArray("my Italian"));
        QVERIFY(QFileInfo(to + "/German.lng").isDir());
        QVERIFY(QFileInfo(to + "/French.lng").isSymLink());
        QVERIFY(!QFileInfo::exists(to + "/readme.txt"));
    }

    // A newer shipped file (a package upgrade) replaces a copy only while that
    // copy is exactly as it was made; an edited copy and the user's own file stay.
    void upgradeReplacesOnlyUntouchedCopies()
    {
        QTemporaryDir dir;
        const QString from = dir.filePath("shipped");
        const QString to = dir.filePath("data/LANGUAGE");
        lw::test::Write_Bytes(from + "/English.lng", "English 1");
        lw::test::Write_Bytes(from + "/Italian.lng", "Italian 1");
        lw::test::Write_Bytes(from + "/German.lng", "German 1");
        lw::test::Write_Bytes(to + "/German.lng", "my German");
        QStringList errors;
        QCOMPARE(lw::Copy_Shipped_Languages(from, to, errors), QStringList({"English.lng", "Italian.lng"}));

        lw::test::Write_Bytes(to + "/Italian.lng", "Italian 1, edited");
        lw::test::Write_Bytes(from + "/English.lng", "English 2");
        lw::test::Write_Bytes(from + "/Italian.lng", "Italian 2");
        lw::test::Write_Bytes(from + "/German.lng", "German 2");
        QCOMPARE(lw::Copy_Shipped_Languages(from, to, errors), QStringList({"English.lng"}));
        QCOMPARE(errors, QStringList());
        QCOMPARE(lw::test::Read_Bytes(to + "/English.lng"), QByteArray("English 2"));
        QCOMPARE(lw::test::Read_Bytes(to + "/Italian.lng"), QByteArray("Italian 1, edited"));
        QCOMPARE(lw::test::Read_Bytes(to + "/German.lng"), QByteArray("my German"));
        // Nothing new shipped: nothing written.
        QCOMPARE(lw::Copy_Shipped_Languages(from, to, errors), QStringList());
    }

    // The user's folder is made with its LANGUAGE folder and the shipped
    // files; a second start copies nothing, and a file the user deleted comes back.
    void prepareUserFolder()
    {
        QTemporaryDir dir;
        const QString bin = Make_Program(dir.path(), Layout::Installed);
        const QString shipped = dir.filePath("usr/share/loomwright/LANGUAGE");
        lw::test::Write_Bytes(shipped + "/English.lng", "E");
        lw::test::Write_Bytes(shipped + "/English.bmp", "F");
        const QString home = dir.filePath("home/.local/share");

        Data_Folder_Choice first = lw::Prepare_Data_Folder(bin, home);
        QCOMPARE(first.Errors, QStringList());
        QCOMPARE(first.Copied, QStringList({"English.bmp", "English.lng"}));
        QCOMPARE(lw::test::Read_Bytes(first.Folder + "/LANGUAGE/English.lng"), QByteArray("E"));

        Data_Folder_Choice second = lw::Prepare_Data_Folder(bin, home);
        QCOMPARE(second.Folder, first.Folder);
        QCOMPARE(second.Copied, QStringList());

        QVERIFY(QFile::remove(first.Folder + "/LANGUAGE/English.bmp"));
        QCOMPARE(lw::Prepare_Data_Folder(bin, home).Copied, QStringList({"English.bmp"}));
    }

    // The portable case touches nothing outside the program's folder.
    void preparePortableWritesNothing()
    {
        QTemporaryDir dir;
        const QString bin = Make_Program(dir.path(), Layout::Installed_And_Beside);
        lw::test::Write_Bytes(dir.filePath("usr/share/loomwright/LANGUAGE/English.lng"), "E");
        const Data_Folder_Choice choice = lw::Prepare_Data_Folder(bin, dir.filePath("home"));
        QCOMPARE(choice.Folder, bin);
        QCOMPARE(choice.Copied, QStringList());
        QVERIFY(!QFileInfo::exists(dir.filePath("home")));
        QVERIFY(!QFileInfo::exists(bin + "/LANGUAGE/English.lng"));
    }

    // A data home that cannot hold the folder (a file in its place) is reported.
    void unusableDataHomeIsReported()
    {
        QTemporaryDir dir;
        const QString bin = Make_Program(dir.path(), Layout::Installed);
        lw::test::Write_Bytes(dir.filePath("home"), "a file");
        const Data_Folder_Choice choice = lw::Prepare_Data_Folder(bin, dir.filePath("home"));
        QCOMPARE(choice.Folder, dir.filePath("home/Loomwright"));
        QCOMPARE(choice.Errors.size(), 1);
        QVERIFY2(choice.Errors[0].contains(dir.filePath("home/Loomwright/LANGUAGE")), qPrintable(choice.Errors[0]));
    }
};

QTEST_GUILESS_MAIN(TestDataFolder)
#include "tst_data_folder.moc"
