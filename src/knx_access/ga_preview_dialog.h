#pragma once
// The preview of a group-address import: one line per address of the export
// with a tick box, its texts, the proposed Position, Bit Mode and Length and
// its status. The source address and the start position can be changed; the
// proposal follows them and the ticks.

#include "knx_access/ga_import.h"
#include "base/program_state.h"

#include <QAbstractTableModel>
#include <QDialog>

class QLabel;
class QLineEdit;
class QSpinBox;
class QTableView;

namespace lw {

class Flat_Button;
class Messages;

// Language entries of the preview.
enum : int {
    Lang_Preview_Caption = 2304,
    Lang_Preview_Import = 2305,
    Lang_Preview_Cancel = 2306,
    Lang_Preview_Source = 2307,
    Lang_Preview_Start = 2308,
    Lang_Preview_First_Header = 2309,   // Name, then Address ... Status, Line
    Lang_Preview_Summary = 2337,
};

class GA_Preview_Model : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column : int { Tick, Line, Name, Address, DPT, Position, Bit_Mode, Length, Status, Column_Count };

    GA_Preview_Model(const ProgramState& state, QObject* parent);

    // Takes a plan whose items are classified; every new address starts ticked.
    void Set_Plan(GA_Plan plan, int start);
    // Lays the positions out again from start with the current ticks.
    void Set_Start(int start);
    const GA_Plan& Plan() const { return m_plan; }
    const QList<bool>& Ticks() const { return m_ticks; }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

Q_SIGNALS:
    void Layout_Changed();

private:
    void Lay_Out(int start);

    const ProgramState& m_state;
    GA_Plan m_plan;
    QList<bool> m_ticks;
};

class TFGAPreview : public QDialog {
    Q_OBJECT
public:
    TFGAPreview(const ProgramState& state, Messages& messages, QWidget* parent);

    // Fills the preview: the grid's table the rows go after, the export's
    // addresses and the proposed source address.
    void Load(const Text_Table& table, const QList<GA_Entry>& entries, const QString& source);

    // The table with the ticked addresses appended, once Import was chosen.
    const Text_Table& Result() const { return m_result; }
    int Imported() const { return m_imported; }

    QLineEdit* ED_Source;
    QSpinBox* SE_Start;
    QTableView* Grid_Preview;
    GA_Preview_Model* Model;
    QLabel* L_Summary;
    Flat_Button* Btn_Import;
    Flat_Button* Btn_Cancel;

    void Btn_ImportClick();

private:
    void Show_Summary();

    const ProgramState& m_state;
    Messages& m_messages;
    Text_Table m_table;
    Text_Table m_result;
    int m_imported = 0;
};

} // namespace lw
