#pragma once
// The rules of the main window's update timer and the text of the update links.

#include "base/program_state.h"

class QTimer;

namespace lw {

// The periodic check runs only while both internet permissions are set.
bool Update_Permitted(const ProgramState& state);

// Enabling a stopped timer starts a full interval; enabling a running one
// leaves its interval alone; disabling stops it.
void Set_Update_Timer(QTimer& timer, bool enabled);

// An HTML anchor to link showing text.
QString Update_Link_Html(const QString& link, const QString& text);

} // namespace lw
