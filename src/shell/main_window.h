#pragma once
// The configurator's main window: the numbered steps from which all work starts.

#include "shell/program_state.h"

#include <QWidget>

namespace lw {

class Messages;

class TFLoomwrightFirmWare : public QWidget {
    Q_OBJECT
public:
    TFLoomwrightFirmWare(ProgramState& state, Messages& messages, const QString& dirApp, QWidget* parent = nullptr);

private:
    ProgramState& m_state;
    Messages& m_messages;
};

} // namespace lw
