#include "knx_access/memory_map_window.h"

#include "knx_access/knx_access_file.h"
#include "knx_access/knx_table_model.h"
#include "widgets/look.h"
#include "base/messages.h"

#include <QDialog>
#include <QFileDialog>
#include <QGuiApplication>
#include <QHelpEvent>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QScreen>
#include <QTableView>
#include <QToolTip>
#include <QVBoxLayout>

namespace lw {

namespace {

enum : int {
    Txt_Title = 2400,
    Txt_Byte = 2410,
    Txt_Row_Line = 2411,
    Txt_Bits = 2412,
    Txt_Free_Byte = 2414,
    Txt_Overlap = 2415,
    Txt_Shared = 2416,
    Txt_Not_Placed = 2417,
    Txt_Hint = 2418,
    Txt_No_Overlaps = 2419,
    Txt_Save_Report = 2441,
    Txt_Pdf_Filter = 2442,
    Txt_Html_Filter = 2443,
};

constexpr int Row_Role = Qt::UserRole + 1;

} // namespace

// ---------------------------------------------------------------------------

Memory_Map_View::Memory_Map_View(const ProgramState& state, QWidget* parent)
    : QWidget(parent), m_state(state)
{
    setObjectName(QStringLiteral("Memory_Map_View"));
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFixedSize(sizeHint());
}

void Memory_Map_View::Set_Map(Memory_Map map)
{
    m_map = std::move(map);
    m_cursor = std::clamp(m_cursor, 0, std::max(m_map.size - 1, 0));
    update();
    if (m_hover >= 0 || hasFocus())
        Q_EMIT Byte_Described(Byte_Text(m_hover >= 0 ? m_hover : m_cursor));
}

void Memory_Map_View::Set_Cursor_Byte(int byte)
{
    byte = std::clamp(byte, 0, std::max(m_map.size - 1, 0));
    if (byte == m_cursor)
        return;
    update(m_layout.Cell_Rect(m_cursor).adjusted(-2, -2, 2, 2));
    m_cursor = byte;
    update(m_layout.Cell_Rect(m_cursor).adjusted(-2, -2, 2, 2));
    Q_EMIT Byte_Described(Byte_Text(m_cursor));
}

QString Memory_Map_View::Byte_Text(int byte) const
{
    if (byte < 0 || byte >= m_map.size)
        return {};
    QStringList lines{m_state.Text(Txt_Byte).arg(byte)};
    for (int i : m_map.Rows_At_Byte(byte)) {
        const Map_Row& row = m_map.rows[i];
        const int first = std::max(row.first_bit, 8 * byte) - 8 * byte;
        const int last = std::min(row.last_bit, 8 * byte + 7) - 8 * byte;
        lines << m_state.Text(Txt_Row_Line)
                     .arg(QString::number(row.row), row.mnemonic.trimmed(), m_state.Text(Txt_Bits).arg(first).arg(last));
    }
    if (lines.size() == 1)
        lines << m_state.Text(Txt_Free_Byte);
    return lines.join(u'\n');
}

int Memory_Map_View::Row_At_Byte(int byte) const
{
    const QList<int> rows = m_map.Rows_At_Byte(byte);
    return rows.isEmpty() ? 0 : m_map.rows[rows.first()].row;
}

QSize Memory_Map_View::sizeHint() const
{
    return m_layout.Size(m_map);
}

void Memory_Map_View::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    Paint_Memory_Map(painter, m_map, m_layout, m_state);
    if (m_hover >= 0) {
        painter.setPen(QPen(QColor(0, 90, 200), 2));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(m_layout.Cell_Rect(m_hover).adjusted(1, 1, -1, -1));
    }
    if (hasFocus()) {
        painter.setPen(QPen(Qt::black, 2, Qt::DotLine));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(m_layout.Cell_Rect(m_cursor).adjusted(-1, -1, 1, 1));
    }
}

void Memory_Map_View::mouseMoveEvent(QMouseEvent* event)
{
    const int byte = m_layout.Byte_At(event->position().toPoint(), m_map.size);
    if (byte == m_hover)
        return;
    if (m_hover >= 0)
        update(m_layout.Cell_Rect(m_hover).adjusted(-2, -2, 2, 2));
    m_hover = byte;
    if (m_hover >= 0)
        update(m_layout.Cell_Rect(m_hover).adjusted(-2, -2, 2, 2));
    Q_EMIT Byte_Described(Byte_Text(byte >= 0 ? byte : m_cursor));
}

void Memory_Map_View::mousePressEvent(QMouseEvent* event)
{
    const int byte = m_layout.Byte_At(event->position().toPoint(), m_map.size);
    if (event->button() != Qt::LeftButton || byte < 0)
        return QWidget::mousePressEvent(event);
    setFocus(Qt::MouseFocusReason);
    Set_Cursor_Byte(byte);
    if (const int row = Row_At_Byte(byte))
        Q_EMIT Row_Chosen(row);
}

void Memory_Map_View::leaveEvent(QEvent* event)
{
    if (m_hover >= 0)
        update(m_layout.Cell_Rect(m_hover).adjusted(-2, -2, 2, 2));
    m_hover = -1;
    QWidget::leaveEvent(event);
}

void Memory_Map_View::keyPressEvent(QKeyEvent* event)
{
    const int line = Map_Layout::Bytes_Per_Line;
    switch (event->key()) {
    case Qt::Key_Left: Set_Cursor_Byte(m_cursor - 1); break;
    case Qt::Key_Right: Set_Cursor_Byte(m_cursor + 1); break;
    case Qt::Key_Up: Set_Cursor_Byte(m_cursor - line); break;
    case Qt::Key_Down: Set_Cursor_Byte(m_cursor + line); break;
    case Qt::Key_PageUp: Set_Cursor_Byte(m_cursor - 8 * line); break;
    case Qt::Key_PageDown: Set_Cursor_Byte(m_cursor + 8 * line); break;
    case Qt::Key_Home: Set_Cursor_Byte(event->modifiers() & Qt::ControlModifier ? 0 : m_cursor - m_cursor % line); break;
    case Qt::Key_End:
        Set_Cursor_Byte(event->modifiers() & Qt::ControlModifier ? m_map.size - 1 : m_cursor - m_cursor % line + line - 1);
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        if (const int row = Row_At_Byte(m_cursor))
            Q_EMIT Row_Chosen(row);
        break;
    default: QWidget::keyPressEvent(event); return;
    }
    event->accept();
}

bool Memory_Map_View::event(QEvent* event)
{
    if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        const int byte = m_layout.Byte_At(help->pos(), m_map.size);
        if (byte >= 0)
            QToolTip::showText(help->globalPos(), Byte_Text(byte), this, m_layout.Cell_Rect(byte));
        else
            QToolTip::hideText();
        return true;
    }
    if (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut) {
        update(m_layout.Cell_Rect(m_cursor).adjusted(-2, -2, 2, 2));
        if (event->type() == QEvent::FocusIn)
            Q_EMIT Byte_Described(Byte_Text(m_cursor));
    }
    return QWidget::event(event);
}

// ---------------------------------------------------------------------------

Memory_Map_Window::Memory_Map_Window(const ProgramState& state, const KNX_Table_Model* model, QWidget* parent)
    : QWidget(parent, Qt::Window), m_state(state), m_model(model)
{
    setObjectName(QStringLiteral("FMemoryMap"));
    Apply_Window_Look(this);

    View = new Memory_Map_View(state, this);
    L_Byte = new QLabel(this);
    L_Byte->setObjectName(QStringLiteral("L_Byte"));
    L_Byte->setTextFormat(Qt::PlainText);
    L_Byte->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    L_Byte->setMinimumHeight(4 * fontMetrics().lineSpacing());
    L_Byte->setWordWrap(true);
    LB_Warnings = new QListWidget(this);
    LB_Warnings->setObjectName(QStringLiteral("LB_Warnings"));
    LB_Warnings->setMinimumHeight(5 * fontMetrics().lineSpacing());

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->setSpacing(6);
    layout->addWidget(View, 0, Qt::AlignHCenter);
    layout->addWidget(L_Byte);
    layout->addWidget(LB_Warnings, 1);
    setFocusProxy(View);

    connect(View, &Memory_Map_View::Row_Chosen, this, &Memory_Map_Window::Row_Chosen);
    connect(View, &Memory_Map_View::Byte_Described, L_Byte, &QLabel::setText);
    connect(LB_Warnings, &QListWidget::itemActivated, this, [this](QListWidgetItem* item) {
        if (const int row = item->data(Row_Role).toInt())
            Q_EMIT Row_Chosen(row);
    });
    connect(LB_Warnings, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
        if (const int row = item->data(Row_Role).toInt())
            Q_EMIT Row_Chosen(row);
    });

    // Any change of the grid's table: rebuild now when shown, else at the next showing.
    const auto changed = [this] {
        m_stale = true;
        if (isVisible())
            Refresh();
    };
    connect(model, &QAbstractItemModel::dataChanged, this, changed);
    connect(model, &QAbstractItemModel::modelReset, this, changed);
    connect(model, &QAbstractItemModel::rowsInserted, this, changed);
    connect(model, &QAbstractItemModel::rowsRemoved, this, changed);
    connect(model, &QAbstractItemModel::rowsMoved, this, changed);
    connect(model, &QAbstractItemModel::layoutChanged, this, changed);

    Set_Lang();
}

void Memory_Map_Window::Set_Lang()
{
    setWindowTitle(m_state.Text(Txt_Title));
    View->setToolTip(QString());
    View->setAccessibleName(m_state.Text(Txt_Title));
    View->setAccessibleDescription(m_state.Text(Txt_Hint));
    L_Byte->setText(m_state.Text(Txt_Hint));
    Fill_Warnings();
    View->update();
}

void Memory_Map_Window::Refresh()
{
    m_stale = false;
    View->Set_Map(Build_Memory_Map(m_model->Table()));
    Fill_Warnings();
}

void Memory_Map_Window::showEvent(QShowEvent* event)
{
    if (m_stale)
        Refresh();
    QWidget::showEvent(event);
}

void Memory_Map_Window::Fill_Warnings()
{
    const Memory_Map& map = View->Map();
    LB_Warnings->clear();
    const auto add = [this](const QString& text, int row, bool warning) {
        auto* item = new QListWidgetItem(text, LB_Warnings);
        item->setData(Row_Role, row);
        if (warning)
            item->setForeground(Overlap_Colour().darker(130));
    };
    for (const Map_Overlap& o : map.overlaps)
        add(m_state.Text(Txt_Overlap).arg(o.row).arg(o.other).arg(Map_Range_Text(o.first_bit, o.last_bit, m_state)), o.row, true);
    for (const Map_Not_Placed& n : map.not_placed)
        add(m_state.Text(Txt_Not_Placed).arg(n.row).arg(Not_Placed_Reason(n, m_state)), n.row, true);
    if (map.overlaps.isEmpty())
        add(m_state.Text(Txt_No_Overlaps), 0, false);
    for (const Map_Shared& s : map.shared) {
        QStringList rows;
        for (int r : s.rows)
            rows << QString::number(r);
        add(m_state.Text(Txt_Shared).arg(rows.join(QStringLiteral(", ")), Map_Range_Text(s.first_bit, s.last_bit, m_state)),
            s.rows.first(), false);
    }
}

// ---------------------------------------------------------------------------

QPoint Beside(const QRect& anchor, const QSize& size, const QRect& available)
{
    constexpr int gap = 8;
    const QRect candidates[] = {
        QRect(QPoint(anchor.x() + anchor.width() + gap, anchor.top()), size),
        QRect(QPoint(anchor.left() - gap - size.width(), anchor.top()), size),
        QRect(QPoint(anchor.left(), anchor.y() + anchor.height() + gap), size),
        QRect(QPoint(anchor.left(), anchor.top() - gap - size.height()), size),
    };
    for (const QRect& c : candidates) {
        if (available.contains(c))
            return c.topLeft();
    }
    // None fits: the side whose place, pushed into the screen, covers the least of anchor.
    QPoint best;
    qint64 leastCovered = -1;
    for (QRect c : candidates) {
        c.moveLeft(std::clamp(c.left(), available.left(), std::max(available.left(), available.x() + available.width() - c.width())));
        c.moveTop(std::clamp(c.top(), available.top(), std::max(available.top(), available.y() + available.height() - c.height())));
        const QRect covered = c.intersected(anchor);
        const qint64 area = covered.isEmpty() ? 0 : qint64(covered.width()) * covered.height();
        if (leastCovered < 0 || area < leastCovered) {
            leastCovered = area;
            best = c.topLeft();
        }
    }
    return best;
}

Memory_Map_Tools::Memory_Map_Tools(ProgramState& state, Messages& messages, KNX_Table_Model* model, QTableView* grid,
                                   QDialog* dialog)
    : QObject(dialog), m_state(state), m_messages(messages), m_model(model), m_grid(grid), m_dialog(dialog)
{
    Seams.Ask_File = [](QWidget* parent, const ProgramState& s) {
        const QString pdf = s.Text(Txt_Pdf_Filter);
        QString selected = pdf;
        QString path = QFileDialog::getSaveFileName(parent, s.Text(Txt_Save_Report),
                                                    Join_Path(s.Dir_Project, QStringLiteral("report.pdf")),
                                                    pdf + QStringLiteral(";;") + s.Text(Txt_Html_Filter), &selected);
        if (!path.isEmpty() && QFileInfo(path).suffix().isEmpty())
            path += selected == pdf ? QStringLiteral(".pdf") : QStringLiteral(".html");
        return path;
    };
    // The map window closes with the dialog.
    connect(dialog, &QDialog::finished, this, [this] {
        if (m_window)
            m_window->close();
    });
}

void Memory_Map_Tools::Show_Map()
{
    if (!m_window) {
        m_window = new Memory_Map_Window(m_state, m_model, m_dialog);
        connect(m_window, &Memory_Map_Window::Row_Chosen, this, &Memory_Map_Tools::Select_Row);
        m_window->adjustSize();
        const QScreen* screen = m_dialog->screen() ? m_dialog->screen() : QGuiApplication::primaryScreen();
        const QRect available = screen ? screen->availableGeometry() : QRect(0, 0, 1920, 1080);
        m_window->move(Beside(m_dialog->frameGeometry(), m_window->frameGeometry().size(), available));
    }
    m_window->show();
    m_window->raise();
    m_window->activateWindow();
    m_window->View->setFocus(Qt::OtherFocusReason);
}

void Memory_Map_Tools::Select_Row(int row)
{
    const QModelIndex cell = m_model->Cell_Index(row, Col_Position);
    m_grid->setCurrentIndex(cell);
    m_grid->selectionModel()->select(
        QItemSelection(m_model->index(cell.row(), 0), m_model->index(cell.row(), m_model->columnCount() - 1)),
        QItemSelectionModel::ClearAndSelect);
    m_grid->scrollTo(cell, QAbstractItemView::PositionAtCenter);
}

void Memory_Map_Tools::Report()
{
    const QString path = Seams.Ask_File(m_dialog, m_state);
    if (path.isEmpty())
        return;
    const QString error = Seams.Write ? Seams.Write(m_model->Table(), path)
                                      : QStringLiteral("%1: no report writer is available").arg(path);
    if (!error.isEmpty())
        m_messages.Error(error);
}

void Memory_Map_Tools::Set_Lang()
{
    if (m_window)
        m_window->Set_Lang();
}

} // namespace lw
