#include "widgets/button_pictures.h"

#include <QPainter>
#include <QPainterPath>
#include <QtMath>

namespace lw {

namespace {

// Every picture is drawn on a 24 x 24 grid and scaled to the size asked for.
constexpr qreal Grid = 24.0;

void Sheet(QPainter& p)
{
    QPainterPath page;
    page.moveTo(5, 2);
    page.lineTo(15, 2);
    page.lineTo(20, 7);
    page.lineTo(20, 22);
    page.lineTo(5, 22);
    page.closeSubpath();
    p.setPen(QPen(QColor(110, 110, 110), 1.0));
    p.setBrush(Qt::white);
    p.drawPath(page);
    p.setBrush(QColor(225, 225, 225));
    QPainterPath fold;
    fold.moveTo(15, 2);
    fold.lineTo(15, 7);
    fold.lineTo(20, 7);
    fold.closeSubpath();
    p.drawPath(fold);
    p.setPen(QPen(QColor(190, 190, 190), 1.0));
    for (int y = 10; y <= 18; y += 3)
        p.drawLine(QPointF(8, y), QPointF(13, y));
}

void Plus(QPainter& p, QPointF c, qreal r, const QColor& colour)
{
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawEllipse(c, r, r);
    p.setPen(QPen(Qt::white, r * 0.45, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(c.x() - r * 0.55, c.y()), QPointF(c.x() + r * 0.55, c.y()));
    p.drawLine(QPointF(c.x(), c.y() - r * 0.55), QPointF(c.x(), c.y() + r * 0.55));
}

void New_Configuration(QPainter& p)
{
    Sheet(p);
    Plus(p, QPointF(17.5, 17.5), 5.2, QColor(46, 150, 60));
}

void Open_Configuration(QPainter& p)
{
    p.setPen(QPen(QColor(150, 110, 20), 1.0));
    p.setBrush(QColor(240, 196, 70));
    QPainterPath back;
    back.moveTo(2, 5);
    back.lineTo(9, 5);
    back.lineTo(11, 7.5);
    back.lineTo(21, 7.5);
    back.lineTo(21, 20);
    back.lineTo(2, 20);
    back.closeSubpath();
    p.drawPath(back);
    p.setBrush(QColor(252, 218, 110));
    QPainterPath front;
    front.moveTo(2, 20);
    front.lineTo(5.5, 11);
    front.lineTo(23, 11);
    front.lineTo(20, 20);
    front.closeSubpath();
    p.drawPath(front);
}

void Set_Communication(QPainter& p)
{
    const QColor line(60, 90, 140);
    p.setPen(QPen(line, 1.6));
    p.drawLine(QPointF(12, 7), QPointF(5, 17));
    p.drawLine(QPointF(12, 7), QPointF(19, 17));
    p.drawLine(QPointF(5, 17), QPointF(19, 17));
    const QPointF nodes[] = {{12, 6}, {5, 18}, {19, 18}};
    const QColor fills[] = {QColor(70, 130, 200), QColor(46, 150, 60), QColor(230, 140, 30)};
    for (int i = 0; i < 3; ++i) {
        p.setPen(QPen(line.darker(120), 1.0));
        p.setBrush(fills[i]);
        p.drawEllipse(nodes[i], 3.6, 3.6);
    }
}

void KNX_Access(QPainter& p)
{
    const QRectF table(2.5, 3.5, 19, 17);
    p.setPen(QPen(QColor(90, 90, 90), 1.0));
    p.setBrush(Qt::white);
    p.drawRect(table);
    p.setBrush(QColor(46, 150, 60));
    p.drawRect(QRectF(2.5, 3.5, 19, 4.5));
    p.setPen(QPen(QColor(170, 170, 170), 0.8));
    for (qreal y = 12; y < 20.5; y += 4.2)
        p.drawLine(QPointF(2.5, y), QPointF(21.5, y));
    p.drawLine(QPointF(8.5, 8), QPointF(8.5, 20.5));
    p.drawLine(QPointF(15, 8), QPointF(15, 20.5));
}

void Update_Device(QPainter& p)
{
    p.setPen(QPen(QColor(70, 70, 90), 1.0));
    p.setBrush(QColor(95, 110, 140));
    p.drawRoundedRect(QRectF(3, 12, 18, 9), 1.5, 1.5);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(120, 230, 120));
    p.drawEllipse(QPointF(6.5, 16.5), 1.3, 1.3);
    p.setBrush(QColor(250, 200, 60));
    p.drawEllipse(QPointF(10.5, 16.5), 1.3, 1.3);
    QPainterPath arrow;
    arrow.moveTo(10, 1.5);
    arrow.lineTo(14, 1.5);
    arrow.lineTo(14, 6);
    arrow.lineTo(17.5, 6);
    arrow.lineTo(12, 11.5);
    arrow.lineTo(6.5, 6);
    arrow.lineTo(10, 6);
    arrow.closeSubpath();
    p.setPen(QPen(QColor(20, 90, 170), 0.8));
    p.setBrush(QColor(60, 140, 230));
    p.drawPath(arrow);
}

void Information(QPainter& p)
{
    p.setPen(QPen(QColor(25, 80, 160), 1.0));
    p.setBrush(QColor(60, 130, 215));
    p.drawEllipse(QPointF(12, 12), 10, 10);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(12, 7), 1.8, 1.8);
    p.drawRoundedRect(QRectF(10.4, 10, 3.2, 8.5), 1, 1);
}

void Options(QPainter& p)
{
    QPainterPath gear;
    const QPointF c(12, 12);
    const int teeth = 8;
    for (int i = 0; i < teeth * 2; ++i) {
        const qreal a0 = (i * M_PI) / teeth;
        const qreal a1 = ((i + 1) * M_PI) / teeth;
        const qreal r = (i % 2 == 0) ? 10.5 : 8.0;
        const QPointF p0 = c + QPointF(r * qCos(a0), r * qSin(a0));
        const QPointF p1 = c + QPointF(r * qCos(a1), r * qSin(a1));
        if (i == 0)
            gear.moveTo(p0);
        else
            gear.lineTo(p0);
        gear.lineTo(p1);
    }
    gear.closeSubpath();
    QPainterPath hole;
    hole.addEllipse(c, 3.6, 3.6);
    p.setPen(QPen(QColor(80, 80, 80), 1.0));
    p.setBrush(QColor(150, 155, 160));
    p.drawPath(gear.subtracted(hole));
}

void Close(QPainter& p)
{
    p.setPen(QPen(QColor(150, 30, 30), 1.0));
    p.setBrush(QColor(210, 55, 50));
    p.drawEllipse(QPointF(12, 12), 10, 10);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(Qt::white, 2.2, Qt::SolidLine, Qt::RoundCap));
    p.drawArc(QRectF(6.5, 6.5, 11, 11), 120 * 16, -240 * 16);
    p.drawLine(QPointF(12, 4.8), QPointF(12, 11.5));
}

void Tick(QPainter& p)
{
    p.setPen(QPen(QColor(40, 150, 55), 3.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    QPainterPath tick;
    tick.moveTo(4, 12.5);
    tick.lineTo(9.5, 18);
    tick.lineTo(20, 6);
    p.drawPath(tick);
}

void Cross(QPainter& p)
{
    p.setPen(QPen(QColor(200, 45, 40), 3.2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(6, 6), QPointF(18, 18));
    p.drawLine(QPointF(18, 6), QPointF(6, 18));
}

void Arrow(QPainter& p, bool right)
{
    QPainterPath arrow;
    arrow.moveTo(3, 9.5);
    arrow.lineTo(12, 9.5);
    arrow.lineTo(12, 4);
    arrow.lineTo(21, 12);
    arrow.lineTo(12, 20);
    arrow.lineTo(12, 14.5);
    arrow.lineTo(3, 14.5);
    arrow.closeSubpath();
    if (!right) {
        QTransform mirror(-1, 0, 0, 1, Grid, 0);
        arrow = mirror.map(arrow);
    }
    p.setPen(QPen(QColor(30, 110, 40), 1.0));
    p.setBrush(QColor(60, 170, 75));
    p.drawPath(arrow);
}

void Check_Update(QPainter& p)
{
    p.setPen(QPen(QColor(25, 80, 160), 1.2));
    p.setBrush(QColor(120, 180, 235));
    p.drawEllipse(QPointF(12, 12), 9.5, 9.5);
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(12, 12), 4.2, 9.5);
    p.drawLine(QPointF(2.5, 12), QPointF(21.5, 12));
    p.drawLine(QPointF(12, 2.5), QPointF(12, 21.5));
}

void Product(QPainter& p)
{
    // A rail-mounted converter module: body, two terminal rows, LEDs and a label.
    p.setPen(QPen(QColor(90, 95, 100), 0.5));
    p.setBrush(QColor(205, 210, 215));
    p.drawRoundedRect(QRectF(3, 2, 18, 20), 1.2, 1.2);
    p.setBrush(QColor(70, 75, 80));
    for (int i = 0; i < 4; ++i) {
        p.drawRect(QRectF(4.5 + i * 4, 3, 2.6, 2.4));
        p.drawRect(QRectF(4.5 + i * 4, 18.6, 2.6, 2.4));
    }
    p.setBrush(QColor(245, 245, 240));
    p.drawRect(QRectF(5, 7.5, 14, 5));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(46, 150, 60));
    p.drawRect(QRectF(5, 7.5, 4, 5));
    p.setBrush(QColor(60, 200, 80));
    p.drawEllipse(QPointF(6.5, 15), 0.9, 0.9);
    p.setBrush(QColor(250, 190, 40));
    p.drawEllipse(QPointF(9.5, 15), 0.9, 0.9);
    p.setBrush(QColor(80, 140, 230));
    p.drawEllipse(QPointF(12.5, 15), 0.9, 0.9);
    p.setPen(QPen(QColor(60, 60, 60), 0.5));
    p.drawLine(QPointF(10.5, 9), QPointF(17.5, 9));
    p.drawLine(QPointF(10.5, 11), QPointF(15.5, 11));
}

} // namespace

QPixmap Draw_Picture(Picture picture, int size)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / Grid, size / Grid);
    switch (picture) {
    case Picture::New_Configuration: New_Configuration(p); break;
    case Picture::Open_Configuration: Open_Configuration(p); break;
    case Picture::Set_Communication: Set_Communication(p); break;
    case Picture::KNX_Access: KNX_Access(p); break;
    case Picture::Update_Device: Update_Device(p); break;
    case Picture::Information: Information(p); break;
    case Picture::Options: Options(p); break;
    case Picture::Close: Close(p); break;
    case Picture::OK: Tick(p); break;
    case Picture::Cancel: Cross(p); break;
    case Picture::Previous: Arrow(p, false); break;
    case Picture::Next: Arrow(p, true); break;
    case Picture::Check_Update: Check_Update(p); break;
    case Picture::Product: Product(p); break;
    }
    return pixmap;
}

} // namespace lw
