#pragma once
// The pictures on the buttons, painted by the program itself.

#include <QPixmap>

namespace lw {

enum class Picture {
    New_Configuration,
    Open_Configuration,
    Set_Communication,
    KNX_Access,
    Update_Device,
    Information,
    Options,
    Close,
    OK,
    Cancel,
    Previous,
    Next,
    Check_Update,
    Product,            // the converter, for the about box
};

// The picture drawn on a transparent square of size x size pixels.
QPixmap Draw_Picture(Picture picture, int size);

} // namespace lw
