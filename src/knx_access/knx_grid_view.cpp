#include "knx_access/knx_grid_view.h"

#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QMouseEvent>

namespace lw {

namespace {

constexpr int Number_Column = 0;
constexpr int First_Data_Column = 1;

} // namespace

KNX_Grid_View::KNX_Grid_View(QWidget* parent)
    : QTableView(parent)
{
}

QModelIndex KNX_Grid_View::moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers modifiers)
{
    const QModelIndex current = currentIndex();
    QModelIndex next = QTableView::moveCursor(cursorAction, modifiers);
    if (!next.isValid() || next.column() != Number_Column)
        return next;
    // The number column is never the current cell: a step left (or back with
    // Shift+Tab) at column 1 wraps as Tab does or stays put, anything else
    // lands in column 1 of the row it reached.
    if (cursorAction == MovePrevious && current.isValid() && current.row() > 0 && current.column() == First_Data_Column)
        return model()->index(current.row() - 1, model()->columnCount() - 1);
    if (cursorAction == MovePrevious && current.isValid() && current.column() == First_Data_Column)
        return current;
    return model()->index(next.row(), First_Data_Column);
}

void KNX_Grid_View::keyPressEvent(QKeyEvent* event)
{
    if (Key_Handler && Key_Handler(event))
        return;
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
        && !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
        // Enter moves down, as in a spreadsheet; it never reaches the dialog.
        // From an editor the move comes with the editor's closing.
        event->accept();
        if (state() == EditingState)
            return;
        const QModelIndex current = currentIndex();
        if (current.isValid() && current.row() + 1 < model()->rowCount())
            setCurrentIndex(model()->index(current.row() + 1, current.column()));
        event->accept();
        return;
    }
    QTableView::keyPressEvent(event);
}

void KNX_Grid_View::Select_Rows(int first, int last, int current)
{
    if (!model() || first < 0 || last < 0)
        return;
    const int top = std::min(first, last);
    const int bottom = std::max(first, last);
    const QItemSelection rows(model()->index(top, 0), model()->index(bottom, model()->columnCount() - 1));
    // Through the view, so that Shift+arrows extend from the new current cell.
    setCurrentIndex(model()->index(current, First_Data_Column));
    selectionModel()->select(rows, QItemSelectionModel::ClearAndSelect);
}

void KNX_Grid_View::mousePressEvent(QMouseEvent* event)
{
    const QModelIndex at = indexAt(event->position().toPoint());
    if (event->button() != Qt::LeftButton || !at.isValid() || at.column() != Number_Column) {
        m_rowDrag = false;
        if (at.isValid() && !(event->modifiers() & Qt::ShiftModifier))
            m_rowAnchor = at.row();
        QTableView::mousePressEvent(event);
        return;
    }
    if (state() == EditingState)
        setFocus();
    if ((event->modifiers() & Qt::ShiftModifier) && m_rowAnchor >= 0) {
        Select_Rows(m_rowAnchor, at.row(), at.row());
    } else {
        m_rowAnchor = at.row();
        Select_Rows(at.row(), at.row(), at.row());
    }
    m_rowDrag = true;
    setFocus();
    Q_EMIT clicked(at);
    event->accept();
}

void KNX_Grid_View::mouseMoveEvent(QMouseEvent* event)
{
    if (!m_rowDrag) {
        QTableView::mouseMoveEvent(event);
        return;
    }
    const QModelIndex at = indexAt(event->position().toPoint());
    if (at.isValid() && m_rowAnchor >= 0)
        Select_Rows(m_rowAnchor, at.row(), at.row());
    event->accept();
}

void KNX_Grid_View::mouseReleaseEvent(QMouseEvent* event)
{
    if (!m_rowDrag) {
        QTableView::mouseReleaseEvent(event);
        return;
    }
    m_rowDrag = false;
    event->accept();
}

void KNX_Grid_View::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint)
{
    QTableView::closeEditor(editor, hint);
    // Enter in an editor commits (the delegate sends SubmitModelCache) and moves down.
    if (hint == QAbstractItemDelegate::SubmitModelCache) {
        const QModelIndex current = currentIndex();
        if (current.isValid() && current.row() + 1 < model()->rowCount())
            setCurrentIndex(model()->index(current.row() + 1, current.column()));
    }
}

} // namespace lw
