#pragma once
// A table of texts with a fixed number of rows and columns: row 0 is the
// header, column 0 the row number, the rest is data. Cells are stored row by
// row, so that a view model can hand them out directly.

#include <QString>
#include <QVector>

namespace lw {

class Text_Table {
public:
    Text_Table() = default;
    Text_Table(int rows, int columns)
        : m_rows(rows), m_columns(columns), m_cells(qsizetype(rows) * columns) {}

    int Row_Count() const { return m_rows; }
    int Column_Count() const { return m_columns; }
    bool Contains(int row, int column) const { return row >= 0 && row < m_rows && column >= 0 && column < m_columns; }

    // The cell's text; an empty text outside the table.
    const QString& Cell(int row, int column) const
    {
        static const QString none;
        return Contains(row, column) ? m_cells[Index(row, column)] : none;
    }
    // Ignored outside the table.
    void Set_Cell(int row, int column, const QString& text)
    {
        if (Contains(row, column))
            m_cells[Index(row, column)] = text;
    }

    bool operator==(const Text_Table&) const = default;

private:
    qsizetype Index(int row, int column) const { return qsizetype(row) * m_columns + column; }

    int m_rows = 0;
    int m_columns = 0;
    QVector<QString> m_cells;
};

} // namespace lw
