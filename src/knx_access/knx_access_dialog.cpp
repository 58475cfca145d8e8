#include "knx_access/knx_access_dialog.h"

#include "base/check_result.h"
#include "base/messages.h"
#include "knx_access/knx_access_file.h"
#include "knx_access/knx_cell_delegate.h"
#include "knx_access/knx_check.h"
#include "knx_access/knx_exchange_tools.h"
#include "knx_access/knx_find_bar.h"
#include "knx_access/knx_grid_view.h"
#include "knx_access/knx_marking.h"
#include "knx_access/knx_table_edit.h"
#include "knx_access/knx_table_model.h"
#include "knx_access/knx_undo_commands.h"
#include "knx_access/memory_map_window.h"
#include "knx_access/row_operations.h"
#include "widgets/button_pictures.h"
#include "widgets/flat_button.h"
#include "widgets/look.h"
#include "widgets/small_widgets.h"

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QClipboard>
#include <QAction>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QMenu>
#include <QTableView>
#include <QKeyEvent>
#include <QShortcut>
#include <QUndoStack>
#include <set>

namespace lw {

namespace {

constexpr int Client_Width = 1141;
constexpr int Client_Height = 337;
constexpr int Button_Width = 110;
constexpr int Button_Height = 28;
constexpr int Button_Gap = 8;
constexpr int Row_Height = 20;
constexpr int Find_Bar_Height = 30;

// Widths of columns 0 to 16.
constexpr std::array<int, KNX_Table_Column_Count> Column_Widths = {
    40, 50, 70, 80, 60, 75, 110, 68, 50, 52, 71, 62, 67, 55, 55, 55, 96,
};

// Language entries of the grid's own texts.
enum : int {
    Lang_Exit_Unsaved = 167,
    Lang_Rows_Lost = 2200,
    Lang_Insert_Drops_Last = 2201,
    Lang_Paste_Cut = 2202,
    Lang_Find = 2204,
    Lang_Find_Filter = 2205,
    Lang_Find_Previous = 2206,
    Lang_Find_Next = 2207,
    Lang_Find_Close = 2208,
    Lang_Find_None = 2209,
    Lang_Find_Count = 2211,
};

bool Is(const QKeyEvent* event, Qt::Key key, Qt::KeyboardModifiers modifiers)
{
    const Qt::KeyboardModifiers held = event->modifiers() & ~Qt::KeypadModifier;
    return event->key() == key && held == modifiers;
}

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

    Undo_Stack = new QUndoStack(this);
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
    Btn_Tools = make("Btn_Tools", 6);
    Menu_Tools = new QMenu(Btn_Tools);
    Menu_Tools->setObjectName(QStringLiteral("Menu_Tools"));
    Exchange = new KNX_Exchange_Tools(*this, Menu_Tools, m_state, m_messages);
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
    connect(Btn_Tools, &Flat_Button::clicked, this, [this] {
        Commit_Edit();
        Menu_Tools->popup(Btn_Tools->mapToGlobal(QPoint(0, Btn_Tools->height())));
    });

    // Find keys work from the grid, its editors and the find bar alike.
    auto* find = new QShortcut(QKeySequence::Find, this);
    connect(find, &QShortcut::activated, this, &TFKNXAccess::Open_Find);
    auto* next = new QShortcut(QKeySequence(Qt::Key_F3), this);
    connect(next, &QShortcut::activated, this, [this] { Find_Next(false); });
    auto* previous = new QShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F3), this);
    connect(previous, &QShortcut::activated, this, [this] { Find_Next(true); });
    connect(Btn_Memory_Map, &Flat_Button::clicked, Map_Tools, &Memory_Map_Tools::Show_Map);
    connect(Act_Report, &QAction::triggered, Map_Tools, &Memory_Map_Tools::Report);
    Menu_Tools->addSeparator();
    Menu_Tools->addAction(Act_Report);

    Set_Lang();
}

TFKNXAccess::~TFKNXAccess()
{
    // The undo stack is deleted with the dialog's children, after this
    // destructor; its last signals must not reach the half-destroyed dialog.
    Undo_Stack->disconnect(this);
}

void TFKNXAccess::Build_Table()
{
    Model = new KNX_Table_Model(this);
    Model->Set_Language(&m_state);
    Delegate = new KNX_Cell_Delegate(this);

    ACG_KNX_in_Write = new KNX_Grid_View(this);
    ACG_KNX_in_Write->setObjectName(QStringLiteral("ACG_KNX_in_Write"));
    ACG_KNX_in_Write->setModel(Model);
    ACG_KNX_in_Write->setItemDelegate(Delegate);
    ACG_KNX_in_Write->setSelectionMode(QAbstractItemView::ExtendedSelection);
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
    ACG_KNX_in_Write->Key_Handler = [this](QKeyEvent* event) { return Grid_Key(event); };

    // Every edit through an editor or a check box is one undo step.
    Model->Set_Edit_Handler([this](int row, int column, const QString& text) {
        Change_Table(QStringLiteral("Edit"), [&](Text_Table& table) { table.Set_Cell(row, column, text); });
        return true;
    });

    Find_Bar = new KNX_Find_Bar(this);
    Find_Bar->hide();
    connect(Find_Bar, &KNX_Find_Bar::Text_Changed, this, [this](const QString& text) {
        Find_Bar->Show_Count(Model->Set_Find_Text(text));
        Apply_Filter();
        const QModelIndex current = ACG_KNX_in_Write->currentIndex();
        if (!text.isEmpty())
            Find_From(current.isValid() ? KNX_Table_Model::Table_Row(current) : 1, current.isValid() ? current.column() : 1,
                      false, true);
    });
    connect(Find_Bar, &KNX_Find_Bar::Filter_Changed, this, [this] { Apply_Filter(); });
    connect(Find_Bar, &KNX_Find_Bar::Next, this, [this] { Find_Next(false); });
    connect(Find_Bar, &KNX_Find_Bar::Previous, this, [this] { Find_Next(true); });
    connect(Find_Bar, &KNX_Find_Bar::Closed, this, &TFKNXAccess::Close_Find);
    // Edits, undo and redo may change which rows match.
    connect(Undo_Stack, &QUndoStack::indexChanged, this, [this] {
        if (Find_Bar->isVisible()) {
            Find_Bar->Show_Count(Model->Set_Find_Text(Find_Bar->Text()));
            Apply_Filter();
        }
    });
    Place_Grid();
}

void TFKNXAccess::Place_Grid()
{
    const int height = Client_Height - Title_Panel_Height - Button_Panel_Height;
    const int bar = Find_Bar->isVisibleTo(this) ? Find_Bar_Height : 0;
    ACG_KNX_in_Write->setGeometry(0, Title_Panel_Height, Client_Width, height - bar);
    Find_Bar->setGeometry(0, Title_Panel_Height + height - bar, Client_Width, Find_Bar_Height);
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
    Btn_Tools->setText(m_state.Text(Lang_Tools));
    Exchange->Set_Lang();
    Find_Bar->Set_Texts(m_state.Text(Lang_Find), m_state.Text(Lang_Find_Filter), m_state.Text(Lang_Find_Previous),
                        m_state.Text(Lang_Find_Next), m_state.Text(Lang_Find_Close), m_state.Text(Lang_Find_None),
                        m_state.Text(Lang_Find_Count));
    Btn_Memory_Map->setText(m_state.Text(2400));
    Act_Report->setText(m_state.Text(2401));
    Map_Tools->Set_Lang();
    Model->Set_Headers(m_state);
}

int TFKNXAccess::Open()
{
    FormShow();
    Center_On_Screen(this);
    return exec();
}

void TFKNXAccess::FormShow()
{
    Text_Table table = Fresh_KNX_Table();
    Set_KNX_Headers(table, m_state);
    Max_Num_Byte = KNX_Max_Num_Byte;
    Delegate->Set_Position_Items(Max_Num_Byte);
    Model->Set_Max_Num_Byte(Max_Num_Byte);
    // A failed read keeps the rows filled before it; the dialog opens all the same.
    const KNX_Read_Result read = Read_KNX_Access_File(m_state.File_KNX_Access, table);
    m_loaded = table;
    Undo_Stack->clear();
    Close_Find();
    Model->Set_Table(std::move(table));
    Do_Copy_In_Read = false;
    Do_Copy_In_Write = false;

    ACG_KNX_in_Write->setCurrentIndex(Model->Cell_Index(1, Col_Enable));
    ACG_KNX_in_Write->scrollToTop();
    ACG_KNX_in_Write->setFocus();
    if (!read.Ok())
        m_messages.Error(read.error);
}

const Text_Table& TFKNXAccess::Table() const
{
    return Model->Table();
}

bool TFKNXAccess::Is_Modified() const
{
    return Model->Table() != m_loaded;
}

bool TFKNXAccess::Controllo_dati()
{
    const Check_Result result = lw::Controllo_dati(Model->Table(), Max_Num_Byte);
    if (result.ok)
        return true;
    m_messages.Error(Check_Message(result, m_state));
    // The offending cell is shown, even when the find filter hid its row.
    if (Find_Bar->Filter())
        Find_Bar->CB_Filter->setChecked(false);
    Select_Cell(result.row, Check_Column(result) > 0 ? Check_Column(result) : Col_Source_Address);
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

void TFKNXAccess::Change_Table(const QString& name, const std::function<void(Text_Table&)>& change)
{
    Text_Table after = Model->Table();
    change(after);
    QList<Cell_Change> changes = Diff_Tables(Model->Table(), after);
    if (changes.isEmpty())
        return;
    Undo_Stack->push(new KNX_Table_Command(Model, std::move(changes), name,
                                           [this](const Cell_Range& range) { Select_Range(range); }));
}

void TFKNXAccess::Apply_Table(const Text_Table& table, const QString& actionText)
{
    Commit_Edit();
    Change_Table(actionText, [&](Text_Table& current) {
        for (int r = 1; r < current.Row_Count(); ++r) {
            for (int c = 1; c < current.Column_Count(); ++c)
                current.Set_Cell(r, c, table.Cell(r, c));
        }
    });
}

QList<Cell_Range> TFKNXAccess::Selected_Ranges() const
{
    QList<Cell_Range> ranges;
    const auto add = [&](int top, int left, int bottom, int right) {
        left = std::max(1, left);
        if (right < left)
            return;
        // Rows the find filter hides are not part of what the user sees selected.
        int start = -1;
        for (int r = top; r <= bottom + 1; ++r) {
            const bool shown = r <= bottom && !ACG_KNX_in_Write->isRowHidden(r - 1);
            if (shown && start < 0)
                start = r;
            if (!shown && start >= 0) {
                ranges.append({start, left, r - 1, right});
                start = -1;
            }
        }
    };
    const QItemSelection selection = ACG_KNX_in_Write->selectionModel()->selection();
    for (const QItemSelectionRange& range : selection)
        add(range.top() + 1, range.left(), range.bottom() + 1, range.right());
    if (ranges.isEmpty()) {
        const QModelIndex current = ACG_KNX_in_Write->currentIndex();
        if (current.isValid())
            add(current.row() + 1, current.column(), current.row() + 1, current.column());
    }
    return ranges;
}

void TFKNXAccess::Select_Range(const Cell_Range& given)
{
    if (given.Is_Empty())
        return;
    const Cell_Range range{std::max(1, given.top), std::max(1, given.left), std::min(KNX_Table_Rows, given.bottom),
                           std::min(KNX_Table_Column_Count - 1, given.right)};
    QItemSelectionModel* selection = ACG_KNX_in_Write->selectionModel();
    const QModelIndex first = Model->Cell_Index(range.top, range.left);
    // Through the view, so that Shift+arrows extend from the new current cell.
    ACG_KNX_in_Write->setCurrentIndex(first);
    selection->select(QItemSelection(first, Model->Cell_Index(range.bottom, range.right)),
                      QItemSelectionModel::ClearAndSelect);
    ACG_KNX_in_Write->scrollTo(first);
}

void TFKNXAccess::Select_Cell(int row, int column)
{
    Select_Range({row, column, row, column});
}

void TFKNXAccess::Copy_Cells()
{
    const QList<Cell_Range> ranges = Selected_Ranges();
    if (ranges.isEmpty())
        return;
    // Several ranges copy as one block: the rows they cover, from the leftmost
    // to the rightmost selected column.
    std::set<int> rows;
    int left = KNX_Table_Column_Count;
    int right = 0;
    for (const Cell_Range& range : ranges) {
        for (int r = range.top; r <= range.bottom; ++r)
            rows.insert(r);
        left = std::min(left, range.left);
        right = std::max(right, range.right);
    }
    Cell_Block block;
    for (const int r : rows)
        block.append(Cells_Of(Model->Table(), {r, left, r, right}).value(0));
    QGuiApplication::clipboard()->setText(Encode_Cells(block));
}

void TFKNXAccess::Cut_Cells()
{
    Copy_Cells();
    const QList<Cell_Range> ranges = Selected_Ranges();
    Change_Table(QStringLiteral("Cut"), [&](Text_Table& table) { Clear_Cells(table, ranges); });
}

void TFKNXAccess::Paste_Cells_From(const QString& text)
{
    const Cell_Block block = Decode_Cells(text);
    const QList<Cell_Range> ranges = Selected_Ranges();
    if (block.isEmpty() || ranges.isEmpty())
        return;
    int cells = 0;
    int top = KNX_Table_Rows + 1;
    int left = KNX_Table_Column_Count;
    for (const Cell_Range& range : ranges) {
        cells += range.Rows() * range.Columns();
        top = std::min(top, range.top);
        left = std::min(left, range.left);
    }
    // One copied text onto several cells fills them all.
    if (block.size() == 1 && block.front().size() == 1 && cells > 1) {
        Change_Table(QStringLiteral("Paste"), [&](Text_Table& table) {
            for (const Cell_Range& range : ranges)
                Fill_Cells(table, range, block.front().front());
        });
        return;
    }
    Paste_Outcome outcome;
    Change_Table(QStringLiteral("Paste"), [&](Text_Table& table) { outcome = Paste_Cells(table, top, left, block); });
    Select_Range(outcome.written);
    if (outcome.Cut()) {
        m_messages.Error(m_state.Text(Lang_Paste_Cut)
                             .arg(outcome.written.Rows())
                             .arg(outcome.blockRows)
                             .arg(outcome.written.Columns())
                             .arg(outcome.blockColumns));
    }
}

void TFKNXAccess::Clear_Selection()
{
    const QList<Cell_Range> ranges = Selected_Ranges();
    Change_Table(QStringLiteral("Clear"), [&](Text_Table& table) { Clear_Cells(table, ranges); });
}

void TFKNXAccess::Fill_Down_Selection(bool series)
{
    const QList<Cell_Range> ranges = Selected_Ranges();
    Change_Table(series ? QStringLiteral("Fill Series") : QStringLiteral("Fill Down"), [&](Text_Table& table) {
        if (series)
            Fill_Series(table, ranges);
        else
            Fill_Down(table, ranges);
    });
}

void TFKNXAccess::Open_Find()
{
    Commit_Edit();
    if (!Find_Bar->isVisibleTo(this)) {
        Find_Bar->show();
        Place_Grid();
        if (!Find_Bar->Text().isEmpty())
            Find_Bar->Show_Count(Model->Set_Find_Text(Find_Bar->Text()));
        Apply_Filter();
    }
    Find_Bar->E_Find->setFocus();
    Find_Bar->E_Find->selectAll();
}

void TFKNXAccess::Close_Find()
{
    const bool wasOpen = Find_Bar->isVisibleTo(this);
    Find_Bar->hide();
    Model->Set_Find_Text(QString());
    Apply_Filter();
    Place_Grid();
    if (wasOpen) {
        ACG_KNX_in_Write->setFocus();
        if (ACG_KNX_in_Write->currentIndex().isValid())
            ACG_KNX_in_Write->scrollTo(ACG_KNX_in_Write->currentIndex());
    }
}

void TFKNXAccess::Apply_Filter()
{
    const bool filter = Find_Bar->isVisibleTo(this) && Find_Bar->Filter() && !Model->Find_Text().isEmpty();
    for (int r = 1; r <= Model->rowCount(); ++r) {
        const bool hide = filter && !Model->Row_Has_Match(r);
        if (ACG_KNX_in_Write->isRowHidden(r - 1) != hide)
            ACG_KNX_in_Write->setRowHidden(r - 1, hide);
    }
}

void TFKNXAccess::Find_Next(bool backwards)
{
    if (!Find_Bar->isVisibleTo(this) || Find_Bar->Text().isEmpty()) {
        Open_Find();
        return;
    }
    Commit_Edit();
    const QModelIndex current = ACG_KNX_in_Write->currentIndex();
    Find_From(current.isValid() ? KNX_Table_Model::Table_Row(current) : 1, current.isValid() ? current.column() : 0,
              backwards, false);
}

void TFKNXAccess::Find_From(int row, int column, bool backwards, bool includeStart)
{
    const int columns = KNX_Table_Column_Count;
    const int cells = KNX_Table_Rows * columns;
    int at = (row - 1) * columns + column;
    for (int step = includeStart ? 0 : 1; step <= cells; ++step) {
        const int k = ((at + (backwards ? -step : step)) % cells + cells) % cells;
        const int r = k / columns + 1;
        const int c = k % columns;
        if (Model->Is_Match(r, c)) {
            Select_Cell(r, c);
            return;
        }
    }
}

bool TFKNXAccess::Grid_Key(QKeyEvent* event)
{
    const auto run = [event](const std::function<void()>& action) {
        action();
        event->accept();
        return true;
    };
    if (event->matches(QKeySequence::Copy))
        return run([this] { Copy_Cells(); });
    if (event->matches(QKeySequence::Cut))
        return run([this] { Cut_Cells(); });
    if (event->matches(QKeySequence::Paste))
        return run([this] { Paste_Cells_From(QGuiApplication::clipboard()->text()); });
    if (Is(event, Qt::Key_Z, Qt::ControlModifier))
        return run([this] { Undo_Stack->undo(); });
    if (Is(event, Qt::Key_Y, Qt::ControlModifier) || Is(event, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier))
        return run([this] { Undo_Stack->redo(); });
    if (Is(event, Qt::Key_Delete, Qt::NoModifier))
        return run([this] { Clear_Selection(); });
    if (Is(event, Qt::Key_D, Qt::ControlModifier))
        return run([this] { Fill_Down_Selection(false); });
    if (Is(event, Qt::Key_D, Qt::ControlModifier | Qt::ShiftModifier))
        return run([this] { Fill_Down_Selection(true); });
    // Ctrl++ and Ctrl+- insert and delete rows, whatever the keyboard needs Shift for.
    const bool control = (event->modifiers() & Qt::ControlModifier) && !(event->modifiers() & Qt::AltModifier);
    if (control && (event->key() == Qt::Key_Plus || event->key() == Qt::Key_Equal))
        return run([this] { Btn_InsRowClick(); });
    if (control && (event->key() == Qt::Key_Minus || event->key() == Qt::Key_Underscore))
        return run([this] { Btn_DelRowClick(); });
    return false;
}

void TFKNXAccess::Btn_OKClick()
{
    Commit_Edit();
    if (!Controllo_dati())
        return;
    // Rows below the table's end are not saved: refuse rather than lose them.
    if (const int end = Row_Losing_Rows_Below(Model->Table())) {
        m_messages.Error(m_state.Text(Lang_Rows_Lost).arg(end));
        if (Find_Bar->Filter())
            Find_Bar->CB_Filter->setChecked(false);
        ACG_KNX_in_Write->Select_Rows(end - 1, end - 1, end - 1);
        ACG_KNX_in_Write->scrollTo(Model->Cell_Index(end, Col_Source_Address));
        ACG_KNX_in_Write->setFocus();
        return;
    }
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
    reject();
}

void TFKNXAccess::reject()
{
    // Cancel, Escape and the close box: an edit in progress is dropped, and
    // after any change the user confirms losing it.
    if (QWidget* editor = ACG_KNX_in_Write->indexWidget(ACG_KNX_in_Write->currentIndex()))
        Delegate->Abandon_Edit(editor);
    if (isVisible() && Is_Modified() && !m_messages.Question(m_state.Text(Lang_Exit_Unsaved)))
        return;
    QDialog::reject();
}

void TFKNXAccess::Btn_DelRowClick()
{
    Commit_Edit();
    const int r = Current_Row();
    Change_Table(QStringLiteral("Delete Row"),
                 [&](Text_Table& table) { Confirm_Delete_Row(r, table, m_state, m_messages); });
    ACG_KNX_in_Write->setFocus();
}

void TFKNXAccess::Btn_InsRowClick()
{
    Commit_Edit();
    const int r = Current_Row();
    // A full table loses its last row to the insert: only when the user agrees.
    if (r >= 1 && r <= KNX_Table_Rows && Row_Has_Content(Model->Table(), KNX_Table_Rows)
        && !m_messages.Question(m_state.Text(Lang_Insert_Drops_Last))) {
        ACG_KNX_in_Write->setFocus();
        return;
    }
    Change_Table(QStringLiteral("Insert Row"), [&](Text_Table& table) { Insert_Row(r, table); });
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
    Change_Table(QStringLiteral("Paste Row"), [&](Text_Table& table) {
        Paste_Row(table, r, Do_Copy_In_Write, m_state.Copied_Row, KNX_Check_Columns, m_state, m_messages);
    });
    ACG_KNX_in_Write->setFocus();
}

} // namespace lw
