#include "update/boot_tcp_dialog.h"

#include "base/messages.h"
#include "platform/ipv4_address.h"
#include "update/ping_test.h"
#include "update/updater_outcome.h"
#include "update/valid_ip.h"
#include "widgets/button_pictures.h"
#include "widgets/flat_button.h"
#include "widgets/look.h"
#include "widgets/small_widgets.h"

#include <QApplication>
#include <QCheckBox>
#include <QEventLoop>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>

#include <exception>

namespace lw {

namespace {

constexpr int Client_Width = 350;
constexpr int Client_Height = 233;
constexpr int Octet_Box_Width = 45;
constexpr int Octet_Box_Height = 21;
constexpr int Octet_Lefts[4] = {35, 91, 147, 203};
constexpr int Point_Lefts[3] = {83, 139, 195};

QColor Found_Green()
{
    return QColor(0, 128, 0);
}

QColor Not_Found_Red()
{
    return QColor(255, 0, 0);
}

QColor Running_Grey()
{
    return QColor(40, 40, 40);
}

QLineEdit* Make_Octet_Box(QWidget* parent, const char* name, int x)
{
    auto* box = new QLineEdit(QStringLiteral("0"), parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setGeometry(x, 97, Octet_Box_Width, Octet_Box_Height);
    box->setFont(Base_Font());
    return box;
}

QCheckBox* Make_Option(QWidget* parent, const char* name, int x, int y)
{
    auto* box = new QCheckBox(parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setGeometry(x, y, Client_Width - x - 16, 17);
    box->setFont(Base_Font());
    box->setChecked(true);
    return box;
}

// Shows the wait cursor for as long as it lives.
class Wait_Cursor {
public:
    Wait_Cursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~Wait_Cursor() { QApplication::restoreOverrideCursor(); }
    Wait_Cursor(const Wait_Cursor&) = delete;
    Wait_Cursor& operator=(const Wait_Cursor&) = delete;
};

} // namespace

TFBootTCP::TFBootTCP(ProgramState& state, Messages& messages, const Update_Seams& seams, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
    , m_state(state)
    , m_messages(messages)
    , m_seams(With_Defaults(seams))
{
    setObjectName(QStringLiteral("FBootTCP"));
    setModal(true);
    Apply_Window_Look(this);
    Set_Fixed_Client_Size(this, Client_Width, Client_Height);

    P_Title = new Title_Panel(this);
    Set_Label_Text(P_Title->L_SW_Code, m_state.SW_Code);

    // Address page.
    L_IP_Address = Make_Label(this, "L_IP_Address", 16, 75);
    E_IP1 = Make_Octet_Box(this, "E_IP1", Octet_Lefts[0]);
    E_IP2 = Make_Octet_Box(this, "E_IP2", Octet_Lefts[1]);
    E_IP3 = Make_Octet_Box(this, "E_IP3", Octet_Lefts[2]);
    E_IP4 = Make_Octet_Box(this, "E_IP4", Octet_Lefts[3]);
    Label2 = Make_Label(this, "Label2", Point_Lefts[0], 105, true);
    Label3 = Make_Label(this, "Label3", Point_Lefts[1], 105, true);
    Label4 = Make_Label(this, "Label4", Point_Lefts[2], 105, true);
    for (QLabel* point : {Label2, Label3, Label4})
        Set_Label_Text(point, QStringLiteral("."));
    L_Ping = Make_Label(this, "L_Ping", 16, 136);
    Btn_Ping = new Flat_Button(this, "Btn_Ping", QRect(35, 155, 110, 28), Hover_Sky_Blue(),
                               Flat_Button::Arrangement::Picture_Left);
    Btn_Ping->Set_Picture(Draw_Picture(Picture::Check_Update, 16));
    LPing = Make_Label(this, "LPing", 151, 163, true);

    // Only the first three boxes move on with "."; the last one takes it as typed.
    for (QLineEdit* box : {E_IP1, E_IP2, E_IP3})
        box->installEventFilter(this);
    // A ping confirms only the address it reached.
    for (QLineEdit* box : {E_IP1, E_IP2, E_IP3, E_IP4})
        connect(box, &QLineEdit::textChanged, this, &TFBootTCP::Box_Changed);

    // Options page.
    L_Options = Make_Label(this, "L_Options", 16, 75, true);
    CB_Firmware = Make_Option(this, "CB_Firmware", 36, 96);
    CB_Read_Firm = Make_Option(this, "CB_Read_Firm", 56, 119);
    CB_Conf = Make_Option(this, "CB_Conf", 36, 142);
    CB_Read_Conf = Make_Option(this, "CB_Read_Conf", 56, 165);

    // Bottom band.
    P_Button = new Button_Panel(this);
    P_Button->setGeometry(0, Client_Height - Button_Panel_Height, Client_Width, Button_Panel_Height);
    Btn_Cancel = new Flat_Button(P_Button, "Btn_Cancel", QRect(106, 6, 110, 28), Hover_Sky_Blue(),
                                 Flat_Button::Arrangement::Picture_Left);
    Btn_Cancel->Set_Picture(Draw_Picture(Picture::Cancel, 16));
    Btn_Next = new Flat_Button(P_Button, "Btn_Next", QRect(224, 6, 110, 28), Hover_Sky_Blue(),
                               Flat_Button::Arrangement::Picture_Right);
    Btn_Next->Set_Picture(Draw_Picture(Picture::Next, 16));
    Btn_Update = new Flat_Button(P_Button, "Btn_Update", QRect(16, 6, 210, 28), Hover_Sky_Blue(),
                                 Flat_Button::Arrangement::Picture_Left);
    Btn_Update->Set_Picture(Draw_Picture(Picture::Update_Device, 16));
    // Beside the update button, up to three short lines.
    L_Update_State = new QLabel(P_Button);
    L_Update_State->setObjectName(QStringLiteral("L_Update_State"));
    L_Update_State->setGeometry(232, 0, Client_Width - 232 - 4, Button_Panel_Height);
    L_Update_State->setFont(Base_Font());
    L_Update_State->setTextFormat(Qt::PlainText);
    L_Update_State->setWordWrap(true);
    L_Update_State->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);

    setTabOrder(E_IP1, E_IP2);
    setTabOrder(E_IP2, E_IP3);
    setTabOrder(E_IP3, E_IP4);
    setTabOrder(E_IP4, Btn_Ping);
    setTabOrder(Btn_Ping, Btn_Cancel);
    setTabOrder(Btn_Cancel, Btn_Next);

    connect(Btn_Ping, &Flat_Button::clicked, this, &TFBootTCP::Btn_PingClick);
    connect(Btn_Next, &Flat_Button::clicked, this, &TFBootTCP::Btn_NextClick);
    connect(Btn_Update, &Flat_Button::clicked, this, &TFBootTCP::Btn_UpdateClick);
    connect(Btn_Cancel, &Flat_Button::clicked, this, &TFBootTCP::reject);

    m_ping = m_seams.Make_Echo_Client();
    Show_Address_Page();
    Set_Lang();
}

TFBootTCP::~TFBootTCP() = default;

void TFBootTCP::Set_Lang()
{
    setWindowTitle(m_state.Text(57));
    Set_Label_Text(P_Title->L_SW_Desc, m_state.Text(57));
    Set_Label_Text(L_Ping, m_state.Text(59));
    Btn_Ping->setText(m_state.Text(60));
    Btn_Cancel->setText(m_state.Text(61));
    Btn_Next->setText(m_state.Text(62));
    Set_Label_Text(L_Options, m_state.Text(63));
    CB_Firmware->setText(m_state.Text(64));
    CB_Read_Firm->setText(m_state.Text(65));
    CB_Conf->setText(m_state.Text(66));
    CB_Read_Conf->setText(m_state.Text(67));
    Btn_Update->setText(m_state.Text(68));
}

Update_Options TFBootTCP::Options() const
{
    Update_Options options;
    options.Write_Firmware = CB_Firmware->isChecked();
    options.Read_Firmware = CB_Read_Firm->isChecked();
    options.Write_Configuration = CB_Conf->isChecked();
    options.Read_Configuration = CB_Read_Conf->isChecked();
    return options;
}

void TFBootTCP::reject()
{
    if (m_updating)
        return;
    if (m_pinging) {
        m_closeAfterPing = true;
        return;
    }
    QDialog::reject();
}

int TFBootTCP::Open()
{
    FormShow();
    Center_On_Screen(this);
    return exec();
}

void TFBootTCP::FormShow()
{
    Show_Address_Page();
    LPing->clear();
    QString ip1, ip2, ip3, ip4;
    if (!m_state.Last_IP.isEmpty() && Valid_IP(m_state.Last_IP, ip1, ip2, ip3, ip4)) {
        E_IP1->setText(ip1);
        E_IP2->setText(ip2);
        E_IP3->setText(ip3);
        E_IP4->setText(ip4);
    }
    Set_Label_Text(L_IP_Address, m_state.Text(58) + QStringLiteral(" KG4315"));
    m_eseguiPing = false;
    m_pingedAddress.clear();
    L_Update_State->clear();
    E_IP1->setFocus(Qt::TabFocusReason);
    E_IP1->selectAll();
}

void TFBootTCP::Show_Address_Page()
{
    for (QWidget* w : std::initializer_list<QWidget*>{L_Options, CB_Firmware, CB_Read_Firm, CB_Conf, CB_Read_Conf,
                                                      Btn_Update, L_Update_State})
        w->hide();
    for (QWidget* w : std::initializer_list<QWidget*>{L_IP_Address, E_IP1, E_IP2, E_IP3, E_IP4, Label2, Label3,
                                                      Label4, L_Ping, Btn_Ping, LPing, Btn_Cancel, Btn_Next})
        w->show();
}

void TFBootTCP::Show_Options_Page()
{
    for (QWidget* w : std::initializer_list<QWidget*>{L_IP_Address, E_IP1, E_IP2, E_IP3, E_IP4, Label2, Label3,
                                                      Label4, L_Ping, Btn_Ping, LPing, Btn_Cancel, Btn_Next})
        w->hide();
    for (QWidget* w : std::initializer_list<QWidget*>{L_Options, CB_Firmware, CB_Read_Firm, CB_Conf, CB_Read_Conf,
                                                      Btn_Update, L_Update_State})
        w->show();
    CB_Firmware->setFocus(Qt::TabFocusReason);
}

bool TFBootTCP::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->text() == QLatin1String(".")) {
        QLineEdit* next = watched == E_IP1 ? E_IP2 : watched == E_IP2 ? E_IP3 : watched == E_IP3 ? E_IP4 : nullptr;
        if (next) {
            // The point is swallowed; the next box gets the focus when it can take it.
            if (next->isVisible() && next->isEnabled()) {
                next->setFocus(Qt::TabFocusReason);
                next->selectAll();
            }
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

QString TFBootTCP::Typed_Address() const
{
    return E_IP1->text() + u'.' + E_IP2->text() + u'.' + E_IP3->text() + u'.' + E_IP4->text();
}

void TFBootTCP::Btn_PingClick()
{
    // The test lets the window system process pending events between its
    // echoes, so a second press could arrive while it runs: it is ignored.
    if (m_pinging)
        return;
    m_pinging = true;
    m_eseguiPing = false;
    m_pingedAddress.clear();
    LPing->clear();
    const QString host = Typed_Address();
    int index = 71;
    bool found = false;
    try {
        const Ping_Test_Result result = Ping_Test(host, *m_ping, *m_seams.Clock,
                                                  [] { QCoreApplication::processEvents(); });
        index = Ping_Message_Index(result.Outcome);
        found = result.Outcome == Ping_Outcome::Found;
    } catch (const std::exception&) {
        index = 71;
        found = false;
    }
    m_pinging = false;
    // A box changed while the test ran: its result is for another address.
    if (Typed_Address() == host) {
        m_eseguiPing = found;
        if (found) {
            // The updater gets the address exactly as reached, without the
            // leading zeros that some programs read as octal.
            const QString plain = Plain_IPv4(host);
            m_pingedAddress = plain.isNull() ? host : plain;
        }
        Show_Ping_Result(index, found ? Found_Green() : Not_Found_Red());
    }
    if (m_closeAfterPing) {
        m_closeAfterPing = false;
        QDialog::reject();
    }
}

void TFBootTCP::Show_Ping_Result(int index, const QColor& colour)
{
    QPalette pal = LPing->palette();
    pal.setColor(QPalette::WindowText, colour);
    LPing->setPalette(pal);
    Set_Label_Text(LPing, m_state.Text(index));
}

void TFBootTCP::Box_Changed()
{
    if (m_pinging)
        return; // the test checks the boxes itself when it ends
    m_eseguiPing = false;
    m_pingedAddress.clear();
    LPing->clear();
}

void TFBootTCP::Btn_NextClick()
{
    if (!m_eseguiPing) {
        m_messages.Error(m_state.Text(72));
        return;
    }
    Show_Options_Page();
    m_state.Last_IP = m_pingedAddress;
}

void TFBootTCP::Show_Update_State(const QString& text, const QColor& colour)
{
    QPalette pal = L_Update_State->palette();
    pal.setColor(QPalette::WindowText, colour);
    L_Update_State->setPalette(pal);
    L_Update_State->setText(text);
}

void TFBootTCP::Btn_UpdateClick()
{
    if (m_updating)
        return;
    const QStringList octets = m_pingedAddress.split(u'.');
    if (octets.size() != 4)
        return; // the options page is reached only through a successful ping
    const QString error = Compile_XML_Parameter(octets[0], octets[1], octets[2], octets[3], Options(), m_state);
    if (!error.isEmpty()) {
        m_messages.Error(error);
        return;
    }
    const QString updater = Updater_Path(m_state);
    m_updating = true;
    const bool hadFocus = Btn_Update->hasFocus();
    Btn_Update->setEnabled(false);
    Show_Update_State(Updater_Running_Text(m_state, 0), Running_Grey());
    // The runner blocks until the updater has ended or its limit has passed;
    // meanwhile the window repaints and shows the seconds elapsed, but takes
    // no input.
    Run_Result run;
    {
        const Wait_Cursor wait;
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        quint32 shownSeconds = 0;
        run = m_seams.Start_Program(updater, QString(), false, [this, &shownSeconds](quint32 elapsedMs) {
            if (elapsedMs / 1000 != shownSeconds) {
                shownSeconds = elapsedMs / 1000;
                L_Update_State->setText(Updater_Running_Text(m_state, elapsedMs));
            }
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        });
    }
    m_updating = false;
    Btn_Update->setEnabled(true);
    if (hadFocus)
        Btn_Update->setFocus(Qt::OtherFocusReason);
    if (run.Outcome == Run_Outcome::Not_Started) {
        L_Update_State->clear();
        m_messages.Error(Updater_Not_Started_Text(m_state, updater, run.Error));
        return;
    }
    const Updater_Outcome outcome = Updater_Outcome_Of(m_state, run);
    Show_Update_State(outcome.Text, outcome.Success ? Found_Green() : Not_Found_Red());
}

} // namespace lw
