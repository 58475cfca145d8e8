#include "knx_access/knx_table_model.h"

#include "knx_access/knx_access_file.h"

#include <algorithm>

namespace lw {

namespace {

const QString Yes = QStringLiteral("Y");
const QString No = QStringLiteral("N");

} // namespace

KNX_Table_Model::KNX_Table_Model(QObject* parent)
    : QAbstractTableModel(parent)
    , m_table(Fresh_KNX_Table())
{
}

bool KNX_Table_Model::Is_Check_Column(int column)
{
    return std::find(KNX_Check_Columns.begin(), KNX_Check_Columns.end(), column) != KNX_Check_Columns.end();
}

void KNX_Table_Model::Set_Table(Text_Table table)
{
    beginResetModel();
    m_table = std::move(table);
    endResetModel();
}

void KNX_Table_Model::Set_Headers(const ProgramState& state)
{
    Set_KNX_Headers(m_table, state);
    if (m_table.Column_Count() > 0)
        Q_EMIT headerDataChanged(Qt::Horizontal, 0, m_table.Column_Count() - 1);
}

bool KNX_Table_Model::Is_Cell(const QModelIndex& index) const
{
    return index.isValid() && index.model() == this && !index.parent().isValid() && index.row() < rowCount()
        && index.column() < columnCount();
}

void KNX_Table_Model::Rows_Changed()
{
    if (rowCount() > 0 && columnCount() > 0)
        Q_EMIT dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
}

int KNX_Table_Model::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : std::max(0, m_table.Row_Count() - 1);
}

int KNX_Table_Model::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_table.Column_Count();
}

QVariant KNX_Table_Model::data(const QModelIndex& index, int role) const
{
    if (!Is_Cell(index))
        return {};
    const int column = index.column();
    const QString& text = m_table.Cell(Table_Row(index), column);
    switch (role) {
    case Qt::DisplayRole:
        // A check cell shows only its box.
        return Is_Check_Column(column) ? QVariant() : QVariant(text);
    case Qt::EditRole:
        return text;
    case Qt::CheckStateRole:
        if (!Is_Check_Column(column))
            return {};
        return text == Yes ? Qt::Checked : Qt::Unchecked;
    case Qt::TextAlignmentRole:
        if (column == Col_Number)
            return int(Qt::AlignCenter);
        return {};
    default:
        return {};
    }
}

bool KNX_Table_Model::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (!Is_Cell(index))
        return false;
    const int column = index.column();
    if (column == Col_Number)
        return false;
    QString text;
    if (role == Qt::CheckStateRole && Is_Check_Column(column))
        text = value.value<Qt::CheckState>() == Qt::Checked ? Yes : No;
    else if (role == Qt::EditRole && !Is_Check_Column(column))
        text = value.toString();
    else
        return false;
    m_table.Set_Cell(Table_Row(index), column, text);
    Q_EMIT dataChanged(index, index, {Qt::DisplayRole, Qt::EditRole, Qt::CheckStateRole});
    return true;
}

QVariant KNX_Table_Model::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    if (orientation == Qt::Horizontal)
        return section >= 0 && section < columnCount() ? QVariant(m_table.Cell(0, section)) : QVariant();
    return section >= 0 && section < rowCount() ? QVariant(section + 1) : QVariant();
}

Qt::ItemFlags KNX_Table_Model::flags(const QModelIndex& index) const
{
    if (!Is_Cell(index))
        return Qt::NoItemFlags;
    const int column = index.column();
    if (column == Col_Number)
        return Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (Is_Check_Column(column))
        return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable;
}

} // namespace lw
