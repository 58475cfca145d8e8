#include "main_window_fixture.h"

#include "shell/web_links.h"
#include "widgets/flat_button.h"
#include "widgets/look.h"
#include "widgets/small_widgets.h"

#include <QDialog>
#include <QEnterEvent>
#include <QLabel>
#include <QTimer>

using namespace lw;
using lw::test::Click;

class TestMainWindow : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void firstStartInEmptyFolder()
    {
        test::Main_Window_Fixture f;
        f.Start();
        for (const char* folder : {"MASTER", "PROJECTS", "LANGUAGE"})
            QVERIFY2(QFileInfo(Join_Path(f.App(), folder)).isDir(), folder);
        QCOMPARE(f.Find<QLabel>("L_Name_Conf")->text(), QString("None Configuration Opened "));
        QCOMPARE(f.Find<QLabel>("L_Name_Conf_L2")->text(), QString("Use Step1 to open or create new configuration"));
        QCOMPARE(f.state.Last_IP, QString("192.168.2.205"));
        QCOMPARE(f.state.Language_Name, QString("English"));
        QVERIFY(!f.state.Enable_Internet);
        QVERIFY(!f.state.Enable_Update);
        QVERIFY(f.state.Dir_Project.isEmpty());
        QVERIFY(f.state.Name_Project.isEmpty());
        QCOMPARE(f.state.File_ParGen, Join_Path(QString(), "ParGen.xml"));
        QCOMPARE(f.state.Dir_App, f.App());
        QVERIFY(!f.window->Timer_Update->isActive());
        QCOMPARE(f.window->Timer_Update->interval(), 60000);
        QVERIFY(!f.Find<QLabel>("LL_Update")->isVisible());
        QCOMPARE(f.window->windowTitle(), QString("Veltrona - Configurator KQ4315 - SNMP / KNX "));
        QCOMPARE(f.Find<QLabel>("L_SW_Code")->text(), QString("KQ4315"));
        QCOMPARE(f.Find<QLabel>("L_SW_Desc")->text(), QString("SNMP / KNX - Converter"));
        QCOMPARE(f.record.loads, 1);
        QVERIFY(f.messages.shown.isEmpty());

        f.window->close();
        const QByteArray saved = test::Settings_Bytes(f.App());
        QVERIFY(saved.contains("<projectname></projectname>") || saved.contains("<projectname />") || saved.contains("<projectname/>"));
        QVERIFY(saved.contains("<ipaddress>192.168.2.205</ipaddress>"));
        QVERIFY(saved.contains("<language>English</language>"));
        QVERIFY(saved.contains("<enable_internet>0</enable_internet>"));
    }

    void storedConfigurationRestored()
    {
        test::Main_Window_Fixture f;
        QVERIFY(QDir().mkpath(Join_Path(f.Projects(), "Plant B")));
        test::Write_Settings(f.App(), "Plant B", "English");
        f.Start();
        QCOMPARE(f.state.Dir_Project, Join_Path(f.Projects(), "Plant B"));
        QCOMPARE(f.state.File_KNX_Access, Join_Path(f.state.Dir_Project, "KNX_SetAccess.xml"));
        QCOMPARE(f.Find<QLabel>("L_Name_Conf")->text(), QString("Opened Configuration of the Converter : "));
        QCOMPARE(f.Find<QLabel>("L_Name_Conf_L2")->text(), QString("Plant B"));
    }

    void storedConfigurationGone()
    {
        test::Main_Window_Fixture f;
        test::Write_Settings(f.App(), "Gone", "English");
        f.Start();
        QVERIFY(f.state.Dir_Project.isEmpty());
        QCOMPARE(f.state.Name_Project, QString("Gone"));
        QCOMPARE(f.Find<QLabel>("L_Name_Conf")->text(), f.state.Text(9));
        QCOMPARE(f.Find<QLabel>("L_Name_Conf_L2")->text(), f.state.Text(10));
        QVERIFY(f.messages.shown.isEmpty());
        f.window->close();
        QVERIFY(test::Settings_Bytes(f.App()).contains("<projectname>Gone</projectname>"));
    }

    void missingLanguageFile()
    {
        test::Main_Window_Fixture f;
        test::Write_Settings(f.App(), QString(), "Klingon");
        f.Start();
        QCOMPARE(f.state.Language_Name, QString("English"));
        QCOMPARE(f.Find<Flat_Button>("Btn_New")->text(), QString("New Configuration"));
        f.window->close();
        QVERIFY(test::Settings_Bytes(f.App()).contains("<language>English</language>"));
    }

    void storedLanguageApplied()
    {
        test::Main_Window_Fixture f;
        test::Add_Language(f.App(), "German");
        test::Write_Settings(f.App(), QString(), "German");
        f.Start();
        QCOMPARE(f.state.Language_Name, QString("German"));
        QCOMPARE(f.Find<QLabel>("L_Begin")->text(), QString("German#0"));
        QCOMPARE(f.Find<QLabel>("L_Name_Conf")->text(), QString("German#9"));
    }

    void texts_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("what");
        QTest::addColumn<int>("index");
        QTest::newRow("L_Begin") << "L_Begin" << "text" << 0;
        QTest::newRow("L_Step_1") << "L_Step_1" << "text" << 1;
        QTest::newRow("L_Step_2") << "L_Step_2" << "text" << 2;
        QTest::newRow("L_Step_3") << "L_Step_3" << "text" << 3;
        QTest::newRow("L_Step_4") << "L_Step_4" << "text" << 4;
        QTest::newRow("Btn_Info hint") << "Btn_Info" << "hint" << 12;
        QTest::newRow("Btn_Opz hint") << "Btn_Opz" << "hint" << 13;
        QTest::newRow("Btn_Close hint") << "Btn_Close" << "hint" << 14;
        QTest::newRow("Btn_New") << "Btn_New" << "text" << 15;
        QTest::newRow("Btn_Open") << "Btn_Open" << "text" << 16;
        QTest::newRow("Btn_CreateBin") << "Btn_CreateBin" << "text" << 17;
        QTest::newRow("Btn_Prm_Gen") << "Btn_Prm_Gen" << "text" << 20;
        QTest::newRow("Btn_KNX_Access") << "Btn_KNX_Access" << "text" << 21;
    }

    void texts()
    {
        QFETCH(QString, name);
        QFETCH(QString, what);
        QFETCH(int, index);
        test::Main_Window_Fixture f;
        test::Add_Language(f.App(), "German");
        test::Write_Settings(f.App(), QString(), "German");
        f.Start();
        QWidget* w = f.window->findChild<QWidget*>(name);
        QVERIFY(w);
        const QString expected = "German#" + QString::number(index);
        if (what == "hint")
            QCOMPARE(w->toolTip(), expected);
        else if (auto* label = qobject_cast<QLabel*>(w))
            QCOMPARE(label->text(), expected);
        else
            QCOMPARE(qobject_cast<QAbstractButton*>(w)->text(), expected);
    }

    void geometry_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QRect>("rect");   // width and height -1: sized to the text
        QTest::newRow("L_SW_Code") << "L_SW_Code" << QRect(16, 8, -1, -1);
        QTest::newRow("L_SW_Desc") << "L_SW_Desc" << QRect(16, 42, -1, -1);
        QTest::newRow("LL_Update") << "LL_Update" << QRect(208, 19, 294, 17);
        QTest::newRow("Btn_Info") << "Btn_Info" << QRect(516, 8, 50, 50);
        QTest::newRow("Btn_Opz") << "Btn_Opz" << QRect(574, 8, 50, 50);
        QTest::newRow("Btn_Close") << "Btn_Close" << QRect(632, 8, 50, 50);
        QTest::newRow("Shape2") << "Shape2" << QRect(80, 70, 348, 36);
        QTest::newRow("L_Name_Conf") << "L_Name_Conf" << QRect(87, 75, -1, -1);
        QTest::newRow("L_Name_Conf_L2") << "L_Name_Conf_L2" << QRect(87, 88, -1, -1);
        QTest::newRow("L_Begin") << "L_Begin" << QRect(16, 84, -1, -1);
        QTest::newRow("L_Step_1") << "L_Step_1" << QRect(16, 128, -1, -1);
        QTest::newRow("Btn_New") << "Btn_New" << QRect(80, 112, 170, 36);
        QTest::newRow("Btn_Open") << "Btn_Open" << QRect(258, 112, 170, 36);
        QTest::newRow("L_Step_2") << "L_Step_2" << QRect(16, 172, -1, -1);
        QTest::newRow("Btn_Prm_Gen") << "Btn_Prm_Gen" << QRect(80, 156, 170, 36);
        QTest::newRow("L_Step_3") << "L_Step_3" << QRect(16, 216, -1, -1);
        QTest::newRow("Btn_KNX_Access") << "Btn_KNX_Access" << QRect(80, 200, 170, 36);
        QTest::newRow("L_Step_4") << "L_Step_4" << QRect(16, 260, -1, -1);
        QTest::newRow("Btn_CreateBin") << "Btn_CreateBin" << QRect(80, 244, 170, 36);
        QTest::newRow("L_Veltrona at the height of Step 4") << "L_Veltrona" << QRect(565, 260, -1, -1);
        QTest::newRow("Shape1 under the steps") << "Shape1" << QRect(10, 295, 674, 1);
    }

    void geometry()
    {
        QFETCH(QString, name);
        QFETCH(QRect, rect);
        test::Main_Window_Fixture f;
        f.Start();
        QWidget* w = f.window->findChild<QWidget*>(name);
        QVERIFY(w);
        QCOMPARE(w->pos(), rect.topLeft());
        if (rect.width() >= 0)
            QCOMPARE(w->size(), rect.size());
        else
            QCOMPARE(w->size(), w->sizeHint());   // an auto-sized label fits its text
    }

    void window()
    {
        test::Main_Window_Fixture f;
        f.Start();
        QCOMPARE(f.window->size(), QSize(694, 396));
        QCOMPARE(f.window->minimumSize(), QSize(694, 396));
        QCOMPARE(f.window->maximumSize(), QSize(694, 396));
        QVERIFY(!(f.window->windowFlags() & Qt::WindowMinimizeButtonHint));
        QVERIFY(!(f.window->windowFlags() & Qt::WindowMaximizeButtonHint));
        QCOMPARE(f.window->palette().color(QPalette::Window), QColor(248, 247, 237));
        QCOMPARE(f.window->font().pixelSize(), 11);
        QCOMPARE(f.window->font().families().value(0), QString("Verdana"));
        QVERIFY(f.window->font().families().contains("DejaVu Sans"));
        for (const char* name : {"L_Begin", "L_Step_1", "L_Step_4", "L_Veltrona", "L_SW_Desc"}) {
            QVERIFY2(f.Find<QLabel>(name)->font().bold(), name);
            QCOMPARE(f.Find<QLabel>(name)->palette().color(QPalette::WindowText), Label_Grey());
        }
        QCOMPARE(f.Find<QLabel>("L_SW_Code")->font().pixelSize(), 32);
        QCOMPARE(f.Find<Outline_Shape>("Shape2")->Colour(), QColor(192, 192, 192));
        QCOMPARE(f.Find<QLabel>("L_Veltrona")->cursor().shape(), Qt::PointingHandCursor);
        // The dormant editors and steps 5 to 8 are not built.
        QVERIFY(!f.window->findChild<QWidget*>("L_Step_5"));
    }

    void hoverColours_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QColor>("hover");
        const QColor yellow(255, 255, 0), skyBlue(166, 202, 240);
        QTest::newRow("Btn_Info") << "Btn_Info" << yellow;
        QTest::newRow("Btn_Opz") << "Btn_Opz" << yellow;
        QTest::newRow("Btn_Close") << "Btn_Close" << yellow;
        QTest::newRow("Btn_Prm_Gen") << "Btn_Prm_Gen" << yellow;
        QTest::newRow("Btn_KNX_Access") << "Btn_KNX_Access" << yellow;
        QTest::newRow("Btn_New") << "Btn_New" << skyBlue;
        QTest::newRow("Btn_Open") << "Btn_Open" << skyBlue;
        QTest::newRow("Btn_CreateBin") << "Btn_CreateBin" << skyBlue;
    }

    void hoverColours()
    {
        QFETCH(QString, name);
        QFETCH(QColor, hover);
        test::Main_Window_Fixture f;
        f.Start();
        auto* button = f.window->findChild<Flat_Button*>(name);
        QVERIFY(button);
        const QColor rest = button->Face_Colour();
        QVERIFY(rest != hover);
        QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), button->mapToGlobal(QPointF(5, 5)));
        QApplication::sendEvent(button, &enter);
        QCOMPARE(button->Face_Colour(), hover);
        QTest::mousePress(button, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
        QCOMPARE(button->Face_Colour(), QColor(255, 165, 0));
        button->setDown(false);
        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(button, &leave);
        QCOMPARE(button->Face_Colour(), rest);
    }

    void projectStepsRefusedWithoutConfiguration_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("Set Communication") << "Btn_Prm_Gen";
        QTest::newRow("KNX Access") << "Btn_KNX_Access";
        QTest::newRow("Update Device") << "Btn_CreateBin";
    }

    void projectStepsRefusedWithoutConfiguration()
    {
        QFETCH(QString, name);
        test::Main_Window_Fixture f;
        f.Start();
        Click(f.window->findChild<Flat_Button*>(name));
        QCOMPARE(f.messages.errors, QStringList({"Error! Project not Valid"}));
        QVERIFY(f.record.compiled.isEmpty());
        QVERIFY(!QApplication::activeModalWidget());
    }

    void updateDeviceCompilesTheActiveConfiguration()
    {
        test::Main_Window_Fixture f;
        QVERIFY(QDir().mkpath(Join_Path(f.Projects(), "Plant")));
        test::Write_Settings(f.App(), "Plant", "English");
        f.Start();
        // Each press compiles, then opens the update dialog (closed here at once).
        QStringList opened;
        for (int press = 0; press < 2; ++press) {
            test::On_Modal([&opened](QWidget* modal) {
                opened << modal->objectName();
                static_cast<QDialog*>(modal)->reject();
            });
            Click(f.Find<Flat_Button>("Btn_CreateBin"));
        }
        QCOMPARE(f.record.compiled, QStringList({f.state.Dir_Project, f.state.Dir_Project}));
        QCOMPARE(opened, QStringList({"FBootTCP", "FBootTCP"}));
        QVERIFY(f.messages.shown.isEmpty());

        f.record.compile_error = "Cannot write /x/bin/bank.bin: disk full";
        Click(f.Find<Flat_Button>("Btn_CreateBin"));
        QCOMPARE(f.messages.errors, QStringList({"Cannot write /x/bin/bank.bin: disk full"}));
    }

    void editorStepsWithConfigurationOpenTheirDialogs()
    {
        test::Main_Window_Fixture f;
        QVERIFY(QDir().mkpath(Join_Path(f.Projects(), "Plant")));
        test::Write_Settings(f.App(), "Plant", "English");
        f.Start();
        QStringList opened;
        for (const char* button : {"Btn_Prm_Gen", "Btn_KNX_Access"}) {
            test::On_Modal([&opened](QWidget* modal) {
                opened << modal->objectName();
                static_cast<QDialog*>(modal)->reject();
            });
            Click(f.Find<Flat_Button>(button));
        }
        QCOMPARE(opened, QStringList({"FParGen", "FKNXAccess"}));
        QVERIFY(f.messages.shown.isEmpty());
        QVERIFY(f.record.compiled.isEmpty());
    }

    void closeButtonSavesSettings()
    {
        test::Main_Window_Fixture f;
        f.Start();
        f.state.Last_IP = "10.1.2.3";
        Click(f.Find<Flat_Button>("Btn_Close"));
        QVERIFY(!f.window->isVisible());
        QVERIFY(test::Settings_Bytes(f.App()).contains("<ipaddress>10.1.2.3</ipaddress>"));
    }

    void closeWhenSettingsCannotBeWritten()
    {
        test::Main_Window_Fixture f;
        f.Start();
        // A folder in the settings file's place cannot be replaced by a file.
        const QString path = Join_Path(f.App(), "Loomwright.xml");
        QVERIFY(QDir().mkdir(path));
        f.window->close();
        QVERIFY(!f.window->isVisible());
        QCOMPARE(f.messages.errors.size(), 1);
        QVERIFY2(f.messages.errors[0].contains(path), qPrintable(f.messages.errors[0]));
        QVERIFY2(f.messages.errors[0].contains("folder"), qPrintable(f.messages.errors[0]));
    }

    void webLabelOpensHomePage()
    {
        test::Main_Window_Fixture f;
        f.Start();
        Click(f.Find<QLabel>("L_Veltrona"));
        QCOMPARE(f.record.opened, QList<QUrl>({QUrl("http://www.veltrona.example/HOME/default.asp?frompg=KQ4315")}));
        QCOMPARE(f.Find<QLabel>("L_Veltrona")->text(), QString("veltrona.example"));
    }

    void timerFollowsPermissionsAtStart_data()
    {
        QTest::addColumn<bool>("internet");
        QTest::addColumn<bool>("update");
        QTest::newRow("none") << false << false;
        QTest::newRow("internet only") << true << false;
        QTest::newRow("update only") << false << true;
        QTest::newRow("both") << true << true;
    }

    void timerFollowsPermissionsAtStart()
    {
        QFETCH(bool, internet);
        QFETCH(bool, update);
        test::Main_Window_Fixture f;
        test::Write_Settings(f.App(), QString(), "English", internet, update);
        f.Start();
        QCOMPARE(f.window->Timer_Update->isActive(), internet && update);
        QCOMPARE(f.window->Timer_Update->interval(), 60000);
        QCOMPARE(f.record.version_checks, 0);
    }

    void timerShowsAndHidesTheUpdateLink()
    {
        test::Main_Window_Fixture f;
        test::Write_Settings(f.App(), QString(), "English", true, true);
        f.record.newer = true;
        f.Start(1, 3600000);
        auto* link = f.Find<QLabel>("LL_Update");
        QTRY_VERIFY(link->isVisible());
        QCOMPARE(f.record.version_checks, 1);
        QCOMPARE(f.window->Timer_Update->interval(), 3600000);
        QVERIFY(f.window->Timer_Update->isActive());
        QCOMPARE(link->text(), QString("<a href=\"http://downloads.test.example/Home/download/download.asp#KG4315\">"
                                       "New Version Available. Click Here for more Details</a>"));
        QTest::mouseClick(link, Qt::LeftButton, Qt::NoModifier, QPoint(10, link->height() / 2));
        QCOMPARE(f.record.opened, QList<QUrl>({QUrl("http://downloads.test.example/Home/download/download.asp#KG4315")}));

        // A later check without a newer version hides the link again.
        f.record.newer = false;
        f.window->Timer_Update->setInterval(1);
        QTRY_VERIFY(!link->isVisible());
        QVERIFY(f.record.version_checks >= 2);
        QCOMPARE(f.window->Timer_Update->interval(), 3600000);
    }

    void dialogsCreatedAndRecaptionedInOrder()
    {
        test::Main_Window_Fixture f;
        f.Start();
        QCOMPARE(f.window->Dialogs().Creation_Order(),
                 QStringList({"FBootTCP", "FNew_Project", "FOpenConf", "FAbout", "FSoftOptions", "FParGen",
                              "FKNXAccess"}));
        QCOMPARE(f.window->Dialogs().Lang_Order(),
                 QStringList({"FBootTCP", "FNew_Project", "FOpenConf", "FSoftOptions", "FParGen", "FKNXAccess"}));

        for (int i = 0; i < 1200; ++i)
            f.state.Lang_Strings[i] = "X" + QString::number(i);
        f.window->Change_Language();
        QCOMPARE(f.Find<Flat_Button>("Btn_New")->text(), QString("X15"));
        QCOMPARE(f.Find<QDialog>("FBootTCP")->windowTitle(), QString("X57"));
        QCOMPARE(f.Find<QDialog>("FNew_Project")->windowTitle(), QString("X25"));
        QCOMPARE(f.Find<QDialog>("FOpenConf")->windowTitle(), QString("X33"));
        QCOMPARE(f.Find<QDialog>("FSoftOptions")->windowTitle(), QString("X38"));
        QCOMPARE(f.Find<QDialog>("FParGen")->windowTitle(), QString("X90"));
        QCOMPARE(f.Find<QDialog>("FKNXAccess")->windowTitle(), QString("X168"));
        QCOMPARE(f.Find<QDialog>("FAbout")->windowTitle(), QString("About..."));
        // The configuration labels keep their texts until a configuration is opened or created.
        QCOMPARE(f.Find<QLabel>("L_Name_Conf")->text(), QString("None Configuration Opened "));
    }

    void dialogsCarryTheSoftwareCode()
    {
        test::Main_Window_Fixture f;
        f.Start();
        for (const char* name : {"FBootTCP", "FNew_Project", "FOpenConf", "FSoftOptions"}) {
            auto* code = f.Find<QDialog>(name)->findChild<QLabel*>("L_SW_Code");
            QVERIFY2(code, name);
            QCOMPARE(code->text(), QString("KQ4315"));
        }
    }
};

QTEST_MAIN(TestMainWindow)
#include "tst_main_window.moc"
