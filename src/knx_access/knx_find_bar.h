#pragma once
// The find bar of the commands grid: the text to find, the count of matching
// cells, previous / next and the "matching rows only" filter. It only
// reports what the user does; the dialog moves the grid.

#include <QWidget>

class QCheckBox;
class QLabel;
class QLineEdit;
class QToolButton;

namespace lw {

class KNX_Find_Bar : public QWidget {
    Q_OBJECT
public:
    explicit KNX_Find_Bar(QWidget* parent = nullptr);

    // Captions from the language table: the label, the filter, the buttons'
    // tooltips, the "no match" text and the count text (with %1).
    void Set_Texts(const QString& label, const QString& filter, const QString& previous, const QString& next,
                   const QString& close, const QString& noMatch, const QString& count);
    // Shows the number of matching cells (the text field turns red at none).
    void Show_Count(int count);

    QString Text() const;
    bool Filter() const;

    QLineEdit* E_Find;
    QCheckBox* CB_Filter;
    QToolButton* Btn_Previous;
    QToolButton* Btn_Next;
    QToolButton* Btn_Close;
    QLabel* L_Count;

Q_SIGNALS:
    void Text_Changed(const QString& text);
    void Filter_Changed(bool on);
    void Next();
    void Previous();
    void Closed();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    QLabel* m_label;
    QString m_noMatch;
    QString m_count;
};

} // namespace lw
