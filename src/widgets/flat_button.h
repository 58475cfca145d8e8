#pragma once
// A flat button with a painted picture: its face turns to its hover colour
// under the mouse and orange while pressed. Texts of picture-only buttons are
// shown as hints.

#include <QAbstractButton>
#include <QColor>
#include <QFont>
#include <QPixmap>
#include <QStaticText>

namespace lw {

class Flat_Button : public QAbstractButton {
    Q_OBJECT
public:
    enum class Arrangement {
        Picture_Only,        // image button: the picture fills the face
        Text_Left,           // picture at the left edge, text left-aligned after it
        Picture_Left,        // picture then text, centred together
        Picture_Right,       // text then picture, centred together
    };

    Flat_Button(QWidget* parent, const char* name, const QRect& geometry, const QColor& hover, Arrangement arrangement);

    void Set_Picture(const QPixmap& picture);
    QColor Hover_Colour() const { return m_hover; }
    bool Is_Hovered() const { return m_underMouse; }
    // The face colour now: orange while pressed, the hover colour under the
    // mouse, else the resting colour.
    QColor Face_Colour() const;

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    // A button hidden under the mouse (its dialog closed by it) gets no leave
    // event: it forgets the hover here, so that the next showing starts plain.
    void hideEvent(QHideEvent* event) override;
    // Enter or Return presses a focused button, as Space does.
    void keyPressEvent(QKeyEvent* event) override;

private:
    // The text laid out for a width (wrapped onto more lines when too long),
    // kept until the text, the font or the room changes: a repaint (hover,
    // press, an opening of the dialog) then shapes nothing.
    struct Caption {
        QString text;
        QFont font;
        int room = -1;
        int width = 0;         // of the longest line, at most room
        QStaticText laidOut;
    };
    const Caption& Laid_Out_Caption(int room);

    QColor m_hover;
    Caption m_caption;
    Arrangement m_arrangement;
    QPixmap m_picture;
    bool m_underMouse = false;
};

} // namespace lw
