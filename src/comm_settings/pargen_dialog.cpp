#include "comm_settings/pargen_dialog.h"

#include "base/messages.h"
#include "comm_settings/comm_check.h"
#include "widgets/button_pictures.h"
#include "widgets/flat_button.h"
#include "widgets/look.h"
#include "widgets/small_widgets.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QValidator>

#include <algorithm>

namespace lw {

namespace {

constexpr int Client_Width = 312;
constexpr int Group_Left = 8;
constexpr int Group_Width = 296;
constexpr int KNX_Top = 70;
constexpr int Group_Gap = 6;              // between the KNX and the SNMP group
constexpr int Group_Bottom_Margin = 15;   // below the last row of an expanded group
constexpr int Collapsed_Height = 26;      // only the caption strip stays in view
constexpr int Buttons_Gap = 13;           // between the SNMP group and the buttons
constexpr int Client_Bottom_Margin = 54;  // from the SNMP group to the client's bottom
constexpr int Name_Station_Label_Top = 191;
constexpr int Name_Station_Edit_Gap = 19;
constexpr int Station_Name_Limit = 15;
constexpr int Octet_Left[4] = {16, 82, 148, 214};
constexpr int Dot_Left[3] = {77, 143, 209};
constexpr QPoint Group_Button_Pos(280, 10);

// The octet fields in the order of the twelve boxes E_IP1 ... E_GAT4.
constexpr QString ParGen_Values::*Octet_Fields[12] = {
    &ParGen_Values::PROFINET_IP1,  &ParGen_Values::PROFINET_IP2,  &ParGen_Values::PROFINET_IP3,
    &ParGen_Values::PROFINET_IP4,  &ParGen_Values::PROFINET_SM1,  &ParGen_Values::PROFINET_SM2,
    &ParGen_Values::PROFINET_SM3,  &ParGen_Values::PROFINET_SM4,  &ParGen_Values::PROFINET_GAT1,
    &ParGen_Values::PROFINET_GAT2, &ParGen_Values::PROFINET_GAT3, &ParGen_Values::PROFINET_GAT4,
};

// Top plus height: the first pixel row below a control.
int Bottom(const QWidget* w)
{
    return w->y() + w->height();
}

// The small picture of a collapse (minus) or expand (plus) button.
QPixmap Group_Glyph(bool plus)
{
    QPixmap pixmap(9, 9);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setPen(QColor(96, 96, 96));
    p.drawRect(0, 0, 8, 8);
    p.drawLine(2, 4, 6, 4);
    if (plus)
        p.drawLine(4, 2, 4, 6);
    return pixmap;
}

// A group's caption sits on its frame line, at the left.
const QString Group_Style = QStringLiteral(
    "QGroupBox { border: 1px solid rgb(192, 192, 192); border-radius: 3px; margin-top: 6px; }"
    "QGroupBox::title { subcontrol-origin: margin; subcontrol-position: top left; left: 8px; padding: 0px;"
    " background-color: rgb(248, 247, 237); }");

} // namespace

// Turns what is typed or pasted into the station-name box into lower case and
// cuts an insertion to what still fits in the typed-length limit, as an edit
// box with a length limit does. Texts the program puts in pass unchanged, so
// a longer or upper-case name read from the file is shown and saved as it is.
class Station_Name_Validator : public QValidator {
public:
    Station_Name_Validator(QLineEdit* box, int limit)
        : QValidator(box)
        , m_box(box)
        , m_limit(limit)
    {
        connect(box, &QLineEdit::textChanged, this, &Station_Name_Validator::Remember);
    }

    void Set_Text(const QString& text)
    {
        m_programText = true;
        m_box->setText(text);
        m_programText = false;
    }

    State validate(QString& input, int& pos) const override
    {
        if (m_programText || input == m_before)
            return Acceptable;
        // One run of characters was replaced; with the cursor after the
        // insertion, the text behind the cursor is the unchanged tail.
        qsizetype tail = input.size() - pos;
        if (tail < 0 || tail > m_before.size() || input.right(tail) != m_before.right(tail))
            tail = Common_Tail(input);
        qsizetype head = 0;
        const qsizetype headMax = std::min(input.size() - tail, m_before.size() - tail);
        while (head < headMax && input[head] == m_before[head])
            ++head;
        QString inserted = input.mid(head, input.size() - head - tail).toLower();
        const qsizetype room = std::max<qsizetype>(0, m_limit - (head + tail));
        if (inserted.size() > room)
            inserted.truncate(room);
        const QString result = input.left(head) + inserted + input.right(tail);
        if (result != input) {
            input = result;
            pos = int(head + inserted.size());
        }
        return Acceptable;
    }

private:
    void Remember(const QString& text) { m_before = text; }

    qsizetype Common_Tail(const QString& input) const
    {
        qsizetype tail = 0;
        const qsizetype most = std::min(input.size(), m_before.size());
        while (tail < most && input[input.size() - 1 - tail] == m_before[m_before.size() - 1 - tail])
            ++tail;
        return tail;
    }

    QLineEdit* m_box;
    int m_limit;
    QString m_before;          // the text before the edit being validated
    bool m_programText = false;
};

TFParGen::TFParGen(ProgramState& state, Messages& messages, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
    , m_state(state)
    , m_messages(messages)
{
    setObjectName(QStringLiteral("FParGen"));
    setModal(true);
    Apply_Window_Look(this);
    Set_Fixed_Client_Size(this, Client_Width, 467);

    m_title = new Title_Panel(this);
    Set_Label_Text(m_title->L_SW_Code, m_state.SW_Code);

    Build_KNX_Group();
    Build_PROFINET_Group();

    Btn_OK = new Flat_Button(this, "Btn_OK", QRect(71, 0, 112, 28), Hover_Sky_Blue(), Flat_Button::Arrangement::Picture_Left);
    Btn_OK->Set_Picture(Draw_Picture(Picture::OK, 16));
    Btn_Cancel = new Flat_Button(this, "Btn_Cancel", QRect(192, 0, 112, 28), Hover_Sky_Blue(), Flat_Button::Arrangement::Picture_Left);
    Btn_Cancel->Set_Picture(Draw_Picture(Picture::Cancel, 16));
    connect(Btn_OK, &Flat_Button::clicked, this, &TFParGen::Btn_OKClick);
    connect(Btn_Cancel, &Flat_Button::clicked, this, &TFParGen::Btn_CancelClick);

    // The group buttons come last in the focus chain, after OK and Cancel.
    const auto group = Flat_Button::Arrangement::Picture_Only;
    Btn_KNX_Collapse = new Flat_Button(GB_KNX, "Btn_KNX_Collapse", QRect(Group_Button_Pos, QSize(11, 11)), Hover_Yellow(), group);
    Btn_KNX_Expande = new Flat_Button(GB_KNX, "Btn_KNX_Expande", QRect(Group_Button_Pos, QSize(11, 11)), Hover_Yellow(), group);
    Btn_PROFINET_Collapse = new Flat_Button(GB_PROFINET, "Btn_PROFINET_Collapse", QRect(Group_Button_Pos, QSize(11, 11)), Hover_Yellow(), group);
    Btn_PROFINET_Expande = new Flat_Button(GB_PROFINET, "Btn_PROFINET_Expande", QRect(Group_Button_Pos, QSize(11, 11)), Hover_Yellow(), group);
    for (Flat_Button* b : {Btn_KNX_Collapse, Btn_PROFINET_Collapse})
        b->Set_Picture(Group_Glyph(false));
    for (Flat_Button* b : {Btn_KNX_Expande, Btn_PROFINET_Expande})
        b->Set_Picture(Group_Glyph(true));
    connect(Btn_KNX_Collapse, &Flat_Button::clicked, this, &TFParGen::Btn_GB_Collapse);
    connect(Btn_PROFINET_Collapse, &Flat_Button::clicked, this, &TFParGen::Btn_GB_Collapse);
    connect(Btn_KNX_Expande, &Flat_Button::clicked, this, &TFParGen::Btn_GB_Expande);
    connect(Btn_PROFINET_Expande, &Flat_Button::clicked, this, &TFParGen::Btn_GB_Expande);

    // Every change of a value marks the dialog changed.
    for (QLineEdit* box : findChildren<QLineEdit*>())
        connect(box, &QLineEdit::textChanged, this, &TFParGen::On_Change);
    connect(CB_KNX_Type, &QComboBox::currentIndexChanged, this, &TFParGen::On_Change);
    connect(CB_EN_GAT, &QCheckBox::clicked, this, &TFParGen::On_Click);

    Collapse_Expand_Creation();
    Move_GroupBoxs();
    Set_Lang();
}

QLineEdit* TFParGen::Make_Edit(QWidget* parent, const char* name, const QRect& geometry)
{
    auto* box = new QLineEdit(parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setGeometry(geometry);
    return box;
}

void TFParGen::Build_KNX_Group()
{
    GB_KNX = new QGroupBox(this);
    GB_KNX->setObjectName(QStringLiteral("GB_KNX"));
    GB_KNX->setGeometry(Group_Left, KNX_Top, Group_Width, 91);
    GB_KNX->setStyleSheet(Group_Style);

    L_KNX_Type = Make_Label(GB_KNX, "L_KNX_Type", 16, 24);
    CB_KNX_Type = new QComboBox(GB_KNX);
    CB_KNX_Type->setObjectName(QStringLiteral("CB_KNX_Type"));
    CB_KNX_Type->setGeometry(84, 21, 191, 22);
    CB_KNX_Type->addItems(KNX_Type_Items);
    CB_KNX_Type->setEnabled(false);

    L_KNX_ID_Dev = Make_Label(GB_KNX, "L_KNX_ID_Dev", 16, 58);
    E_ID_DEV_KNX = Make_Edit(GB_KNX, "E_ID_DEV_KNX", QRect(84, 55, 191, 21));
}

void TFParGen::Make_Octet_Row(QWidget* parent, const std::array<const char*, 4>& names, int top,
                              std::array<QLineEdit*, 4>& boxes)
{
    for (int i = 0; i < 4; ++i) {
        boxes[i] = Make_Edit(parent, names[i], QRect(Octet_Left[i], top, 60, 21));
        boxes[i]->installEventFilter(this);
    }
    for (int x : Dot_Left)
        Set_Label_Text(Make_Label(parent, "L_Dot", x, top + 3), QStringLiteral("."));
}

void TFParGen::Build_PROFINET_Group()
{
    GB_PROFINET = new QGroupBox(this);
    GB_PROFINET->setObjectName(QStringLiteral("GB_PROFINET"));
    GB_PROFINET->setGeometry(Group_Left, 167, Group_Width, 246);
    GB_PROFINET->setStyleSheet(Group_Style);

    std::array<QLineEdit*, 4> ip{}, sm{}, gat{};
    L_PROFINET_IP_Add = Make_Label(GB_PROFINET, "L_PROFINET_IP_Add", 16, 24);
    Make_Octet_Row(GB_PROFINET, {"E_IP1", "E_IP2", "E_IP3", "E_IP4"}, 43, ip);
    L_PROFINET_Subnet_Mask = Make_Label(GB_PROFINET, "L_PROFINET_Subnet_Mask", 16, 79);
    Make_Octet_Row(GB_PROFINET, {"E_SM1", "E_SM2", "E_SM3", "E_SM4"}, 98, sm);

    CB_EN_GAT = new QCheckBox(GB_PROFINET);
    CB_EN_GAT->setObjectName(QStringLiteral("CB_EN_GAT"));
    CB_EN_GAT->setGeometry(16, 134, 97, 17);
    Make_Octet_Row(GB_PROFINET, {"E_GAT1", "E_GAT2", "E_GAT3", "E_GAT4"}, 154, gat);

    L_PROFINET_Name_Station = Make_Label(GB_PROFINET, "L_PROFINET_Name_Station", 16, Name_Station_Label_Top);
    E_Profinet_Name_Station = Make_Edit(GB_PROFINET, "E_Profinet_Name_Station",
                                        QRect(16, Name_Station_Label_Top + Name_Station_Edit_Gap, 258, 21));
    m_nameValidator = new Station_Name_Validator(E_Profinet_Name_Station, Station_Name_Limit);
    E_Profinet_Name_Station->setValidator(m_nameValidator);

    E_IP1 = ip[0], E_IP2 = ip[1], E_IP3 = ip[2], E_IP4 = ip[3];
    E_SM1 = sm[0], E_SM2 = sm[1], E_SM3 = sm[2], E_SM4 = sm[3];
    E_GAT1 = gat[0], E_GAT2 = gat[1], E_GAT3 = gat[2], E_GAT4 = gat[3];
    m_octets = {E_IP1, E_IP2, E_IP3, E_IP4, E_SM1, E_SM2, E_SM3, E_SM4, E_GAT1, E_GAT2, E_GAT3, E_GAT4};
}

void TFParGen::Set_Lang()
{
    setWindowTitle(m_state.Text(90));
    Set_Label_Text(m_title->L_SW_Desc, m_state.Text(91));
    Btn_OK->setText(m_state.Text(92));
    Btn_Cancel->setText(m_state.Text(93));
    GB_KNX->setTitle(m_state.Text(94));
    Set_Label_Text(L_KNX_Type, m_state.Text(95));
    Set_Label_Text(L_KNX_ID_Dev, m_state.Text(96));
    for (Flat_Button* b : {Btn_KNX_Collapse, Btn_PROFINET_Collapse})
        b->setToolTip(m_state.Text(121));
    for (Flat_Button* b : {Btn_KNX_Expande, Btn_PROFINET_Expande})
        b->setToolTip(m_state.Text(122));
    GB_PROFINET->setTitle(m_state.Text(955));
    Set_Label_Text(L_PROFINET_IP_Add, m_state.Text(890));
    Set_Label_Text(L_PROFINET_Subnet_Mask, m_state.Text(891));
    CB_EN_GAT->setText(m_state.Text(892));
    Set_Label_Text(L_PROFINET_Name_Station, m_state.Text(956));
}

int TFParGen::Open()
{
    FormShow();
    Center_On_Screen(this);
    return exec();
}

void TFParGen::FormShow()
{
    ParGen_Values values;
    // A file that cannot be read as XML is reported with its path; the dialog
    // then opens with the defaults and the file stays as it is until OK.
    const QString error = Load_ParGen(m_state.File_ParGen, values);
    if (!error.isEmpty())
        m_messages.Error(error);
    Fill_Controls(values);
    Move_GroupBoxs();
    m_isChange = false;
}

void TFParGen::Fill_Controls(const ParGen_Values& values)
{
    CB_KNX_Type->setCurrentIndex(KNX_Type_Selection(values.KNX_TYPE));
    E_ID_DEV_KNX->setText(values.KNX_ID_DEV);
    for (size_t i = 0; i < m_octets.size(); ++i)
        m_octets[i]->setText(values.*Octet_Fields[i]);
    CB_EN_GAT->setChecked(values.PROFINET_EN_GAT);
    m_nameValidator->Set_Text(values.PROFINET_NAME_STA);
}

ParGen_Values TFParGen::Read_Controls() const
{
    ParGen_Values values;
    values.KNX_TYPE = CB_KNX_Type->currentIndex();
    values.KNX_ID_DEV = E_ID_DEV_KNX->text();
    for (size_t i = 0; i < m_octets.size(); ++i)
        values.*Octet_Fields[i] = m_octets[i]->text();
    values.PROFINET_EN_GAT = CB_EN_GAT->isChecked();
    values.PROFINET_NAME_STA = E_Profinet_Name_Station->text();
    return values;
}

bool TFParGen::event(QEvent* event)
{
    if (event->type() == QEvent::WindowActivate)
        FormActivate();
    return QDialog::event(event);
}

void TFParGen::FormActivate()
{
    if (pos().y() < 0)
        move(pos().x(), 0);
}

void TFParGen::Collapse_Expand_Creation()
{
    m_knxExpanded = true;
    m_profinetExpanded = true;
    for (Flat_Button* b : {Btn_KNX_Collapse, Btn_KNX_Expande, Btn_PROFINET_Collapse, Btn_PROFINET_Expande})
        b->move(Group_Button_Pos);
    Btn_KNX_Collapse->show();
    Btn_KNX_Expande->hide();
    Btn_PROFINET_Collapse->show();
    Btn_PROFINET_Expande->hide();
}

void TFParGen::Move_GroupBoxs()
{
    const int knxHeight = m_knxExpanded ? Bottom(E_ID_DEV_KNX) + Group_Bottom_Margin : GB_KNX->height();
    GB_KNX->setGeometry(Group_Left, KNX_Top, Group_Width, knxHeight);
    GB_KNX->show();

    L_PROFINET_Name_Station->move(L_PROFINET_Name_Station->x(), Name_Station_Label_Top);
    E_Profinet_Name_Station->move(E_Profinet_Name_Station->x(), Name_Station_Label_Top + Name_Station_Edit_Gap);

    const int snmpHeight = m_profinetExpanded ? Bottom(E_Profinet_Name_Station) + Group_Bottom_Margin : GB_PROFINET->height();
    GB_PROFINET->setGeometry(Group_Left, Bottom(GB_KNX) + Group_Gap, Group_Width, snmpHeight);
    GB_PROFINET->show();

    const int buttonsTop = Bottom(GB_PROFINET) + Buttons_Gap;
    Btn_OK->move(Btn_OK->x(), buttonsTop);
    Btn_Cancel->move(Btn_Cancel->x(), buttonsTop);
    Set_Fixed_Client_Size(this, Client_Width, Bottom(GB_PROFINET) + Client_Bottom_Margin);
}

void TFParGen::Btn_GB_Collapse()
{
    Set_Expanded(sender() == Btn_KNX_Collapse ? GB_KNX : GB_PROFINET, false);
}

void TFParGen::Btn_GB_Expande()
{
    Set_Expanded(sender() == Btn_KNX_Expande ? GB_KNX : GB_PROFINET, true);
}

void TFParGen::Set_Expanded(QGroupBox* group, bool expanded)
{
    const bool knx = group == GB_KNX;
    // The first row would show partly inside the caption strip of a collapsed group.
    if (knx) {
        L_KNX_Type->setVisible(expanded);
        CB_KNX_Type->setVisible(expanded);
    } else {
        L_PROFINET_IP_Add->setVisible(expanded);
    }
    (knx ? Btn_KNX_Collapse : Btn_PROFINET_Collapse)->setVisible(expanded);
    (knx ? Btn_KNX_Expande : Btn_PROFINET_Expande)->setVisible(!expanded);
    (knx ? m_knxExpanded : m_profinetExpanded) = expanded;
    if (!expanded)
        group->resize(group->width(), Collapsed_Height);
    Move_GroupBoxs();
}

bool TFParGen::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->text() == QStringLiteral(".")) {
        for (QLineEdit* box : m_octets) {
            if (box == watched)
                return KeyPress(box);
        }
    }
    return QDialog::eventFilter(watched, event);
}

bool TFParGen::KeyPress(QLineEdit* box)
{
    // '.' moves on to the next octet box with its text selected; the dot
    // itself never reaches a box, also not the last one.
    const auto at = std::find(m_octets.begin(), m_octets.end(), box);
    if (at != m_octets.end() && at + 1 != m_octets.end()) {
        QLineEdit* next = *(at + 1);
        if (next->isVisible() && next->isEnabled()) {
            next->setFocus(Qt::TabFocusReason);
            next->selectAll();
        }
    }
    return true;
}

void TFParGen::keyPressEvent(QKeyEvent* event)
{
    // Escape acts as the Cancel button, so that changes are not dropped unasked.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        Btn_CancelClick();
        return;
    }
    QDialog::keyPressEvent(event);
}

void TFParGen::On_Change()
{
    m_isChange = true;
}

void TFParGen::On_Click()
{
    m_isChange = true;
}

bool TFParGen::Controllo_Dati()
{
    const Check_Result result = lw::Controllo_Dati(Read_Controls());
    if (!result.ok)
        m_messages.Error(Check_Message(result, m_state));
    return result.ok;
}

void TFParGen::Btn_OKClick()
{
    if (!Controllo_Dati())
        return;
    // A failed save keeps the dialog open with the entries; the old file stays.
    const QString error = Save_ParGen(Read_Controls(), m_state.File_ParGen);
    if (!error.isEmpty()) {
        m_messages.Error(error);
        return;
    }
    accept();
}

void TFParGen::Btn_CancelClick()
{
    if (m_isChange && !m_messages.Question(m_state.Text(167)))
        return;
    reject();
}

} // namespace lw
