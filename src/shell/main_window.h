#pragma once
// The configurator's main window: the numbered steps from which all work
// starts. Its creation runs the program's start-up and creates every dialog.

#include "base/program_state.h"
#include "shell/shell_seams.h"
#include "widgets/dialog_registry.h"

#include <QWidget>

class QDialog;
class QLabel;
class QTimer;

namespace lw {

class Click_Label;
class Flat_Button;
class Messages;
class Outline_Shape;
class TFAbout;
class TFBootTCP;
class TFKNXAccess;
class TFNew_Project;
class TFOpenConf;
class TFParGen;
class TFSoftOptions;

// Names the application for the system (settings, message box captions).
// No display name is set: on X11 and Windows Qt would append it to every
// window's caption, which must show exactly its own text.
void Name_Application();

class TFLoomwrightFirmWare : public QWidget, public Lang_Target {
    Q_OBJECT
public:
    // dirApp is the folder the program keeps its folders and settings in (the
    // executable's folder; tests give a temporary one).
    TFLoomwrightFirmWare(ProgramState& state, Messages& messages, const QString& dirApp,
                         Shell_Seams seams = {}, QWidget* parent = nullptr);
    ~TFLoomwrightFirmWare() override;

    void Set_Lang() override;
    // Re-captions this window and every dialog, in creation order.
    void Change_Language();
    // The dialogs created at start-up, in creation order.
    const Dialog_Registry& Dialogs() const { return m_dialogs; }

    QTimer* Timer_Update;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void Build_Controls();
    void FormCreate(const QString& dirApp);
    void Lay_Out();
    void Create_Dialogs();
    void Show_Configuration_Labels();

    void On_Button();
    void Btn_Click(QObject* sender);
    void Create_New_Project();
    void Open_Project();
    void Show_Options();
    void Show_Editor(QDialog* dialog);
    void Update_Device();
    void L_VeltronaClick();
    void LL_UpdateLinkClick(const QString& link);
    void Timer_UpdateTimer();
    void Enable_Update_Timer(bool enabled);

    ProgramState& m_state;
    Messages& m_messages;
    Shell_Seams m_seams;

    QLabel* L_SW_Code;
    QLabel* L_SW_Desc;
    QLabel* LL_Update;
    Flat_Button* Btn_Info;
    Flat_Button* Btn_Opz;
    Flat_Button* Btn_Close;
    Outline_Shape* Shape2;
    QLabel* L_Name_Conf;
    QLabel* L_Name_Conf_L2;
    QLabel* L_Begin;
    QLabel* L_Step_1;
    QLabel* L_Step_2;
    QLabel* L_Step_3;
    QLabel* L_Step_4;
    Flat_Button* Btn_New;
    Flat_Button* Btn_Open;
    Flat_Button* Btn_Prm_Gen;
    Flat_Button* Btn_KNX_Access;
    Flat_Button* Btn_CreateBin;
    Click_Label* L_Veltrona;
    Outline_Shape* Shape1;

    // The dialogs, created once after the start-up, in creation order.
    Dialog_Registry m_dialogs;
    TFBootTCP* FBootTCP = nullptr;
    TFNew_Project* FNew_Project = nullptr;
    TFOpenConf* FOpenConf = nullptr;
    TFAbout* FAbout = nullptr;
    TFSoftOptions* FSoftOptions = nullptr;
    TFParGen* FParGen = nullptr;
    TFKNXAccess* FKNXAccess = nullptr;
};

} // namespace lw
