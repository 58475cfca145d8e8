#pragma once
// The KNX Access dialog: the project's table of KNX active commands in a
// 512-row grid, loaded at each opening, checked and written on OK, with the
// Delete, Insert, Copy and Paste row buttons.

#include "shell/dialog_registry.h"
#include "shell/program_state.h"

#include <QDialog>

class QAction;
class QModelIndex;
class QTableView;

namespace lw {

class Flat_Button;
class KNX_Cell_Delegate;
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
    // Every opening: fresh table, position items, the file, copy flags cleared.
    void FormShow();
    // The data check of the table; shows the first failure and returns false.
    bool Controllo_dati();

    int Max_Num_Byte = 0;
    bool Do_Copy_In_Write = false;
    bool Do_Copy_In_Read = false;

    QTableView* ACG_KNX_in_Write;
    KNX_Table_Model* Model;
    KNX_Cell_Delegate* Delegate;
    Flat_Button* Btn_OK;
    Flat_Button* Btn_Cancel;
    Flat_Button* Btn_DelRow;
    Flat_Button* Btn_InsRow;
    Flat_Button* Btn_CopyRow;
    Flat_Button* Btn_PasteRow;
    Flat_Button* Btn_Memory_Map;
    QAction* Act_Report;
    Memory_Map_Tools* Map_Tools;   // the map window and the report's seams

protected:
    void showEvent(QShowEvent* event) override;

private:
    void Build_Table();
    // The table row (1 to 512) of the grid's current cell; 0 without one.
    int Current_Row() const;
    // Ends an edit in progress, keeping what was typed.
    void Commit_Edit();

    void Btn_OKClick();
    void Btn_CancelClick();
    void Btn_DelRowClick();
    void Btn_InsRowClick();
    void Btn_CopyRowClick();
    void Btn_PasteRowClick();
    void ACG_KNX_in_WriteClickCell(const QModelIndex& index);

    ProgramState& m_state;
    Messages& m_messages;
    Title_Panel* m_title;
};

} // namespace lw
