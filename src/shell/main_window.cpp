#include "shell/main_window.h"

#include "shell/messages.h"

namespace lw {

TFLoomwrightFirmWare::TFLoomwrightFirmWare(ProgramState& state, Messages& messages, const QString& dirApp, QWidget* parent)
    : QWidget(parent)
    , m_state(state)
    , m_messages(messages)
{
    Run_Startup(m_state, dirApp);
    setWindowTitle(m_state.SW_Title);
    setFixedSize(694, 396);
}

} // namespace lw
