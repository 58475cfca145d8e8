#include "options/soft_options_dialog.h"

#include "base/messages.h"
#include "options/language_pages.h"
#include "options/update_timer.h"
#include "widgets/button_pictures.h"
#include "widgets/flat_button.h"
#include "widgets/look.h"
#include "widgets/small_widgets.h"

#include <QBitmap>
#include <QCheckBox>
#include <QImage>
#include <QTabWidget>

namespace lw {

namespace {

// Slot positions: the left column from top to bottom, then the right one.
constexpr QPoint Flag_Positions[6] = {{24, 40}, {26, 94}, {24, 148}, {254, 40}, {254, 94}, {254, 148}};
constexpr QPoint Name_Positions[6] = {{80, 56}, {80, 110}, {80, 164}, {310, 56}, {310, 110}, {310, 164}};

// A flag picture shown transparent: the colour of its bottom-left pixel is
// left out, as the flag pictures are drawn on a plain background.
QPixmap Load_Flag(const QString& path)
{
    QImage image(path);
    if (image.isNull())
        return {};
    QPixmap pixmap = QPixmap::fromImage(image);
    const QRgb key = image.pixel(0, image.height() - 1);
    pixmap.setMask(QBitmap::fromImage(image.createMaskFromColor(key, Qt::MaskInColor)));
    return pixmap;
}

} // namespace

TFSoftOptions::TFSoftOptions(ProgramState& state, Messages& messages, const Options_Seams& seams,
                             std::function<void()> changeLanguage, std::function<void(bool)> setUpdateTimer,
                             QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
    , m_state(state)
    , m_messages(messages)
    , m_seams(With_Defaults(seams))
    , m_changeLanguage(std::move(changeLanguage))
    , m_setUpdateTimer(std::move(setUpdateTimer))
{
    setObjectName(QStringLiteral("FSoftOptions"));
    setModal(true);
    Apply_Window_Look(this);
    Set_Fixed_Client_Size(this, 509, 373);

    m_title = new Title_Panel(this);
    Set_Label_Text(m_title->L_SW_Code, m_state.SW_Code);

    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    PageControl1->setGeometry(0, Title_Panel_Height, width(), height() - Title_Panel_Height - Button_Panel_Height);
    TS_Language = new QWidget;
    TS_Language->setObjectName(QStringLiteral("TS_Language"));
    TS_Con_Options = new QWidget;
    TS_Con_Options->setObjectName(QStringLiteral("TS_Con_Options"));
    PageControl1->addTab(TS_Language, QString());
    PageControl1->addTab(TS_Con_Options, QString());

    // Language page.
    L_Sel_Lang = Make_Label(TS_Language, "L_Sel_Lang", 12, 11);
    for (int s = 0; s < 6; ++s) {
        auto* flag = new Click_Label(TS_Language);
        flag->setObjectName(QStringLiteral("I_L%1").arg(s + 1));
        flag->setGeometry(QRect(Flag_Positions[s], QSize(48, 48)));
        flag->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        flag->setCursor(Qt::PointingHandCursor);
        I_L[s] = flag;
        auto* name = new Click_Label(TS_Language);
        name->setObjectName(QStringLiteral("L_L%1").arg(s + 1));
        name->setFont(Base_Font());
        name->setTextFormat(Qt::PlainText);
        QPalette pal = name->palette();
        pal.setColor(QPalette::WindowText, Label_Grey());
        name->setPalette(pal);
        name->move(Name_Positions[s]);
        name->setCursor(Qt::PointingHandCursor);
        L_L[s] = name;
        connect(flag, &Click_Label::Clicked, this, &TFSoftOptions::LangClick);
        connect(name, &Click_Label::Clicked, this, &TFSoftOptions::LangClick);
    }
    L_Page_Lang = Make_Label(TS_Language, "L_Page_Lang", 220, 212);
    Btn_Prev = new Flat_Button(TS_Language, "Btn_Prev", QRect(12, 204, 110, 28), Hover_Sky_Blue(), Flat_Button::Arrangement::Picture_Left);
    Btn_Prev->Set_Picture(Draw_Picture(Picture::Previous, 16));
    Btn_Next = new Flat_Button(TS_Language, "Btn_Next", QRect(379, 205, 110, 28), Hover_Sky_Blue(), Flat_Button::Arrangement::Picture_Right);
    Btn_Next->Set_Picture(Draw_Picture(Picture::Next, 16));
    connect(Btn_Prev, &Flat_Button::clicked, this, &TFSoftOptions::Btn_NextClick);
    connect(Btn_Next, &Flat_Button::clicked, this, &TFSoftOptions::Btn_NextClick);

    // Connection Options page.
    CB_En_Con = new QCheckBox(TS_Con_Options);
    CB_En_Con->setObjectName(QStringLiteral("CB_En_Con"));
    CB_En_Con->setGeometry(12, 16, 341, 17);
    CB_Update = new QCheckBox(TS_Con_Options);
    CB_Update->setObjectName(QStringLiteral("CB_Update"));
    CB_Update->setGeometry(36, 47, 405, 17);
    Btn_Check_Update = new Flat_Button(TS_Con_Options, "Btn_Check_Update", QRect(36, 78, 204, 28), Hover_Sky_Blue(), Flat_Button::Arrangement::Picture_Left);
    Btn_Check_Update->Set_Picture(Draw_Picture(Picture::Check_Update, 16));
    LL_Check_Update = new QLabel(TS_Con_Options);
    LL_Check_Update->setObjectName(QStringLiteral("LL_Check_Update"));
    LL_Check_Update->setFont(Base_Font());
    LL_Check_Update->move(40, 120);
    LL_Check_Update->setOpenExternalLinks(false);
    LL_Check_Update->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
    LL_Check_Update->hide();
    connect(CB_En_Con, &QCheckBox::toggled, this, &TFSoftOptions::Update_CheckBox);
    connect(CB_Update, &QCheckBox::toggled, this, &TFSoftOptions::Update_CheckBox);
    connect(Btn_Check_Update, &Flat_Button::clicked, this, &TFSoftOptions::Btn_Check_UpdateClick);
    connect(LL_Check_Update, &QLabel::linkActivated, this, &TFSoftOptions::LL_Check_UpdateLinkClick);

    // Button row.
    auto* buttons = new Button_Panel(this);
    buttons->setGeometry(0, height() - Button_Panel_Height, width(), Button_Panel_Height);
    Btn_OK = new Flat_Button(buttons, "Btn_OK", QRect(16, 6, 110, 28), Hover_Sky_Blue(), Flat_Button::Arrangement::Picture_Left);
    Btn_OK->Set_Picture(Draw_Picture(Picture::OK, 16));
    Btn_Cancel = new Flat_Button(buttons, "Btn_Cancel", QRect(134, 6, 110, 28), Hover_Sky_Blue(), Flat_Button::Arrangement::Picture_Left);
    Btn_Cancel->Set_Picture(Draw_Picture(Picture::Cancel, 16));
    connect(Btn_OK, &Flat_Button::clicked, this, &TFSoftOptions::Btn_OKClick);
    connect(Btn_Cancel, &Flat_Button::clicked, this, &TFSoftOptions::reject);

    PageControl1->setTabVisible(1, true);
    Set_Lang();
}

void TFSoftOptions::Set_Lang()
{
    setWindowTitle(m_state.Text(38));
    Set_Label_Text(m_title->L_SW_Desc, m_state.Text(39));
    PageControl1->setTabText(0, m_state.Text(40));
    PageControl1->setTabText(1, m_state.Text(41));
    Set_Label_Text(L_Sel_Lang, m_state.Text(42));
    Set_Label_Text(L_Page_Lang, Lang_Page_Line(m_state, 1, 1));
    Btn_Prev->setText(m_state.Text(45));
    Btn_Next->setText(m_state.Text(46));
    CB_En_Con->setText(m_state.Text(47));
    CB_Update->setText(m_state.Text(48));
    Btn_Check_Update->setText(m_state.Text(49));
    Btn_OK->setText(m_state.Text(50));
    Btn_Cancel->setText(m_state.Text(51));
}

int TFSoftOptions::Open()
{
    FormShow();
    Center_On_Screen(this);
    return exec();
}

void TFSoftOptions::FormShow()
{
    m_languageInUse = m_state.Language_Name;
    m_languages = Create_Lang_List(m_state.Dir_Language);
    m_showPage = 1;
    Update_Lang_Page(m_showPage);
    Update_CheckBox();
    LL_Check_Update->hide();
    PageControl1->setCurrentWidget(TS_Language);
    CB_En_Con->setChecked(m_state.Enable_Internet);
    CB_Update->setChecked(m_state.Enable_Update);
    Update_CheckBox();
}

void TFSoftOptions::Update_Lang_Page(int numPage)
{
    const int count = Lang_Page_Count(m_languages.size());
    Set_Label_Text(L_Sel_Lang, m_state.Text(42) + m_languageInUse);
    Set_Label_Text(L_Page_Lang, Lang_Page_Line(m_state, numPage, count));
    Btn_Prev->setVisible(numPage != 1);
    Btn_Next->setVisible(numPage != count);
    const int k = Lang_Slots_On_Page(m_languages.size(), numPage);
    for (int s = 1; s <= 6; ++s) {
        Click_Label* flag = I_L[s - 1];
        Click_Label* name = L_L[s - 1];
        const bool visible = s <= k;
        flag->setVisible(visible);
        name->setVisible(visible);
        if (!visible)
            continue;
        const QString language = Lang_Slot_Name(m_languages, numPage, s);
        Set_Label_Text(name, language);
        const QString picture = Flag_Picture_Path(m_state.Dir_Language, language);
        const QPixmap pixmap = picture.isEmpty() ? QPixmap() : Load_Flag(picture);
        flag->setPixmap(pixmap);
        flag->setVisible(!pixmap.isNull());
    }
}

void TFSoftOptions::Btn_NextClick()
{
    const int count = Lang_Page_Count(m_languages.size());
    if (sender() == Btn_Next) {
        if (count >= m_showPage + 1)
            ++m_showPage;
    } else if (m_showPage >= 2) {
        --m_showPage;
    }
    Update_Lang_Page(m_showPage);
}

void TFSoftOptions::LangClick()
{
    int slot = 0;
    for (int s = 0; s < 6; ++s) {
        if (sender() == I_L[s] || sender() == L_L[s])
            slot = s + 1;
    }
    const QString language = Lang_Slot_Name(m_languages, m_showPage, slot);
    if (slot == 0 || language.isNull())
        return;
    if (!m_messages.Question(Language_Question(m_state, m_languageInUse, language)))
        return;
    m_languageInUse = language;
    // The table is loaded for the new language; the saved choice changes only on OK.
    const QString saved = m_state.Language_Name;
    m_state.Language_Name = language;
    m_seams.Load_Language(m_state);
    m_state.Language_Name = saved;
    if (m_changeLanguage)
        m_changeLanguage();
    Set_Label_Text(L_Sel_Lang, m_state.Text(42) + m_languageInUse);
    Set_Label_Text(L_Page_Lang, Lang_Page_Line(m_state, m_showPage, Lang_Page_Count(m_languages.size())));
}

void TFSoftOptions::Update_CheckBox()
{
    CB_Update->setEnabled(CB_En_Con->isChecked());
    Btn_Check_Update->setEnabled(CB_Update->isEnabled() && CB_Update->isChecked());
}

void TFSoftOptions::Btn_Check_UpdateClick()
{
    if (m_seams.Check_Version()) {
        LL_Check_Update->setTextFormat(Qt::RichText);
        LL_Check_Update->setText(Update_Link_Html(m_seams.Download_Link, m_state.Text(52)));
    } else {
        LL_Check_Update->setTextFormat(Qt::PlainText);
        LL_Check_Update->setText(m_state.Text(53));
    }
    LL_Check_Update->adjustSize();
    LL_Check_Update->show();
}

void TFSoftOptions::LL_Check_UpdateLinkClick(const QString& link)
{
    m_seams.Open_Url(QUrl(link));
}

void TFSoftOptions::Btn_OKClick()
{
    m_state.Language_Name = m_languageInUse;
    m_state.Enable_Internet = CB_En_Con->isChecked();
    m_state.Enable_Update = CB_Update->isChecked();
    if (m_setUpdateTimer)
        m_setUpdateTimer(Update_Permitted(m_state));
    accept();
}

} // namespace lw
