#pragma once
// The commands grid: a table view whose row-number column is fixed (the
// current cell never lands on it; a click or Shift+click on it selects whole
// rows), where Enter commits and moves down, and whose spreadsheet keys are
// handed to the dialog first.

#include <QTableView>
#include <functional>

namespace lw {

class KNX_Grid_View : public QTableView {
    Q_OBJECT
public:
    explicit KNX_Grid_View(QWidget* parent = nullptr);

    // Gets each key press first; true when it was taken.
    std::function<bool(QKeyEvent*)> Key_Handler;

    // Selects table rows first to last (model rows), current cell in column 1 of current.
    void Select_Rows(int first, int last, int current);

protected:
    QModelIndex moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers modifiers) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;

private:
    int m_rowAnchor = -1;     // model row where a row selection started
    bool m_rowDrag = false;   // a press on the number column is being dragged
};

} // namespace lw
