#include "shell/box_messages.h"
#include "shell/main_window.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    lw::Name_Application();
    lw::ProgramState state;
    lw::BoxMessages messages;
    lw::TFLoomwrightFirmWare window(state, messages, lw::Executable_Folder());
    window.show();
    return app.exec();
}
