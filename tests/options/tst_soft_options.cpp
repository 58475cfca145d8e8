#include "shell/main_window_fixture.h"

#include "options/soft_options_dialog.h"
#include "widgets/flat_button.h"
#include "widgets/small_widgets.h"

#include <QCheckBox>
#include <QLabel>
#include <QTabBar>
#include <QTabWidget>

using namespace lw;
using lw::test::Click;
using lw::test::On_Modal;

namespace {

void Add_Languages(const QString& app, int count)
{
    for (int i = 1; i <= count; ++i)
        test::Add_Language(app, QString("L%1").arg(i, 2, 10, QLatin1Char('0')));
}

void Show_Tab(TFSoftOptions* dialog, int index)
{
    QTabBar* bar = dialog->PageControl1->tabBar();
    QTest::mouseClick(bar, Qt::LeftButton, Qt::NoModifier, bar->tabRect(index).center());
}

int Visible_Slots(TFSoftOptions* dialog)
{
    int n = 0;
    for (int s = 0; s < 6; ++s)
        n += dialog->L_L[s]->isVisible() ? 1 : 0;
    return n;
}

struct Page_View {
    QString line;
    bool prev = false;
    bool next = false;
    int slots = -1;
    QString first;
};

Page_View View(TFSoftOptions* dialog)
{
    return {dialog->L_Page_Lang->text(), dialog->Btn_Prev->isVisible(), dialog->Btn_Next->isVisible(),
            Visible_Slots(dialog), dialog->L_L[0]->isVisible() ? dialog->L_L[0]->text() : QString()};
}

} // namespace

class TestSoftOptions : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void pages_data()
    {
        QTest::addColumn<int>("files");
        QTest::addColumn<QString>("page1");
        QTest::addColumn<bool>("next1");
        QTest::addColumn<int>("slots1");
        QTest::addColumn<QString>("page2");     // after Next; empty: Next changes nothing
        QTest::addColumn<int>("slots2");
        QTest::newRow("no files") << 0 << "Page 1 / 0" << true << 0 << "" << 0;
        QTest::newRow("six files") << 6 << "Page 1 / 1" << false << 6 << "" << 6;
        QTest::newRow("seven files") << 7 << "Page 1 / 2" << true << 6 << "Page 2 / 2" << 1;
    }

    void pages()
    {
        QFETCH(int, files);
        QFETCH(QString, page1);
        QFETCH(bool, next1);
        QFETCH(int, slots1);
        QFETCH(QString, page2);
        QFETCH(int, slots2);
        test::Main_Window_Fixture f;
        Add_Languages(f.App(), files);
        f.Start();
        Page_View first, second, back;
        On_Modal([&](QWidget* modal) {
            auto* dialog = qobject_cast<TFSoftOptions*>(modal);
            first = View(dialog);
            QTest::mouseClick(dialog->Btn_Next, Qt::LeftButton);
            second = View(dialog);
            if (dialog->Btn_Prev->isVisible())
                Click(dialog->Btn_Prev);
            back = View(dialog);
            Click(dialog->Btn_Cancel);
        });
        Click(f.Find<Flat_Button>("Btn_Opz"));
        QCOMPARE(first.line, page1);
        QVERIFY(!first.prev);
        QCOMPARE(first.next, next1);
        QCOMPARE(first.slots, slots1);
        if (page2.isEmpty()) {
            QCOMPARE(second.line, first.line);
            QCOMPARE(second.slots, first.slots);
            return;
        }
        QCOMPARE(second.line, page2);
        QVERIFY(second.prev);
        QVERIFY(!second.next);
        QCOMPARE(second.slots, slots2);
        QCOMPARE(second.first, QString("L07"));
        QCOMPARE(back.line, page1);
        QCOMPARE(back.first, QString("L01"));
    }

    void slotsAndFlags()
    {
        test::Main_Window_Fixture f;
        for (const char* name : {"delta", "Alpha", "Charlie", "bravo", "Echo", "foxtrot"})
            test::Add_Language(f.App(), name);
        const QString language = Join_Path(f.App(), "LANGUAGE");
        QImage flag(48, 48, QImage::Format_RGB32);
        flag.fill(QColor(248, 247, 237));
        for (int y = 10; y < 38; ++y)
            for (int x = 3; x < 45; ++x)
                flag.setPixelColor(x, y, QColor(0, 90, 160));
        QVERIFY(flag.save(Join_Path(language, "Alpha.bmp"), "BMP"));
        f.Start();
        QStringList names;
        QList<QPoint> positions;
        bool alphaShown = false, alphaCornerClear = false, bravoShown = true;
        On_Modal([&](QWidget* modal) {
            auto* dialog = qobject_cast<TFSoftOptions*>(modal);
            for (int s = 0; s < 6; ++s) {
                names.append(dialog->L_L[s]->text());
                positions.append(dialog->I_L[s]->pos());
            }
            alphaShown = dialog->I_L[0]->isVisible();
            const QImage shown = dialog->I_L[0]->pixmap().toImage().convertToFormat(QImage::Format_ARGB32);
            alphaCornerClear = qAlpha(shown.pixel(0, 47)) == 0 && qAlpha(shown.pixel(20, 20)) == 255;
            // Without DefaultFlag.bmp a language without a flag shows only its name.
            bravoShown = dialog->I_L[1]->isVisible();
            Click(dialog->Btn_Cancel);
        });
        Click(f.Find<Flat_Button>("Btn_Opz"));
        QCOMPARE(names, QStringList({"Alpha", "bravo", "Charlie", "delta", "Echo", "foxtrot"}));
        QCOMPARE(positions, QList<QPoint>({{24, 40}, {26, 94}, {24, 148}, {254, 40}, {254, 94}, {254, 148}}));
        QVERIFY(alphaShown);
        QVERIFY(alphaCornerClear);
        QVERIFY(!bravoShown);

        QVERIFY(flag.save(Join_Path(language, "DefaultFlag.bmp"), "BMP"));
        On_Modal([&](QWidget* modal) {
            auto* dialog = qobject_cast<TFSoftOptions*>(modal);
            bravoShown = dialog->I_L[1]->isVisible() && !dialog->I_L[1]->pixmap().isNull();
            Click(dialog->Btn_Cancel);
        });
        Click(f.Find<Flat_Button>("Btn_Opz"));
        QVERIFY(bravoShown);
    }

    void switchOnPage2Of3_YesThenCancel()
    {
        test::Main_Window_Fixture f;
        Add_Languages(f.App(), 13);
        test::Write_Settings(f.App(), QString(), "English");
        const QByteArray settings = test::Settings_Bytes(f.App());
        f.Start();
        const int loads = f.record.loads;
        f.messages.answers = {true};
        Page_View after;
        QString selected, caption, tab, mainButton, configurationLabel;
        On_Modal([&](QWidget* modal) {
            auto* dialog = qobject_cast<TFSoftOptions*>(modal);
            Click(dialog->Btn_Next);
            Click(dialog->L_L[1]);
            after = View(dialog);
            selected = dialog->L_Sel_Lang->text();
            caption = dialog->windowTitle();
            tab = dialog->PageControl1->tabText(0);
            mainButton = f.Find<Flat_Button>("Btn_New")->text();
            configurationLabel = f.Find<QLabel>("L_Name_Conf")->text();
            Click(dialog->Btn_Cancel);
        });
        Click(f.Find<Flat_Button>("Btn_Opz"));
        QCOMPARE(f.messages.questions, QStringList({"Do you want to change the Language from English to L08?"}));
        QCOMPARE(f.record.loads, loads + 1);
        QCOMPARE(after.line, QString("L08#432L08#443"));
        QVERIFY(after.prev);
        QVERIFY(after.next);
        QCOMPARE(after.slots, 6);
        QCOMPARE(selected, QString("L08#42L08"));
        QCOMPARE(caption, QString("L08#38"));
        QCOMPARE(tab, QString("L08#40"));
        QCOMPARE(mainButton, QString("L08#15"));
        QCOMPARE(configurationLabel, QString("None Configuration Opened "));

        // Cancel: the windows keep the new texts, the saved choice is the old one.
        QCOMPARE(f.Find<Flat_Button>("Btn_Open")->text(), QString("L08#16"));
        QCOMPARE(f.state.Language_Name, QString("English"));
        QCOMPARE(test::Settings_Bytes(f.App()), settings);

        // The question names the language in use in the dialog, which starts again from the saved one.
        f.messages.answers = {false};
        On_Modal([&](QWidget* modal) {
            auto* dialog = qobject_cast<TFSoftOptions*>(modal);
            selected = dialog->L_Sel_Lang->text();
            Click(dialog->L_L[0]);
            Click(dialog->Btn_Cancel);
        });
        Click(f.Find<Flat_Button>("Btn_Opz"));
        QCOMPARE(selected, QString("L08#42English"));
        QCOMPARE(f.messages.questions.last(), QString("L08#54EnglishL08#55L01L08#56"));

        f.window->close();
        f.Start();
        QCOMPARE(f.Find<Flat_Button>("Btn_New")->text(), QString("New Configuration"));
    }

    void switchAnsweredNoChangesNothing()
    {
        test::Main_Window_Fixture f;
        Add_Languages(f.App(), 2);
        f.Start();
        const int loads = f.record.loads;
        f.messages.answers = {false};
        QString selected;
        On_Modal([&](QWidget* modal) {
            auto* dialog = qobject_cast<TFSoftOptions*>(modal);
            Click(dialog->I_L[1]);
            selected = dialog->L_Sel_Lang->text();
            Click(dialog->Btn_OK);
        });
        Click(f.Find<Flat_Button>("Btn_Opz"));
        QCOMPARE(f.messages.questions, QStringList({"Do you want to change the Language from English to L02?"}));
        QCOMPARE(f.record.loads, loads);
        QCOMPARE(selected, QString("Selected Language : English"));
        QCOMPARE(f.state.Language_Name, QString("English"));
        QCOMPARE(f.Find<Flat_Button>("Btn_New")->text(), QString("New Configuration"));
    }

    void switchThenOkIsSaved()
    {
        test::Main_Window_Fixture f;
        Add_Languages(f.App(), 2);
        f.Start();
        f.messages.answers = {true};
        On_Modal([&](QWidget* modal) {
            auto* dialog = qobject_cast<TFSoftOptions*>(modal);
            Click(dialog->I_L[1]);
            Click(dialog->Btn_OK);
        });
        Click(f.Find<Flat_Button>("Btn_Opz"));
        QCOMPARE(f.state.Language_Name, QString("L02"));
        QVERIFY(test::Settings_Bytes(f.App()).contains("<language>L02</language>"));
        f.window->close();
        f.Start();
        QCOMPARE(f.Find<Flat_Button>("Btn_New")->text(), QString("L02#15"));
    }

    void permissions_data()
    {
        QTest::addColumn<bool>("internet");
        QTest::addColumn<bool>("update");
        QTest::addColumn<QStringList>("clicks");
        QTest::addColumn<bool>("updateBoxEnabled");
        QTest::addColumn<bool>("checkButtonEnabled");
        QTest::addColumn<bool>("savedInternet");
        QTest::addColumn<bool>("savedUpdate");
        QTest::newRow("nothing set") << false << false << QStringList() << false << false << false << false;
        QTest::newRow("tick both") << false << false << QStringList({"CB_En_Con", "CB_Update"}) << true << true << true << true;
        QTest::newRow("internet only") << false << false << QStringList({"CB_En_Con"}) << true << false << true << false;
        QTest::newRow("untick internet keeps update ticked") << true << true << QStringList({"CB_En_Con"}) << false << false << false << true;
        QTest::newRow("untick update") << true << true << QStringList({"CB_Update"}) << true << false << true << false;
        QTest::newRow("disabled box does not change") << false << true << QStringList({"CB_Update"}) << false << false << false << true;
    }

    void permissions()
    {
        QFETCH(bool, internet);
        QFETCH(bool, update);
        QFETCH(QStringList, clicks);
        QFETCH(bool, updateBoxEnabled);
        QFETCH(bool, checkButtonEnabled);
        QFETCH(bool, savedInternet);
        QFETCH(bool, savedUpdate);
        test::Main_Window_Fixture f;
        test::Write_Settings(f.App(), QString(), "English", internet, update);
        f.Start();
        QCOMPARE(f.window->Timer_Update->isActive(), internet && update);
        bool boxEnabled = false, buttonEnabled = false, startTicks = false, onLanguageTab = false;
        On_Modal([&](QWidget* modal) {
            auto* dialog = qobject_cast<TFSoftOptions*>(modal);
            onLanguageTab = dialog->PageControl1->currentWidget() == dialog->TS_Language;
            startTicks = dialog->CB_En_Con->isChecked() == internet && dialog->CB_Update->isChecked() == update;
            Show_Tab(dialog, 1);
            for (const QString& name : clicks)
                Click(dialog->findChild<QCheckBox*>(name));
            boxEnabled = dialog->CB_Update->isEnabled();
            buttonEnabled = dialog->Btn_Check_Update->isEnabled();
            Click(dialog->Btn_OK);
        });
        Click(f.Find<Flat_Button>("Btn_Opz"));
        QVERIFY(onLanguageTab);
        QVERIFY(startTicks);
        QCOMPARE(boxEnabled, updateBoxEnabled);
        QCOMPARE(buttonEnabled, checkButtonEnabled);
        QCOMPARE(f.state.Enable_Internet, savedInternet);
        QCOMPARE(f.state.Enable_Update, savedUpdate);
        QCOMPARE(f.window->Timer_Update->isActive(), savedInternet && savedUpdate);
        const QByteArray saved = test::Settings_Bytes(f.App());
        QVERIFY(saved.contains(savedInternet ? "<enable_internet>1<" : "<enable_internet>0<"));
        QVERIFY(saved.contains(savedUpdate ? "<enable_update>1<" : "<enable_update>0<"));
    }

    void cancelKeepsPermissionsAndTimer()
    {
        test::Main_Window_Fixture f;
        test::Write_Settings(f.App(), QString(), "English", true, true);
        const QByteArray settings = test::Settings_Bytes(f.App());
        f.Start();
        On_Modal([&](QWidget* modal) {
            auto* dialog = qobject_cast<TFSoftOptions*>(modal);
            Show_Tab(dialog, 1);
            Click(dialog->CB_En_Con);
            Click(dialog->Btn_Cancel);
        });
        Click(f.Find<Flat_Button>("Btn_Opz"));
        QVERIFY(f.state.Enable_Internet);
        QVERIFY(f.window->Timer_Update->isActive());
        QCOMPARE(test::Settings_Bytes(f.App()), settings);
    }

    void laterIntervalSurvivesStopAndStart()
    {
        test::Main_Window_Fixture f;
        test::Write_Settings(f.App(), QString(), "English", true, true);
        f.Start(1, 3600000);
        QTRY_COMPARE(f.record.version_checks, 1);
        for (int round = 0; round < 2; ++round) {
            On_Modal([&](QWidget* modal) {
                auto* dialog = qobject_cast<TFSoftOptions*>(modal);
                Show_Tab(dialog, 1);
                Click(dialog->CB_En_Con);
                Click(dialog->Btn_OK);
            });
            Click(f.Find<Flat_Button>("Btn_Opz"));
            QCOMPARE(f.window->Timer_Update->isActive(), round == 1);
            QCOMPARE(f.window->Timer_Update->interval(), 3600000);
        }
    }

    void manualCheck_data()
    {
        QTest::addColumn<bool>("newer");
        QTest::addColumn<QString>("text");
        QTest::newRow("newer version") << true
            << "<a href=\"http://downloads.test.example/Home/download/download.asp#KG4315\">New Version Available. Click Here for more Details</a>";
        QTest::newRow("no newer version") << false << "No Update Available";
    }

    void manualCheck()
    {
        QFETCH(bool, newer);
        QFETCH(QString, text);
        test::Main_Window_Fixture f;
        test::Write_Settings(f.App(), QString(), "English", true, true);
        f.record.newer = newer;
        f.Start();
        bool hiddenAtFirst = false, shown = false;
        QString seen;
        Qt::TextFormat format = Qt::AutoText;
        On_Modal([&](QWidget* modal) {
            auto* dialog = qobject_cast<TFSoftOptions*>(modal);
            Show_Tab(dialog, 1);
            hiddenAtFirst = !dialog->LL_Check_Update->isVisible();
            Click(dialog->Btn_Check_Update);
            shown = dialog->LL_Check_Update->isVisible();
            seen = dialog->LL_Check_Update->text();
            format = dialog->LL_Check_Update->textFormat();
            QTest::mouseClick(dialog->LL_Check_Update, Qt::LeftButton, Qt::NoModifier,
                              QPoint(10, dialog->LL_Check_Update->height() / 2));
            Click(dialog->Btn_Cancel);
        });
        Click(f.Find<Flat_Button>("Btn_Opz"));
        QVERIFY(hiddenAtFirst);
        QVERIFY(shown);
        QCOMPARE(seen, text);
        QCOMPARE(format, newer ? Qt::RichText : Qt::PlainText);
        QCOMPARE(f.record.version_checks, 1);
        if (newer)
            QCOMPARE(f.record.opened, QList<QUrl>({QUrl("http://downloads.test.example/Home/download/download.asp#KG4315")}));
        else
            QVERIFY(f.record.opened.isEmpty());
        // The link is hidden again at the next showing.
        On_Modal([&](QWidget* modal) {
            auto* dialog = qobject_cast<TFSoftOptions*>(modal);
            Show_Tab(dialog, 1);
            shown = dialog->LL_Check_Update->isVisible();
            Click(dialog->Btn_Cancel);
        });
        Click(f.Find<Flat_Button>("Btn_Opz"));
        QVERIFY(!shown);
    }

    void layout_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QRect>("rect");     // width -1: sized to the text
        QTest::addColumn<int>("index");      // language entry of its text, -1: none
        QTest::newRow("L_Sel_Lang") << "L_Sel_Lang" << QRect(12, 11, -1, -1) << -1;
        QTest::newRow("L_Page_Lang") << "L_Page_Lang" << QRect(220, 212, -1, -1) << -1;
        QTest::newRow("Btn_Prev") << "Btn_Prev" << QRect(12, 204, 110, 28) << 45;
        QTest::newRow("Btn_Next") << "Btn_Next" << QRect(379, 205, 110, 28) << 46;
        QTest::newRow("I_L1") << "I_L1" << QRect(24, 40, 48, 48) << -1;
        QTest::newRow("L_L1") << "L_L1" << QRect(80, 56, -1, -1) << -1;
        QTest::newRow("L_L6") << "L_L6" << QRect(310, 164, -1, -1) << -1;
        QTest::newRow("CB_En_Con") << "CB_En_Con" << QRect(12, 16, 341, 17) << 47;
        QTest::newRow("CB_Update") << "CB_Update" << QRect(36, 47, 405, 17) << 48;
        QTest::newRow("Btn_Check_Update") << "Btn_Check_Update" << QRect(36, 78, 204, 28) << 49;
        QTest::newRow("LL_Check_Update") << "LL_Check_Update" << QRect(40, 120, -1, -1) << -1;
        QTest::newRow("Btn_OK") << "Btn_OK" << QRect(16, 6, 110, 28) << 50;
        QTest::newRow("Btn_Cancel") << "Btn_Cancel" << QRect(134, 6, 110, 28) << 51;
    }

    void layout()
    {
        QFETCH(QString, name);
        QFETCH(QRect, rect);
        QFETCH(int, index);
        test::Main_Window_Fixture f;
        test::Add_Language(f.App(), "German");
        test::Write_Settings(f.App(), QString(), "German");
        f.Start();
        auto* dialog = f.Find<TFSoftOptions>("FSoftOptions");
        QCOMPARE(dialog->size(), QSize(509, 373));
        QCOMPARE(dialog->minimumSize(), dialog->maximumSize());
        QCOMPARE(dialog->windowTitle(), QString("German#38"));
        QCOMPARE(dialog->findChild<QLabel*>("L_SW_Desc")->text(), QString("German#39"));
        QCOMPARE(dialog->PageControl1->tabText(0), QString("German#40"));
        QCOMPARE(dialog->PageControl1->tabText(1), QString("German#41"));
        QCOMPARE(dialog->L_Sel_Lang->text(), QString("German#42"));
        QCOMPARE(dialog->L_Page_Lang->text(), QString("German#431German#441"));
        QWidget* w = dialog->findChild<QWidget*>(name);
        QVERIFY(w);
        QCOMPARE(w->pos(), rect.topLeft());
        if (rect.width() >= 0)
            QCOMPARE(w->size(), rect.size());
        if (index >= 0)
            QCOMPARE(w->property("text").toString(), "German#" + QString::number(index));
    }
};

QTEST_MAIN(TestSoftOptions)
#include "tst_soft_options.moc"
