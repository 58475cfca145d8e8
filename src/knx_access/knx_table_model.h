#pragma once
// The commands table as the grid sees it: 512 data rows, the header row as the
// horizontal header and column 0 as the fixed row number. Check cells show a
// check state ("Y" ticked, any other text cleared) and store "Y" / "N"; every
// other data cell is edited as text. The model also carries the live marks
// (failing cells, shared destinations, rows after the table's end, find
// matches) as background colours and tooltips.

#include "base/program_state.h"
#include "knx_access/knx_marking.h"
#include "knx_access/knx_table_edit.h"
#include "knx_access/text_table.h"

#include <QAbstractTableModel>
#include <functional>

namespace lw {

class KNX_Table_Model : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit KNX_Table_Model(QObject* parent = nullptr);

    static bool Is_Check_Column(int column);

    // The table behind the grid, header row 0 included.
    const Text_Table& Table() const { return m_table; }
    // Replaces the whole table; views drop their editors and re-read it.
    void Set_Table(Text_Table table);
    // Puts the column headers of the language table into header row 0.
    void Set_Headers(const ProgramState& state);
    // The language of the marks' tooltips (none: no tooltips) and the size of
    // the data array the Position check uses.
    void Set_Language(const ProgramState* state) { m_state = state; }
    void Set_Max_Num_Byte(int maxNumByte);

    // Runs change on the table, then tells the views that every data row may
    // have changed (row operations move contents across the whole table).
    template <class Change>
    void Edit_Rows(Change change)
    {
        change(m_table);
        Rows_Changed();
    }

    // Writes the changes' after texts (or, for undo, their before texts) and
    // tells the views about the cells they touch.
    void Apply_Changes(const QList<Cell_Change>& changes, bool after);

    // An edit through the grid (an editor, a check box) goes to this handler
    // instead of straight into the table, so the dialog can make it an undo
    // step; without one it is written at once.
    using Edit_Handler = std::function<bool(int row, int column, const QString& text)>;
    void Set_Edit_Handler(Edit_Handler handler) { m_editHandler = std::move(handler); }

    // The marks as they stand.
    const KNX_Marks& Marks() const { return m_marks; }

    // Highlights the cells holding text (any letter case); returns how many.
    int Set_Find_Text(const QString& text);
    const QString& Find_Text() const { return m_findText; }
    bool Is_Match(int tableRow, int column) const;
    bool Row_Has_Match(int tableRow) const;

    // The table row (1 to 512) of a model index, and back.
    static int Table_Row(const QModelIndex& index) { return index.row() + 1; }
    QModelIndex Cell_Index(int tableRow, int column) const { return index(tableRow - 1, column); }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    bool Is_Cell(const QModelIndex& index) const;
    void Rows_Changed();
    // Works the marks out again and repaints the cells whose marks changed.
    void Remark();
    void Refind();
    QString Tooltip(int tableRow, int column) const;

    Text_Table m_table;
    KNX_Marks m_marks;
    int m_maxNumByte;
    const ProgramState* m_state = nullptr;
    Edit_Handler m_editHandler;
    QString m_findText;
    std::vector<bool> m_found;
    int m_foundCount = 0;
};

} // namespace lw
