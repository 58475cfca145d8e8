// The Update Device dialog with its real widgets, a scripted echo client on a
// clock that only moves when the test's code lets it, and a runner that only
// records what it was asked to start. Nothing is sent to the network.

#include "update/boot_tcp_dialog.h"

#include "common/scripted_messages.h"
#include "common/test_support.h"
#include "lang/language_table.h"
#include "shell/main_window_fixture.h"
#include "update/job_file.h"
#include "widgets/flat_button.h"
#include "widgets/small_widgets.h"
#include "xml/xml_document.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace lw;

namespace {

class Fake_Clock : public Ping_Clock {
public:
    quint32 Tick_Ms() override { return now; }
    void Sleep_Ms(int ms) override { now += quint32(ms); }
    quint32 now = 5000;
};

// Scripted echo answers: bytes > 0 a reply with data (3 ms), 0 no reply (the
// client waits its 400 ms time-out), -1 an error. After the script, rest.
struct Echo_Script {
    Fake_Clock* clock = nullptr;
    QList<int> replies;
    int rest = 40;
    QStringList hosts;
    QList<QByteArray> payloads;
    std::function<void()> during;  // runs inside each echo
};

class Script_Echo : public Echo_Client {
public:
    explicit Script_Echo(Echo_Script& script) : m_script(script) {}
    Echo_Result Echo(const QString& host, const QByteArray& data, quint16, int) override
    {
        m_script.hosts << host;
        m_script.payloads << data;
        if (m_script.during)
            m_script.during();
        const int bytes = m_script.replies.isEmpty() ? m_script.rest : m_script.replies.takeFirst();
        Echo_Result r;
        if (bytes < 0) {
            r.Error = QStringLiteral("the network refused the echo");
            return r;
        }
        m_script.clock->now += bytes > 0 ? 3 : 400;
        r.Ok = true;
        r.Bytes_Received = bytes;
        return r;
    }

private:
    Echo_Script& m_script;
};

struct Run_Record {
    QString program;
    QString parameter;
    bool hidden = true;
    bool waitCursor = false;
    QByteArray jobFile;
    QStringList states;     // L_Update_State at each call of the waiting function
    bool updating = false;  // the dialog knew the updater was running, its button disabled
};

struct Boot_Fixture {
    QTemporaryDir dir;
    ProgramState state;
    test::ScriptedMessages messages;
    std::shared_ptr<Fake_Clock> clock = std::make_shared<Fake_Clock>();
    Echo_Script echo;
    QList<Run_Record> runs;
    QList<quint32> waits;                       // elapsed times the runner reports while waiting
    std::function<void()> whileWaiting;         // runs at each of them
    Run_Result runResult = test::Ended_With(0); // what the runner returns
    bool realRunner = false;                    // the configurator's own runner instead
    std::unique_ptr<TFBootTCP> dialog;

    Boot_Fixture()
    {
        state.Dir_App = dir.path();
        state.Dir_Master = Join_Path(dir.path(), "MASTER");
        state.Dir_Projects = Join_Path(dir.path(), "PROJECTS");
        state.Dir_Project = Join_Path(state.Dir_Projects, "Plant");
        state.Last_IP.clear();
        Set_Product_Texts(state);
        Set_Default_Texts(state);
        echo.clock = clock.get();

        Shell_Seams seams;
        seams.Make_Echo_Client = [this] { return std::make_unique<Script_Echo>(echo); };
        seams.Clock = clock;
        seams.Start_Program = [this](const QString& program, const QString& parameter, bool hidden,
                                     const Run_Waiting& waiting) {
            const QCursor* cursor = QApplication::overrideCursor();
            QFile job(Job_File_Path(state));
            runs.append({program, parameter, hidden, cursor && cursor->shape() == Qt::WaitCursor,
                         job.open(QIODevice::ReadOnly) ? job.readAll() : QByteArray(), {},
                         dialog->Is_Updating() && !dialog->Btn_Update->isEnabled()});
            if (realRunner)
                return With_Defaults(Update_Seams{}).Start_Program(program, parameter, hidden, waiting);
            for (quint32 ms : waits) {
                waiting(ms);
                runs.last().states << dialog->L_Update_State->text();
                if (whileWaiting)
                    whileWaiting();
            }
            return runResult;
        };
        dialog = std::make_unique<TFBootTCP>(state, messages, seams, nullptr);
    }

    void Show()
    {
        dialog->FormShow();
        dialog->show();
    }
    void Set_Boxes(const QString& a, const QString& b, const QString& c, const QString& d)
    {
        dialog->E_IP1->setText(a);
        dialog->E_IP2->setText(b);
        dialog->E_IP3->setText(c);
        dialog->E_IP4->setText(d);
    }
    QStringList Boxes() const
    {
        return {dialog->E_IP1->text(), dialog->E_IP2->text(), dialog->E_IP3->text(), dialog->E_IP4->text()};
    }
    void Ping(QList<int> replies, int rest)
    {
        echo.replies = replies;
        echo.rest = rest;
        test::Click(dialog->Btn_Ping);
    }
    bool On_Options_Page() const { return dialog->CB_Firmware->isVisible() && !dialog->E_IP1->isVisible(); }
    QColor LPing_Colour() const { return dialog->LPing->palette().color(QPalette::WindowText); }
    int Operations() const { return runs.isEmpty() ? -1 : int(runs.last().jobFile.count("<Operation>")); }
};

const QColor Green(0, 128, 0);
const QColor Red(255, 0, 0);

} // namespace

class TestBootTcpDialog : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void creation()
    {
        Boot_Fixture f;
        QCOMPARE(f.dialog->objectName(), QString("FBootTCP"));
        QVERIFY(f.dialog->isModal());
        QCOMPARE(f.dialog->size(), QSize(350, 233));
        QCOMPARE(f.dialog->windowTitle(), QString("Update Firmware from Etherner (UDP)"));
        QCOMPARE(f.dialog->findChild<QLabel*>("L_SW_Code")->text(), QString("KQ4315"));
        QCOMPARE(f.dialog->findChild<QLabel*>("L_SW_Desc")->text(), QString("Update Firmware from Etherner (UDP)"));
        QVERIFY(f.dialog->findChild<QWidget*>("P_Title"));
        for (QCheckBox* box : {f.dialog->CB_Firmware, f.dialog->CB_Read_Firm, f.dialog->CB_Conf, f.dialog->CB_Read_Conf})
            QVERIFY2(box->isChecked(), qPrintable(box->objectName()));
        QCOMPARE(f.Boxes(), QStringList({"0", "0", "0", "0"}));
    }

    void setLangCaptions_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("index");
        QTest::newRow("L_SW_Desc") << "L_SW_Desc" << 57;
        QTest::newRow("L_Ping") << "L_Ping" << 59;
        QTest::newRow("Btn_Ping") << "Btn_Ping" << 60;
        QTest::newRow("Btn_Cancel") << "Btn_Cancel" << 61;
        QTest::newRow("Btn_Next") << "Btn_Next" << 62;
        QTest::newRow("L_Options") << "L_Options" << 63;
        QTest::newRow("CB_Firmware") << "CB_Firmware" << 64;
        QTest::newRow("CB_Read_Firm") << "CB_Read_Firm" << 65;
        QTest::newRow("CB_Conf") << "CB_Conf" << 66;
        QTest::newRow("CB_Read_Conf") << "CB_Read_Conf" << 67;
        QTest::newRow("Btn_Update") << "Btn_Update" << 68;
    }

    void setLangCaptions()
    {
        QFETCH(QString, name);
        QFETCH(int, index);
        Boot_Fixture f;
        QCOMPARE(f.state.Text(index), Default_Texts()[index]);
        for (int i = 0; i < f.state.Lang_Strings.size(); ++i)
            f.state.Lang_Strings[i] = "X" + QString::number(i);
        f.dialog->Set_Lang();
        QWidget* w = f.dialog->findChild<QWidget*>(name);
        QVERIFY(w);
        const QString text = qobject_cast<QLabel*>(w) ? qobject_cast<QLabel*>(w)->text()
                                                      : qobject_cast<QAbstractButton*>(w)->text();
        QCOMPARE(text, "X" + QString::number(index));
        QCOMPARE(f.dialog->windowTitle(), QString("X57"));
    }

    void prompt()
    {
        Boot_Fixture f;
        f.Show();
        QCOMPARE(f.dialog->L_IP_Address->text(), QString("Insert the IP Address of  KG4315"));
        f.dialog->hide();
        f.state.Lang_Strings[58] = "Indirizzo IP del";
        f.Show();
        QCOMPARE(f.dialog->L_IP_Address->text(), QString("Indirizzo IP del KG4315"));
    }

    void addressPageLayout_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QPoint>("position");
        QTest::newRow("L_IP_Address") << "L_IP_Address" << QPoint(16, 75);
        QTest::newRow("E_IP1") << "E_IP1" << QPoint(35, 97);
        QTest::newRow("E_IP2") << "E_IP2" << QPoint(91, 97);
        QTest::newRow("E_IP3") << "E_IP3" << QPoint(147, 97);
        QTest::newRow("E_IP4") << "E_IP4" << QPoint(203, 97);
        QTest::newRow("Label2") << "Label2" << QPoint(83, 105);
        QTest::newRow("Label3") << "Label3" << QPoint(139, 105);
        QTest::newRow("Label4") << "Label4" << QPoint(195, 105);
        QTest::newRow("L_Ping") << "L_Ping" << QPoint(16, 136);
        QTest::newRow("Btn_Ping") << "Btn_Ping" << QPoint(35, 155);
        QTest::newRow("LPing") << "LPing" << QPoint(151, 163);
    }

    void addressPageLayout()
    {
        QFETCH(QString, name);
        QFETCH(QPoint, position);
        Boot_Fixture f;
        f.Show();
        QWidget* w = f.dialog->findChild<QWidget*>(name);
        QVERIFY(w);
        QVERIFY(w->isVisible());
        QCOMPARE(w->mapTo(f.dialog.get(), QPoint(0, 0)), position);
    }

    void optionsPageLayout_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QPoint>("position");
        QTest::newRow("L_Options") << "L_Options" << QPoint(16, 75);
        QTest::newRow("CB_Firmware") << "CB_Firmware" << QPoint(36, 96);
        QTest::newRow("CB_Read_Firm") << "CB_Read_Firm" << QPoint(56, 119);
        QTest::newRow("CB_Conf") << "CB_Conf" << QPoint(36, 142);
        QTest::newRow("CB_Read_Conf") << "CB_Read_Conf" << QPoint(56, 165);
    }

    void optionsPageLayout()
    {
        QFETCH(QString, name);
        QFETCH(QPoint, position);
        Boot_Fixture f;
        f.Show();
        QWidget* w = f.dialog->findChild<QWidget*>(name);
        QVERIFY(w);
        QVERIFY(!w->isVisible());
        f.Ping({}, 40);
        test::Click(f.dialog->Btn_Next);
        QVERIFY(w->isVisible());
        QCOMPARE(w->mapTo(f.dialog.get(), QPoint(0, 0)), position);
    }

    void pagesShowTheirControls()
    {
        Boot_Fixture f;
        f.Show();
        TFBootTCP& d = *f.dialog;
        const QList<QWidget*> address{d.L_IP_Address, d.E_IP1, d.E_IP2, d.E_IP3, d.E_IP4, d.Label2, d.Label3,
                                      d.Label4, d.L_Ping, d.Btn_Ping, d.LPing, d.Btn_Cancel, d.Btn_Next};
        const QList<QWidget*> options{d.L_Options, d.CB_Firmware, d.CB_Read_Firm, d.CB_Conf, d.CB_Read_Conf,
                                      d.Btn_Update};
        for (QWidget* w : address)
            QVERIFY2(w->isVisible(), qPrintable(w->objectName()));
        for (QWidget* w : options)
            QVERIFY2(!w->isVisible(), qPrintable(w->objectName()));
        for (QWidget* w : {static_cast<QWidget*>(d.Btn_Cancel), static_cast<QWidget*>(d.Btn_Next)})
            QVERIFY(w->parentWidget() == d.P_Button);

        f.Ping({}, 40);
        test::Click(d.Btn_Next);
        for (QWidget* w : address)
            QVERIFY2(!w->isVisible(), qPrintable(w->objectName()));
        for (QWidget* w : options)
            QVERIFY2(w->isVisible(), qPrintable(w->objectName()));
        // The update button sits at the left of the bottom band.
        QCOMPARE(d.Btn_Update->parentWidget(), d.P_Button);
        QCOMPARE(d.Btn_Update->x(), 16);
        QCOMPARE(d.P_Button->geometry().bottom(), d.height() - 1);
    }

    void lastIpFillsTheBoxesWhenValid_data()
    {
        QTest::addColumn<QString>("lastIp");
        QTest::addColumn<QStringList>("boxes");
        const QStringList kept{"10", "20", "30", "40"};
        QTest::newRow("valid with blanks around") << " 192.168.0.5 " << QStringList({"192", "168", "0", "5"});
        QTest::newRow("blanks inside") << "127 . 0 .0. 1" << QStringList({"127", "0", "0", "1"});
        QTest::newRow("octet above 255") << "192.168.0.256" << kept;
        QTest::newRow("three parts") << "192.168.0" << kept;
        QTest::newRow("five parts") << "192.168.0.5.1" << kept;
        QTest::newRow("letters") << "a.b.c.d" << kept;
        QTest::newRow("empty") << "" << kept;
    }

    void lastIpFillsTheBoxesWhenValid()
    {
        QFETCH(QString, lastIp);
        QFETCH(QStringList, boxes);
        Boot_Fixture f;
        f.Set_Boxes("10", "20", "30", "40");
        f.state.Last_IP = lastIp;
        f.Show();
        QCOMPARE(f.Boxes(), boxes);
    }

    void pointKeysMoveAlongTheBoxes()
    {
        Boot_Fixture f;
        f.Show();
        TFBootTCP& d = *f.dialog;
        QCOMPARE(d.focusWidget(), d.E_IP1);
        d.E_IP1->setText("192");
        d.E_IP1->setCursorPosition(3);
        QTest::keyClick(d.E_IP1, '.');
        QCOMPARE(d.E_IP1->text(), QString("192"));
        QCOMPARE(d.focusWidget(), d.E_IP2);
        QTest::keyClick(d.E_IP2, '.');
        QCOMPARE(d.focusWidget(), d.E_IP3);
        QTest::keyClick(d.E_IP3, '.');
        QCOMPARE(d.focusWidget(), d.E_IP4);
        QCOMPARE(f.Boxes(), QStringList({"192", "0", "0", "0"}));

        // The last box takes the point as typed.
        d.E_IP4->setText("5");
        d.E_IP4->setCursorPosition(1);
        QTest::keyClick(d.E_IP4, '.');
        QCOMPARE(d.E_IP4->text(), QString("5."));
        QCOMPARE(d.focusWidget(), d.E_IP4);

        // Other keys are left to the box.
        d.E_IP2->setText("1");
        d.E_IP2->setCursorPosition(1);
        QTest::keyClick(d.E_IP2, '7');
        QCOMPARE(d.E_IP2->text(), QString("17"));

        // A box that cannot take the focus is skipped, the point is still swallowed.
        d.E_IP3->setEnabled(false);
        d.E_IP2->setFocus();
        QTest::keyClick(d.E_IP2, '.');
        QCOMPARE(d.E_IP2->text(), QString("17"));
        QCOMPARE(d.focusWidget(), d.E_IP2);
    }

    void typingAnAddressFillsTheBoxes()
    {
        Boot_Fixture f;
        f.Show();
        for (const char c : QByteArray("192.168.0.5"))
            QTest::keyClick(f.dialog->focusWidget(), c);
        QCOMPARE(f.Boxes(), QStringList({"192", "168", "0", "5"}));
    }

    void pingResult_data()
    {
        QTest::addColumn<QList<int>>("replies");
        QTest::addColumn<int>("rest");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QColor>("colour");
        QTest::addColumn<int>("echoes");

        QTest::newRow("two replies") << QList<int>() << 40 << "Device Found!" << Green << 2;
        QTest::newRow("no reply for 10 s") << QList<int>() << 0 << "Device Not Found!" << Red << 25;
        QTest::newRow("last reply without data") << QList<int>{40} << 0 << "Device Not Found!" << Red << 26;
        QTest::newRow("replies after misses") << QList<int>{0, 0} << 40 << "Device Found!" << Green << 4;
        QTest::newRow("error") << QList<int>() << -1 << "Error!!! Check the Ip Address" << Red << 1;
        QTest::newRow("error after a reply") << QList<int>{40} << -1 << "Error!!! Check the Ip Address" << Red << 2;
    }

    void pingResult()
    {
        QFETCH(QList<int>, replies);
        QFETCH(int, rest);
        QFETCH(QString, text);
        QFETCH(QColor, colour);
        QFETCH(int, echoes);

        Boot_Fixture f;
        f.Show();
        // The host is the four texts joined as typed, and it is also the echo data.
        f.Set_Boxes("127", "0", " 0", "1");
        f.Ping(replies, rest);
        QCOMPARE(f.dialog->LPing->text(), text);
        QCOMPARE(f.LPing_Colour(), colour);
        QCOMPARE(f.dialog->Esegui_Ping(), colour == Green);
        QCOMPARE(f.echo.hosts.size(), echoes);
        QCOMPARE(f.echo.hosts.first(), QString("127.0. 0.1"));
        QCOMPARE(f.echo.payloads.first(), QByteArray("127.0. 0.1"));
        QVERIFY(!f.dialog->Is_Pinging());
        QVERIFY(f.messages.shown.isEmpty());
    }

    void nextRefusedWithoutSuccessfulPing()
    {
        Boot_Fixture f;
        f.state.Last_IP = "192.168.2.205";
        f.Show();
        test::Click(f.dialog->Btn_Next);
        QCOMPARE(f.messages.errors, QStringList({"Device not found in network"}));
        QVERIFY(!f.On_Options_Page());

        f.Ping({}, 0);
        test::Click(f.dialog->Btn_Next);
        f.Ping({}, -1);
        test::Click(f.dialog->Btn_Next);
        QCOMPARE(f.messages.errors.size(), 3);
        QVERIFY(!f.On_Options_Page());
        QCOMPARE(f.state.Last_IP, QString("192.168.2.205"));
    }

    // Last_IP and the job file get the address as the ping reached it, in
    // plain dotted decimal: an updater reading "010" as octal would target
    // another host.
    void pingedAddressIsKeptPlain_data()
    {
        QTest::addColumn<QStringList>("boxes");
        QTest::addColumn<QString>("address");
        QTest::newRow("plain") << QStringList({"127", "0", "0", "1"}) << "127.0.0.1";
        QTest::newRow("leading zeros") << QStringList({"127", "000", "001", "010"}) << "127.0.1.10";
        QTest::newRow("zeros everywhere") << QStringList({"127", "00", "000", "09"}) << "127.0.0.9";
    }

    void pingedAddressIsKeptPlain()
    {
        QFETCH(QStringList, boxes);
        QFETCH(QString, address);
        Boot_Fixture f;
        f.Show();
        f.Set_Boxes(boxes[0], boxes[1], boxes[2], boxes[3]);
        f.Ping({}, 40);
        QCOMPARE(f.echo.hosts.first(), boxes.join('.'));
        QCOMPARE(f.dialog->Pinged_Address(), address);
        test::Click(f.dialog->Btn_Next);
        QVERIFY(f.messages.shown.isEmpty());
        QVERIFY(f.On_Options_Page());
        QCOMPARE(f.state.Last_IP, address);
        test::Click(f.dialog->Btn_Update);
        QCOMPARE(f.runs.size(), 1);
        QVERIFY(f.runs.first().jobFile.contains("<IP_Address_Dev>" + address.toLatin1() + "</IP_Address_Dev>"));
    }

    // Any change of a box after a successful ping clears its result: Next
    // then refuses, as for an address never pinged.
    void changedBoxClearsThePing_data()
    {
        QTest::addColumn<int>("box");
        QTest::addColumn<QString>("typed");
        QTest::newRow("first box, a digit") << 0 << "5";
        QTest::newRow("second box, erased") << 1 << "<backspace>";
        QTest::newRow("last box, a blank") << 3 << " ";
        QTest::newRow("last box, a point") << 3 << ".";
    }

    void changedBoxClearsThePing()
    {
        QFETCH(int, box);
        QFETCH(QString, typed);
        Boot_Fixture f;
        f.state.Last_IP = "10.1.1.9";
        f.Show();
        f.Set_Boxes("127", "0", "0", "1");
        f.Ping({}, 40);
        QVERIFY(f.dialog->Esegui_Ping());
        QCOMPARE(f.dialog->LPing->text(), QString("Device Found!"));
        QLineEdit* edit = QList<QLineEdit*>({f.dialog->E_IP1, f.dialog->E_IP2, f.dialog->E_IP3, f.dialog->E_IP4})[box];
        edit->setFocus();
        edit->end(false);
        if (typed == "<backspace>")
            QTest::keyClick(edit, Qt::Key_Backspace);
        else
            QTest::keyClicks(edit, typed);
        QVERIFY(!f.dialog->Esegui_Ping());
        QVERIFY(f.dialog->Pinged_Address().isEmpty());
        QVERIFY(f.dialog->LPing->text().isEmpty());
        test::Click(f.dialog->Btn_Next);
        QCOMPARE(f.messages.errors, QStringList({"Device not found in network"}));
        QVERIFY(!f.On_Options_Page());
        QCOMPARE(f.state.Last_IP, QString("10.1.1.9"));
    }

    void boxChangedDuringThePingLeavesItUnconfirmed()
    {
        Boot_Fixture f;
        f.Show();
        f.Set_Boxes("127", "0", "0", "1");
        f.echo.during = [&] {
            if (f.echo.hosts.size() == 1)
                f.dialog->E_IP4->setText("2");
        };
        f.Ping({}, 40);
        QVERIFY(!f.dialog->Esegui_Ping());
        QVERIFY(f.dialog->LPing->text().isEmpty());
        test::Click(f.dialog->Btn_Next);
        QVERIFY(!f.On_Options_Page());
    }

    void failedPingAfterSuccessRefusesNextAgain()
    {
        Boot_Fixture f;
        f.Show();
        f.Ping({}, 40);
        QVERIFY(f.dialog->Esegui_Ping());
        f.Ping({}, 0);
        QVERIFY(!f.dialog->Esegui_Ping());
        QCOMPARE(f.LPing_Colour(), Red);
        test::Click(f.dialog->Btn_Next);
        QCOMPARE(f.messages.errors, QStringList({"Device not found in network"}));
        QVERIFY(!f.On_Options_Page());
    }

    void successDoesNotCarryOverToTheNextShowing()
    {
        Boot_Fixture f;
        f.Show();
        f.Ping({}, 40);
        f.dialog->hide();
        f.Show();
        QVERIFY(!f.dialog->Esegui_Ping());
        test::Click(f.dialog->Btn_Next);
        QCOMPARE(f.messages.errors, QStringList({"Device not found in network"}));
    }

    void pingKeepsTheWindowServedButIsNotReentered()
    {
        Boot_Fixture f;
        f.Show();
        bool servedDuringTest = false;
        bool posted = false;
        f.echo.during = [&] {
            if (posted)
                return;
            posted = true;
            // Both arrive while the test runs, through its event processing.
            QMetaObject::invokeMethod(
                f.dialog.get(), [&] { servedDuringTest = f.dialog->Is_Pinging(); }, Qt::QueuedConnection);
            QMetaObject::invokeMethod(f.dialog->Btn_Ping, "click", Qt::QueuedConnection);
        };
        f.Ping({}, 40);
        QVERIFY(servedDuringTest);
        QCOMPARE(f.echo.hosts.size(), 2);
        QCOMPARE(f.dialog->LPing->text(), QString("Device Found!"));
    }

    void closingDuringThePingWaitsForItsEnd()
    {
        Boot_Fixture f;
        f.Show();
        bool visibleAfterCancel = false;
        f.echo.during = [&] {
            if (f.echo.hosts.size() != 1)
                return;
            QMetaObject::invokeMethod(
                f.dialog.get(),
                [&] {
                    f.dialog->Btn_Cancel->click();
                    visibleAfterCancel = f.dialog->isVisible();
                },
                Qt::QueuedConnection);
        };
        f.Ping({}, 40);
        QVERIFY(visibleAfterCancel);
        QCOMPARE(f.echo.hosts.size(), 2);
        QVERIFY(!f.dialog->isVisible());
        QCOMPARE(f.dialog->result(), int(QDialog::Rejected));
    }

    void updateWritesTheJobFileAndRunsTheUpdater_data()
    {
        QTest::addColumn<bool>("firmware");
        QTest::addColumn<bool>("readFirmware");
        QTest::addColumn<bool>("configuration");
        QTest::addColumn<bool>("readConfiguration");
        QTest::addColumn<int>("operations");
        QTest::newRow("all four ticked") << true << true << true << true << 2;
        QTest::newRow("firmware only") << true << false << false << false << 1;
        QTest::newRow("configuration only") << false << false << true << true << 1;
        QTest::newRow("neither write") << false << true << false << true << 0;
    }

    void updateWritesTheJobFileAndRunsTheUpdater()
    {
        QFETCH(bool, firmware);
        QFETCH(bool, readFirmware);
        QFETCH(bool, configuration);
        QFETCH(bool, readConfiguration);
        QFETCH(int, operations);

        Boot_Fixture f;
        f.Show();
        f.Set_Boxes("127", "0", "0", "1");
        f.Ping({}, 40);
        test::Click(f.dialog->Btn_Next);
        f.dialog->CB_Firmware->setChecked(firmware);
        f.dialog->CB_Read_Firm->setChecked(readFirmware);
        f.dialog->CB_Conf->setChecked(configuration);
        f.dialog->CB_Read_Conf->setChecked(readConfiguration);
        test::Click(f.dialog->Btn_Update);

        QVERIFY(f.messages.shown.isEmpty());
        QCOMPARE(f.runs.size(), 1);
        const Run_Record& run = f.runs.first();
        QCOMPARE(run.program, Join_Path(f.dir.path(), "NetLoader.exe"));
        QVERIFY(run.parameter.isEmpty());
        QVERIFY(!run.hidden);
        QVERIFY(run.waitCursor);
        QVERIFY(!QApplication::overrideCursor());

        // The job file was in place when the updater started.
        xml::Document job;
        QVERIFY(job.Load_Bytes(run.jobFile).isEmpty());
        QCOMPARE(f.Operations(), operations);
        QVERIFY(run.jobFile.contains("<IP_Address_Dev>127.0.0.1</IP_Address_Dev>"));
        QCOMPARE(run.jobFile.count("<Ope_Read_Back>1</Ope_Read_Back>"),
                 (firmware && readFirmware ? 1 : 0) + (configuration && readConfiguration ? 1 : 0));

        // The dialog stays on its options page; a second press writes and runs again.
        QVERIFY(f.dialog->isVisible());
        QVERIFY(f.On_Options_Page());
        test::Click(f.dialog->Btn_Update);
        QCOMPARE(f.runs.size(), 2);
    }

    void failedJobFileIsShownAndTheUpdaterNotStarted()
    {
        Boot_Fixture f;
        // A folder in the job file's place: the file cannot be written.
        QVERIFY(QDir().mkpath(Job_File_Path(f.state)));
        f.Show();
        f.Ping({}, 40);
        test::Click(f.dialog->Btn_Next);
        test::Click(f.dialog->Btn_Update);
        QCOMPARE(f.messages.errors.size(), 1);
        QVERIFY(f.messages.errors.first().contains("NetLoader.xml"));
        QVERIFY(f.runs.isEmpty());
        QVERIFY(!QApplication::overrideCursor());
        QVERIFY(f.On_Options_Page());
    }

    // While the updater runs the dialog says so with the seconds elapsed, and
    // stays open; afterwards it shows how the updater ended.
    void updaterRunAndOutcomeAreShown_data()
    {
        QTest::addColumn<int>("outcome");  // Run_Outcome
        QTest::addColumn<int>("how");      // Process_Exit::Kind
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<bool>("success");
        const int ended = int(Run_Outcome::Ended);
        QTest::newRow("exit code 0") << ended << int(Process_Exit::Exited) << 0 << "Updater finished: exit code 0" << true;
        QTest::newRow("exit code 3") << ended << int(Process_Exit::Exited) << 3 << "Updater finished with exit code 3" << false;
        QTest::newRow("signal") << ended << int(Process_Exit::Signalled) << 9 << "Updater ended by signal 9" << false;
        QTest::newRow("unknown end") << ended << int(Process_Exit::Unknown) << 0
                                     << "Updater ended; its exit code is not known" << false;
        QTest::newRow("still running") << int(Run_Outcome::Still_Running) << int(Process_Exit::Unknown) << 0
                                       << "Updater still running after 150 s; no longer waiting" << false;
    }

    void updaterRunAndOutcomeAreShown()
    {
        QFETCH(int, outcome);
        QFETCH(int, how);
        QFETCH(int, code);
        QFETCH(QString, shown);
        QFETCH(bool, success);
        Boot_Fixture f;
        f.Show();
        f.Ping({}, 40);
        test::Click(f.dialog->Btn_Next);
        f.waits = {0, 999, 1000, 2400, 150000};
        f.runResult.Outcome = Run_Outcome(outcome);
        f.runResult.Exit = {Process_Exit::Kind(how), code};
        f.runResult.Elapsed_Ms = 150004;
        bool stayedOpen = true;
        f.whileWaiting = [&] {
            f.dialog->reject();  // the close box while the updater runs
            stayedOpen = stayedOpen && f.dialog->isVisible();
        };
        test::Click(f.dialog->Btn_Update);

        QCOMPARE(f.runs.size(), 1);
        QVERIFY(f.runs.first().updating);
        QCOMPARE(f.runs.first().states, QStringList({"Updater running: 0 s", "Updater running: 0 s",
                                                     "Updater running: 1 s", "Updater running: 2 s",
                                                     "Updater running: 150 s"}));
        QVERIFY(stayedOpen);
        QVERIFY(f.messages.shown.isEmpty());
        QVERIFY(!f.dialog->Is_Updating());
        QVERIFY(f.dialog->Btn_Update->isEnabled());
        QVERIFY(f.dialog->L_Update_State->isVisible());
        QCOMPARE(f.dialog->L_Update_State->text(), shown);
        QCOMPARE(f.dialog->L_Update_State->palette().color(QPalette::WindowText), success ? Green : Red);
        // Closing works again once the updater has ended.
        f.dialog->reject();
        QVERIFY(!f.dialog->isVisible());
    }

    // A missing or unusable updater is reported with its path and the reason;
    // the configurator's own runner is used, the job file stays written.
    void updaterThatCannotStartIsReported_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("reason");
        QTest::newRow("missing") << "missing" << "the file does not exist";
        QTest::newRow("not executable") << "plain file" << "the file is not executable";
        QTest::newRow("a folder") << "folder" << "it is a folder, not a program";
    }

    void updaterThatCannotStartIsReported()
    {
        QFETCH(QString, kind);
        QFETCH(QString, reason);
        Boot_Fixture f;
        f.realRunner = true;
        const QString updater = Updater_Path(f.state);
        if (kind == "plain file")
            test::Write_Bytes(updater, "#!/bin/sh\nexit 0\n");
        else if (kind == "folder")
            QVERIFY(QDir().mkpath(updater));
        f.Show();
        f.Ping({}, 40);
        test::Click(f.dialog->Btn_Next);
        test::Click(f.dialog->Btn_Update);
        QCOMPARE(f.messages.errors, QStringList({"The updater " + updater + " cannot be started: " + reason}));
        QVERIFY(QFileInfo(Job_File_Path(f.state)).isFile());
        QVERIFY(f.dialog->L_Update_State->text().isEmpty());
        QVERIFY(f.dialog->Btn_Update->isEnabled());
        QVERIFY(f.On_Options_Page());
    }

    void realUpdaterExitCodeIsShown()
    {
        Boot_Fixture f;
        f.realRunner = true;
        const QString updater = Updater_Path(f.state);
        test::Write_Bytes(updater, "#!/bin/sh\nexit 3\n");
        QVERIFY(QFile::setPermissions(updater, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
        f.Show();
        f.Ping({}, 40);
        test::Click(f.dialog->Btn_Next);
        test::Click(f.dialog->Btn_Update);
        QVERIFY(f.messages.shown.isEmpty());
        QCOMPARE(f.dialog->L_Update_State->text(), QString("Updater finished with exit code 3"));
    }

    void reopeningStartsOnTheAddressPage()
    {
        Boot_Fixture f;
        f.Show();
        f.Set_Boxes("127", "0", "0", "1");
        f.Ping({}, 40);
        test::Click(f.dialog->Btn_Next);
        f.dialog->CB_Read_Firm->setChecked(false);
        f.dialog->CB_Conf->setChecked(false);
        test::Click(f.dialog->Btn_Update);
        f.dialog->close();
        QVERIFY(!f.dialog->isVisible());

        f.Set_Boxes("9", "9", "9", "9");
        f.Show();
        QVERIFY(!f.On_Options_Page());
        QVERIFY(!f.dialog->Esegui_Ping());
        QVERIFY(f.dialog->LPing->text().isEmpty());
        // The result label keeps the colour of the last result for the next one.
        QCOMPARE(f.LPing_Colour(), Green);
        QVERIFY(f.dialog->CB_Firmware->isChecked());
        QVERIFY(!f.dialog->CB_Read_Firm->isChecked());
        QVERIFY(!f.dialog->CB_Conf->isChecked());
        QVERIFY(f.dialog->CB_Read_Conf->isChecked());
        // Last_IP, set by Next, fills the boxes.
        QCOMPARE(f.state.Last_IP, QString("127.0.0.1"));
        QCOMPARE(f.Boxes(), QStringList({"127", "0", "0", "1"}));
    }

    void closeBoxCloses()
    {
        Boot_Fixture f;
        f.Show();
        f.Ping({}, 40);
        test::Click(f.dialog->Btn_Next);
        QVERIFY(f.dialog->close());
        QVERIFY(!f.dialog->isVisible());
        QCOMPARE(f.dialog->result(), int(QDialog::Rejected));
    }

    void mainWindowFailedCompileOpensNoDialog()
    {
        test::Main_Window_Fixture f;
        QVERIFY(QDir().mkpath(Join_Path(f.Projects(), "Plant/bin")));
        test::Write_Settings(f.App(), "Plant", "English");
        f.Start();
        f.record.compile_error = "Error reading KNX_SetAccess.xml: not well-formed";
        // Closes the dialog should one open, so that a failure does not hang the test.
        bool opened = false;
        QTimer guard;
        guard.setSingleShot(true);
        connect(&guard, &QTimer::timeout, &guard, [&opened] {
            if (auto* modal = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
                opened = true;
                modal->reject();
            }
        });
        guard.start(10);
        test::Click(f.Find<Flat_Button>("Btn_CreateBin"));
        QVERIFY(!opened);
        QCOMPARE(f.messages.errors, QStringList({"Error reading KNX_SetAccess.xml: not well-formed"}));
        QCOMPARE(f.record.compiled.size(), 1);
        QVERIFY(!f.Find<QDialog>("FBootTCP")->isVisible());
        QVERIFY(!QApplication::activeModalWidget());
    }

    void mainWindowOpensTheDialogAfterCompile()
    {
        test::Main_Window_Fixture f;
        QVERIFY(QDir().mkpath(Join_Path(f.Projects(), "Plant/bin")));
        test::Write_Settings(f.App(), "Plant", "English");
        f.Start();
        auto* boot = f.Find<TFBootTCP>("FBootTCP");
        QVERIFY(boot);
        QString modalName;
        int compiledWhenShown = -1;
        QString prompt;
        test::On_Modal([&](QWidget* modal) {
            modalName = modal->objectName();
            compiledWhenShown = f.record.compiled.size();
            prompt = boot->L_IP_Address->text();
            // The offline echo client refuses every echo: an error result, no options page.
            test::Click(boot->Btn_Ping);
            test::Click(boot->Btn_Next);
            static_cast<QDialog*>(modal)->reject();
        });
        test::Click(f.Find<Flat_Button>("Btn_CreateBin"));
        QCOMPARE(modalName, QString("FBootTCP"));
        QCOMPARE(compiledWhenShown, 1);
        QCOMPARE(prompt, f.state.Text(58) + " KG4315");
        QCOMPARE(boot->LPing->text(), f.state.Text(71));
        QCOMPARE(f.messages.errors, QStringList({f.state.Text(72)}));
        QVERIFY(f.record.started.isEmpty());
        QVERIFY(!boot->isVisible());
    }
};

QTEST_MAIN(TestBootTcpDialog)
#include "tst_boot_tcp_dialog.moc"
