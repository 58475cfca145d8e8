#pragma once
// Small pieces shared by the windows: a label that reacts to clicks, an
// outline frame or line, and the title panel with the software code.

#include <QColor>
#include <QLabel>
#include <QWidget>

namespace lw {

// A label that reports a click of the left mouse button.
class Click_Label : public QLabel {
    Q_OBJECT
public:
    using QLabel::QLabel;

Q_SIGNALS:
    void Clicked();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
};

// An outline drawn without fill: a frame, or a line when one side is 1 pixel.
class Outline_Shape : public QWidget {
    Q_OBJECT
public:
    Outline_Shape(QWidget* parent, const char* name, const QRect& geometry, const QColor& colour);
    QColor Colour() const { return m_colour; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor m_colour;
};

// The band at the top of every dialog: the software code in large grey
// letters and the dialog's description under it. Height 69.
class Title_Panel : public QWidget {
    Q_OBJECT
public:
    explicit Title_Panel(QWidget* parent);
    QLabel* L_SW_Code;
    QLabel* L_SW_Desc;

protected:
    void paintEvent(QPaintEvent* event) override;
};

// The band at the bottom of a dialog that holds its buttons. Height 40.
class Button_Panel : public QWidget {
    Q_OBJECT
public:
    explicit Button_Panel(QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;
};

inline constexpr int Title_Panel_Height = 69;
inline constexpr int Button_Panel_Height = 40;

} // namespace lw
