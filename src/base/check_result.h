#pragma once
// The outcome of a data check: the first failing test, as the language table
// entry of its message, the table row it failed in and the limit it names.

#include "base/program_state.h"

namespace lw {

struct Check_Result {
    bool ok = true;
    int langIndex = 0;   // entry of the failing test's message
    int row = 0;         // table row of the failure; 0 for a check without rows
    QString limit;       // appended to the message when not empty

    static Check_Result Pass() { return {}; }
    static Check_Result Fail(int langIndex, int row = 0, const QString& limit = QString())
    {
        return {false, langIndex, row, limit};
    }
    bool operator==(const Check_Result&) const = default;
};

// Language entry of the piece that starts every row error.
inline constexpr int Lang_Error_Row = 207;

// The message as the error box shows it, built from the current language
// table: for a row error entry 207, the row number, the test's entry and the
// limit; otherwise the test's entry and the limit. Empty for a passing check.
inline QString Check_Message(const Check_Result& result, const ProgramState& state)
{
    if (result.ok)
        return {};
    QString text;
    if (result.row > 0)
        text = state.Text(Lang_Error_Row) + QString::number(result.row);
    return text + state.Text(result.langIndex) + result.limit;
}

} // namespace lw
