#pragma once
// The common look of every window: background, fonts, label colours, hover
// colours, and small layout helpers.

#include <QColor>
#include <QFont>
#include <QString>

class QLabel;
class QWidget;

namespace lw {

QColor Window_Colour();        // RGB 248, 247, 237
QColor Label_Grey();           // label texts
QColor Frame_Silver();         // outline frames
QColor Hover_Yellow();         // image buttons, Set Communication, KNX Access
QColor Hover_Sky_Blue();       // New, Open, Update Device and the dialogs' buttons
QColor Pressed_Orange();
QColor Button_Face();          // a flat button at rest

// Verdana at 11 px, falling back to the metric-compatible DejaVu Sans.
QFont Base_Font(int pixelSize = 11, bool bold = false);

// Background colour and base font of a window.
void Apply_Window_Look(QWidget* window);

// A grey label at x, y that sizes itself to its text.
QLabel* Make_Label(QWidget* parent, const char* name, int x, int y, bool bold = false, int pixelSize = 11);

// Sets a label's text and fits its size to it.
void Set_Label_Text(QLabel* label, const QString& text);

// Fixes the client area of a window.
void Set_Fixed_Client_Size(QWidget* window, int width, int height);

// Places a window in the middle of its screen.
void Center_On_Screen(QWidget* window);

} // namespace lw
