#include "comm_settings/pargen_dialog.h"
#include "common/scripted_messages.h"
#include "common/test_support.h"
#include "knx_access/lang_fixture.h"
#include "shell/main_window.h"
#include "shell/projects.h"
#include "widgets/flat_button.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <memory>

using namespace lw;

namespace {

// The English texts of the dialog's captions and its cancel question, added
// to the message texts of the data check.
ProgramState Dialog_State()
{
    ProgramState state = test::State_With_Messages();
    const std::pair<int, const char*> texts[] = {
        {18, "Error! Project not Valid"}, {90, "Set Communication"}, {91, "Set Communication Setting"},
        {92, "OK"}, {93, "Cancel"}, {94, " KNX "}, {95, "Type"}, {96, "ID Device"}, {121, "Collapse"},
        {122, "Expand"}, {167, "Do you want to exit without saving changes?"}, {890, "IP ADDRESS"},
        {891, "SUBNET Mask"}, {892, "GATEWAY"}, {955, " SNMP "}, {956, "SNMP Name of Station"},
    };
    for (const auto& [index, text] : texts)
        state.Lang_Strings[index] = QString::fromUtf8(text);
    state.SW_Code = QStringLiteral("KG4315");
    return state;
}

QByteArray Par_Gen(const QByteArray& children)
{
    return "<Par_Gen>" + children + "</Par_Gen><!--SW_VERSION = 1.002-->";
}

// Replaces a box's text by typing, as a user who selected it all would.
void Type_Into(QLineEdit* box, const QString& text)
{
    box->setFocus();
    box->selectAll();
    if (text.isEmpty())
        QTest::keyClick(box, Qt::Key_Backspace);
    else
        QTest::keyClicks(box, text);
}

// Ticks or clears a check box with the mouse.
void Click_Box(QCheckBox* box)
{
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(6, box->height() / 2));
}

} // namespace

class TestParGenDialog : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_dir;
    ProgramState m_state;
    test::ScriptedMessages m_messages;
    std::unique_ptr<TFParGen> m_dialog;

    QString File() const { return m_state.File_ParGen; }

    // Loads the file into the dialog and shows it as the active window.
    bool Open()
    {
        m_dialog->FormShow();
        m_dialog->show();
        m_dialog->activateWindow();
        return QTest::qWaitForWindowActive(m_dialog.get());
    }

    QLineEdit* Edit(const QString& name) const { return m_dialog->findChild<QLineEdit*>(name); }

    QStringList Octet_Texts() const
    {
        QStringList texts;
        for (const char* name : {"E_IP1", "E_IP2", "E_IP3", "E_IP4", "E_SM1", "E_SM2", "E_SM3", "E_SM4", "E_GAT1",
                                 "E_GAT2", "E_GAT3", "E_GAT4"})
            texts << Edit(QString::fromLatin1(name))->text();
        return texts;
    }

private Q_SLOTS:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
        m_state = Dialog_State();
        m_state.Dir_Project = m_dir->path();
        Set_Files(m_state);
        m_messages.Reset();
        m_dialog = std::make_unique<TFParGen>(m_state, m_messages, nullptr);
    }

    void cleanup()
    {
        m_dialog.reset();
        m_dir.reset();
    }

    void captions_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("text");
        const char* rows[][2] = {
            {"L_SW_Code", "KG4315"},           {"L_SW_Desc", "Set Communication Setting"},
            {"Btn_OK", "OK"},                  {"Btn_Cancel", "Cancel"},
            {"GB_KNX", " KNX "},               {"L_KNX_Type", "Type"},
            {"L_KNX_ID_Dev", "ID Device"},     {"GB_PROFINET", " SNMP "},
            {"L_PROFINET_IP_Add", "IP ADDRESS"}, {"L_PROFINET_Subnet_Mask", "SUBNET Mask"},
            {"CB_EN_GAT", "GATEWAY"},          {"L_PROFINET_Name_Station", "SNMP Name of Station"},
            {"Btn_KNX_Collapse", "Collapse"},  {"Btn_PROFINET_Collapse", "Collapse"},
            {"Btn_KNX_Expande", "Expand"},     {"Btn_PROFINET_Expande", "Expand"},
        };
        for (const auto& r : rows)
            QTest::newRow(r[0]) << QString::fromLatin1(r[0]) << QString::fromLatin1(r[1]);
    }

    void captions()
    {
        QFETCH(QString, name);
        QFETCH(QString, text);
        QCOMPARE(m_dialog->windowTitle(), QStringLiteral("Set Communication"));
        QWidget* w = m_dialog->findChild<QWidget*>(name);
        QVERIFY(w);
        QString shown;
        if (auto* label = qobject_cast<QLabel*>(w))
            shown = label->text();
        else if (auto* group = qobject_cast<QGroupBox*>(w))
            shown = group->title();
        else if (auto* box = qobject_cast<QCheckBox*>(w))
            shown = box->text();
        else if (auto* button = qobject_cast<Flat_Button*>(w))
            shown = name.contains(QStringLiteral("Collapse")) || name.contains(QStringLiteral("Expande"))
                ? button->toolTip() : button->text();
        QCOMPARE(shown, text);
    }

    void languageChangeReCaptions()
    {
        m_state.Lang_Strings[955] = QStringLiteral(" RETE ");
        m_state.Lang_Strings[167] = QStringLiteral("Uscire?");
        m_dialog->Set_Lang();
        QCOMPARE(m_dialog->GB_PROFINET->title(), QStringLiteral(" RETE "));
    }

    void geometry_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QRect>("rect");   // an empty size: only the position counts
        const struct {
            const char* name;
            QRect rect;
        } rows[] = {
            {"GB_KNX", {8, 70, 296, 91}},           {"L_KNX_Type", {16, 24, 0, 0}},
            {"CB_KNX_Type", {84, 21, 191, 22}},     {"L_KNX_ID_Dev", {16, 58, 0, 0}},
            {"E_ID_DEV_KNX", {84, 55, 191, 21}},    {"Btn_KNX_Collapse", {280, 10, 11, 11}},
            {"Btn_KNX_Expande", {280, 10, 11, 11}}, {"GB_PROFINET", {8, 167, 296, 246}},
            {"L_PROFINET_IP_Add", {16, 24, 0, 0}},  {"E_IP1", {16, 43, 60, 21}},
            {"E_IP2", {82, 43, 60, 21}},            {"E_IP3", {148, 43, 60, 21}},
            {"E_IP4", {214, 43, 60, 21}},           {"L_PROFINET_Subnet_Mask", {16, 79, 0, 0}},
            {"E_SM1", {16, 98, 60, 21}},            {"E_SM4", {214, 98, 60, 21}},
            {"CB_EN_GAT", {16, 134, 97, 17}},       {"E_GAT1", {16, 154, 60, 21}},
            {"E_GAT4", {214, 154, 60, 21}},         {"L_PROFINET_Name_Station", {16, 191, 0, 0}},
            {"E_Profinet_Name_Station", {16, 210, 258, 21}}, {"Btn_PROFINET_Collapse", {280, 10, 11, 11}},
            {"Btn_OK", {71, 426, 112, 28}},         {"Btn_Cancel", {192, 426, 112, 28}},
            {"L_SW_Code", {16, 8, 0, 0}},           {"L_SW_Desc", {16, 42, 0, 0}},
        };
        for (const auto& r : rows)
            QTest::newRow(r.name) << QString::fromLatin1(r.name) << r.rect;
    }

    void geometry()
    {
        QFETCH(QString, name);
        QFETCH(QRect, rect);
        QVERIFY(Open());
        QCOMPARE(m_dialog->size(), QSize(312, 467));
        QWidget* w = m_dialog->findChild<QWidget*>(name);
        QVERIFY(w);
        if (rect.size().isEmpty())
            QCOMPARE(w->pos(), rect.topLeft());
        else
            QCOMPARE(w->geometry(), rect);
    }

    void dotsBetweenTheOctets()
    {
        // Three "." labels in each address row, three pixels below its boxes.
        QList<QPoint> dots;
        for (QLabel* label : m_dialog->GB_PROFINET->findChildren<QLabel*>(QStringLiteral("L_Dot"))) {
            QCOMPARE(label->text(), QStringLiteral("."));
            dots << label->pos();
        }
        QList<QPoint> expected;
        for (int top : {43, 98, 154})
            for (int left : {77, 143, 209})
                expected << QPoint(left, top + 3);
        QCOMPARE(dots, expected);
    }

    void firstOpeningShowsDefaultsAndOkWritesThem()
    {
        QVERIFY(Open());
        QCOMPARE(m_dialog->CB_KNX_Type->currentText(), QStringLiteral("KNX TP"));
        QVERIFY(!m_dialog->CB_KNX_Type->isEnabled());
        QCOMPARE(m_dialog->E_ID_DEV_KNX->text(), QStringLiteral("1.1.200"));
        QCOMPARE(Octet_Texts(), (QStringList{"192", "168", "0", "5", "255", "255", "255", "0", "192", "168", "0", "1"}));
        QVERIFY(!m_dialog->CB_EN_GAT->isChecked());
        QCOMPARE(m_dialog->E_Profinet_Name_Station->text(), QStringLiteral("devicename1"));
        QVERIFY(!m_dialog->Is_Change());

        QTest::mouseClick(m_dialog->Btn_OK, Qt::LeftButton);
        QCOMPARE(m_messages.shown, QStringList());
        QVERIFY(!m_dialog->isVisible());
        QCOMPARE(m_dialog->result(), int(QDialog::Accepted));
        ParGen_Values saved;
        saved.KNX_ID_DEV.clear();
        QVERIFY(Load_ParGen(File(), saved).isEmpty());
        QCOMPARE(saved, ParGen_Values());
        QVERIFY(test::Read_Bytes(File()).contains("<PROFINET_EN_GAT>0</PROFINET_EN_GAT>"));
    }

    void typingAnAddressFillsTheFourBoxes()
    {
        ParGen_Values values;
        values.PROFINET_IP1 = QStringLiteral("10");
        values.PROFINET_IP2 = QStringLiteral("20");
        values.PROFINET_IP3 = QStringLiteral("30");
        values.PROFINET_IP4 = QStringLiteral("40");
        QVERIFY(Save_ParGen(values, File()).isEmpty());
        QVERIFY(Open());
        m_dialog->E_IP1->setFocus();
        m_dialog->E_IP1->selectAll();
        QLineEdit* const boxes[] = {m_dialog->E_IP1, m_dialog->E_IP2, m_dialog->E_IP3, m_dialog->E_IP4};
        const QStringList before{"10", "20", "30", "40"};
        int at = 0;
        for (const QChar c : QStringLiteral("192.168.0.5")) {
            QTest::keyClick(QApplication::focusWidget(), c.toLatin1());
            if (c == QLatin1Char('.')) {
                ++at;
                QCOMPARE(QApplication::focusWidget(), boxes[at]);
                QCOMPARE(boxes[at]->selectedText(), before[at]);
            }
        }
        QCOMPARE(Octet_Texts().mid(0, 4), (QStringList{"192", "168", "0", "5"}));
        QCOMPARE(QApplication::focusWidget(), m_dialog->E_IP4);
    }

    void dotMovesAlongTheChain_data()
    {
        QTest::addColumn<QString>("from");
        QTest::addColumn<QString>("to");
        const QStringList chain{"E_IP1", "E_IP2", "E_IP3", "E_IP4", "E_SM1", "E_SM2", "E_SM3", "E_SM4",
                                "E_GAT1", "E_GAT2", "E_GAT3", "E_GAT4"};
        for (int i = 0; i < chain.size(); ++i)
            QTest::newRow(qPrintable(chain[i])) << chain[i] << chain[std::min<int>(i + 1, chain.size() - 1)];
    }

    void dotMovesAlongTheChain()
    {
        QFETCH(QString, from);
        QFETCH(QString, to);
        QVERIFY(Open());
        const QStringList before = Octet_Texts();
        Edit(from)->setFocus();
        Edit(from)->end(false);
        QTest::keyClick(Edit(from), '.');
        // The dot is swallowed everywhere, also in E_GAT4, where nothing else happens.
        QCOMPARE(Octet_Texts(), before);
        QCOMPARE(QApplication::focusWidget(), Edit(to));
        QCOMPARE(Edit(to)->selectedText(), from == to ? QString() : Edit(to)->text());
        // Other keys reach the box, letters included.
        QTest::keyClick(Edit(from), 'x');
        QVERIFY(Edit(from)->text().endsWith(QLatin1Char('x')));
    }

    void dotIsTypedIntoTheIdDevice()
    {
        QVERIFY(Open());
        Type_Into(m_dialog->E_ID_DEV_KNX, QStringLiteral("1.2.3"));
        QCOMPARE(m_dialog->E_ID_DEV_KNX->text(), QStringLiteral("1.2.3"));
        QCOMPARE(QApplication::focusWidget(), m_dialog->E_ID_DEV_KNX);
    }

    void dataCheck_data()
    {
        QTest::addColumn<QStringList>("entries");   // "box=typed text"
        QTest::addColumn<bool>("gateway");
        QTest::addColumn<int>("entry");              // 0: the check passes

        const auto row = [](const char* name, const QStringList& entries, bool gateway, int entry) {
            QTest::newRow(name) << entries << gateway << entry;
        };
        row("id 0.0.0", {"E_ID_DEV_KNX=0.0.0"}, false, 123);
        row("id 16.1.1", {"E_ID_DEV_KNX=16.1.1"}, false, 123);
        row("id 1.1.256", {"E_ID_DEV_KNX=1.1.256"}, false, 123);
        row("id empty", {"E_ID_DEV_KNX="}, false, 123);
        row("id 15.15.255", {"E_ID_DEV_KNX=15.15.255"}, false, 0);
        row("id with blanks", {"E_ID_DEV_KNX= 1.1.200 "}, false, 0);
        row("ip1 256", {"E_IP1=256"}, false, 957);
        row("ip1 -1", {"E_IP1=-1"}, false, 957);
        row("ip1 abc", {"E_IP1=abc"}, false, 957);
        row("ip1 empty", {"E_IP1="}, false, 957);
        row("ip1 leading blank", {"E_IP1= 7"}, false, 0);
        row("ip1 trailing blank", {"E_IP1=7 "}, false, 957);
        row("ip2", {"E_IP2=300"}, false, 958);
        row("ip3", {"E_IP3=x"}, false, 959);
        row("ip4", {"E_IP4="}, false, 960);
        row("sm1", {"E_SM1=256"}, false, 961);
        row("sm2", {"E_SM2=256"}, false, 962);
        row("sm3", {"E_SM3=256"}, false, 963);
        row("sm4", {"E_SM4=256"}, false, 964);
        row("gat1 unused", {"E_GAT1=999"}, false, 0);
        row("gat4 unused", {"E_GAT4=999"}, false, 0);
        row("gat1", {"E_GAT1=999"}, true, 965);
        row("gat2", {"E_GAT2=999"}, true, 966);
        row("gat3", {"E_GAT3=999"}, true, 967);
        row("gat4", {"E_GAT4=999"}, true, 968);
        row("gateway in use", {"E_GAT1=010"}, true, 0);
        row("first failure wins", {"E_SM3=999", "E_ID_DEV_KNX=0.0.0"}, false, 123);
        row("ip before mask", {"E_SM1=-5", "E_IP4=256"}, true, 960);
        row("mask before gateway", {"E_GAT1=-5", "E_SM4=256"}, true, 964);
        row("name and type untested", {"E_Profinet_Name_Station="}, false, 0);
    }

    void dataCheck()
    {
        QFETCH(QStringList, entries);
        QFETCH(bool, gateway);
        QFETCH(int, entry);
        QVERIFY(Open());
        for (const QString& e : entries) {
            const qsizetype eq = e.indexOf(QLatin1Char('='));
            QLineEdit* box = Edit(e.left(eq));
            QVERIFY(box);
            Type_Into(box, e.mid(eq + 1));
            QCOMPARE(box->text(), e.mid(eq + 1));
        }
        if (gateway)
            Click_Box(m_dialog->CB_EN_GAT);
        QCOMPARE(m_dialog->CB_EN_GAT->isChecked(), gateway);
        const ParGen_Values typed = m_dialog->Read_Controls();

        QTest::mouseClick(m_dialog->Btn_OK, Qt::LeftButton);
        if (entry != 0) {
            QCOMPARE(m_messages.errors, QStringList{m_state.Text(entry)});
            QVERIFY(m_dialog->isVisible());
            QVERIFY(!QFileInfo::exists(File()));
            QCOMPARE(m_dialog->Read_Controls(), typed);
            QVERIFY(m_dialog->Is_Change());
        } else {
            QCOMPARE(m_messages.shown, QStringList());
            QVERIFY(!m_dialog->isVisible());
            ParGen_Values saved;
            QVERIFY(Load_ParGen(File(), saved).isEmpty());
            QCOMPARE(saved, typed);
        }
    }

    void cancelRightAfterOpeningAsksNothing()
    {
        QVERIFY(Open());
        QTest::mouseClick(m_dialog->Btn_Cancel, Qt::LeftButton);
        QCOMPARE(m_messages.shown, QStringList());
        QVERIFY(!m_dialog->isVisible());
        QCOMPARE(m_dialog->result(), int(QDialog::Rejected));
        QVERIFY(!QFileInfo::exists(File()));
    }

    void cancelAfterAChange_data()
    {
        QTest::addColumn<QString>("change");
        QTest::newRow("typed back") << "typed back";
        QTest::newRow("gateway clicked twice") << "gateway";
        QTest::newRow("station name") << "name";
        QTest::newRow("escape key") << "escape";
    }

    void cancelAfterAChange()
    {
        QFETCH(QString, change);
        ParGen_Values stored;
        stored.PROFINET_IP4 = QStringLiteral("9");
        QVERIFY(Save_ParGen(stored, File()).isEmpty());
        const QByteArray before = test::Read_Bytes(File());
        QVERIFY(Open());
        if (change == QStringLiteral("gateway")) {
            Click_Box(m_dialog->CB_EN_GAT);
            Click_Box(m_dialog->CB_EN_GAT);
        } else if (change == QStringLiteral("name")) {
            QTest::keyClick(m_dialog->E_Profinet_Name_Station, 'x');
        } else {
            Type_Into(m_dialog->E_IP4, QStringLiteral("7"));
            Type_Into(m_dialog->E_IP4, QStringLiteral("9"));
        }
        QVERIFY(m_dialog->Is_Change());
        const ParGen_Values entries = m_dialog->Read_Controls();
        const auto cancel = [&] {
            if (change == QStringLiteral("escape"))
                QTest::keyClick(m_dialog->E_IP4, Qt::Key_Escape);
            else
                QTest::mouseClick(m_dialog->Btn_Cancel, Qt::LeftButton);
        };

        m_messages.answers = {false};
        cancel();
        QCOMPARE(m_messages.questions, QStringList{QStringLiteral("Do you want to exit without saving changes?")});
        QVERIFY(m_dialog->isVisible());
        QCOMPARE(m_dialog->Read_Controls(), entries);
        QVERIFY(m_dialog->Is_Change());

        m_messages.answers = {true};
        cancel();
        QCOMPARE(m_messages.questions.size(), 2);
        QVERIFY(!m_dialog->isVisible());
        QCOMPARE(m_dialog->result(), int(QDialog::Rejected));
        QCOMPARE(test::Read_Bytes(File()), before);
        QCOMPARE(m_messages.errors, QStringList());

        // The next opening starts unchanged with the file's values.
        QVERIFY(Open());
        QVERIFY(!m_dialog->Is_Change());
        QCOMPARE(m_dialog->E_IP4->text(), QStringLiteral("9"));
        QVERIFY(!m_dialog->CB_EN_GAT->isChecked());
    }

    void closeBoxClosesWithoutAsking()
    {
        QVERIFY(Open());
        Type_Into(m_dialog->E_IP1, QStringLiteral("10"));
        QVERIFY(m_dialog->close());
        QCOMPARE(m_messages.shown, QStringList());
        QCOMPARE(m_dialog->result(), int(QDialog::Rejected));
        QVERIFY(!QFileInfo::exists(File()));
    }

    void typeOutsideTheListSavesMinusOne_data()
    {
        QTest::addColumn<QByteArray>("stored");
        QTest::addColumn<int>("selection");
        QTest::addColumn<QByteArray>("written");
        QTest::newRow("7") << QByteArray("7") << -1 << QByteArray("-1");
        QTest::newRow("1") << QByteArray("1") << 1 << QByteArray("1");
        QTest::newRow("-3") << QByteArray("-3") << -1 << QByteArray("-1");
    }

    void typeOutsideTheListSavesMinusOne()
    {
        QFETCH(QByteArray, stored);
        QFETCH(int, selection);
        QFETCH(QByteArray, written);
        test::Write_Bytes(File(), Par_Gen("<KNX_TYPE>" + stored + "</KNX_TYPE>"));
        QVERIFY(Open());
        QCOMPARE(m_dialog->CB_KNX_Type->currentIndex(), selection);
        QTest::mouseClick(m_dialog->Btn_OK, Qt::LeftButton);
        QCOMPARE(m_messages.shown, QStringList());
        QVERIFY(test::Read_Bytes(File()).contains("<KNX_TYPE>" + written + "</KNX_TYPE>"));
    }

    void collapseAndExpand_data()
    {
        QTest::addColumn<QStringList>("clicks");
        QTest::addColumn<int>("knxHeight");
        QTest::addColumn<int>("snmpTop");
        QTest::addColumn<int>("snmpHeight");
        QTest::addColumn<int>("buttonsTop");
        QTest::addColumn<int>("clientHeight");

        QTest::newRow("expanded") << QStringList() << 91 << 167 << 246 << 426 << 467;
        QTest::newRow("knx collapsed") << QStringList{"Btn_KNX_Collapse"} << 26 << 102 << 246 << 361 << 402;
        QTest::newRow("knx expanded again") << QStringList{"Btn_KNX_Collapse", "Btn_KNX_Expande"} << 91 << 167 << 246
                                            << 426 << 467;
        QTest::newRow("snmp collapsed") << QStringList{"Btn_PROFINET_Collapse"} << 91 << 167 << 26 << 206 << 247;
        QTest::newRow("both collapsed") << QStringList{"Btn_PROFINET_Collapse", "Btn_KNX_Collapse"} << 26 << 102 << 26
                                        << 141 << 182;
        QTest::newRow("snmp expanded again")
            << QStringList{"Btn_PROFINET_Collapse", "Btn_KNX_Collapse", "Btn_PROFINET_Expande"} << 26 << 102 << 246
            << 361 << 402;
    }

    void collapseAndExpand()
    {
        QFETCH(QStringList, clicks);
        QFETCH(int, knxHeight);
        QFETCH(int, snmpTop);
        QFETCH(int, snmpHeight);
        QFETCH(int, buttonsTop);
        QFETCH(int, clientHeight);
        QVERIFY(Open());
        for (const QString& name : clicks) {
            auto* button = m_dialog->findChild<Flat_Button*>(name);
            QVERIFY(button && button->isVisible());
            QTest::mouseClick(button, Qt::LeftButton);
        }
        const auto check = [&] {
            QCOMPARE(m_dialog->GB_KNX->geometry(), QRect(8, 70, 296, knxHeight));
            QCOMPARE(m_dialog->GB_PROFINET->geometry(), QRect(8, snmpTop, 296, snmpHeight));
            QCOMPARE(m_dialog->Btn_OK->geometry(), QRect(71, buttonsTop, 112, 28));
            QCOMPARE(m_dialog->Btn_Cancel->geometry(), QRect(192, buttonsTop, 112, 28));
            QCOMPARE(m_dialog->size(), QSize(312, clientHeight));
            const bool knx = knxHeight != 26;
            const bool snmp = snmpHeight != 26;
            QCOMPARE(m_dialog->GB_KNX_Visible(), knx);
            QCOMPARE(m_dialog->GB_PROFINET_Visible(), snmp);
            QCOMPARE(m_dialog->L_KNX_Type->isVisible(), knx);
            QCOMPARE(m_dialog->CB_KNX_Type->isVisible(), knx);
            QCOMPARE(m_dialog->Btn_KNX_Collapse->isVisible(), knx);
            QCOMPARE(m_dialog->Btn_KNX_Expande->isVisible(), !knx);
            QCOMPARE(m_dialog->L_PROFINET_IP_Add->isVisible(), snmp);
            QCOMPARE(m_dialog->Btn_PROFINET_Collapse->isVisible(), snmp);
            QCOMPARE(m_dialog->Btn_PROFINET_Expande->isVisible(), !snmp);
        };
        check();
        if (QTest::currentTestFailed())
            return;
        // The state lasts for the run: the next opening keeps it.
        m_dialog->close();
        QVERIFY(Open());
        check();
        if (QTest::currentTestFailed())
            return;
        // A new program run starts expanded.
        m_dialog = std::make_unique<TFParGen>(m_state, m_messages, nullptr);
        QVERIFY(Open());
        QCOMPARE(m_dialog->GB_PROFINET->y(), 167);
        QCOMPARE(m_dialog->size(), QSize(312, 467));
    }

    void activationMovesANegativeTopToZero()
    {
        QVERIFY(Open());
        m_dialog->move(40, -30);
        m_dialog->FormActivate();
        QCOMPARE(m_dialog->pos(), QPoint(40, 0));
        m_dialog->move(40, 25);
        m_dialog->FormActivate();
        QCOMPARE(m_dialog->pos(), QPoint(40, 25));
    }

    void notWellFormedFileOpensWithDefaults()
    {
        const QByteArray broken = "<Par_Gen><PROFINET_IP1>10</PROFINET_IP1></Par_G";
        test::Write_Bytes(File(), broken);
        QVERIFY(Open());
        QCOMPARE(m_messages.errors.size(), 1);
        QVERIFY2(m_messages.errors[0].contains(File()), qPrintable(m_messages.errors[0]));
        QCOMPARE(m_dialog->Read_Controls(), ParGen_Values());
        QVERIFY(!m_dialog->Is_Change());
        QTest::mouseClick(m_dialog->Btn_Cancel, Qt::LeftButton);
        QCOMPARE(m_messages.questions, QStringList());
        QVERIFY(!m_dialog->isVisible());
        QCOMPARE(test::Read_Bytes(File()), broken);

        // Confirmed with OK, the file is written anew.
        m_messages.Reset();
        QVERIFY(Open());
        QCOMPARE(m_messages.errors.size(), 1);
        QTest::mouseClick(m_dialog->Btn_OK, Qt::LeftButton);
        QVERIFY(!m_dialog->isVisible());
        ParGen_Values saved;
        QVERIFY(Load_ParGen(File(), saved).isEmpty());
        QCOMPARE(saved, ParGen_Values());
    }

    void stationNameTyping_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<bool>("selectAll");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");

        QTest::newRow("lower case") << "" << true << "Plant-B Node" << "plant-b node";
        QTest::newRow("15 characters") << "" << true << "ABCDEFGHIJKLMNOPQR" << "abcdefghijklmno";
        QTest::newRow("appended up to 15") << "devicename1" << false << "XYZW12" << "devicename1xyzw";
        QTest::newRow("stored upper case kept") << "Station_A" << false << "B" << "Station_Ab";
        QTest::newRow("stored longer than 15") << "Station-NAME-20-chars" << false << "x" << "Station-NAME-20-chars";
        QTest::newRow("longer one replaced") << "Station-NAME-20-chars" << true << "AB" << "ab";
        QTest::newRow("backspace in longer one") << "Station-NAME-20-chars" << false << "\b" << "Station-NAME-20-char";
    }

    void stationNameTyping()
    {
        QFETCH(QString, stored);
        QFETCH(bool, selectAll);
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        ParGen_Values values;
        values.PROFINET_NAME_STA = stored;
        QVERIFY(Save_ParGen(values, File()).isEmpty());
        QVERIFY(Open());
        QLineEdit* box = m_dialog->E_Profinet_Name_Station;
        QCOMPARE(box->text(), stored);
        box->setFocus();
        box->end(false);
        if (selectAll)
            box->selectAll();
        if (typed == QStringLiteral("\b"))
            QTest::keyClick(box, Qt::Key_Backspace);
        else
            QTest::keyClicks(box, typed);
        QCOMPARE(box->text(), shown);
        QTest::mouseClick(m_dialog->Btn_OK, Qt::LeftButton);
        ParGen_Values saved;
        QVERIFY(Load_ParGen(File(), saved).isEmpty());
        QCOMPARE(saved.PROFINET_NAME_STA, shown);
    }

    void stationNamePasted()
    {
        QVERIFY(Open());
        QLineEdit* box = m_dialog->E_Profinet_Name_Station;
        box->setFocus();
        box->setText(QString());
        QApplication::clipboard()->setText(QStringLiteral("HELLO World 1234567"));
        box->paste();
        QCOMPARE(box->text(), QStringLiteral("hello world 123"));
        // Pasted into the middle: only what still fits is inserted.
        box->setCursorPosition(5);
        box->paste();
        QCOMPARE(box->text(), QStringLiteral("hello world 123"));
        QTest::keyClick(box, Qt::Key_Backspace);
        QTest::keyClick(box, Qt::Key_Backspace);
        QApplication::clipboard()->setText(QStringLiteral("XYZ"));
        box->paste();
        QCOMPARE(box->text(), QStringLiteral("helxy world 123"));
    }

    void failedSaveKeepsTheDialogOpen()
    {
        QVERIFY(Open());
        Type_Into(m_dialog->E_IP1, QStringLiteral("10"));
        const ParGen_Values entries = m_dialog->Read_Controls();
        QVERIFY(QDir().mkpath(File()));   // the file's place is taken by a folder
        QTest::mouseClick(m_dialog->Btn_OK, Qt::LeftButton);
        QCOMPARE(m_messages.errors.size(), 1);
        QVERIFY2(m_messages.errors[0].contains(File()), qPrintable(m_messages.errors[0]));
        QVERIFY(m_dialog->isVisible());
        QVERIFY(m_dialog->result() != QDialog::Accepted);
        QCOMPARE(m_dialog->Read_Controls(), entries);
        QVERIFY(QFileInfo(File()).isDir());
    }

    void mainWindowOpensTheDialog()
    {
        QTemporaryDir app;
        QVERIFY(app.isValid());
        ProgramState state;
        test::ScriptedMessages messages;
        Shell_Seams seams;
        seams.Check_Version = [] { return false; };
        seams.Open_Url = [](const QUrl&) {};
        seams.Compile_Image = [](const ProgramState&) { return QString(); };
        TFLoomwrightFirmWare window(state, messages, app.path(), seams);
        state.Lang_Strings = Dialog_State().Lang_Strings;
        window.Change_Language();
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));

        const QStringList order = window.Dialogs().Creation_Order();
        QVERIFY(order.indexOf(QStringLiteral("FParGen")) > order.indexOf(QStringLiteral("FSoftOptions")));
        QVERIFY(window.Dialogs().Lang_Order().contains(QStringLiteral("FParGen")));
        auto* dialog = window.findChild<TFParGen*>(QStringLiteral("FParGen"));
        QVERIFY(dialog);
        QCOMPARE(dialog->windowTitle(), QStringLiteral("Set Communication"));

        auto* button = window.findChild<Flat_Button*>(QStringLiteral("Btn_Prm_Gen"));
        QWidget* opened = nullptr;
        bool fired = false;
        QString ip1;
        const auto watch = [&] {
            fired = false;
            QTimer::singleShot(0, &window, [&] {
                fired = true;
                opened = QApplication::activeModalWidget();
                if (opened == dialog) {
                    ip1 = dialog->E_IP1->text();
                    QTest::mouseClick(dialog->Btn_Cancel, Qt::LeftButton);
                }
            });
        };

        // Without a configuration the main window refuses.
        watch();
        QTest::mouseClick(button, Qt::LeftButton);
        QCOMPARE(messages.errors, QStringList{QStringLiteral("Error! Project not Valid")});
        QTRY_VERIFY(fired);
        QCOMPARE(opened, nullptr);

        QCOMPARE(Create_Configuration(state, QStringLiteral("Plant")), 0);
        ParGen_Values values;
        values.PROFINET_IP1 = QStringLiteral("10");
        QVERIFY(Save_ParGen(values, state.File_ParGen).isEmpty());
        messages.Reset();
        watch();
        QTest::mouseClick(button, Qt::LeftButton);
        QVERIFY(fired);
        QCOMPARE(opened, static_cast<QWidget*>(dialog));
        QCOMPARE(ip1, QStringLiteral("10"));
        QVERIFY(!dialog->isVisible());
        QCOMPARE(messages.shown, QStringList());
    }
};

QTEST_MAIN(TestParGenDialog)
#include "tst_pargen_dialog.moc"
