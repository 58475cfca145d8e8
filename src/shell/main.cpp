#include "shell/main_window.h"
#include "widgets/box_messages.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Loomwright"));
    QApplication::setApplicationDisplayName(QStringLiteral("Loomwright"));
    lw::ProgramState state;
    lw::BoxMessages messages;
    lw::TFLoomwrightFirmWare window(state, messages, lw::Executable_Folder());
    window.show();
    return app.exec();
}
