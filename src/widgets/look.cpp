#include "widgets/look.h"

#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QWidget>

namespace lw {

QColor Window_Colour() { return QColor(248, 247, 237); }
QColor Label_Grey() { return QColor(128, 128, 128); }
QColor Frame_Silver() { return QColor(192, 192, 192); }
QColor Hover_Yellow() { return QColor(255, 255, 0); }
QColor Hover_Sky_Blue() { return QColor(166, 202, 240); }
QColor Pressed_Orange() { return QColor(255, 165, 0); }
QColor Button_Face() { return QColor(240, 239, 228); }

QFont Base_Font(int pixelSize, bool bold)
{
    QFont font(QStringLiteral("Verdana"));
    font.setFamilies({QStringLiteral("Verdana"), QStringLiteral("DejaVu Sans")});
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    return font;
}

void Apply_Window_Look(QWidget* window)
{
    QPalette pal = window->palette();
    pal.setColor(QPalette::Window, Window_Colour());
    window->setPalette(pal);
    window->setAutoFillBackground(true);
    window->setFont(Base_Font());
}

QLabel* Make_Label(QWidget* parent, const char* name, int x, int y, bool bold, int pixelSize)
{
    auto* label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setFont(Base_Font(pixelSize, bold));
    QPalette pal = label->palette();
    pal.setColor(QPalette::WindowText, Label_Grey());
    label->setPalette(pal);
    label->setTextFormat(Qt::PlainText);
    label->move(x, y);
    return label;
}

void Set_Label_Text(QLabel* label, const QString& text)
{
    label->setText(text);
    label->adjustSize();
}

void Set_Fixed_Client_Size(QWidget* window, int width, int height)
{
    window->setFixedSize(width, height);
}

void Center_On_Screen(QWidget* window)
{
    QScreen* screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect area = screen->availableGeometry();
    const QRect frame = window->frameGeometry();
    // move() places the frame of a window, so the frame's size is what is centred.
    window->move(area.center() - QPoint(frame.width() / 2, frame.height() / 2));
}

} // namespace lw
