#include "shell/about_dialog.h"

#include "shell/button_pictures.h"
#include "shell/flat_button.h"
#include "shell/look.h"
#include "shell/small_widgets.h"
#include "shell/web_links.h"

namespace lw {

TFAbout::TFAbout(const ProgramState& state, std::function<void(const QUrl&)> openUrl, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
    , m_state(state)
    , m_openUrl(std::move(openUrl))
{
    setObjectName(QStringLiteral("FAbout"));
    setModal(true);
    setWindowTitle(QStringLiteral("About..."));
    Apply_Window_Look(this);
    Set_Fixed_Client_Size(this, 406, 148);

    Image2 = new Click_Label(this);
    Image2->setObjectName(QStringLiteral("Image2"));
    Image2->setGeometry(32, 24, 81, 81);
    Image2->setScaledContents(true);
    Image2->setPixmap(Draw_Picture(Picture::Product, 81));
    Image2->setCursor(Qt::PointingHandCursor);

    Set_Label_Text(Make_Label(this, "Label1", 128, 24, true, 13), QStringLiteral("Software Loomwright "));
    Label2 = Make_Label(this, "Label2", 128, 39);
    Set_Label_Text(Make_Label(this, "Label6", 128, 62), QStringLiteral("Software Code : "));
    Label9 = Make_Label(this, "Label9", 240, 62);
    Set_Label_Text(Make_Label(this, "Label3", 128, 77), QStringLiteral("Version :"));
    Label10 = Make_Label(this, "Label10", 240, 77);
    Set_Label_Text(Make_Label(this, "Label8", 128, 93), QStringLiteral("Document Code :"));
    Label12 = Make_Label(this, "Label12", 240, 93);

    Btn_OK = new Flat_Button(this, "Btn_OK", QRect(32, 115, 81, 22), Hover_Sky_Blue(), Flat_Button::Arrangement::Picture_Left);
    Btn_OK->setText(QStringLiteral("OK"));

    Label4 = new Click_Label(this);
    Label4->setObjectName(QStringLiteral("Label4"));
    Label4->setFont(Base_Font());
    Label4->setTextFormat(Qt::PlainText);
    QPalette pal = Label4->palette();
    pal.setColor(QPalette::WindowText, QColor(0, 0, 255));
    Label4->setPalette(pal);
    QFont underlined = Base_Font();
    underlined.setUnderline(true);
    Label4->setFont(underlined);
    Label4->setCursor(Qt::PointingHandCursor);
    Label4->move(297, 131);
    Set_Label_Text(Label4, Maker_Web_Address());

    connect(Btn_OK, &Flat_Button::clicked, this, &TFAbout::accept);
    connect(Image2, &Click_Label::Clicked, this, &TFAbout::Label4Click);
    connect(Label4, &Click_Label::Clicked, this, &TFAbout::Label4Click);
}

int TFAbout::Open()
{
    FormShow();
    Center_On_Screen(this);
    return exec();
}

void TFAbout::FormShow()
{
    Image2->setVisible(true);
    Label4->setVisible(true);
    Set_Label_Text(Label2, m_state.SW_Desc);
    Set_Label_Text(Label9, QStringLiteral("KQ4315"));
    Set_Label_Text(Label10, QString::fromLatin1(SW_Version));
    Set_Label_Text(Label12, QStringLiteral("KM4315"));
    Set_Fixed_Client_Size(this, 406, 148);
}

void TFAbout::Label4Click()
{
    m_openUrl(Home_Page_Url());
}

} // namespace lw
