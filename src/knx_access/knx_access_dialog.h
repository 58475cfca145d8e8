#pragma once
// The KNX Access dialog: the project's table of KNX active commands in a
// 512-row grid, loaded when the main window opens it, checked and written on
// OK, with the Delete, Insert, Copy and Paste row buttons, and the
// spreadsheet habits on top: range selection, the clipboard in the
// spreadsheet format, clear, fill, undo and redo, find, live marks.

#include "base/program_state.h"
#include "knx_access/knx_clipboard.h"
#include "knx_access/knx_grid_view.h"
#include "knx_access/text_table.h"
#include "widgets/dialog_registry.h"

#include <QDialog>
#include <functional>

class QMenu;
class QKeyEvent;
class QAction;
class QModelIndex;
class QUndoStack;

namespace lw {

class Flat_Button;
class KNX_Cell_Delegate;
class KNX_Exchange_Tools;
class KNX_Find_Bar;
class KNX_Table_Model;
class Memory_Map_Tools;
class Messages;
class Title_Panel;

class TFKNXAccess : public QDialog, public Lang_Target {
    Q_OBJECT
public:
    TFKNXAccess(ProgramState& state, Messages& messages, QWidget* parent);
    ~TFKNXAccess() override;

    void Set_Lang() override;
    // One opening: loads the table (FormShow) and runs the dialog modally.
    // Showing the window again (a restore after minimising) loads nothing.
    int Open();
    // Every opening: fresh table, position items, the file, copy flags and
    // undo steps cleared.
    void FormShow();
    // The data check of the table; shows the first failure, selects its cell
    // and returns false.
    bool Controllo_dati();

    // Replaces the grid's whole content (rows 1 to 512, columns 1 to 16) with
    // table's as one undo step named actionText.
    void Apply_Table(const Text_Table& table, const QString& actionText);
    // The table as the grid holds it now.
    const Text_Table& Table() const;
    // True when the table differs from what this opening loaded.
    bool Is_Modified() const;

    void reject() override;

    int Max_Num_Byte = 0;
    bool Do_Copy_In_Write = false;
    bool Do_Copy_In_Read = false;

    KNX_Grid_View* ACG_KNX_in_Write;
    KNX_Table_Model* Model;
    KNX_Cell_Delegate* Delegate;
    QUndoStack* Undo_Stack;
    KNX_Find_Bar* Find_Bar;
    Flat_Button* Btn_OK;
    Flat_Button* Btn_Cancel;
    Flat_Button* Btn_DelRow;
    Flat_Button* Btn_InsRow;
    Flat_Button* Btn_CopyRow;
    Flat_Button* Btn_PasteRow;
    Flat_Button* Btn_Tools;
    QMenu* Menu_Tools;
    KNX_Exchange_Tools* Exchange;   // the tools' actions and seams
    Flat_Button* Btn_Memory_Map;
    QAction* Act_Report;
    Memory_Map_Tools* Map_Tools;   // the map window and the report's seams

    // The grid's commands, as the keys run them.
    void Copy_Cells();
    void Cut_Cells();
    void Paste_Cells_From(const QString& text);
    void Clear_Selection();
    void Fill_Down_Selection(bool series);
    void Open_Find();
    void Close_Find();
    void Find_Next(bool backwards);

private:
    void Build_Table();
    void Place_Grid();
    // The table row (1 to 512) of the grid's current cell; 0 without one.
    int Current_Row() const;
    // Ends an edit in progress, keeping what was typed.
    void Commit_Edit();
    // Runs change on a copy of the table and, when it changed anything, makes
    // that one undo step named name.
    void Change_Table(const QString& name, const std::function<void(Text_Table&)>& change);
    // The selected data cells as table ranges (rows hidden by the find filter
    // left out); the current cell when nothing is selected.
    QList<Cell_Range> Selected_Ranges() const;
    // Selects the range (table rows and columns) and scrolls it into view.
    void Select_Range(const Cell_Range& range);
    void Select_Cell(int row, int column);
    bool Grid_Key(QKeyEvent* event);
    void Apply_Filter();
    void Find_From(int row, int column, bool backwards, bool includeStart);

    void Btn_OKClick();
    void Btn_CancelClick();
    void Btn_DelRowClick();
    void Btn_InsRowClick();
    void Btn_CopyRowClick();
    void Btn_PasteRowClick();

    ProgramState& m_state;
    Messages& m_messages;
    Title_Panel* m_title;
    Text_Table m_loaded;
};

} // namespace lw
