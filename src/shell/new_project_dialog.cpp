#include "shell/new_project_dialog.h"

#include "base/messages.h"
#include "shell/projects.h"
#include "widgets/button_pictures.h"
#include "widgets/flat_button.h"
#include "widgets/look.h"
#include "widgets/small_widgets.h"

#include <QLineEdit>

namespace lw {

TFNew_Project::TFNew_Project(ProgramState& state, Messages& messages, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
    , m_state(state)
    , m_messages(messages)
{
    setObjectName(QStringLiteral("FNew_Project"));
    setModal(true);
    Apply_Window_Look(this);
    Set_Fixed_Client_Size(this, 331, 162);

    m_title = new Title_Panel(this);
    Set_Label_Text(m_title->L_SW_Code, m_state.SW_Code);
    L_Name = Make_Label(this, "L_Name", 16, 70);

    E_New_Proj = new QLineEdit(this);
    E_New_Proj->setObjectName(QStringLiteral("E_New_Proj"));
    E_New_Proj->setGeometry(16, 94, 297, 21);

    auto* buttons = new Button_Panel(this);
    buttons->setGeometry(0, height() - Button_Panel_Height, width(), Button_Panel_Height);
    Btn_OK = new Flat_Button(buttons, "Btn_OK", QRect(85, 6, 110, 28), Hover_Sky_Blue(), Flat_Button::Arrangement::Picture_Left);
    Btn_OK->Set_Picture(Draw_Picture(Picture::OK, 16));
    Btn_Cancel = new Flat_Button(buttons, "Btn_Cancel", QRect(203, 6, 110, 28), Hover_Sky_Blue(), Flat_Button::Arrangement::Picture_Left);
    Btn_Cancel->Set_Picture(Draw_Picture(Picture::Cancel, 16));

    // Enter in the name box acts as OK; every other key is typed normally.
    connect(E_New_Proj, &QLineEdit::returnPressed, this, &TFNew_Project::Btn_OKClick);
    connect(Btn_OK, &Flat_Button::clicked, this, &TFNew_Project::Btn_OKClick);
    connect(Btn_Cancel, &Flat_Button::clicked, this, &TFNew_Project::reject);

    Set_Lang();
}

void TFNew_Project::Set_Lang()
{
    setWindowTitle(m_state.Text(25));
    Set_Label_Text(m_title->L_SW_Desc, m_state.Text(26));
    Set_Label_Text(L_Name, m_state.Text(27));
    Btn_OK->setText(m_state.Text(28));
    Btn_Cancel->setText(m_state.Text(29));
}

int TFNew_Project::Open()
{
    FormShow();
    Center_On_Screen(this);
    return exec();
}

void TFNew_Project::FormShow()
{
    E_New_Proj->clear();
    E_New_Proj->setFocus();
}

void TFNew_Project::Btn_OKClick()
{
    const int refusal = Create_Configuration(m_state, E_New_Proj->text());
    if (refusal != 0) {
        m_messages.Error(m_state.Text(refusal));
        return;
    }
    accept();
}

} // namespace lw
