#pragma once
// The commands table as the grid sees it: 512 data rows, the header row as the
// horizontal header and column 0 as the fixed row number. Check cells show a
// check state ("Y" ticked, any other text cleared) and store "Y" / "N"; every
// other data cell is edited as text.

#include "base/program_state.h"
#include "knx_access/text_table.h"

#include <QAbstractTableModel>

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

    // Runs change on the table, then tells the views that every data row may
    // have changed (row operations move contents across the whole table).
    template <class Change>
    void Edit_Rows(Change change)
    {
        change(m_table);
        Rows_Changed();
    }

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

    Text_Table m_table;
};

} // namespace lw
