#include "knx_access/knx_cell_delegate.h"

#include "knx_access/knx_access_file.h"
#include "knx_access/knx_table_model.h"
#include "knx_access/knx_vocabulary.h"

#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListView>
#include <QMouseEvent>
#include <QPainter>
#include <QStringListModel>

namespace lw {

namespace {

QStyle* Style_Of(const QStyleOptionViewItem& option)
{
    return option.widget ? option.widget->style() : QApplication::style();
}

// The check box of a check cell, in the middle of the cell.
QRect Check_Rect(const QStyleOptionViewItem& option)
{
    QStyle* style = Style_Of(option);
    const int w = style->pixelMetric(QStyle::PM_IndicatorWidth, &option, option.widget);
    const int h = style->pixelMetric(QStyle::PM_IndicatorHeight, &option, option.widget);
    return QStyle::alignedRect(option.direction, Qt::AlignCenter, QSize(w, h), option.rect);
}

bool Toggle(QAbstractItemModel* model, const QModelIndex& index)
{
    const Qt::ItemFlags flags = model->flags(index);
    if (!(flags & Qt::ItemIsUserCheckable) || !(flags & Qt::ItemIsEnabled))
        return false;
    const bool ticked = index.data(Qt::CheckStateRole).value<Qt::CheckState>() == Qt::Checked;
    return model->setData(index, ticked ? Qt::Unchecked : Qt::Checked, Qt::CheckStateRole);
}

} // namespace

Cell_Editor Editor_Of(int column)
{
    switch (column) {
    case Col_Number:
        return Cell_Editor::None;
    case Col_APCI:
        return Cell_Editor::Typed_List;
    case Col_Priority:
    case Col_Format:
    case Col_Position:
    case Col_Bit_Mode:
        return Cell_Editor::List;
    default:
        break;
    }
    if (KNX_Table_Model::Is_Check_Column(column))
        return Cell_Editor::Check;
    if (column > Col_Number && column < KNX_Table_Column_Count)
        return Cell_Editor::Text;
    return Cell_Editor::None;
}

QStringList KNX_Items_Of(int column)
{
    switch (column) {
    case Col_APCI:
        return KNX_Names(KNX_APCIs);
    case Col_Priority:
        return KNX_Names(KNX_Priorities);
    case Col_Format:
        return KNX_Names(KNX_Formats);
    case Col_Bit_Mode: {
        QStringList modes;
        for (const QLatin1StringView mode : KNX_Bit_Modes)
            modes << QString(mode);
        return modes;
    }
    default:
        return {};
    }
}

// Texts kept laid out: a few screens of the grid.
constexpr int Laid_Out_Texts = 4096;

KNX_Cell_Delegate::KNX_Cell_Delegate(QObject* parent)
    : QStyledItemDelegate(parent)
    , m_positions(new QStringListModel(this))
    , m_laidOut(Laid_Out_Texts)
{
}

void KNX_Cell_Delegate::Set_Position_Items(int maxNumByte)
{
    // The items are always "0" up to maxNumByte - 1: the same count, the same list.
    if (m_positions->rowCount() == std::max(0, maxNumByte))
        return;
    QStringList items;
    items.reserve(std::max(0, maxNumByte));
    for (int i = 0; i < maxNumByte; ++i)
        items.append(QString::number(i));
    m_positions->setStringList(items);
}

QStringList KNX_Cell_Delegate::Position_Items() const
{
    return m_positions->stringList();
}

void KNX_Cell_Delegate::Finish_Edit(QWidget* editor)
{
    Q_EMIT commitData(editor);
    Q_EMIT closeEditor(editor, QAbstractItemDelegate::NoHint);
}

void KNX_Cell_Delegate::Abandon_Edit(QWidget* editor)
{
    Q_EMIT closeEditor(editor, QAbstractItemDelegate::RevertModelCache);
}

QWidget* KNX_Cell_Delegate::createEditor(QWidget* parent, const QStyleOptionViewItem&, const QModelIndex& index) const
{
    const int column = index.column();
    switch (Editor_Of(column)) {
    case Cell_Editor::Text: {
        auto* edit = new QLineEdit(parent);
        edit->setFrame(false);
        return edit;
    }
    case Cell_Editor::List:
    case Cell_Editor::Typed_List: {
        auto* combo = new QComboBox(parent);
        combo->setFrame(false);
        if (column == Col_Position) {
            // The 1439 positions come from one list shared by every opening of the editor.
            combo->setModel(m_positions);
            if (auto* list = qobject_cast<QListView*>(combo->view()))
                list->setUniformItemSizes(true);
        } else {
            combo->addItems(KNX_Items_Of(column));
        }
        if (Editor_Of(column) == Cell_Editor::Typed_List) {
            combo->setEditable(true);
            combo->setInsertPolicy(QComboBox::NoInsert);
            combo->setCompleter(nullptr);
        }
        return combo;
    }
    case Cell_Editor::Check:
    case Cell_Editor::None:
        break;
    }
    return nullptr;
}

void KNX_Cell_Delegate::setEditorData(QWidget* editor, const QModelIndex& index) const
{
    const QString text = index.data(Qt::EditRole).toString();
    if (auto* combo = qobject_cast<QComboBox*>(editor)) {
        combo->setCurrentIndex(combo->findText(text));
        if (combo->isEditable()) {
            // Typing replaces the text, as in the other text cells.
            combo->setEditText(text);
            combo->lineEdit()->selectAll();
        }
        return;
    }
    if (auto* edit = qobject_cast<QLineEdit*>(editor)) {
        edit->setText(text);
        return;
    }
    QStyledItemDelegate::setEditorData(editor, index);
}

void KNX_Cell_Delegate::setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const
{
    if (auto* combo = qobject_cast<QComboBox*>(editor)) {
        // A fixed list left without a choice keeps the cell's text (it may
        // hold a value from the file that is not among the items).
        if (combo->isEditable() || combo->currentIndex() >= 0)
            model->setData(index, combo->currentText(), Qt::EditRole);
        return;
    }
    if (auto* edit = qobject_cast<QLineEdit*>(editor)) {
        model->setData(index, edit->text(), Qt::EditRole);
        return;
    }
    QStyledItemDelegate::setModelData(editor, model, index);
}

void KNX_Cell_Delegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    // The style paints the cell's background and selection, and the focus
    // frame of the current cell; the text (one line, clipped to the cell) and
    // the check box are painted here, which keeps a full repaint of the grid cheap.
    QStyleOptionViewItem cell = option;
    initStyleOption(&cell, index);
    const bool check = cell.features & QStyleOptionViewItem::HasCheckIndicator;
    const Qt::CheckState state = cell.checkState;
    const QString text = cell.text;
    cell.text.clear();
    cell.features &= ~(QStyleOptionViewItem::HasCheckIndicator | QStyleOptionViewItem::HasDisplay);
    QStyle* style = Style_Of(option);
    // Without text, box or icon the whole item is its panel and, for the
    // current cell, the focus frame; the panel alone spares the style the
    // layout of parts that are not there.
    if (cell.state & QStyle::State_HasFocus)
        style->drawControl(QStyle::CE_ItemViewItem, &cell, painter, option.widget);
    else
        style->drawPrimitive(QStyle::PE_PanelItemViewItem, &cell, painter, option.widget);

    if (check) {
        const QRect box = Check_Rect(option);
        painter->drawPixmap(box.topLeft(), Check_Picture(option, state == Qt::Checked));
        return;
    }
    if (text.isEmpty())
        return;
    const QPalette::ColorGroup group = !(cell.state & QStyle::State_Enabled) ? QPalette::Disabled
        : (cell.state & QStyle::State_Active)                                ? QPalette::Active
                                                                             : QPalette::Inactive;
    const QPalette::ColorRole role = cell.state & QStyle::State_Selected ? QPalette::HighlightedText : QPalette::Text;
    const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, option.widget) + 1;
    const QRect area = option.rect.adjusted(margin, 0, -margin, 0);
    const QStaticText& laidOut = Laid_Out(text, cell.font);
    const QSize size = laidOut.size().toSize();
    const QPoint at = QStyle::alignedRect(cell.direction, cell.displayAlignment, size, area).topLeft();
    painter->save();
    painter->setPen(cell.palette.color(group, role));
    painter->setFont(cell.font);
    if (size.width() > area.width() || size.height() > area.height())
        painter->setClipRect(area, Qt::IntersectClip);
    painter->drawStaticText(at, laidOut);
    painter->restore();
}

const QStaticText& KNX_Cell_Delegate::Laid_Out(const QString& text, const QFont& font) const
{
    if (font != m_laidOutFont) {
        m_laidOut.clear();
        m_laidOutFont = font;
    }
    if (const QStaticText* kept = m_laidOut.object(text))
        return *kept;
    // One line: line ends and separators show as blanks.
    QString line = text;
    for (QChar& c : line) {
        const char16_t u = c.unicode();
        if (u == u'\n' || u == u'\r' || u == 0x2028 || u == 0x2029)
            c = QLatin1Char(' ');
    }
    auto* laidOut = new QStaticText(line);
    laidOut->setTextFormat(Qt::PlainText);
    laidOut->prepare(QTransform(), font);
    m_laidOut.insert(text, laidOut);
    return *m_laidOut.object(text);
}

QPixmap KNX_Cell_Delegate::Check_Picture(const QStyleOptionViewItem& option, bool ticked) const
{
    const QRect box = Check_Rect(option);
    const qreal ratio = option.widget ? option.widget->devicePixelRatioF() : 1.0;
    const Check_Look look{ticked, bool(option.state & QStyle::State_Enabled), box.size(), ratio,
                          option.palette.cacheKey()};
    for (const auto& [kept, picture] : std::as_const(m_checks)) {
        if (kept == look)
            return picture;
    }
    QPixmap picture((QSizeF(box.size()) * ratio).toSize());
    picture.setDevicePixelRatio(ratio);
    picture.fill(Qt::transparent);
    QStyleOptionViewItem indicator = option;
    indicator.rect = QRect(QPoint(0, 0), box.size());
    indicator.state &= ~(QStyle::State_HasFocus | QStyle::State_Selected | QStyle::State_MouseOver);
    indicator.state |= ticked ? QStyle::State_On : QStyle::State_Off;
    QPainter p(&picture);
    Style_Of(option)->drawPrimitive(QStyle::PE_IndicatorItemViewItemCheck, &indicator, &p, option.widget);
    p.end();
    // A handful of looks at most; a change of palette or screen starts afresh.
    if (m_checks.size() >= 8)
        m_checks.clear();
    m_checks.append({look, picture});
    return picture;
}

void KNX_Cell_Delegate::initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const
{
    QStyledItemDelegate::initStyleOption(option, index);
    // The number column looks like the header it continues.
    if (index.column() == Col_Number)
        option->backgroundBrush = option->palette.brush(QPalette::Button);
}

bool KNX_Cell_Delegate::editorEvent(QEvent* event, QAbstractItemModel* model, const QStyleOptionViewItem& option,
                                    const QModelIndex& index)
{
    if (Editor_Of(index.column()) != Cell_Editor::Check)
        return QStyledItemDelegate::editorEvent(event, model, option, index);

    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick: {
        // Presses on the box are taken here, so that a double click toggles twice and does nothing else.
        const auto* mouse = static_cast<QMouseEvent*>(event);
        return mouse->button() == Qt::LeftButton && Check_Rect(option).contains(mouse->position().toPoint());
    }
    case QEvent::MouseButtonRelease: {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() != Qt::LeftButton || !Check_Rect(option).contains(mouse->position().toPoint()))
            return false;
        return Toggle(model, index);
    }
    case QEvent::KeyPress: {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() != Qt::Key_Space && key->key() != Qt::Key_Select)
            return false;
        return Toggle(model, index);
    }
    default:
        return false;
    }
}

} // namespace lw
