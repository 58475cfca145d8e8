#include "knx_access/knx_table_model.h"

#include "knx_access/knx_access_file.h"
#include "knx_access/knx_check.h"

#include <QBrush>
#include <QColor>
#include <algorithm>

namespace lw {

namespace {

const QString Yes = QStringLiteral("Y");
const QString No = QStringLiteral("N");

// Language entries of the marks' tooltips.
constexpr int Lang_Same_Destination = 2203;
constexpr int Lang_After_End = 2210;

// Colours of the marks, light enough to keep the text readable.
QColor Failure_Colour() { return QColor(255, 200, 200); }
QColor Duplicate_Colour() { return QColor(255, 228, 170); }
QColor After_End_Colour() { return QColor(226, 226, 226); }
QColor Found_Colour() { return QColor(255, 250, 130); }

const QList<int> Mark_Roles = {Qt::BackgroundRole, Qt::ToolTipRole};

} // namespace

KNX_Table_Model::KNX_Table_Model(QObject* parent)
    : QAbstractTableModel(parent)
    , m_table(Fresh_KNX_Table())
    , m_maxNumByte(KNX_Max_Num_Byte)
{
    m_marks = Mark_Table(m_table, m_maxNumByte);
}

bool KNX_Table_Model::Is_Check_Column(int column)
{
    return std::find(KNX_Check_Columns.begin(), KNX_Check_Columns.end(), column) != KNX_Check_Columns.end();
}

void KNX_Table_Model::Set_Table(Text_Table table)
{
    beginResetModel();
    m_table = std::move(table);
    m_marks = Mark_Table(m_table, m_maxNumByte);
    m_found = Find_Cells(m_table, m_findText);
    m_foundCount = int(std::count(m_found.begin(), m_found.end(), true));
    endResetModel();
}

void KNX_Table_Model::Set_Headers(const ProgramState& state)
{
    Set_KNX_Headers(m_table, state);
    if (m_table.Column_Count() > 0)
        Q_EMIT headerDataChanged(Qt::Horizontal, 0, m_table.Column_Count() - 1);
}

void KNX_Table_Model::Set_Max_Num_Byte(int maxNumByte)
{
    if (maxNumByte == m_maxNumByte)
        return;
    m_maxNumByte = maxNumByte;
    Remark();
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
    Remark();
    Refind();
}

void KNX_Table_Model::Apply_Changes(const QList<Cell_Change>& changes, bool after)
{
    if (changes.isEmpty())
        return;
    for (const Cell_Change& change : changes)
        m_table.Set_Cell(change.row, change.column, after ? change.after : change.before);
    const Cell_Range bounds = Bounds_Of(changes);
    const QModelIndex first = Cell_Index(std::max(1, bounds.top), bounds.left);
    const QModelIndex last = Cell_Index(std::min(rowCount(), bounds.bottom), bounds.right);
    if (first.isValid() && last.isValid())
        Q_EMIT dataChanged(first, last, {Qt::DisplayRole, Qt::EditRole, Qt::CheckStateRole});
    Remark();
    Refind();
}

void KNX_Table_Model::Remark()
{
    KNX_Marks marks = Mark_Table(m_table, m_maxNumByte);
    if (marks == m_marks)
        return;
    // Repaint the rows whose marks changed, as one band from the first to the last.
    int top = rowCount() + 1;
    int bottom = 0;
    const int rows = int(std::max(marks.failures.size(), m_marks.failures.size()));
    for (int r = 1; r < rows; ++r) {
        const bool before = r < int(m_marks.failures.size());
        const bool now = r < int(marks.failures.size());
        const bool afterEnd = r > m_marks.endRow;
        const bool afterEndNow = r > marks.endRow;
        const bool same = before && now && afterEnd == afterEndNow && m_marks.failures[r] == marks.failures[r]
            && m_marks.sameDestination[r] == marks.sameDestination[r];
        if (!same) {
            top = std::min(top, r);
            bottom = std::max(bottom, r);
        }
    }
    m_marks = std::move(marks);
    if (bottom >= top && bottom <= rowCount())
        Q_EMIT dataChanged(Cell_Index(top, 0), Cell_Index(bottom, columnCount() - 1), Mark_Roles);
}

void KNX_Table_Model::Refind()
{
    if (m_findText.isEmpty())
        return;
    std::vector<bool> found = Find_Cells(m_table, m_findText);
    if (found == m_found)
        return;
    m_found = std::move(found);
    m_foundCount = int(std::count(m_found.begin(), m_found.end(), true));
    if (rowCount() > 0)
        Q_EMIT dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1), Mark_Roles);
}

int KNX_Table_Model::Set_Find_Text(const QString& text)
{
    if (text == m_findText)
        return m_foundCount;
    const bool had = !m_findText.isEmpty();
    m_findText = text;
    m_found = Find_Cells(m_table, m_findText);
    m_foundCount = int(std::count(m_found.begin(), m_found.end(), true));
    if ((had || m_foundCount > 0) && rowCount() > 0)
        Q_EMIT dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1), Mark_Roles);
    return m_foundCount;
}

bool KNX_Table_Model::Is_Match(int tableRow, int column) const
{
    const size_t at = size_t(tableRow) * size_t(m_table.Column_Count()) + size_t(column);
    return tableRow >= 0 && column >= 0 && at < m_found.size() && m_found[at];
}

bool KNX_Table_Model::Row_Has_Match(int tableRow) const
{
    for (int c = 1; c < m_table.Column_Count(); ++c) {
        if (Is_Match(tableRow, c))
            return true;
    }
    return false;
}

int KNX_Table_Model::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : std::max(0, m_table.Row_Count() - 1);
}

int KNX_Table_Model::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_table.Column_Count();
}

QString KNX_Table_Model::Tooltip(int r, int column) const
{
    if (!m_state || column == Col_Number)
        return {};
    if (r > m_marks.endRow)
        return m_state->Text(Lang_After_End).arg(m_marks.endRow);
    if (r < int(m_marks.failColumn.size()) && m_marks.failColumn[r] == column)
        return Check_Message(m_marks.failures[r], *m_state);
    if (column == Col_Destination_Address && r < int(m_marks.sameDestination.size())
        && !m_marks.sameDestination[r].isEmpty()) {
        QStringList rows;
        for (const int other : m_marks.sameDestination[r])
            rows.append(QString::number(other));
        return m_state->Text(Lang_Same_Destination) + rows.join(QStringLiteral(", "));
    }
    return {};
}

QVariant KNX_Table_Model::data(const QModelIndex& index, int role) const
{
    if (!Is_Cell(index))
        return {};
    const int column = index.column();
    const int r = Table_Row(index);
    const QString& text = m_table.Cell(r, column);
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
    case Qt::BackgroundRole:
        if (column == Col_Number)
            return {};
        if (Is_Match(r, column))
            return QBrush(Found_Colour());
        if (r < int(m_marks.failColumn.size()) && m_marks.failColumn[r] == column && r < m_marks.endRow)
            return QBrush(Failure_Colour());
        if (column == Col_Destination_Address && r < int(m_marks.sameDestination.size())
            && !m_marks.sameDestination[r].isEmpty())
            return QBrush(Duplicate_Colour());
        // The first row without a source is where the next command goes; the rows after it are not saved.
        if (r > m_marks.endRow)
            return QBrush(After_End_Colour());
        return {};
    case Qt::ToolTipRole: {
        const QString tip = Tooltip(r, column);
        return tip.isEmpty() ? QVariant() : QVariant(tip);
    }
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
    const int r = Table_Row(index);
    if (m_table.Cell(r, column) == text)
        return true;
    if (m_editHandler)
        return m_editHandler(r, column, text);
    Apply_Changes({{r, column, m_table.Cell(r, column), text}}, true);
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
