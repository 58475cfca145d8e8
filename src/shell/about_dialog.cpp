#include "shell/about_dialog.h"

#include "shell/web_links.h"
#include "widgets/button_pictures.h"
#include "widgets/flat_button.h"
#include "widgets/look.h"
#include "widgets/small_widgets.h"

#include <QDir>

namespace lw {

namespace {
// The box of the fixed texts (406 x 148) and, below it, the row of the data folder.
constexpr int About_Width = 406;
constexpr int About_Height = 192;
constexpr int Folder_Left = 32;
constexpr int Folder_Width = About_Width - 2 * Folder_Left;
} // namespace

TFAbout::TFAbout(const ProgramState& state, std::function<void(const QUrl&)> openUrl, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
    , m_state(state)
    , m_openUrl(std::move(openUrl))
{
    setObjectName(QStringLiteral("FAbout"));
    setModal(true);
    setWindowTitle(QStringLiteral("About..."));
    Apply_Window_Look(this);
    Set_Fixed_Client_Size(this, About_Width, About_Height);

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

    // The folder the program keeps its data in (beside it, or the user's data
    // folder): captioned by the language table, the path selectable for copying.
    Label13 = Make_Label(this, "Label13", Folder_Left, 154);
    Label14 = Make_Label(this, "Label14", Folder_Left, 169);
    Label14->setTextInteractionFlags(Qt::TextSelectableByMouse);

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
    Set_Label_Text(Label13, m_state.Text(2500));
    // A long path is shortened in its middle; the whole path is the tooltip.
    const QString folder = QDir::toNativeSeparators(m_state.Dir_App);
    Set_Label_Text(Label14, Label14->fontMetrics().elidedText(folder, Qt::ElideMiddle, Folder_Width));
    Label14->setToolTip(folder);
    Set_Fixed_Client_Size(this, About_Width, About_Height);
}

void TFAbout::Label4Click()
{
    m_openUrl(Home_Page_Url());
}

} // namespace lw
