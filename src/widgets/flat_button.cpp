#include "widgets/flat_button.h"

#include "widgets/look.h"

#include <QEnterEvent>
#include <QKeyEvent>
#include <QPainter>
#include <QStyleOptionFocusRect>

namespace lw {

Flat_Button::Flat_Button(QWidget* parent, const char* name, const QRect& geometry, const QColor& hover, Arrangement arrangement)
    : QAbstractButton(parent)
    , m_hover(hover)
    , m_arrangement(arrangement)
{
    setObjectName(QString::fromLatin1(name));
    setGeometry(geometry);
    setFont(Base_Font());
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_Hover);
}

void Flat_Button::Set_Picture(const QPixmap& picture)
{
    m_picture = picture;
    update();
}

QColor Flat_Button::Face_Colour() const
{
    if (!isEnabled())
        return m_arrangement == Arrangement::Picture_Only ? Window_Colour() : Button_Face();
    if (isDown())
        return Pressed_Orange();
    if (m_underMouse)
        return m_hover;
    return m_arrangement == Arrangement::Picture_Only ? Window_Colour() : Button_Face();
}

QSize Flat_Button::sizeHint() const
{
    return size();
}

void Flat_Button::enterEvent(QEnterEvent* event)
{
    m_underMouse = true;
    update();
    QAbstractButton::enterEvent(event);
}

void Flat_Button::leaveEvent(QEvent* event)
{
    m_underMouse = false;
    update();
    QAbstractButton::leaveEvent(event);
}

void Flat_Button::hideEvent(QHideEvent* event)
{
    m_underMouse = false;
    QAbstractButton::hideEvent(event);
}

void Flat_Button::keyPressEvent(QKeyEvent* event)
{
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && !event->isAutoRepeat() && (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
        event->accept();
        click();
        return;
    }
    QAbstractButton::keyPressEvent(event);
}

const Flat_Button::Caption& Flat_Button::Laid_Out_Caption(int room)
{
    const QString shown = text();
    if (m_caption.room == room && m_caption.text == shown && m_caption.font == font())
        return m_caption;
    m_caption.text = shown;
    m_caption.font = font();
    m_caption.room = room;
    m_caption.width = std::min(QFontMetrics(font()).horizontalAdvance(shown), room);
    m_caption.laidOut = QStaticText(shown);
    m_caption.laidOut.setTextFormat(Qt::PlainText);
    m_caption.laidOut.setTextWidth(m_caption.width + 1);
    m_caption.laidOut.prepare(QTransform(), font());
    return m_caption;
}

void Flat_Button::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing, false);
    const QRect r = rect();
    const QColor face = Face_Colour();
    const bool framed = m_arrangement != Arrangement::Picture_Only || face != Window_Colour();
    p.fillRect(r, face);
    if (framed) {
        p.setPen(Frame_Silver().darker(isDown() ? 140 : 115));
        p.drawRect(r.adjusted(0, 0, -1, -1));
    }

    const qreal dpr = m_picture.devicePixelRatio();
    const QSize pic = m_picture.isNull() ? QSize(0, 0) : (QSizeF(m_picture.size()) / dpr).toSize();
    const int shift = isDown() ? 1 : 0;
    if (!isEnabled())
        p.setOpacity(0.45);

    if (m_arrangement == Arrangement::Picture_Only) {
        if (!m_picture.isNull())
            p.drawPixmap(QRect(QPoint((r.width() - pic.width()) / 2 + shift, (r.height() - pic.height()) / 2 + shift), pic), m_picture);
    } else {
        const int gap = pic.isEmpty() || text().isEmpty() ? 0 : 7;
        const int margin = m_arrangement == Arrangement::Text_Left ? 7 : 4;
        // A text too long for one line wraps onto a second one.
        const Caption& caption = Laid_Out_Caption(r.width() - 2 * margin - pic.width() - gap);
        const int textWidth = caption.width;
        const int x = m_arrangement == Arrangement::Text_Left
            ? margin
            : std::max(margin, (r.width() - pic.width() - gap - textWidth) / 2);
        const int picY = (r.height() - pic.height()) / 2 + shift;
        QRect textRect;
        if (m_arrangement == Arrangement::Picture_Right) {
            textRect = QRect(x + shift, shift, textWidth + 1, r.height());
            if (!m_picture.isNull())
                p.drawPixmap(QRect(QPoint(x + textWidth + gap + shift, picY), pic), m_picture);
        } else {
            if (!m_picture.isNull())
                p.drawPixmap(QRect(QPoint(x + shift, picY), pic), m_picture);
            textRect = QRect(x + pic.width() + gap + shift, shift, textWidth + 1, r.height());
        }
        p.setPen(isEnabled() ? QColor(40, 40, 40) : Label_Grey());
        const QSizeF size = caption.laidOut.size();
        if (size.height() > textRect.height()) {
            p.save();
            p.setClipRect(textRect, Qt::IntersectClip);
        }
        p.drawStaticText(QPointF(textRect.left(), textRect.top() + (textRect.height() - size.height()) / 2),
                         caption.laidOut);
        if (size.height() > textRect.height())
            p.restore();
    }
    p.setOpacity(1.0);

    if (hasFocus() && focusPolicy() != Qt::NoFocus && m_arrangement != Arrangement::Picture_Only) {
        p.setPen(QPen(Label_Grey(), 1, Qt::DotLine));
        p.drawRect(r.adjusted(3, 3, -4, -4));
    }
}

} // namespace lw
