#include "lang/language_file.h"

#include "lang/language_table.h"

namespace lw {

void Load_Language(ProgramState& state)
{
    Set_Default_Texts(state);
}

void Read_Language_File(const QString&, QStringList&, int) {}

} // namespace lw
