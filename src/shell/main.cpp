#include "shell/data_folder.h"
#include "shell/main_window.h"
#include "widgets/box_messages.h"

#include <QApplication>
#include <QTimer>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    lw::Name_Application();
    // Ties the windows to the installed desktop entry (task bar icon, Wayland).
    QGuiApplication::setDesktopFileName(QStringLiteral("org.loomwright.Loomwright"));
    lw::ProgramState state;
    lw::BoxMessages messages;
    lw::TFLoomwrightFirmWare window(state, messages, lw::Data_Folder_In_Use());
    window.show();
    // For smoke tests of an installed copy: start up, then close the main
    // window as the Close button does (the settings file is written).
    if (qEnvironmentVariableIsSet("LOOMWRIGHT_CLOSE_AFTER_START"))
        QTimer::singleShot(0, &window, &QWidget::close);
    return app.exec();
}
