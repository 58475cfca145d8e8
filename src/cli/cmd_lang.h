#pragma once
// Output form of the lang command.

#include <QString>

namespace lw::cli {

// Backslash, tab, LF and CR written as \\, \t, \n and \r, so that every
// entry of the table stays on one line.
QString Escape_Entry(const QString& text);

} // namespace lw::cli
