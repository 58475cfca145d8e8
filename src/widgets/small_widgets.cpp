#include "widgets/small_widgets.h"

#include "widgets/look.h"

#include <QMouseEvent>
#include <QPainter>

namespace lw {

void Click_Label::mouseReleaseEvent(QMouseEvent* event)
{
    QLabel::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        Q_EMIT Clicked();
}

Outline_Shape::Outline_Shape(QWidget* parent, const char* name, const QRect& geometry, const QColor& colour)
    : QWidget(parent)
    , m_colour(colour)
{
    setObjectName(QString::fromLatin1(name));
    setGeometry(geometry);
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void Outline_Shape::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    if (width() <= 1 || height() <= 1) {
        p.fillRect(rect(), m_colour);
        return;
    }
    p.setPen(m_colour);
    p.setBrush(Qt::NoBrush);
    p.drawRect(rect().adjusted(0, 0, -1, -1));
}

Title_Panel::Title_Panel(QWidget* parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("P_Title"));
    setGeometry(0, 0, parent->width(), Title_Panel_Height);
    L_SW_Code = Make_Label(this, "L_SW_Code", 16, 8, false, 32);
    L_SW_Desc = Make_Label(this, "L_SW_Desc", 16, 42, true);
}

void Title_Panel::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setPen(Frame_Silver());
    p.drawLine(0, height() - 1, width(), height() - 1);
}

Button_Panel::Button_Panel(QWidget* parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("P_Button"));
}

void Button_Panel::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setPen(Frame_Silver());
    p.drawLine(0, 0, width(), 0);
}

} // namespace lw
