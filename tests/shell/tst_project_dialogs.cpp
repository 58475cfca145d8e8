#include "main_window_fixture.h"

#include "widgets/look.h"
#include "shell/new_project_dialog.h"
#include "shell/open_conf_dialog.h"
#include "widgets/flat_button.h"

#include <QEnterEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>

using namespace lw;
using lw::test::Click;
using lw::test::On_Modal;

namespace {

// What a dialog showed while it was open.
struct Seen {
    QString dialog;
    QString text;
    QStringList list;
    int current = -2;
    bool stayed_open = false;
};

// Presses Open Configuration, records what its dialog shows and presses OK.
Seen Open_And_Take(test::Main_Window_Fixture& f)
{
    Seen seen;
    On_Modal([&](QWidget* modal) {
        auto* dialog = qobject_cast<TFOpenConf*>(modal);
        seen.dialog = modal->objectName();
        seen.list = dialog->SL();
        seen.current = dialog->ListBox1->currentRow();
        seen.text = dialog->Name_Conf();
        Click(dialog->Btn_OK);
    });
    Click(f.Find<Flat_Button>("Btn_Open"));
    return seen;
}

} // namespace

class TestProjectDialogs : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void newRefusals_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("useEnter");
        QTest::addColumn<QString>("message");
        QTest::newRow("empty, Enter") << "" << true << "Error! Name Project is not valid";
        QTest::newRow("empty, OK") << "" << false << "Error! Name Project is not valid";
        QTest::newRow("existing, Enter") << "Plant" << true << "Error! Name project is not valid because directory already exists";
        QTest::newRow("existing, OK") << "Plant" << false << "Error! Name project is not valid because directory already exists";
        QTest::newRow("separator") << "a/b" << true << "Error! Name project is not valid";
        QTest::newRow("dot dot") << ".." << false << "Error! Name project is not valid";
        QTest::newRow("folder cannot be created") << QString(300, QLatin1Char('x')) << true << "Error! Name project is not valid";
    }

    void newRefusals()
    {
        QFETCH(QString, name);
        QFETCH(bool, useEnter);
        QFETCH(QString, message);
        test::Main_Window_Fixture f;
        QVERIFY(QDir().mkpath(Join_Path(f.Projects(), "Plant")));
        f.Start();
        const QStringList before = QDir(f.Projects()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
        Seen seen;
        On_Modal([&](QWidget* modal) {
            auto* dialog = qobject_cast<TFNew_Project*>(modal);
            seen.dialog = modal->objectName();
            QTest::keyClicks(dialog->E_New_Proj, name);
            if (useEnter)
                QTest::keyClick(dialog->E_New_Proj, Qt::Key_Return);
            else
                Click(dialog->Btn_OK);
            seen.stayed_open = dialog->isVisible();
            seen.text = dialog->E_New_Proj->text();
            Click(dialog->Btn_Cancel);
        });
        Click(f.Find<Flat_Button>("Btn_New"));
        QCOMPARE(seen.dialog, QString("FNew_Project"));
        QCOMPARE(f.messages.errors, QStringList({message}));
        QVERIFY(seen.stayed_open);
        QCOMPARE(seen.text, name);
        QVERIFY(f.state.Dir_Project.isEmpty());
        QCOMPARE(f.Find<QLabel>("L_Name_Conf")->text(), QString("None Configuration Opened "));
        QCOMPARE(QDir(f.Projects()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), before);
    }

    void newCreatesWithEnter()
    {
        test::Main_Window_Fixture f;
        f.Start();
        On_Modal([&](QWidget* modal) {
            auto* dialog = qobject_cast<TFNew_Project*>(modal);
            QTest::keyClicks(dialog->E_New_Proj, "Plant A ");
            QTest::keyClick(dialog->E_New_Proj, Qt::Key_Enter);
        });
        Click(f.Find<Flat_Button>("Btn_New"));
        QVERIFY(f.messages.shown.isEmpty());
        const QString folder = Join_Path(f.Projects(), "Plant A ");
        QVERIFY(QFileInfo(Join_Path(folder, "bin")).isDir());
        QCOMPARE(f.state.Name_Project, QString("Plant A "));
        QCOMPARE(f.state.Dir_Project, folder);
        QCOMPARE(f.state.File_ParGen, Join_Path(folder, "ParGen.xml"));
        QCOMPARE(f.Find<QLabel>("L_Name_Conf")->text(), QString("Opened Configuration of the Converter : "));
        QCOMPARE(f.Find<QLabel>("L_Name_Conf_L2")->text(), QString("Plant A "));

        // The box is empty and focused at the next showing.
        Seen seen;
        On_Modal([&](QWidget* modal) {
            auto* dialog = qobject_cast<TFNew_Project*>(modal);
            seen.text = dialog->E_New_Proj->text();
            // The box holds the dialog's focus; whether the window itself is
            // active yet depends on the window system, not on the dialog.
            seen.stayed_open = dialog->focusWidget() == dialog->E_New_Proj;
            Click(dialog->Btn_Cancel);
        });
        Click(f.Find<Flat_Button>("Btn_New"));
        QCOMPARE(seen.text, QString());
        QVERIFY(seen.stayed_open);
        QCOMPARE(f.state.Name_Project, QString("Plant A "));
    }

    void newCancelChangesNothing()
    {
        test::Main_Window_Fixture f;
        QVERIFY(QDir().mkpath(Join_Path(f.Projects(), "Plant")));
        test::Write_Settings(f.App(), "Plant", "English");
        f.Start();
        On_Modal([&](QWidget* modal) {
            auto* dialog = qobject_cast<TFNew_Project*>(modal);
            QTest::keyClicks(dialog->E_New_Proj, "Other");
            QTest::keyClick(dialog, Qt::Key_Escape);
        });
        Click(f.Find<Flat_Button>("Btn_New"));
        QVERIFY(!QFileInfo::exists(Join_Path(f.Projects(), "Other")));
        QCOMPARE(f.state.Dir_Project, Join_Path(f.Projects(), "Plant"));
        QCOMPARE(f.Find<QLabel>("L_Name_Conf_L2")->text(), QString("Plant"));
    }

    void newLayout()
    {
        test::Main_Window_Fixture f;
        test::Add_Language(f.App(), "German");
        test::Write_Settings(f.App(), QString(), "German");
        f.Start();
        auto* dialog = f.Find<TFNew_Project>("FNew_Project");
        QCOMPARE(dialog->size(), QSize(331, 162));
        QCOMPARE(dialog->minimumSize(), dialog->maximumSize());
        QCOMPARE(dialog->windowTitle(), QString("German#25"));
        QCOMPARE(dialog->findChild<QLabel*>("L_SW_Desc")->text(), QString("German#26"));
        QCOMPARE(dialog->findChild<QLabel*>("L_Name")->text(), QString("German#27"));
        QCOMPARE(dialog->findChild<QLabel*>("L_Name")->pos(), QPoint(16, 70));
        QCOMPARE(dialog->Btn_OK->text(), QString("German#28"));
        QCOMPARE(dialog->Btn_Cancel->text(), QString("German#29"));
        QCOMPARE(dialog->findChild<QWidget*>("P_Title")->height(), 69);
        QCOMPARE(dialog->E_New_Proj->geometry().topLeft(), QPoint(16, 94));
        QCOMPARE(dialog->E_New_Proj->width(), 297);
        QCOMPARE(dialog->findChild<QWidget*>("P_Button")->geometry(), QRect(0, 122, 331, 40));
        QCOMPARE(dialog->Btn_OK->geometry(), QRect(85, 6, 110, 28));
        QCOMPARE(dialog->Btn_Cancel->geometry(), QRect(203, 6, 110, 28));
    }

    void openWithActiveConfigurationPreselectsIgnoringCase()
    {
        test::Main_Window_Fixture f;
        for (const char* name : {"alpha", "PLANT", "zeta"})
            QVERIFY(QDir().mkpath(Join_Path(f.Projects(), name)));
        test::Write_Settings(f.App(), "PLANT", "English");
        f.Start();
        QCOMPARE(f.state.Name_Project, QString("PLANT"));
        // The folder was renamed since: it now differs from the active name only in letter case.
        QVERIFY(QDir(f.Projects()).rename("PLANT", "Plant"));
        const Seen seen = Open_And_Take(f);
        QCOMPARE(seen.dialog, QString("FOpenConf"));
        QCOMPARE(seen.list, QStringList({"alpha", "Plant", "zeta"}));
        QCOMPARE(seen.current, 1);
        QCOMPARE(f.state.Name_Project, QString("Plant"));
        QCOMPARE(f.state.Dir_Project, Join_Path(f.Projects(), "Plant"));
        QCOMPARE(f.state.File_ParGen, Join_Path(f.state.Dir_Project, "ParGen.xml"));
        QCOMPARE(f.Find<QLabel>("L_Name_Conf_L2")->text(), QString("Plant"));
    }

    void openWithoutActiveConfigurationPreselectsTheFirst()
    {
        test::Main_Window_Fixture f;
        for (const char* name : {"Zeta", "beta", "Alpha"})
            QVERIFY(QDir().mkpath(Join_Path(f.Projects(), name)));
        f.Start();
        Seen seen;
        On_Modal([&](QWidget* modal) {
            auto* dialog = qobject_cast<TFOpenConf*>(modal);
            seen.current = dialog->ListBox1->currentRow();
            seen.text = dialog->Name_Conf();
            Click(dialog->Btn_OK);
        });
        Click(f.Find<Flat_Button>("Btn_Open"));
        QCOMPARE(seen.current, 0);
        QCOMPARE(seen.text, QString("Alpha"));
        QCOMPARE(f.state.Dir_Project, Join_Path(f.Projects(), "Alpha"));
        QCOMPARE(f.Find<QLabel>("L_Name_Conf")->text(), QString("Opened Configuration of the Converter : "));
        QCOMPARE(f.Find<QLabel>("L_Name_Conf_L2")->text(), QString("Alpha"));
        // Opening does not create bin.
        QVERIFY(!QFileInfo::exists(Join_Path(f.state.Dir_Project, "bin")));
    }

    void openChoosesByKeyboard()
    {
        test::Main_Window_Fixture f;
        for (const char* name : {"One", "Three", "Two"})
            QVERIFY(QDir().mkpath(Join_Path(f.Projects(), name)));
        f.Start();
        On_Modal([&](QWidget* modal) {
            auto* dialog = qobject_cast<TFOpenConf*>(modal);
            QTest::keyClick(dialog->ListBox1, Qt::Key_Down);
            QTest::keyClick(dialog->ListBox1, Qt::Key_Down);
            Click(dialog->Btn_OK);
        });
        Click(f.Find<Flat_Button>("Btn_Open"));
        QCOMPARE(f.state.Name_Project, QString("Two"));
    }

    // Folder names are case-sensitive: the active "beta" is preselected, not
    // its case twin "Beta" listed before it.
    void openPreselectsTheExactName()
    {
        test::Main_Window_Fixture f;
        for (const char* name : {"Beta", "beta", "Gamma"})
            QVERIFY(QDir().mkpath(Join_Path(f.Projects(), name)));
        test::Write_Settings(f.App(), "beta", "English");
        f.Start();
        QCOMPARE(f.state.Name_Project, QString("beta"));
        const Seen seen = Open_And_Take(f);
        QCOMPARE(seen.list.size(), 3);
        QCOMPARE(seen.list.value(seen.current), QString("beta"));
        QCOMPARE(seen.text, QString("beta"));
        QCOMPARE(f.state.Name_Project, QString("beta"));
        QCOMPARE(f.state.Dir_Project, Join_Path(f.Projects(), "beta"));
    }

    // Enter or a double-click on an entry of the list acts as OK for that entry.
    void openChoosesWithEnterOrDoubleClick_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("Return") << "Return";
        QTest::newRow("keypad Enter") << "Enter";
        QTest::newRow("double-click") << "double-click";
    }

    void openChoosesWithEnterOrDoubleClick()
    {
        QFETCH(QString, how);
        test::Main_Window_Fixture f;
        for (const char* name : {"One", "Three", "Two"})
            QVERIFY(QDir().mkpath(Join_Path(f.Projects(), name)));
        test::Write_Settings(f.App(), "Two", "English");
        f.Start();
        Seen seen;
        On_Modal([&](QWidget* modal) {
            auto* dialog = qobject_cast<TFOpenConf*>(modal);
            if (how == "double-click") {
                // The two presses of a double-click: QTest's double-click event is the second.
                const QRect place = dialog->ListBox1->visualItemRect(dialog->ListBox1->item(1));
                QTest::mouseClick(dialog->ListBox1->viewport(), Qt::LeftButton, Qt::NoModifier, place.center());
                QTest::mouseDClick(dialog->ListBox1->viewport(), Qt::LeftButton, Qt::NoModifier, place.center());
            } else {
                QTest::keyClick(dialog->ListBox1, Qt::Key_Up);
                QTest::keyClick(dialog->ListBox1, how == "Enter" ? Qt::Key_Enter : Qt::Key_Return,
                                how == "Enter" ? Qt::KeypadModifier : Qt::NoModifier);
            }
            seen.stayed_open = dialog->isVisible();
            if (seen.stayed_open)
                Click(dialog->Btn_Cancel);
        });
        Click(f.Find<Flat_Button>("Btn_Open"));
        QVERIFY(!seen.stayed_open);
        QCOMPARE(f.state.Name_Project, QString("Three"));
        QCOMPARE(f.Find<QLabel>("L_Name_Conf_L2")->text(), QString("Three"));
    }

    // Enter on a focused flat button presses it, as Space does.
    void enterPressesTheFocusedButton_data()
    {
        QTest::addColumn<int>("key");
        QTest::newRow("Return") << int(Qt::Key_Return);
        QTest::newRow("Enter") << int(Qt::Key_Enter);
        QTest::newRow("Space") << int(Qt::Key_Space);
    }

    void enterPressesTheFocusedButton()
    {
        QFETCH(int, key);
        test::Main_Window_Fixture f;
        f.Start();
        Seen seen;
        On_Modal([&](QWidget* modal) {
            auto* dialog = qobject_cast<TFNew_Project*>(modal);
            QTest::keyClicks(dialog->E_New_Proj, "Plant");
            dialog->Btn_Cancel->setFocus(Qt::TabFocusReason);
            QTest::keyClick(dialog->Btn_Cancel, Qt::Key(key));
            seen.stayed_open = dialog->isVisible();
            if (seen.stayed_open)
                dialog->reject();
        });
        Click(f.Find<Flat_Button>("Btn_New"));
        QVERIFY(!seen.stayed_open);
        QVERIFY(f.state.Dir_Project.isEmpty());
        QVERIFY(!QFileInfo::exists(Join_Path(f.Projects(), "Plant")));

        // On OK, Enter creates the configuration typed.
        On_Modal([&](QWidget* modal) {
            auto* dialog = qobject_cast<TFNew_Project*>(modal);
            QTest::keyClicks(dialog->E_New_Proj, "Plant");
            dialog->Btn_OK->setFocus(Qt::TabFocusReason);
            QTest::keyClick(dialog->Btn_OK, Qt::Key(key));
            if (dialog->isVisible())
                dialog->reject();
        });
        Click(f.Find<Flat_Button>("Btn_New"));
        QCOMPARE(f.state.Name_Project, QString("Plant"));
    }

    // A button that closed its dialog under the mouse starts plain at the next
    // opening: no hover colour with the pointer elsewhere.
    void hoverIsForgottenWhenTheDialogCloses()
    {
        test::Main_Window_Fixture f;
        f.Start();
        bool hoveredBefore = false;
        On_Modal([&](QWidget* modal) {
            auto* dialog = qobject_cast<TFNew_Project*>(modal);
            // The pointer enters the button (the offscreen platform sends no
            // enter events of its own).
            const QPointF inside(5, 5);
            QEnterEvent enter(inside, inside, dialog->Btn_Cancel->mapToGlobal(inside));
            QApplication::sendEvent(dialog->Btn_Cancel, &enter);
            hoveredBefore = dialog->Btn_Cancel->Face_Colour() == dialog->Btn_Cancel->Hover_Colour();
            Click(dialog->Btn_Cancel);
            if (dialog->isVisible())
                dialog->reject();
        });
        Click(f.Find<Flat_Button>("Btn_New"));
        QVERIFY(hoveredBefore);
        bool hoveredAgain = true;
        QColor face;
        On_Modal([&](QWidget* modal) {
            auto* dialog = qobject_cast<TFNew_Project*>(modal);
            hoveredAgain = dialog->Btn_Cancel->Is_Hovered();
            face = dialog->Btn_Cancel->Face_Colour();
            dialog->reject();
        });
        Click(f.Find<Flat_Button>("Btn_New"));
        QVERIFY(!hoveredAgain);
        QCOMPARE(face, Button_Face());
    }

    void openEmptyList()
    {
        test::Main_Window_Fixture f;
        QVERIFY(QDir().mkpath(Join_Path(f.Projects(), ".hidden")));
        f.Start();
        const Seen seen = Open_And_Take(f);
        QVERIFY(seen.list.isEmpty());
        QCOMPARE(seen.current, -1);
        QCOMPARE(seen.text, QString());
        QVERIFY(f.state.Dir_Project.isEmpty());
        QVERIFY(f.state.Name_Project.isEmpty());
        QCOMPARE(f.Find<QLabel>("L_Name_Conf")->text(), QString("None Configuration Opened "));
        QCOMPARE(f.Find<QLabel>("L_Name_Conf_L2")->text(), QString("Use Step1 to open or create new configuration"));
    }

    void openEmptyListWhileConfigurationActiveClosesIt()
    {
        test::Main_Window_Fixture f;
        QVERIFY(QDir().mkpath(Join_Path(f.Projects(), "Plant")));
        test::Write_Settings(f.App(), "Plant", "English");
        f.Start();
        QVERIFY(QDir(Join_Path(f.Projects(), "Plant")).removeRecursively());
        On_Modal([&](QWidget* modal) { Click(qobject_cast<TFOpenConf*>(modal)->Btn_OK); });
        Click(f.Find<Flat_Button>("Btn_Open"));
        QVERIFY(f.state.Dir_Project.isEmpty());
        QCOMPARE(f.state.File_ParGen, Join_Path(QString(), "ParGen.xml"));
        QCOMPARE(f.Find<QLabel>("L_Name_Conf_L2")->text(), QString("Use Step1 to open or create new configuration"));
    }

    void openCancelChangesNothing()
    {
        test::Main_Window_Fixture f;
        for (const char* name : {"Alpha", "Plant"})
            QVERIFY(QDir().mkpath(Join_Path(f.Projects(), name)));
        test::Write_Settings(f.App(), "Plant", "English");
        f.Start();
        const QString parGen = f.state.File_ParGen;
        On_Modal([&](QWidget* modal) {
            auto* dialog = qobject_cast<TFOpenConf*>(modal);
            dialog->ListBox1->setCurrentRow(0);
            Click(dialog->Btn_Cancel);
        });
        Click(f.Find<Flat_Button>("Btn_Open"));
        QCOMPARE(f.state.Name_Project, QString("Plant"));
        QCOMPARE(f.state.File_ParGen, parGen);
        QCOMPARE(f.Find<QLabel>("L_Name_Conf_L2")->text(), QString("Plant"));
    }

    void openLayoutFollowsTheWindowSize()
    {
        test::Main_Window_Fixture f;
        test::Add_Language(f.App(), "German");
        test::Write_Settings(f.App(), QString(), "German");
        f.Start();
        auto* dialog = f.Find<TFOpenConf>("FOpenConf");
        QCOMPARE(dialog->size(), QSize(377, 351));
        QVERIFY(dialog->maximumSize() != dialog->minimumSize());
        QCOMPARE(dialog->windowTitle(), QString("German#33"));
        QCOMPARE(dialog->findChild<QLabel*>("L_SW_Desc")->text(), QString("German#34"));
        QCOMPARE(dialog->findChild<QLabel*>("L_List")->text(), QString("German#35"));
        QCOMPARE(dialog->findChild<QLabel*>("L_List")->pos(), QPoint(16, 70));
        QCOMPARE(dialog->Btn_OK->text(), QString("German#36"));
        QCOMPARE(dialog->Btn_Cancel->text(), QString("German#37"));
        QCOMPARE(dialog->ListBox1->geometry(), QRect(16, 94, 345, 351 - 40 - 94));
        const int cancelFromRight = 377 - dialog->Btn_Cancel->geometry().right();
        const int okFromRight = 377 - dialog->Btn_OK->geometry().right();

        dialog->show();
        dialog->resize(500, 400);
        QCOMPARE(dialog->ListBox1->geometry(), QRect(16, 94, 500 - 32, 400 - 40 - 94));
        QCOMPARE(dialog->findChild<QWidget*>("P_Button")->geometry(), QRect(0, 360, 500, 40));
        QCOMPARE(500 - dialog->Btn_Cancel->geometry().right(), cancelFromRight);
        QCOMPARE(500 - dialog->Btn_OK->geometry().right(), okFromRight);
        QCOMPARE(dialog->Btn_OK->size(), QSize(110, 28));
        dialog->hide();
    }
};

QTEST_MAIN(TestProjectDialogs)
#include "tst_project_dialogs.moc"
