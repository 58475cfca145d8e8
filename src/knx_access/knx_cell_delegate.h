#pragma once
// The editors of the commands grid, made only for the cell being edited:
// fixed drop-down lists for Priority, Format, Position and Bit Mode, a
// drop-down that also takes typed text for APCI, line edits for free text.
// Check cells get no editor: the delegate paints their box centred and
// toggles it on a click on the box or on Space.

#include <QCache>
#include <QFont>
#include <QPixmap>
#include <QStaticText>
#include <QStringList>
#include <QStyledItemDelegate>

class QStringListModel;

namespace lw {

enum class Cell_Editor {
    None,        // the row number
    Check,       // "Y" / "N"
    Text,        // free text
    List,        // fixed drop-down list
    Typed_List,  // drop-down list that also takes typed text
};

Cell_Editor Editor_Of(int column);

// The fixed items of a list column (the Position items are per opening).
QStringList KNX_Items_Of(int column);

class KNX_Cell_Delegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    explicit KNX_Cell_Delegate(QObject* parent = nullptr);

    // Refills the Position items with "0" to maxNumByte - 1.
    void Set_Position_Items(int maxNumByte);
    QStringList Position_Items() const;

    // Ends the edit in editor: Finish_Edit keeps what was typed, Abandon_Edit
    // drops it.
    void Finish_Edit(QWidget* editor);
    void Abandon_Edit(QWidget* editor);

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override;
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override;
    bool editorEvent(QEvent* event, QAbstractItemModel* model, const QStyleOptionViewItem& option,
                     const QModelIndex& index) override;

private:
    // The check box as the style paints it, kept once painted.
    QPixmap Check_Picture(const QStyleOptionViewItem& option, bool ticked) const;
    // The cell's text on one line, laid out once in the cell's font and kept
    // for the repaints that follow (a repaint of the grid then shapes nothing).
    const QStaticText& Laid_Out(const QString& text, const QFont& font) const;

    // The check box pictures painted so far, by what decides their look.
    struct Check_Look {
        bool ticked;
        bool enabled;
        QSize size;
        qreal ratio;
        qint64 palette;
        bool operator==(const Check_Look&) const = default;
    };
    mutable QList<QPair<Check_Look, QPixmap>> m_checks;

    QStringListModel* m_positions;
    mutable QCache<QString, QStaticText> m_laidOut;
    mutable QFont m_laidOutFont;
};

} // namespace lw
