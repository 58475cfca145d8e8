#include "shell/open_conf_dialog.h"

#include "shell/projects.h"
#include "widgets/button_pictures.h"
#include "widgets/flat_button.h"
#include "widgets/look.h"
#include "widgets/small_widgets.h"

#include <QKeyEvent>
#include <QListWidget>

namespace lw {

namespace {
constexpr int Button_Right_Margin = 18;
constexpr int List_Margin = 16;
} // namespace

TFOpenConf::TFOpenConf(ProgramState& state, QWidget* parent)
    : QDialog(parent)
    , m_state(state)
{
    setObjectName(QStringLiteral("FOpenConf"));
    setModal(true);
    Apply_Window_Look(this);
    setMinimumSize(280, 220);
    resize(377, 351);

    m_title = new Title_Panel(this);
    Set_Label_Text(m_title->L_SW_Code, m_state.SW_Code);
    L_List = Make_Label(this, "L_List", 16, 70);

    ListBox1 = new QListWidget(this);
    ListBox1->setObjectName(QStringLiteral("ListBox1"));
    ListBox1->setSelectionMode(QAbstractItemView::SingleSelection);

    m_buttons = new Button_Panel(this);
    Btn_OK = new Flat_Button(m_buttons, "Btn_OK", QRect(0, 6, 110, 28), Hover_Sky_Blue(), Flat_Button::Arrangement::Picture_Left);
    Btn_OK->Set_Picture(Draw_Picture(Picture::OK, 16));
    Btn_Cancel = new Flat_Button(m_buttons, "Btn_Cancel", QRect(0, 6, 110, 28), Hover_Sky_Blue(), Flat_Button::Arrangement::Picture_Left);
    Btn_Cancel->Set_Picture(Draw_Picture(Picture::Cancel, 16));

    // Choosing by mouse or keyboard both move the current row.
    connect(ListBox1, &QListWidget::currentRowChanged, this, &TFOpenConf::ListBox1Click);
    connect(ListBox1, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) {
        if (item)
            Choose_Current();
    });
    ListBox1->installEventFilter(this);
    connect(Btn_OK, &Flat_Button::clicked, this, &TFOpenConf::accept);
    connect(Btn_Cancel, &Flat_Button::clicked, this, &TFOpenConf::reject);

    Lay_Out();
    Set_Lang();
}

void TFOpenConf::Set_Lang()
{
    setWindowTitle(m_state.Text(33));
    Set_Label_Text(m_title->L_SW_Desc, m_state.Text(34));
    Set_Label_Text(L_List, m_state.Text(35));
    Btn_OK->setText(m_state.Text(36));
    Btn_Cancel->setText(m_state.Text(37));
}

void TFOpenConf::Lay_Out()
{
    const int w = width();
    const int h = height();
    m_title->setGeometry(0, 0, w, Title_Panel_Height);
    m_buttons->setGeometry(0, h - Button_Panel_Height, w, Button_Panel_Height);
    // The list fills the space between its label and the button row.
    ListBox1->setGeometry(List_Margin, 94, w - 2 * List_Margin, h - Button_Panel_Height - 94);
    // The buttons keep their distance from the right edge.
    Btn_Cancel->move(w - Button_Right_Margin - 110, 6);
    Btn_OK->move(w - Button_Right_Margin - 110 - 8 - 110, 6);
}

void TFOpenConf::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    Lay_Out();
}

int TFOpenConf::Open()
{
    FormShow();
    Center_On_Screen(this);
    return exec();
}

void TFOpenConf::FormShow()
{
    m_sl = Load_Existing_Configuration(m_state.Dir_Projects);
    {
        const QSignalBlocker block(ListBox1);
        ListBox1->clear();
        ListBox1->addItems(m_sl);
    }
    const int found = Search_Open_Conf(m_sl, Current_Configuration_Name(m_state));
    if (found >= 0) {
        ListBox1->setCurrentRow(found);
        m_nameConf = m_sl[found];
    } else if (!m_sl.isEmpty()) {
        ListBox1->setCurrentRow(0);
        m_nameConf = m_sl[0];
    } else {
        m_nameConf.clear();
    }
    ListBox1->setFocus();
}

bool TFOpenConf::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == ListBox1 && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) && ListBox1->currentItem()) {
            Choose_Current();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TFOpenConf::Choose_Current()
{
    ListBox1Click(ListBox1->currentRow());
    accept();
}

void TFOpenConf::ListBox1Click(int row)
{
    if (row >= 0 && row < ListBox1->count())
        m_nameConf = ListBox1->item(row)->text();
}

} // namespace lw
