#include "knx_access/knx_access_dialog.h"

#include "knx_access/check_result.h"
#include "knx_access/knx_access_file.h"
#include "knx_access/knx_cell_delegate.h"
#include "knx_access/knx_check.h"
#include "knx_access/knx_table_model.h"
#include "knx_access/memory_map_window.h"
#include "knx_access/row_operations.h"
#include "shell/button_pictures.h"
#include "shell/flat_button.h"
#include "shell/look.h"
#include "shell/messages.h"
#include "shell/small_widgets.h"

#include <QAction>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QTableView>

namespace lw {

namespace {

constexpr int Client_Width = 1141;
constexpr int Client_Height = 337;
constexpr int Button_Width = 110;
constexpr int Button_Height = 28;
constexpr int Button_Gap = 8;
constexpr int Row_Height = 20;

// Widths of columns 0 to 16.
constexpr std::array<int, KNX_Table_Column_Count> Column_Widths = {
    40, 50, 70, 80, 60, 75, 110, 68, 50, 52, 71, 62, 67, 55, 55, 55, 96,
};

} // namespace

TFKNXAccess::TFKNXAccess(ProgramState& state, Messages& messages, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
    , m_state(state)
    , m_messages(messages)
{
    setObjectName(QStringLiteral("FKNXAccess"));
    setModal(true);
    Apply_Window_Look(this);
    Set_Fixed_Client_Size(this, Client_Width, Client_Height);

    m_title = new Title_Panel(this);
    Set_Label_Text(m_title->L_SW_Code, m_state.SW_Code);

    Build_Table();

    auto* buttons = new Button_Panel(this);
    buttons->setGeometry(0, Client_Height - Button_Panel_Height, Client_Width, Button_Panel_Height);
    const auto make = [buttons](const char* name, int slot) {
        const QRect place(Button_Gap + slot * (Button_Width + Button_Gap), 6, Button_Width, Button_Height);
        return new Flat_Button(buttons, name, place, Hover_Sky_Blue(), Flat_Button::Arrangement::Picture_Left);
    };
    Btn_OK = make("Btn_OK", 0);
    Btn_OK->Set_Picture(Draw_Picture(Picture::OK, 16));
    Btn_Cancel = make("Btn_Cancel", 1);
    Btn_Cancel->Set_Picture(Draw_Picture(Picture::Cancel, 16));
    Btn_DelRow = make("Btn_DelRow", 2);
    Btn_InsRow = make("Btn_InsRow", 3);
    Btn_CopyRow = make("Btn_CopyRow", 4);
    Btn_PasteRow = make("Btn_PasteRow", 5);
    Btn_Memory_Map = make("Btn_Memory_Map", 7);
    Act_Report = new QAction(this);
    Act_Report->setObjectName(QStringLiteral("Act_Report"));
    Map_Tools = new Memory_Map_Tools(m_state, m_messages, Model, ACG_KNX_in_Write, this);

    connect(Btn_OK, &Flat_Button::clicked, this, &TFKNXAccess::Btn_OKClick);
    connect(Btn_Cancel, &Flat_Button::clicked, this, &TFKNXAccess::Btn_CancelClick);
    connect(Btn_DelRow, &Flat_Button::clicked, this, &TFKNXAccess::Btn_DelRowClick);
    connect(Btn_InsRow, &Flat_Button::clicked, this, &TFKNXAccess::Btn_InsRowClick);
    connect(Btn_CopyRow, &Flat_Button::clicked, this, &TFKNXAccess::Btn_CopyRowClick);
    connect(Btn_PasteRow, &Flat_Button::clicked, this, &TFKNXAccess::Btn_PasteRowClick);
    connect(ACG_KNX_in_Write, &QTableView::clicked, this, &TFKNXAccess::ACG_KNX_in_WriteClickCell);
    connect(Btn_Memory_Map, &Flat_Button::clicked, Map_Tools, &Memory_Map_Tools::Show_Map);
    connect(Act_Report, &QAction::triggered, Map_Tools, &Memory_Map_Tools::Report);

    Set_Lang();
}

TFKNXAccess::~TFKNXAccess() = default;

void TFKNXAccess::Build_Table()
{
    Model = new KNX_Table_Model(this);
    Delegate = new KNX_Cell_Delegate(this);

    ACG_KNX_in_Write = new QTableView(this);
    ACG_KNX_in_Write->setObjectName(QStringLiteral("ACG_KNX_in_Write"));
    ACG_KNX_in_Write->setGeometry(0, Title_Panel_Height, Client_Width,
                                  Client_Height - Title_Panel_Height - Button_Panel_Height);
    ACG_KNX_in_Write->setModel(Model);
    ACG_KNX_in_Write->setItemDelegate(Delegate);
    ACG_KNX_in_Write->setSelectionMode(QAbstractItemView::SingleSelection);
    ACG_KNX_in_Write->setSelectionBehavior(QAbstractItemView::SelectItems);
    ACG_KNX_in_Write->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed
                                      | QAbstractItemView::AnyKeyPressed);
    ACG_KNX_in_Write->setTabKeyNavigation(true);
    ACG_KNX_in_Write->setWordWrap(false);
    ACG_KNX_in_Write->setCornerButtonEnabled(false);
    ACG_KNX_in_Write->verticalHeader()->hide();
    ACG_KNX_in_Write->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    ACG_KNX_in_Write->verticalHeader()->setDefaultSectionSize(Row_Height);
    QHeaderView* header = ACG_KNX_in_Write->horizontalHeader();
    header->setSectionsClickable(false);
    header->setHighlightSections(false);
    header->setMinimumSectionSize(0);
    // Every column is shown, APCI, OnCMD and OnChange included, at its fixed width.
    for (int c = 0; c < KNX_Table_Column_Count; ++c) {
        ACG_KNX_in_Write->setColumnHidden(c, false);
        ACG_KNX_in_Write->setColumnWidth(c, Column_Widths[c]);
    }
}

void TFKNXAccess::Set_Lang()
{
    setWindowTitle(m_state.Text(168));
    Set_Label_Text(m_title->L_SW_Desc, m_state.Text(169));
    Btn_OK->setText(m_state.Text(170));
    Btn_Cancel->setText(m_state.Text(171));
    Btn_DelRow->setText(m_state.Text(172));
    Btn_InsRow->setText(m_state.Text(173));
    Btn_CopyRow->setText(m_state.Text(877));
    Btn_PasteRow->setText(m_state.Text(878));
    Btn_Memory_Map->setText(m_state.Text(2400));
    Act_Report->setText(m_state.Text(2401));
    Map_Tools->Set_Lang();
    Model->Set_Headers(m_state);
}

void TFKNXAccess::showEvent(QShowEvent* event)
{
    FormShow();
    Center_On_Screen(this);
    QDialog::showEvent(event);
}

void TFKNXAccess::FormShow()
{
    Text_Table table = Fresh_KNX_Table();
    Set_KNX_Headers(table, m_state);
    Max_Num_Byte = KNX_Max_Num_Byte;
    Delegate->Set_Position_Items(Max_Num_Byte);
    // A failed read keeps the rows filled before it; the dialog opens all the same.
    const KNX_Read_Result read = Read_KNX_Access_File(m_state.File_KNX_Access, table);
    Model->Set_Table(std::move(table));
    Do_Copy_In_Read = false;
    Do_Copy_In_Write = false;

    ACG_KNX_in_Write->setCurrentIndex(Model->Cell_Index(1, Col_Enable));
    ACG_KNX_in_Write->scrollToTop();
    ACG_KNX_in_Write->setFocus();
    if (!read.Ok())
        m_messages.Error(read.error);
}

bool TFKNXAccess::Controllo_dati()
{
    const Check_Result result = lw::Controllo_dati(Model->Table(), Max_Num_Byte);
    if (result.ok)
        return true;
    m_messages.Error(Check_Message(result, m_state));
    return false;
}

int TFKNXAccess::Current_Row() const
{
    const QModelIndex current = ACG_KNX_in_Write->currentIndex();
    return current.isValid() ? KNX_Table_Model::Table_Row(current) : 0;
}

void TFKNXAccess::Commit_Edit()
{
    if (QWidget* editor = ACG_KNX_in_Write->indexWidget(ACG_KNX_in_Write->currentIndex()))
        Delegate->Finish_Edit(editor);
}

void TFKNXAccess::Btn_OKClick()
{
    Commit_Edit();
    if (!Controllo_dati())
        return;
    const QString error = Write_KNX_Access_File(Model->Table(), m_state.File_KNX_Access);
    if (!error.isEmpty()) {
        // The edits stay in the grid; the user may retry or cancel.
        m_messages.Error(error);
        return;
    }
    accept();
}

void TFKNXAccess::Btn_CancelClick()
{
    if (QWidget* editor = ACG_KNX_in_Write->indexWidget(ACG_KNX_in_Write->currentIndex()))
        Delegate->Abandon_Edit(editor);
    reject();
}

void TFKNXAccess::Btn_DelRowClick()
{
    Commit_Edit();
    const int r = Current_Row();
    Model->Edit_Rows([&](Text_Table& table) { Confirm_Delete_Row(r, table, m_state, m_messages); });
    ACG_KNX_in_Write->setFocus();
}

void TFKNXAccess::Btn_InsRowClick()
{
    Commit_Edit();
    const int r = Current_Row();
    Model->Edit_Rows([&](Text_Table& table) { Insert_Row(r, table); });
    ACG_KNX_in_Write->setFocus();
}

void TFKNXAccess::Btn_CopyRowClick()
{
    Commit_Edit();
    Copy_Row(Model->Table(), Current_Row(), m_state.Copied_Row);
    Do_Copy_In_Write = true;
    Do_Copy_In_Read = false;
    ACG_KNX_in_Write->setFocus();
}

void TFKNXAccess::Btn_PasteRowClick()
{
    Commit_Edit();
    const int r = Current_Row();
    Model->Edit_Rows([&](Text_Table& table) {
        Paste_Row(table, r, Do_Copy_In_Write, m_state.Copied_Row, KNX_Check_Columns, m_state, m_messages);
    });
    ACG_KNX_in_Write->setFocus();
}

void TFKNXAccess::ACG_KNX_in_WriteClickCell(const QModelIndex& index)
{
    if (!index.isValid() || index.column() != Col_Number)
        return;
    const QModelIndex first = Model->index(index.row(), 0);
    const QModelIndex last = Model->index(index.row(), Model->columnCount() - 1);
    ACG_KNX_in_Write->selectionModel()->select(QItemSelection(first, last), QItemSelectionModel::ClearAndSelect);
}

} // namespace lw
