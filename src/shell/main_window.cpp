#include "shell/main_window.h"

#include "base/messages.h"
#include "comm_settings/pargen_dialog.h"
#include "comm_settings/pargen_file.h"
#include "knx_access/knx_access_dialog.h"
#include "knx_access/knx_exchange_tools.h"
#include "knx_access/memory_map_window.h"
#include "options/soft_options_dialog.h"
#include "options/update_timer.h"
#include "report/report_writer.h"
#include "shell/about_dialog.h"
#include "shell/new_project_dialog.h"
#include "shell/open_conf_dialog.h"
#include "shell/projects.h"
#include "shell/settings_file.h"
#include "base/text_rules.h"
#include "shell/startup.h"
#include "shell/web_links.h"
#include "update/boot_tcp_dialog.h"
#include "widgets/button_pictures.h"
#include "widgets/flat_button.h"
#include "widgets/look.h"
#include "widgets/small_widgets.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDialog>
#include <QLabel>
#include <QTimer>

namespace lw {

namespace {
constexpr int Client_Width = 694;
constexpr int Step_Picture = 24;
constexpr int Image_Picture = 40;
} // namespace

void Name_Application()
{
    QApplication::setApplicationName(QStringLiteral("Loomwright"));
}

TFLoomwrightFirmWare::TFLoomwrightFirmWare(ProgramState& state, Messages& messages, const QString& dirApp,
                                           Shell_Seams seams, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
    , m_state(state)
    , m_messages(messages)
    , m_seams(With_Defaults(std::move(seams)))
{
    setObjectName(QStringLiteral("FLoomwrightFirmWare"));
    Build_Controls();
    FormCreate(dirApp);
    Create_Dialogs();
}

TFLoomwrightFirmWare::~TFLoomwrightFirmWare() = default;

void TFLoomwrightFirmWare::Build_Controls()
{
    Apply_Window_Look(this);
    L_SW_Code = Make_Label(this, "L_SW_Code", 16, 8, false, 32);
    L_SW_Desc = Make_Label(this, "L_SW_Desc", 16, 42, true);

    LL_Update = new QLabel(this);
    LL_Update->setObjectName(QStringLiteral("LL_Update"));
    LL_Update->setGeometry(208, 19, 294, 17);
    LL_Update->setFont(Base_Font());
    LL_Update->setTextFormat(Qt::RichText);
    LL_Update->setOpenExternalLinks(false);
    LL_Update->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
    connect(LL_Update, &QLabel::linkActivated, this, &TFLoomwrightFirmWare::LL_UpdateLinkClick);

    const auto image = Flat_Button::Arrangement::Picture_Only;
    Btn_Info = new Flat_Button(this, "Btn_Info", QRect(516, 8, 50, 50), Hover_Yellow(), image);
    Btn_Info->Set_Picture(Draw_Picture(Picture::Information, Image_Picture));
    Btn_Opz = new Flat_Button(this, "Btn_Opz", QRect(574, 8, 50, 50), Hover_Yellow(), image);
    Btn_Opz->Set_Picture(Draw_Picture(Picture::Options, Image_Picture));
    Btn_Close = new Flat_Button(this, "Btn_Close", QRect(632, 8, 50, 50), Hover_Yellow(), image);
    Btn_Close->Set_Picture(Draw_Picture(Picture::Close, Image_Picture));

    Shape2 = new Outline_Shape(this, "Shape2", QRect(80, 70, 348, 36), Frame_Silver());
    L_Name_Conf = Make_Label(this, "L_Name_Conf", 87, 75);
    L_Name_Conf_L2 = Make_Label(this, "L_Name_Conf_L2", 87, 88);

    L_Begin = Make_Label(this, "L_Begin", 16, 84, true);
    L_Step_1 = Make_Label(this, "L_Step_1", 16, 128, true);
    L_Step_2 = Make_Label(this, "L_Step_2", 16, 172, true);
    L_Step_3 = Make_Label(this, "L_Step_3", 16, 216, true);
    L_Step_4 = Make_Label(this, "L_Step_4", 16, 260, true);

    const auto step = Flat_Button::Arrangement::Text_Left;
    Btn_New = new Flat_Button(this, "Btn_New", QRect(80, 112, 170, 36), Hover_Sky_Blue(), step);
    Btn_New->Set_Picture(Draw_Picture(Picture::New_Configuration, Step_Picture));
    Btn_Open = new Flat_Button(this, "Btn_Open", QRect(258, 112, 170, 36), Hover_Sky_Blue(), step);
    Btn_Open->Set_Picture(Draw_Picture(Picture::Open_Configuration, Step_Picture));
    Btn_Prm_Gen = new Flat_Button(this, "Btn_Prm_Gen", QRect(80, 156, 170, 36), Hover_Yellow(), step);
    Btn_Prm_Gen->Set_Picture(Draw_Picture(Picture::Set_Communication, Step_Picture));
    Btn_KNX_Access = new Flat_Button(this, "Btn_KNX_Access", QRect(80, 200, 170, 36), Hover_Yellow(), step);
    Btn_KNX_Access->Set_Picture(Draw_Picture(Picture::KNX_Access, Step_Picture));
    Btn_CreateBin = new Flat_Button(this, "Btn_CreateBin", QRect(80, 244, 170, 36), Hover_Sky_Blue(), step);
    Btn_CreateBin->Set_Picture(Draw_Picture(Picture::Update_Device, Step_Picture));

    L_Veltrona = new Click_Label(this);
    L_Veltrona->setObjectName(QStringLiteral("L_Veltrona"));
    L_Veltrona->setFont(Base_Font(11, true));
    L_Veltrona->setTextFormat(Qt::PlainText);
    QPalette pal = L_Veltrona->palette();
    pal.setColor(QPalette::WindowText, Label_Grey());
    L_Veltrona->setPalette(pal);
    L_Veltrona->setCursor(Qt::PointingHandCursor);
    Set_Label_Text(L_Veltrona, Maker_Web_Address());
    connect(L_Veltrona, &Click_Label::Clicked, this, &TFLoomwrightFirmWare::L_VeltronaClick);

    Shape1 = new Outline_Shape(this, "Shape1", QRect(10, 0, 674, 1), Label_Grey());

    for (Flat_Button* button : {Btn_New, Btn_Open, Btn_Close, Btn_Info, Btn_Opz, Btn_Prm_Gen, Btn_KNX_Access, Btn_CreateBin})
        connect(button, &Flat_Button::clicked, this, &TFLoomwrightFirmWare::On_Button);

    Timer_Update = new QTimer(this);
    Timer_Update->setObjectName(QStringLiteral("Timer_Update"));
    Timer_Update->setSingleShot(false);
    Timer_Update->setInterval(m_seams.First_Interval_Ms);
    connect(Timer_Update, &QTimer::timeout, this, &TFLoomwrightFirmWare::Timer_UpdateTimer);
}

void TFLoomwrightFirmWare::FormCreate(const QString& dirApp)
{
    Lay_Out();
    // The same start-up the tests run; the window only shows its outcome.
    Run_Startup(m_state, dirApp, m_seams.Load_Language);
    // The update timer runs only with both internet permissions.
    Enable_Update_Timer(Update_Permitted(m_state));
    setWindowTitle(m_state.SW_Title);
    Set_Label_Text(L_SW_Code, m_state.SW_Code);
    Set_Label_Text(L_SW_Desc, m_state.SW_Desc);
    Show_Configuration_Labels();
    Set_Lang();
}

void TFLoomwrightFirmWare::Lay_Out()
{
    LL_Update->hide();
    L_Veltrona->move(565, L_Step_4->y());
    Shape1->setGeometry(10, Btn_CreateBin->y() + 51, 674, 1);
    Set_Fixed_Client_Size(this, Client_Width, Btn_CreateBin->y() + 152);
    Center_On_Screen(this);
}

void TFLoomwrightFirmWare::Create_Dialogs()
{
    const auto add = [this](QDialog* dialog, Lang_Target* lang) { m_dialogs.Add(dialog, lang); };

    FBootTCP = new TFBootTCP(m_state, m_messages, m_seams, this);
    add(FBootTCP, FBootTCP);

    FNew_Project = new TFNew_Project(m_state, m_messages, this);
    add(FNew_Project, FNew_Project);

    FOpenConf = new TFOpenConf(m_state, this);
    add(FOpenConf, FOpenConf);

    FAbout = new TFAbout(m_state, m_seams.Open_Url, this);
    add(FAbout, nullptr);

    FSoftOptions = new TFSoftOptions(
        m_state, m_messages, m_seams, [this] { Change_Language(); },
        [this](bool enabled) { Enable_Update_Timer(enabled); }, this);
    add(FSoftOptions, FSoftOptions);

    FParGen = new TFParGen(m_state, m_messages, this);
    add(FParGen, FParGen);

    FKNXAccess = new TFKNXAccess(m_state, m_messages, this);
    // The source of imported group addresses: the converter's own address as the settings file gives it.
    FKNXAccess->Exchange->Seams.Own_Address = [this] {
        ParGen_Values values;
        Load_ParGen(m_state.File_ParGen, values);
        return Strip(values.KNX_ID_DEV);
    };
    add(FKNXAccess, FKNXAccess);
    // The report of the grid as it is now, with the active configuration's settings.
    FKNXAccess->Map_Tools->Seams.Write = [this](const Text_Table& table, const QString& path) {
        return Write_Project_Report(m_state.Dir_Project, &table, m_state, path);
    };
}

void TFLoomwrightFirmWare::Set_Lang()
{
    Set_Label_Text(L_Begin, m_state.Text(0));
    Set_Label_Text(L_Step_1, m_state.Text(1));
    Set_Label_Text(L_Step_2, m_state.Text(2));
    Set_Label_Text(L_Step_3, m_state.Text(3));
    Set_Label_Text(L_Step_4, m_state.Text(4));
    Btn_Info->setToolTip(m_state.Text(12));
    Btn_Opz->setToolTip(m_state.Text(13));
    Btn_Close->setToolTip(m_state.Text(14));
    Btn_New->setText(m_state.Text(15));
    Btn_Open->setText(m_state.Text(16));
    Btn_CreateBin->setText(m_state.Text(17));
    Btn_Prm_Gen->setText(m_state.Text(20));
    Btn_KNX_Access->setText(m_state.Text(21));
}

void TFLoomwrightFirmWare::Change_Language()
{
    Set_Lang();
    m_dialogs.Set_Lang_All();
}

void TFLoomwrightFirmWare::Show_Configuration_Labels()
{
    Set_Label_Text(L_Name_Conf, Configuration_Label_1(m_state));
    Set_Label_Text(L_Name_Conf_L2, Configuration_Label_2(m_state));
}

void TFLoomwrightFirmWare::On_Button()
{
    Btn_Click(sender());
}

void TFLoomwrightFirmWare::Btn_Click(QObject* sender)
{
    if (sender == Btn_New)
        Create_New_Project();
    else if (sender == Btn_Open)
        Open_Project();
    else if (sender == Btn_Close)
        close();
    else if (sender == Btn_Info)
        FAbout->Open();
    else if (sender == Btn_Opz)
        Show_Options();
    else if (m_state.Dir_Project.isEmpty())
        m_messages.Error(m_state.Text(18));
    else if (sender == Btn_Prm_Gen)
        FParGen->Open();
    else if (sender == Btn_KNX_Access)
        FKNXAccess->Open();
    else if (sender == Btn_CreateBin)
        Update_Device();
}

void TFLoomwrightFirmWare::Create_New_Project()
{
    if (FNew_Project->Open() == QDialog::Accepted)
        Show_Configuration_Labels();
}

void TFLoomwrightFirmWare::Open_Project()
{
    if (FOpenConf->Open() != QDialog::Accepted)
        return;
    Open_Configuration(m_state, FOpenConf->Name_Conf());
    Show_Configuration_Labels();
}

void TFLoomwrightFirmWare::Show_Options()
{
    if (FSoftOptions->Open() != QDialog::Accepted)
        return;
    const QString error = Save_Setting(m_state);
    if (!error.isEmpty())
        m_messages.Error(error);
    Enable_Update_Timer(Update_Permitted(m_state));
}

void TFLoomwrightFirmWare::Show_Editor(QDialog* dialog)
{
    if (dialog)
        dialog->exec();
}

void TFLoomwrightFirmWare::Update_Device()
{
    // The image is compiled and written on every press, before the dialog opens.
    const QString error = m_seams.Compile_Image(m_state);
    if (!error.isEmpty()) {
        m_messages.Error(error);
        return;
    }
    FBootTCP->Open();
}

void TFLoomwrightFirmWare::L_VeltronaClick()
{
    m_seams.Open_Url(Home_Page_Url());
}

void TFLoomwrightFirmWare::LL_UpdateLinkClick(const QString& link)
{
    m_seams.Open_Url(QUrl(link));
}

void TFLoomwrightFirmWare::Timer_UpdateTimer()
{
    Timer_Update->stop();
    if (m_seams.Check_Version()) {
        LL_Update->setText(Update_Link_Html(m_seams.Download_Link, m_state.Text(19)));
        LL_Update->show();
    } else {
        LL_Update->hide();
    }
    Timer_Update->setInterval(m_seams.Later_Interval_Ms);
    Timer_Update->start();
}

void TFLoomwrightFirmWare::Enable_Update_Timer(bool enabled)
{
    Set_Update_Timer(*Timer_Update, enabled);
}

void TFLoomwrightFirmWare::closeEvent(QCloseEvent* event)
{
    // The window always closes; a failed save is reported with its path and reason.
    const QString error = Save_Setting(m_state);
    if (!error.isEmpty())
        m_messages.Error(error);
    event->accept();
}

} // namespace lw
