#include "options/language_pages.h"
#include "options/update_timer.h"

#include "common/test_support.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace lw;

class TestLanguagePages : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void listing()
    {
        QTemporaryDir dir;
        for (const char* name : {"italian.lng", "English.lng", "German.lng", "upper.LNG", "notes.txt", ".Hidden.lng", "French.lng.bak"})
            test::Write_Bytes(Join_Path(dir.path(), name), "");
        QVERIFY(QDir().mkdir(Join_Path(dir.path(), "Folder.lng")));
        QVERIFY(QFile::link(Join_Path(dir.path(), "German.lng"), Join_Path(dir.path(), "Link.lng")));
        QCOMPARE(Create_Lang_List(dir.path()), QStringList({".Hidden.lng", "English.lng", "German.lng", "italian.lng"}));
        QVERIFY(Create_Lang_List(Join_Path(dir.path(), "missing")).isEmpty());
    }

    void paging_data()
    {
        QTest::addColumn<int>("files");
        QTest::addColumn<int>("pages");
        QTest::addColumn<QList<int>>("slots");   // slots shown on pages 1, 2, ...
        QTest::newRow("none") << 0 << 0 << QList<int>({0});
        QTest::newRow("one") << 1 << 1 << QList<int>({1});
        QTest::newRow("six") << 6 << 1 << QList<int>({6});
        QTest::newRow("seven") << 7 << 2 << QList<int>({6, 1});
        QTest::newRow("twelve") << 12 << 2 << QList<int>({6, 6});
        QTest::newRow("thirteen") << 13 << 3 << QList<int>({6, 6, 1});
    }

    void paging()
    {
        QFETCH(int, files);
        QFETCH(int, pages);
        QFETCH(QList<int>, slots);
        QCOMPARE(Lang_Page_Count(files), pages);
        for (int p = 0; p < slots.size(); ++p)
            QCOMPARE(Lang_Slots_On_Page(files, p + 1), slots[p]);
    }

    void slotNamesAndPageLine()
    {
        const QStringList files = {"A.lng", "B.lng", "C.lng", "D.lng", "E.lng", "F.lng", "G.lng"};
        QCOMPARE(Lang_Slot_Name(files, 1, 1), QString("A"));
        QCOMPARE(Lang_Slot_Name(files, 1, 6), QString("F"));
        QCOMPARE(Lang_Slot_Name(files, 2, 1), QString("G"));
        QVERIFY(Lang_Slot_Name(files, 2, 2).isNull());
        ProgramState state;
        for (int i = 0; i < 1200; ++i)
            state.Lang_Strings.append(QString(" "));
        state.Lang_Strings[43] = "Page ";
        state.Lang_Strings[44] = " / ";
        state.Lang_Strings[54] = "Do you want to change the Language from ";
        state.Lang_Strings[55] = " to ";
        state.Lang_Strings[56] = "?";
        QCOMPARE(Lang_Page_Line(state, 2, 3), QString("Page 2 / 3"));
        QCOMPARE(Language_Question(state, "English", "Italian"), QString("Do you want to change the Language from English to Italian?"));
    }

    void flagPictures()
    {
        QTemporaryDir dir;
        QCOMPARE(Flag_Picture_Path(dir.path(), "Italian"), QString());
        test::Write_Bytes(Join_Path(dir.path(), "DefaultFlag.bmp"), "x");
        QCOMPARE(Flag_Picture_Path(dir.path(), "Italian"), Join_Path(dir.path(), "DefaultFlag.bmp"));
        test::Write_Bytes(Join_Path(dir.path(), "Italian.bmp"), "x");
        QCOMPARE(Flag_Picture_Path(dir.path(), "Italian"), Join_Path(dir.path(), "Italian.bmp"));
    }

    void timerRules()
    {
        QTimer timer;
        timer.setInterval(3600000);
        Set_Update_Timer(timer, false);
        QVERIFY(!timer.isActive());
        Set_Update_Timer(timer, true);
        QVERIFY(timer.isActive());
        Set_Update_Timer(timer, true);
        QVERIFY(timer.isActive());
        QCOMPARE(timer.interval(), 3600000);
        Set_Update_Timer(timer, false);
        QVERIFY(!timer.isActive());

        ProgramState state;
        QVERIFY(!Update_Permitted(state));
        state.Enable_Internet = true;
        QVERIFY(!Update_Permitted(state));
        state.Enable_Update = true;
        QVERIFY(Update_Permitted(state));
    }

    void linkText()
    {
        QCOMPARE(Update_Link_Html("http://h.example/a?b=1&c=2#F", "New <Version>"),
                 QString("<a href=\"http://h.example/a?b=1&amp;c=2#F\">New &lt;Version&gt;</a>"));
    }
};

QTEST_GUILESS_MAIN(TestLanguagePages)
#include "tst_language_pages.moc"
