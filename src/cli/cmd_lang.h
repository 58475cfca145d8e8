#pragma once
// Output form of the lang command.

#include <QString>

namespace lw::cli {

// An entry as lang prints it: Terminal_Text, so that every entry of the
// table stays on one line and no control character reaches the terminal.
QString Escape_Entry(const QString& text);

} // namespace lw::cli
